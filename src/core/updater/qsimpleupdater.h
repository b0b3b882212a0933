#pragma once

#include "core_global.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class Updater;

/*!
 * The update checker other plug-ins use: one Updater per appcast address, created the first time
 * the address is named and kept for the life of the process. Every slot and getter takes the
 * address first and acts on its updater, so asking about a new address registers it and answers
 * with the defaults. The updaters' signals are forwarded with the same names.
 *
 * \code
 * QSimpleUpdater *updater = QSimpleUpdater::getInstance();
 * updater->setModuleVersion(appcastUrl, QStringLiteral("1.1.0"));
 * updater->setNotifyOnFinish(appcastUrl, true);
 * updater->checkForUpdates(appcastUrl, false);
 * \endcode
 */
class CORE_EXPORT QSimpleUpdater : public QObject
{
    Q_OBJECT

signals:
    void checkingFinished(const QString &url);
    void appcastDownloaded(const QString &url, const QByteArray &data);
    void downloadFinished(const QString &url, const QString &filepath);

public:
    QSimpleUpdater();

    static QSimpleUpdater *getInstance();

    bool getNotifyOnUpdate(const QString &url) const;
    bool getNotifyOnFinish(const QString &url) const;
    bool getUpdateAvailable(const QString &url) const;
    bool getDownloaderEnabled(const QString &url) const;
    bool usesCustomAppcast(const QString &url) const;
    bool usesCustomInstallProcedures(const QString &url) const;

    QString getOpenUrl(const QString &url) const;
    QString getChangelog(const QString &url) const;
    QString getModuleName(const QString &url) const;
    QString getDownloadUrl(const QString &url) const;
    QString getPlatformKey(const QString &url) const;
    QString getLatestVersion(const QString &url) const;
    QString getModuleVersion(const QString &url) const;
    QString getUserAgentString(const QString &url) const;

    // The base64 Ed25519 key the address's installers must be signed with, instead of the
    // application's own (empty: not checked). For plug-ins with their own publisher.
    void setPublicKey(const QString &url, const QString &key);

public slots:
    void checkForUpdates(const QString &url, bool bSilentIfNoUpdate);
    void setModuleName(const QString &url, const QString &name);
    void setNotifyOnUpdate(const QString &url, const bool notify);
    void setNotifyOnFinish(const QString &url, const bool notify);
    void setPlatformKey(const QString &url, const QString &platform);
    void setModuleVersion(const QString &url, const QString &version);
    void setDownloaderEnabled(const QString &url, const bool enabled);
    void setUserAgentString(const QString &url, const QString &agent);
    void setUseCustomAppcast(const QString &url, const bool customAppcast);
    void setUseCustomInstallProcedures(const QString &url, const bool custom);

protected:
    ~QSimpleUpdater() override;

private:
    Updater *getUpdater(const QString &url) const;

    // Shared by every instance: the addresses in order of registration, and at the same index
    // the updater of each (owned).
    static QStringList URLS;
    static QList<Updater *> UPDATERS;
};
