#include "updater.h"

#include "downloader.h"
#include "icore.h"
#include "iui.h"
#include "mainwindow.h"
#include "transfertimeout_p.h"
#include "vdreleasenotedlg.h"
#include "webaddress_p.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSettings>
#include <QTimer>
#include <QUrl>

namespace {

const int maxRedirects = 10;
const qint64 maxAppcastSize = 1024 * 1024;
const QNetworkRequest::Attribute redirectCountAttribute = QNetworkRequest::User;
const char oversizedProperty[] = "veldraAppcastOversized";
const char appcastDataProperty[] = "veldraAppcastData";
const qint64 appcastReadBufferSize = 64 * 1024;

// An appcast larger than the limit is not read: its reply is aborted as soon as its announced
// size or the data received so far exceeds it. The data is taken out of the reply as it arrives
// and the reply's own buffer is small, so the reply stops reading from the socket whenever this
// thread falls behind: a huge body is never received in the background.
void limitAppcastSize(QNetworkReply *reply)
{
    reply->setReadBufferSize(appcastReadBufferSize);
    const auto check = [reply] {
        const QByteArray data = reply->property(appcastDataProperty).toByteArray() +
                                reply->read(maxAppcastSize + 1);
        const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (announced > maxAppcastSize || data.size() > maxAppcastSize) {
            reply->setProperty(oversizedProperty, true);
            reply->abort();
            return;
        }
        reply->setProperty(appcastDataProperty, data);
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, check);
    QObject::connect(reply, &QNetworkReply::readyRead, reply, check);
}

QByteArray appcastData(QNetworkReply *reply)
{
    return reply->property(appcastDataProperty).toByteArray() + reply->readAll();
}

// A digest or signature that is there but is not text must not turn its check off: it reads as
// malformed.
QString checkValue(const QJsonObject &entry, const char *name)
{
    const QJsonValue value = entry.value(QLatin1String(name));
    return value.isString() || value.isUndefined() || value.isNull() ? value.toString()
                                                                     : QStringLiteral("(not text)");
}

void warnCheckFailed(const QString &url, const QString &reason)
{
    qWarning().noquote() << "Update check of" << url << "failed:" << reason;
}

} // namespace

Updater::Updater()
    : m_url(QString())
    , m_userAgent(QStringLiteral("%1/%2 (Updater)")
                          .arg(QCoreApplication::applicationName(),
                               QCoreApplication::applicationVersion()))
    , m_customAppcast(false)
    , m_notifyOnUpdate(true)
    , m_notifyOnFinish(false)
    , m_updateAvailable(false)
    , m_downloaderEnabled(true)
    , m_silentIfNoUpdate(true)
    , m_openUrl(QString())
    , m_platformKey(QStringLiteral("windows"))
    , m_changelog(QString())
    , m_moduleName(QCoreApplication::applicationName())
    , m_downloadUrl(QString())
    , m_moduleVersion(QCoreApplication::applicationVersion())
    , m_latestVersion(QString())
    , m_transferTimeoutMs(TransferTimeout::defaultTimeoutMs())
    , m_publicKey(QStringLiteral(VELDRA_UPDATE_PUBLIC_KEY))
    , m_manager(new QNetworkAccessManager())
{
    downloader();
    connect(m_manager, &QNetworkAccessManager::finished, this, &Updater::onReply);
}

Updater::~Updater()
{
    delete m_downloader;
    delete m_manager;
}

QString Updater::url() const
{
    return m_url;
}

QString Updater::openUrl() const
{
    return m_openUrl;
}

QString Updater::changelog() const
{
    return m_changelog;
}

QString Updater::moduleName() const
{
    return m_moduleName;
}

QString Updater::downloadUrl() const
{
    return m_downloadUrl;
}

QString Updater::platformKey() const
{
    return m_platformKey;
}

QString Updater::moduleVersion() const
{
    return m_moduleVersion;
}

QString Updater::latestVersion() const
{
    return m_latestVersion;
}

QString Updater::userAgentString() const
{
    return m_userAgent;
}

