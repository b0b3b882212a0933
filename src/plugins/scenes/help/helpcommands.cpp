#include "helpcommands.h"

#include "actionmanager.h"
#include "contextaction.h"
#include "icore.h"
#include "iui.h"
#include "mainwindow.h"
#include "qsimpleupdater.h"

#include <QAction>
#include <QCoreApplication>
#include <QSettings>
#include <QUrl>

namespace {

const QString s_title = QStringLiteral("Veldra");

QString appcastUrl()
{
    QSettings *settings = ICore::settings();
    return settings ? settings->value(QStringLiteral("Veldra/AppcastUrl")).toString().trimmed()
                    : QString();
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
    connectCommand(QStringLiteral("Help.About"), &HelpCommands::about);
    connectCommand(QStringLiteral("Help.CheckUpdates"), &HelpCommands::checkForUpdates);
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

void HelpCommands::connectCommand(const QString &id, void (HelpCommands::*handler)())
{
    ContextAction *command = ActionManager::getAction(id);
    if (!command) {
        qWarning("HelpCommands: the command %s is not registered", qUtf8Printable(id));
        return;
    }
    connect(command->getAction(), &QAction::triggered, this, handler);
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
                         tr("No update address is configured, so nothing was checked. Set "
                            "\"Veldra/AppcastUrl\" in the settings to the address of the "
                            "update feed."));
        return;
    }
    if (!isWebAddress(url)) {
        IUi::warning(window, s_title,
                     tr("The update address \"%1\" is not an http or https address, so nothing "
                        "was checked.")
                             .arg(url));
        return;
    }
    QSimpleUpdater *updater = QSimpleUpdater::getInstance();
    updater->setModuleName(url, s_title);
    updater->setModuleVersion(url, applicationVersion());
    updater->setPlatformKey(url, platformKey());
    updater->setNotifyOnUpdate(url, true);
    updater->setNotifyOnFinish(url, true);
    updater->checkForUpdates(url, false);
}
