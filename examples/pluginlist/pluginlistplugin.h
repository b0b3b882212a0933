#pragma once

#include <extensionsystem/iplugin.h>

#include <QPointer>

QT_BEGIN_NAMESPACE
class QAction;
QT_END_NAMESPACE

/*!
 * An example plug-in written against the installed Veldra SDK. Its command "Loaded Plug-ins"
 * (Ctrl+Alt+L, in a "Tools" menu before "Help") lists the plug-ins the application runs, with
 * their versions. The command is registered for the main window's context, so its shortcut can
 * be changed on the Keyboard options page like every other one.
 *
 * With VELDRA_EXAMPLE_REPORT=<file> set, the plug-in runs its command once after start-up,
 * writes the list into that file instead of showing it, and quits the application: a check
 * that the plug-in loads into an installed Veldra and its command runs.
 */
class PluginListPlugin : public ExtensionSystem::IPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.KORVAN.Veldra.Plugin" FILE "pluginlist.json")

public:
    bool initialize(const QStringList &arguments, QString *errorString) override;
    void extensionsInitialized() override;
    bool lateInitialize() override;
    ShutdownFlag aboutToShutdown() override;

private:
    void placeInToolsMenu();
    void showPluginList();

    QPointer<QAction> m_pAction; // a child of the main window
};
