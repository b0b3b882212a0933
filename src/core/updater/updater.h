#pragma once

#include "core_global.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

class Downloader;
class QNetworkAccessManager;
class QNetworkReply;
class QUrl;

/*!
 * Checks one appcast address for a newer version.
 *
 * The appcast is a small JSON document whose "updates" object holds one entry per platform key
 * with "latest-version", "download-url", "open-url" and "changelog" (and optionally "sha256", the
 * installer's digest, and "signature", its base64 Ed25519 signature). When the announced version is
 * newer than the module version, the release notes are shown and, if the user agrees, the open URL
 * is opened or the installer is downloaded. The user may also skip the version: a silent check (the
 * kind that runs on its own) then no longer offers it or any older one, while a check that reports
 * its outcome still does, saying it was skipped. The skipped version is kept per module name in the
 * user settings. Every check ends with exactly one checkingFinished(), whatever the server answers:
 * only http and https addresses are fetched, redirects (relative ones resolved) are followed up to
 * ten times, an appcast larger than 1 MiB is not read, and a check that takes longer than the
 * transfer timeout ends. Whatever the feed says is shown as text, and only its web addresses
 * are opened or downloaded.
 */
class CORE_EXPORT Updater : public QObject
{
    Q_OBJECT

public:
    Updater();
    ~Updater() override;

    QString url() const;
    QString openUrl() const;
    QString changelog() const;
    QString moduleName() const;
    QString downloadUrl() const;
    QString platformKey() const;
    QString moduleVersion() const;
    QString latestVersion() const;
    QString userAgentString() const;

    bool customAppcast() const;
    bool notifyOnUpdate() const;
    bool notifyOnFinish() const;
    bool updateAvailable() const;
    bool downloaderEnabled() const;
    bool useCustomInstallProcedures() const;

    // Milliseconds a check may take, and a download may go without receiving anything.
    int transferTimeout() const;
    void setTransferTimeout(int timeoutMs);

    // The base64 Ed25519 key installers must be signed with: the application's own unless set.
    // With a key the installer is always fetched by the downloader, which checks it, never
    // handed to the browser.
    QString publicKey() const;
    void setPublicKey(const QString &key);

    // True when version x is newer than version y (dotted numbers, compared part by part).
    static bool compare(const QString &x, const QString &y);

signals:
    void checkingFinished(const QString &url);
    void downloadFinished(const QString &url, const QString &filepath);
    void appcastDownloaded(const QString &url, const QByteArray &data);

public slots:
    void checkForUpdates(bool bSilentIfNoUpdate);
    void setUrl(const QString &url);
    void setModuleName(const QString &name);
    void setNotifyOnUpdate(const bool notify);
    void setNotifyOnFinish(const bool notify);
    void setUserAgentString(const QString &agent);
    void setModuleVersion(const QString &version);
    void setDownloaderEnabled(const bool enabled);
    void setPlatformKey(const QString &platformKey);
    void setUseCustomAppcast(const bool customAppcast);
    void setUseCustomInstallProcedures(const bool custom);

private slots:
    void onReply(QNetworkReply *reply);
    void setUpdateAvailable(const bool available);

private:
    void requestAppcast(int redirectCount);
    void followRedirect(QNetworkReply *reply, const QUrl &target);
    void finishWithoutUpdate();
    void readAppcast(const QByteArray &data);
    enum class Answer { NotAsked, Update, RemindLater, Skip };

    void showNoUpdateMessage();
    Answer askUser(bool bSkipped);
    QString skippedVersionKey() const;
    bool isSkipped(const QString &version) const;
    void setSkippedVersion(const QString &version);
    void getUpdate();
    void openWebAddress(const QString &address);
    Downloader *downloader();

    QString m_url;
    QString m_userAgent;
    bool m_customAppcast;
    bool m_notifyOnUpdate;
    bool m_notifyOnFinish;
    bool m_updateAvailable;
    bool m_downloaderEnabled;
    bool m_silentIfNoUpdate;
    QString m_openUrl;
    QString m_platformKey;
    QString m_changelog;
    QString m_moduleName;
    QString m_downloadUrl;
    QString m_moduleVersion;
    QString m_latestVersion;
    QString m_sha256;
    QString m_signature;
    int m_transferTimeoutMs;

    // A child of the main window, so it may be deleted with it; then a new one is made when
    // needed, and the custom-install flag is kept here to carry over.
    QPointer<Downloader> m_downloader;
    bool m_customInstallProcedures = false;
    QString m_publicKey;
    QNetworkAccessManager *m_manager; // owned
};
