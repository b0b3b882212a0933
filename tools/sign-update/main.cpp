// sign-update: the release manager's tool for signed updates.
//
//   sign-update keygen <secret-key-file>   makes a key pair, writes the secret key to a new file
//                                           (mode 0600; an existing file is never replaced) and
//                                           prints the public key for VELDRA_UPDATE_PUBLIC_KEY
//   sign-update sign <secret-key-file> <file>
//                                           prints the file's signature for the appcast's
//                                           "signature" field
//
// Keys and signatures are base64 Ed25519 (libsodium); the secret key file holds one line.

#include "updatesignature_p.h"

#include <QFile>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "sign-update: %s\n", qPrintable(message));
    return 1;
}

int usage()
{
    std::fputs("usage: sign-update keygen <secret-key-file>\n"
               "       sign-update sign <secret-key-file> <file>\n",
               stderr);
    return 2;
}

// Created with its final permissions, so the key is never readable by others, not even briefly.
bool writeNewPrivateFile(const QString &path, const QByteArray &content, QString *error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const bool written =
            ::write(fd, content.constData(), size_t(content.size())) == content.size() &&
            ::fsync(fd) == 0;
    if (!written)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    ::close(fd);
    return written;
}

int keygen(const QString &secretKeyFile)
{
    QString publicKey;
    QString secretKey;
    if (!UpdateSignature::generateKeyPair(&publicKey, &secretKey))
        return fail(QStringLiteral("cannot make a key pair"));
    QString error;
    if (!writeNewPrivateFile(secretKeyFile, secretKey.toLatin1() + '\n', &error))
        return fail(QStringLiteral("cannot write %1: %2").arg(secretKeyFile, error));
    std::printf("%s\n", qPrintable(publicKey));
    return 0;
}

int sign(const QString &secretKeyFile, const QString &file)
{
    QFile keyFile(secretKeyFile);
    if (!keyFile.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(secretKeyFile, keyFile.errorString()));
    if (keyFile.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther))
        std::fprintf(stderr, "sign-update: warning: %s is readable by others\n",
                     qPrintable(secretKeyFile));

    UpdateSignature::Result result = UpdateSignature::Valid;
    const QString signature =
            UpdateSignature::sign(file, QString::fromLatin1(keyFile.readAll()), &result);
    switch (result) {
    case UpdateSignature::Valid:
        std::printf("%s\n", qPrintable(signature));
        return 0;
    case UpdateSignature::BadKey:
        return fail(QStringLiteral("%1 is not a secret key made by sign-update keygen")
                            .arg(secretKeyFile));
    case UpdateSignature::TooLarge:
        return fail(QStringLiteral("%1 is larger than the application accepts (%2 bytes)")
                            .arg(file)
                            .arg(UpdateSignature::maxFileSize));
    default:
        return fail(QStringLiteral("cannot read %1").arg(file));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (command == QLatin1String("keygen") && argc == 3)
        return keygen(QFile::decodeName(argv[2]));
    if (command == QLatin1String("sign") && argc == 4)
        return sign(QFile::decodeName(argv[2]), QFile::decodeName(argv[3]));
    return usage();
}
