#include "qsimpleupdater.h"

#include "updater.h"

QStringList QSimpleUpdater::URLS;
QList<Updater *> QSimpleUpdater::UPDATERS;

QSimpleUpdater::QSimpleUpdater() = default;

QSimpleUpdater::~QSimpleUpdater()
{
    URLS.clear();
    for (Updater *updater : qAsConst(UPDATERS))
        updater->deleteLater();
    UPDATERS.clear();
}

QSimpleUpdater *QSimpleUpdater::getInstance()
{
    static QSimpleUpdater instance;
    return &instance;
}

bool QSimpleUpdater::getNotifyOnUpdate(const QString &url) const
{
    return getUpdater(url)->notifyOnUpdate();
}

bool QSimpleUpdater::getNotifyOnFinish(const QString &url) const
{
    return getUpdater(url)->notifyOnFinish();
}

bool QSimpleUpdater::getUpdateAvailable(const QString &url) const
{
    return getUpdater(url)->updateAvailable();
}

bool QSimpleUpdater::getDownloaderEnabled(const QString &url) const
{
    return getUpdater(url)->downloaderEnabled();
}

bool QSimpleUpdater::usesCustomAppcast(const QString &url) const
{
    return getUpdater(url)->customAppcast();
}

bool QSimpleUpdater::usesCustomInstallProcedures(const QString &url) const
{
    return getUpdater(url)->useCustomInstallProcedures();
}

QString QSimpleUpdater::getOpenUrl(const QString &url) const
{
    return getUpdater(url)->openUrl();
}

QString QSimpleUpdater::getChangelog(const QString &url) const
{
    return getUpdater(url)->changelog();
}

QString QSimpleUpdater::getModuleName(const QString &url) const
{
    return getUpdater(url)->moduleName();
}

QString QSimpleUpdater::getDownloadUrl(const QString &url) const
{
    return getUpdater(url)->downloadUrl();
}

QString QSimpleUpdater::getPlatformKey(const QString &url) const
{
    return getUpdater(url)->platformKey();
}

QString QSimpleUpdater::getLatestVersion(const QString &url) const
{
    return getUpdater(url)->latestVersion();
}

QString QSimpleUpdater::getModuleVersion(const QString &url) const
{
    return getUpdater(url)->moduleVersion();
}

QString QSimpleUpdater::getUserAgentString(const QString &url) const
{
    return getUpdater(url)->userAgentString();
}

void QSimpleUpdater::checkForUpdates(const QString &url, bool bSilentIfNoUpdate)
{
    getUpdater(url)->checkForUpdates(bSilentIfNoUpdate);
}

void QSimpleUpdater::setModuleName(const QString &url, const QString &name)
{
    getUpdater(url)->setModuleName(name);
}

void QSimpleUpdater::setNotifyOnUpdate(const QString &url, const bool notify)
{
    getUpdater(url)->setNotifyOnUpdate(notify);
}

void QSimpleUpdater::setNotifyOnFinish(const QString &url, const bool notify)
{
    getUpdater(url)->setNotifyOnFinish(notify);
}

void QSimpleUpdater::setPlatformKey(const QString &url, const QString &platform)
{
    getUpdater(url)->setPlatformKey(platform);
}

void QSimpleUpdater::setModuleVersion(const QString &url, const QString &version)
{
    getUpdater(url)->setModuleVersion(version);
}

void QSimpleUpdater::setDownloaderEnabled(const QString &url, const bool enabled)
{
    getUpdater(url)->setDownloaderEnabled(enabled);
}

void QSimpleUpdater::setUserAgentString(const QString &url, const QString &agent)
{
    getUpdater(url)->setUserAgentString(agent);
}

void QSimpleUpdater::setUseCustomAppcast(const QString &url, const bool customAppcast)
{
    getUpdater(url)->setUseCustomAppcast(customAppcast);
}

void QSimpleUpdater::setUseCustomInstallProcedures(const QString &url, const bool custom)
{
    getUpdater(url)->setUseCustomInstallProcedures(custom);
}

void QSimpleUpdater::setPublicKey(const QString &url, const QString &key)
{
    getUpdater(url)->setPublicKey(key);
}

// Registers the address on first use; the updater keeps its registered address as key even when
// a redirect changes its url.
Updater *QSimpleUpdater::getUpdater(const QString &url) const
{
    if (!URLS.contains(url)) {
        auto *updater = new Updater;
        updater->setUrl(url);
        URLS.append(url);
        UPDATERS.append(updater);
        connect(updater, &Updater::checkingFinished, this, &QSimpleUpdater::checkingFinished);
        connect(updater, &Updater::downloadFinished, this, &QSimpleUpdater::downloadFinished);
        connect(updater, &Updater::appcastDownloaded, this, &QSimpleUpdater::appcastDownloaded);
    }
    return UPDATERS.at(URLS.indexOf(url));
}
