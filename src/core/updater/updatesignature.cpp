#include "updatesignature_p.h"

#include <QFile>

#include <sodium.h>

#include <functional>

namespace {

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// Hands the file's whole content to the function; an empty file gives an empty buffer.
UpdateSignature::Result
withFileContent(const QString &filePath,
                const std::function<UpdateSignature::Result(const uchar *, qint64)> &use)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return UpdateSignature::Unreadable;
    const qint64 size = file.size();
    if (size > UpdateSignature::maxFileSize)
        return UpdateSignature::TooLarge;
    if (size == 0)
        return use(reinterpret_cast<const uchar *>(""), 0);
    const uchar *content = file.map(0, size, QFileDevice::MapPrivateOption);
    if (!content)
        return UpdateSignature::Unreadable;
    const UpdateSignature::Result result = use(content, size);
    file.unmap(const_cast<uchar *>(content));
    return result;
}

} // namespace

QByteArray UpdateSignature::decode(const QString &base64, int size)
{
    const auto decoded = QByteArray::fromBase64Encoding(base64.trimmed().toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    return decoded && decoded.decoded.size() == size ? decoded.decoded : QByteArray();
}

bool UpdateSignature::isWellFormed(const QString &signature)
{
    return !decode(signature, crypto_sign_BYTES).isEmpty();
}

UpdateSignature::Result UpdateSignature::verify(const QString &filePath, const QString &signature,
                                                const QString &publicKey)
{
    const QByteArray key = decode(publicKey, crypto_sign_PUBLICKEYBYTES);
    if (key.isEmpty() || !sodiumReady())
        return BadKey;
    if (signature.trimmed().isEmpty())
        return Missing;
    const QByteArray bytes = decode(signature, crypto_sign_BYTES);
    if (bytes.isEmpty())
        return Malformed;
    return withFileContent(filePath, [&](const uchar *content, qint64 size) {
        const int status =
                crypto_sign_verify_detached(reinterpret_cast<const uchar *>(bytes.constData()),
                                            content, static_cast<unsigned long long>(size),
                                            reinterpret_cast<const uchar *>(key.constData()));
        return status == 0 ? Valid : Invalid;
    });
}

bool UpdateSignature::generateKeyPair(QString *publicKey, QString *secretKey)
{
    QByteArray pk(crypto_sign_PUBLICKEYBYTES, '\0');
    QByteArray sk(crypto_sign_SECRETKEYBYTES, '\0');
    if (!sodiumReady() || crypto_sign_keypair(reinterpret_cast<uchar *>(pk.data()),
                                              reinterpret_cast<uchar *>(sk.data())) != 0)
        return false;
    *publicKey = QString::fromLatin1(pk.toBase64());
    *secretKey = QString::fromLatin1(sk.toBase64());
    sodium_memzero(sk.data(), static_cast<size_t>(sk.size()));
    return true;
}

QString UpdateSignature::sign(const QString &filePath, const QString &secretKey, Result *result)
{
    QByteArray key = decode(secretKey, crypto_sign_SECRETKEYBYTES);
    QByteArray signature(crypto_sign_BYTES, '\0');
    *result =
            key.isEmpty() || !sodiumReady()
                    ? BadKey
                    : withFileContent(filePath, [&](const uchar *content, qint64 size) {
                          crypto_sign_detached(reinterpret_cast<uchar *>(signature.data()), nullptr,
                                               content, static_cast<unsigned long long>(size),
                                               reinterpret_cast<const uchar *>(key.constData()));
                          return Valid;
                      });
    sodium_memzero(key.data(), static_cast<size_t>(key.size()));
    return *result == Valid ? QString::fromLatin1(signature.toBase64()) : QString();
}
