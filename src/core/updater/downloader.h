#pragma once

#include "core_global.h"

#include <QCryptographicHash>
#include <QNetworkReply>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

class QNetworkAccessManager;

namespace Ui {
class Downloader;
}

/*!
 * The progress window that fetches an installer into the user's "Downloads" folder.
 *
 * Data is appended to "<file name>.part" as it arrives, so memory use does not depend on the
 * size of the file; the complete (and checked) file then replaces any file of its final name,
 * is reported with downloadFinished() and, unless the caller installs it itself, offered to the
 * user for installation (which opens the file and quits the application). A download that
 * fails leaves an existing file of that name untouched and removes its ".part" file.
 *
 * A server cannot make it loop, hang, fetch anything but web addresses, write outside the
 * download folder or hand over a damaged file: only http and https addresses are fetched, also
 * after a redirect; more than ten redirects end the download; a download that receives nothing
 * for the transfer timeout ends; unsafe file names are replaced by the default one; a malformed
 * expected digest refuses the download, and a file whose SHA-256 differs from the expected one
 * is deleted. Every failure is told to the user in a sentence.
 *
 * With a public key (the one the application was built with, unless set otherwise), an update
 * must carry the publisher's Ed25519 signature: without a well-formed one it is not downloaded,
 * a complete file whose signature does not verify is deleted, and the Open button opens only the
 * file this window verified. Without a key a signature is not checked.
 */
class CORE_EXPORT Downloader : public QWidget
{
    Q_OBJECT

public:
    explicit Downloader(QWidget *parent = nullptr);
    ~Downloader() override;

    bool useCustomInstallProcedures() const;

    // 64 hexadecimal digits, or empty for no check; anything else refuses the download. Applies
    // to the downloads started after it.
    void setExpectedSha256(const QString &digest);

    // The base64 Ed25519 signature of the installer, and the base64 public key it must verify
    // with (empty: no check). Both apply to the downloads started after them.
    void setExpectedSignature(const QString &signature);
    QString publicKey() const;
    void setPublicKey(const QString &key);

    // Milliseconds a download may go without receiving anything.
    int transferTimeout() const;
    void setTransferTimeout(int timeoutMs);

signals:
    void downloadFinished(const QString &url, const QString &filepath);

public slots:
    void setUrlId(const QString &url);
    void startDownload(const QUrl &url);
    void setFileName(const QString &file);
    void setUserAgentString(const QString &agent);
    void setUseCustomInstallProcedures(const bool custom);

private slots:
    void openDownload();
    void installUpdate();
    void cancelDownload();
    void saveFile(qint64 received, qint64 total);
    void calculateSizes(qint64 received, qint64 total);
    void updateProgress(qint64 received, qint64 total);
    void calculateTimeRemaining(qint64 received, qint64 total);

private:
    void beginDownload(const QUrl &url);
    void followRedirect(const QUrl &target);
    bool followRedirectIfAny();
    void appendReceivedData();
    void onReplyFinished();
    void completeDownload();
    bool hasExpectedChecksum() const;
    void rejectDamagedFile();
    QString signatureProblem() const;
    bool keepOnlyIfSigned();
    void onNetworkError(const QUrl &url, QNetworkReply::NetworkError code);
    void refuse(const QUrl &url, const QString &reason);
    void showFailure(const QString &reason);
    QString failureText(QNetworkReply::NetworkError code) const;
    void discardPartialFile();
    void releaseReply();
    void forgetReply();
    QString partialFilePath() const;
    QString finishedFilePath() const;

    QString m_url;                   // the id reported in downloadFinished()
    quint32 m_startTime;             // seconds since 1970 when the download started
    QString m_fileName;              // the file's name inside the download folder
    Ui::Downloader *m_ui;            // owned
    QPointer<QNetworkReply> m_reply; // the running download; deletes itself later when done
    QString m_userAgent;
    bool m_useCustomInstallProcedures;
    QNetworkAccessManager *m_manager; // owned
    int m_transferTimeoutMs;

    int m_redirectCount = 0;
    QString m_expectedSha256;    // as given; empty means no check
    QByteArray m_downloadSha256; // the expectation of the running download
    QCryptographicHash m_hash{QCryptographicHash::Sha256};

    QString m_expectedSignature; // as given
    QString m_publicKey;         // as given; empty means no check
    QString m_downloadSignature; // the signature and key of the running download
    QString m_downloadKey;
    QString m_verifiedFile; // the last file whose signature verified
};