bool Updater::customAppcast() const
{
    return m_customAppcast;
}

bool Updater::notifyOnUpdate() const
{
    return m_notifyOnUpdate;
}

bool Updater::notifyOnFinish() const
{
    return m_notifyOnFinish;
}

bool Updater::updateAvailable() const
{
    return m_updateAvailable;
}

bool Updater::downloaderEnabled() const
{
    return m_downloaderEnabled;
}

bool Updater::useCustomInstallProcedures() const
{
    return m_downloader ? m_downloader->useCustomInstallProcedures() : m_customInstallProcedures;
}

int Updater::transferTimeout() const
{
    return m_transferTimeoutMs;
}

void Updater::setTransferTimeout(int timeoutMs)
{
    m_transferTimeoutMs = timeoutMs;
    if (m_downloader)
        m_downloader->setTransferTimeout(timeoutMs);
}

QString Updater::publicKey() const
{
    return m_publicKey;
}

void Updater::setPublicKey(const QString &key)
{
    m_publicKey = key;
    if (m_downloader)
        m_downloader->setPublicKey(key);
}

bool Updater::compare(const QString &x, const QString &y)
{
    const QStringList xParts = x.split(QLatin1Char('.'), Qt::KeepEmptyParts);
    const QStringList yParts = y.split(QLatin1Char('.'), Qt::KeepEmptyParts);
    const int common = qMin(xParts.size(), yParts.size());
    for (int i = 0; i < common; ++i) {
        // A part that is not a number counts as 0.
        const int xPart = xParts.at(i).toInt();
        const int yPart = yParts.at(i).toInt();
        if (xPart != yPart)
            return xPart > yPart;
    }
    return xParts.size() > yParts.size();
}

void Updater::checkForUpdates(bool bSilentIfNoUpdate)
{
    m_silentIfNoUpdate = bSilentIfNoUpdate;
    requestAppcast(0);
}

void Updater::setUrl(const QString &url)
{
    m_url = url;
}

void Updater::setModuleName(const QString &name)
{
    m_moduleName = name;
}

void Updater::setNotifyOnUpdate(const bool notify)
{
    m_notifyOnUpdate = notify;
}

void Updater::setNotifyOnFinish(const bool notify)
{
    m_notifyOnFinish = notify;
}

void Updater::setUserAgentString(const QString &agent)
{
    m_userAgent = agent;
    if (m_downloader)
        m_downloader->setUserAgentString(agent);
}

void Updater::setModuleVersion(const QString &version)
{
    m_moduleVersion = version;
}

void Updater::setDownloaderEnabled(const bool enabled)
{
    m_downloaderEnabled = enabled;
}

void Updater::setPlatformKey(const QString &platformKey)
{
    m_platformKey = platformKey;
}

void Updater::setUseCustomAppcast(const bool customAppcast)
{
    m_customAppcast = customAppcast;
}

void Updater::setUseCustomInstallProcedures(const bool custom)
{
    m_customInstallProcedures = custom;
    if (m_downloader)
        m_downloader->setUseCustomInstallProcedures(custom);
}

void Updater::onReply(QNetworkReply *reply)
{
    reply->deleteLater();

    if (reply->property(oversizedProperty).toBool()) {
        warnCheckFailed(m_url, QStringLiteral("the feed is larger than 1 MiB"));
        finishWithoutUpdate(); // read like a body that is not JSON
        return;
    }
    if (TransferTimeout::timedOut(reply)) {
        warnCheckFailed(m_url, QStringLiteral("the server did not answer in time"));
        finishWithoutUpdate();
        return;
    }

    const QUrl target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    if (!target.isEmpty()) {
        followRedirect(reply, target);
        return;
    }

    if (reply->error() != QNetworkReply::NoError) {
        warnCheckFailed(m_url, reply->errorString());
        finishWithoutUpdate();
        return;
    }

    const QByteArray data = appcastData(reply);
    if (m_customAppcast) {
        emit appcastDownloaded(m_url, data);
        emit checkingFinished(m_url);
        return;
    }
    readAppcast(data);
}

