#include "helpcommands.h"

#include "commandids.h"
#include "icore.h"
#include "iui.h"
#include "mainwindow.h"
#include "mainwindowcommand.h"
#include "qsimpleupdater.h"
#include "updateschedule.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QSettings>
#include <QUrl>

namespace Ids = Veldra::Ids;

namespace {

const QString s_title = QStringLiteral("Veldra");

// An address from the user settings, or the one this build was made with when the settings have
// none.
QString configuredAddress(const char *key, const char *buildDefault)
{
    QSettings *settings = ICore::settings();
    const QString name = QString::fromLatin1(key);
    const QVariant value = settings && settings->contains(name)
                                   ? settings->value(name)
                                   : QVariant(QString::fromUtf8(buildDefault));
    return value.type() == QVariant::String ? value.toString().trimmed() : QString();
}

QString appcastUrl()
{
    return configuredAddress("Veldra/AppcastUrl", VELDRA_DEFAULT_APPCAST_URL);
}

QString communityUrl()
{
    return configuredAddress("Veldra/CommunityUrl", VELDRA_DEFAULT_COMMUNITY_URL);
}

QString accountUrl()
{
    return configuredAddress("Veldra/AccountUrl", VELDRA_DEFAULT_ACCOUNT_URL);
}

bool isWebAddress(const QString &address)
{
    const QUrl url(address, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

} // namespace

HelpCommands::HelpCommands(QObject *parent)
    : QObject(parent)
{
    connectMainWindowCommand(Ids::HelpAbout, this, &HelpCommands::about);
    connectMainWindowCommand(Ids::HelpCheckUpdates, this, &HelpCommands::checkForUpdates);
    connectMainWindowCommand(Ids::HelpCommunity, this, &HelpCommands::openCommunity);
    connectMainWindowCommand(Ids::HelpUserAccount, this, &HelpCommands::openAccount);
    connectMainWindowCommand(Ids::HelpSignInOut, this, &HelpCommands::openAccount);
    if (MainWindow *window = ICore::getMainWindow())
        connect(window, &MainWindow::userAccountLinkActivated, this, &HelpCommands::openAccount);
    updateWebCommands();
    const QString feed = updateFeed();
    if (!feed.isEmpty()) {
        auto *schedule = new UpdateSchedule(feed, this);
        connect(schedule, &UpdateSchedule::aboutToCheck, this, &HelpCommands::prepareUpdater);
    }
}

HelpCommands::~HelpCommands() = default;

QString HelpCommands::applicationVersion()
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral(VELDRA_VERSION) : version;
}

QString HelpCommands::platformKey()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("windows");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("osx");
#else
    return QStringLiteral("linux");
#endif
}

QString HelpCommands::updateFeed()
{
    const QString url = appcastUrl();
    return isWebAddress(url) ? url : QString();
}

// A command without an address is disabled rather than doing nothing, and the title bar's
// account link is hidden with it. The commands are the main window's own actions.
void HelpCommands::updateWebCommands()
{
    const bool hasCommunity = isWebAddress(communityUrl());
    const bool hasAccount = isWebAddress(accountUrl());
    setMainWindowActionEnabled(Ids::HelpCommunity, hasCommunity);
    setMainWindowActionEnabled(Ids::HelpUserAccount, hasAccount);
    setMainWindowActionEnabled(Ids::HelpSignInOut, hasAccount);
    if (MainWindow *window = ICore::getMainWindow())
        window->getUserAccountLink()->setVisible(hasAccount);
}

void HelpCommands::setMainWindowActionEnabled(const char *id, bool bEnabled)
{
    if (QAction *action = mainWindowCommand(id))
        action->setEnabled(bEnabled);
}

void HelpCommands::openCommunity()
{
    openAddress(communityUrl());
}

void HelpCommands::openAccount()
{
    openAddress(accountUrl());
}

void HelpCommands::openAddress(const QString &address)
{
    if (!isWebAddress(address))
        return; // the command is disabled; a stale trigger opens nothing
    if (!QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode)))
        IUi::warning(ICore::getMainWindow(), s_title,
                     tr("No web browser could be started to open %1.").arg(address));
}

void HelpCommands::about()
{
    IUi::information(ICore::getMainWindow(), s_title,
                     tr("<h3>Veldra %1</h3>"
                        "<p>Authoring of projects made of scenes, previewed in the web browser "
                        "and exported to HTML5.</p>"
                        "<p>Copyright (C) 2026 KORVAN</p>"
                        "<p>Veldra is licensed under the GNU Lesser General Public License, "
                        "version 3.</p>")
                             .arg(applicationVersion().toHtmlEscaped()));
}

void HelpCommands::checkForUpdates()
{
    MainWindow *window = ICore::getMainWindow();
    const QString url = appcastUrl();
    if (url.isEmpty()) {
        IUi::information(window, s_title,
                         tr("This installation of Veldra does not know where to look for "
                            "updates, so nothing was checked. Your administrator or the "
                            "publisher of your copy can tell you how to get new versions."));
        return;
    }
    if (!isWebAddress(url)) {
        IUi::warning(window, s_title,
                     tr("The update address \"%1\" is not an http or https address, so nothing "
                        "was checked.")
                             .arg(url));
        return;
    }
    prepareUpdater(url);
    QSimpleUpdater::getInstance()->checkForUpdates(url, false);
}

void HelpCommands::prepareUpdater(const QString &url)
{
    QSimpleUpdater *updater = QSimpleUpdater::getInstance();
    updater->setModuleName(url, s_title);
    updater->setModuleVersion(url, applicationVersion());
    updater->setPlatformKey(url, platformKey());
    updater->setNotifyOnUpdate(url, true);
    updater->setNotifyOnFinish(url, true);
}
