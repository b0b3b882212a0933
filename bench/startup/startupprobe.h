#pragma once

#include <extensionsystem/iplugin.h>

class StartupMarkers;

/*!
 * A plug-in for the start-up benchmark only, loaded through VELDRA_PLUGIN_PATH: it reports when
 * the main window is on screen, when the welcome page's bridge is set up and when the first scene
 * of an opened project is shown (see StartupMarkers). Watching starts when the plug-in is
 * initialised, right after the core built the main window and before the window is shown.
 */
class StartupProbe : public ExtensionSystem::IPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.KORVAN.Veldra.Plugin" FILE "startupprobe.json")

public:
    bool initialize(const QStringList &arguments, QString *errorString) override;
    void extensionsInitialized() override;

private:
    StartupMarkers *m_pMarkers = nullptr; // child
};