// A relative target is resolved against the address that answered; only web addresses are
// followed, so a feed cannot make the check read a local file.
void Updater::followRedirect(QNetworkReply *reply, const QUrl &target)
{
    const int redirectCount = reply->request().attribute(redirectCountAttribute).toInt();
    const QUrl resolved = reply->url().resolved(target);
    if (redirectCount >= maxRedirects) {
        warnCheckFailed(m_url, QStringLiteral("too many redirects"));
        finishWithoutUpdate();
        return;
    }
    if (!WebAddress::isWebAddress(resolved)) {
        warnCheckFailed(m_url,
                        QStringLiteral("redirected to an address that is not a web address"));
        finishWithoutUpdate();
        return;
    }
    setUrl(resolved.toString());
    requestAppcast(redirectCount + 1);
}

void Updater::setUpdateAvailable(const bool available)
{
    m_updateAvailable = available;
    if (available)
        qInfo().noquote() << "New version:" << m_latestVersion;
    else
        qInfo("No updates available.");

    if (!available) {
        showNoUpdateMessage();
        return;
    }
    const bool skipped = isSkipped(m_latestVersion);
    if (skipped && m_silentIfNoUpdate) {
        qInfo().noquote() << "Version" << m_latestVersion << "was skipped; it is not offered.";
        return;
    }
    const Answer answer = askUser(skipped);
    if (answer == Answer::Skip)
        setSkippedVersion(m_latestVersion);
    else if (skipped && answer != Answer::NotAsked)
        setSkippedVersion(QString()); // offered again from now on
    if (answer == Answer::Update)
        getUpdate();
}

// Redirects are counted in the request, so overlapping checks each have their own chain.
void Updater::requestAppcast(int redirectCount)
{
    const QUrl url(m_url, QUrl::TolerantMode);
    if (!WebAddress::isWebAddress(url)) {
        warnCheckFailed(m_url, QStringLiteral("the address is not a web address"));
        // Later, like every other answer, so a caller that connects after asking still hears it.
        QTimer::singleShot(0, this, &Updater::finishWithoutUpdate);
        return;
    }
    QNetworkRequest request(url);
    if (!m_userAgent.isEmpty())
        request.setRawHeader("User-Agent", m_userAgent.toUtf8());
    request.setAttribute(redirectCountAttribute, redirectCount);
    QNetworkReply *reply = m_manager->get(request);
    limitAppcastSize(reply);
    TransferTimeout::watch(reply, TransferTimeout::WholeTransfer, m_transferTimeoutMs);
}

void Updater::finishWithoutUpdate()
{
    setUpdateAvailable(false);
    emit checkingFinished(m_url);
}

void Updater::readAppcast(const QByteArray &data)
{
    const QJsonDocument document = QJsonDocument::fromJson(data);
    if (document.isNull()) {
        finishWithoutUpdate();
        return;
    }

    const QJsonObject updates = document.object().value(QLatin1String("updates")).toObject();
    const QJsonObject platform = updates.value(m_platformKey).toObject();
    m_openUrl = platform.value(QLatin1String("open-url")).toString();
    m_changelog = platform.value(QLatin1String("changelog")).toString();
    m_downloadUrl = platform.value(QLatin1String("download-url")).toString();
    m_latestVersion = platform.value(QLatin1String("latest-version")).toString();
    m_sha256 = checkValue(platform, "sha256");
    m_signature = checkValue(platform, "signature");

    setUpdateAvailable(compare(m_latestVersion, m_moduleVersion));
    emit checkingFinished(m_url);
}

void Updater::showNoUpdateMessage()
{
    if (!m_notifyOnFinish || m_silentIfNoUpdate)
        return;

    QMessageBox box(ICore::getMainWindow());
    box.setWindowTitle(tr("Veldra"));
    box.setTextFormat(Qt::RichText);
    box.setIconPixmap(IUi::getPixmap(QStringLiteral("information"), IUi::Normal, IUi::Size32,
                                     QStringLiteral(":/designer/images/")));
    box.setStandardButtons(QMessageBox::Close);
    box.setText(QStringLiteral("<h3>") +
                tr("Congratulations! You are running the latest version of %1")
                        .arg(m_moduleName.toHtmlEscaped()) +
                QStringLiteral("</h3>"));
    box.setInformativeText(tr("No updates are available for the moment"));
    box.exec();
}

