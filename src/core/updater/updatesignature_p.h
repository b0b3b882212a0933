#pragma once

#include <QByteArray>
#include <QString>

/*!
 * Ed25519 signatures of update files, as libsodium makes them (crypto_sign_detached over the
 * whole file, not the pre-hashed variant), so any Ed25519 tool can produce or check them.
 *
 * Keys and signatures travel as base64 text. The file is mapped into memory rather than read,
 * and files larger than maxFileSize are refused: plain Ed25519 needs the whole message at once.
 */
class UpdateSignature
{
public:
    enum Result { Valid, Missing, Malformed, Invalid, BadKey, TooLarge, Unreadable };

    static const qint64 maxFileSize = qint64(2) * 1024 * 1024 * 1024;

    // Strict base64 of exactly size bytes (blanks around it allowed); empty otherwise.
    static QByteArray decode(const QString &base64, int size);
    static bool isWellFormed(const QString &signature);

    static Result verify(const QString &filePath, const QString &signature,
                         const QString &publicKey);

    // A new key pair as base64 text; false when the random source fails.
    static bool generateKeyPair(QString *publicKey, QString *secretKey);
    // The base64 signature of the file, or an empty string with the result that prevented it.
    static QString sign(const QString &filePath, const QString &secretKey, Result *result);
};
