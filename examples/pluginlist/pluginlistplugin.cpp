#include "pluginlistplugin.h"

#include <actioncontainer.h>
#include <actionmanager.h>
#include <commandids.h>
#include <contextaction.h>
#include <icore.h>
#include <iui.h>
#include <mainwindow.h>

#include <extensionsystem/pluginmanager.h>
#include <extensionsystem/pluginspec.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTimer>

namespace Ids = Veldra::Ids;

namespace {
const char commandId[] = "Tools.Loaded_Plugins";
const char toolsMenuId[] = "MenuBar.Tools";

QString reportFile()
{
    return qEnvironmentVariable("VELDRA_EXAMPLE_REPORT");
}
} // namespace

bool PluginListPlugin::initialize(const QStringList &arguments, QString *errorString)
{
    Q_UNUSED(arguments)
    MainWindow *mainWindow = ICore::getMainWindow();
    if (!mainWindow) {
        *errorString = tr("The core's main window is missing.");
        return false;
    }
    m_pAction = new QAction(tr("Loaded Plug-ins"), mainWindow);
    connect(m_pAction, &QAction::triggered, this, &PluginListPlugin::showPluginList);
    ContextAction *command =
            ActionManager::registerAction(m_pAction, QLatin1String(commandId), mainWindow);
    if (!command) {
        *errorString = tr("The command could not be registered.");
        return false;
    }
    command->setDefaultKeySequence(QKeySequence(tr("Ctrl+Alt+L")));
    command->setDescription(tr("List the loaded plug-ins"));
    return true;
}

// The core has built its menus by now.
void PluginListPlugin::extensionsInitialized()
{
    placeInToolsMenu();
}

bool PluginListPlugin::lateInitialize()
{
    if (!reportFile().isEmpty()) {
        QTimer::singleShot(0, this, [] {
            ActionManager::getAction(QLatin1String(commandId))->getAction()->trigger();
            QApplication::quit();
        });
    }
    return true;
}

ExtensionSystem::IPlugin::ShutdownFlag PluginListPlugin::aboutToShutdown()
{
    if (m_pAction) {
        ActionManager::unregisterAction(m_pAction, QLatin1String(commandId));
        delete m_pAction;
    }
    return SynchronousShutdown;
}

// Another plug-in may have made the Tools menu already; otherwise it goes before Help.
void PluginListPlugin::placeInToolsMenu()
{
    ActionContainer *tools = ActionManager::getActionContainer(QLatin1String(toolsMenuId));
    if (!tools) {
        ActionContainer *menuBar = ActionManager::getActionContainer(QLatin1String(Ids::MenuBar));
        if (!menuBar) {
            qWarning("pluginlist: the menu bar is missing; Loaded Plug-ins is in no menu");
            return;
        }
        tools = ActionManager::createMenuContainer(tr("&Tools"), QLatin1String(toolsMenuId));
        menuBar->insertMenu(tools, ActionManager::getActionContainer(QLatin1String(Ids::HelpMenu)));
    }
    tools->insertAction(ActionManager::getAction(QLatin1String(commandId)));
}

void PluginListPlugin::showPluginList()
{
    QStringList lines;
    const QList<ExtensionSystem::PluginSpec *> plugins = ExtensionSystem::PluginManager::plugins();
    for (const ExtensionSystem::PluginSpec *plugin : plugins)
        lines << QStringLiteral("%1 %2").arg(plugin->name(), plugin->version());
    const QString text = lines.join(QLatin1Char('\n'));

    const QString report = reportFile();
    if (report.isEmpty()) {
        IUi::information(ICore::getMainWindow(), tr("Loaded Plug-ins"), text);
        return;
    }
    QFile file(report);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.toUtf8() + '\n') < 0) {
        qWarning("pluginlist: cannot write the report to %s", qPrintable(report));
    }
}