// Shows the release notes with the three choices.
Updater::Answer Updater::askUser(bool bSkipped)
{
    if (!m_notifyOnUpdate && !m_notifyOnFinish)
        return Answer::NotAsked;

    VDReleaseNoteDlg dialog(ICore::getMainWindow());
    // The version comes from the feed: shown as text, never as markup or links.
    QString heading = tr("<b>%1 %2 has been released!</b>")
                              .arg(m_moduleName.toHtmlEscaped(), m_latestVersion.toHtmlEscaped());
    if (bSkipped)
        heading += QStringLiteral("<br>") + tr("You chose to skip this version.");
    dialog.setHeading(heading);
    dialog.setChangelog(m_changelog);
    dialog.offerSkip();
    switch (dialog.exec()) {
    case QDialog::Accepted:
        return Answer::Update;
    case VDReleaseNoteDlg::SkipVersion:
        return Answer::Skip;
    default:
        return Answer::RemindLater;
    }
}

// One key per module name, which may hold any character.
QString Updater::skippedVersionKey() const
{
    return QStringLiteral("Updater/SkippedVersion/") +
           QString::fromLatin1(QUrl::toPercentEncoding(m_moduleName));
}

// A skipped version also covers the older ones a feed may announce later.
bool Updater::isSkipped(const QString &version) const
{
    QSettings *settings = ICore::settings();
    const QString skipped = settings ? settings->value(skippedVersionKey()).toString() : QString();
    return !skipped.isEmpty() && !compare(version, skipped);
}

// Written through at once: the user's choice must survive a run that does not end normally.
void Updater::setSkippedVersion(const QString &version)
{
    QSettings *settings = ICore::settings();
    if (!settings)
        return;
    if (version.isEmpty())
        settings->remove(skippedVersionKey());
    else
        settings->setValue(skippedVersionKey(), version);
    settings->sync();
}

void Updater::getUpdate()
{
    if (!m_openUrl.isEmpty()) {
        openWebAddress(m_openUrl);
        return;
    }
    if (!m_downloaderEnabled && publicKey().isEmpty()) {
        openWebAddress(m_downloadUrl);
        return;
    }

    // An address ending in "/" gives an empty name, which the downloader replaces. The
    // downloader refuses addresses that are not web addresses.
    Downloader *fetcher = downloader();
    fetcher->setUrlId(m_url);
    fetcher->setFileName(m_downloadUrl.split(QLatin1Char('/'), Qt::KeepEmptyParts).constLast());
    fetcher->setExpectedSha256(m_sha256);
    fetcher->setExpectedSignature(m_signature);
    fetcher->startDownload(QUrl(m_downloadUrl, QUrl::TolerantMode));
}

void Updater::openWebAddress(const QString &address)
{
    const QUrl url = WebAddress::fromFeed(address);
    if (url.isEmpty()) {
        qWarning("Updater: the feed's address is not a web address; nothing is opened");
        IUi::warning(ICore::getMainWindow(), tr("Veldra"),
                     tr("The update's address is not a web address."), QMessageBox::Ok,
                     QMessageBox::Ok);
        return;
    }
    QDesktopServices::openUrl(url);
}

Downloader *Updater::downloader()
{
    if (m_downloader)
        return m_downloader;

    m_downloader = new Downloader(ICore::getMainWindow());
    m_downloader->setUserAgentString(m_userAgent);
    m_downloader->setUseCustomInstallProcedures(m_customInstallProcedures);
    m_downloader->setTransferTimeout(m_transferTimeoutMs);
    m_downloader->setPublicKey(m_publicKey);
    connect(m_downloader, &Downloader::downloadFinished, this, &Updater::downloadFinished);
    return m_downloader;
}
