#pragma once

#include "welcome_global.h"

#include <extensionsystem/iplugin.h>

#include <QPointer>

class WelcomeInfo;
class WelcomeView;
class WelcomeWidget;

/*!
 * The welcome plug-in object. Once the core's main window exists it publishes the page's helper
 * object on the window's web channel, hands a WelcomeWidget to the window (which shows it while
 * no project is open; the widget loads the page when it first appears on screen) and writes the
 * server's port and secret to the file named by VELDRA_WEBSOCKET_PORT_FILE, if any.
 */
class WELCOME_EXPORT WelcomePlugin : public ExtensionSystem::IPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.KORVAN.Veldra.Plugin" FILE "welcome.json")

public:
    WelcomePlugin();
    ~WelcomePlugin() override;

    bool initialize(const QStringList &arguments, QString *errorString) override;
    void extensionsInitialized() override;
    ShutdownFlag aboutToShutdown() override;

    // The welcome widget's web view; null until the widget was first on screen.
    WelcomeView *view() const;

private:
    void unpublishInfo();

    QPointer<WelcomeWidget> m_pWidget; // a child of the MDI area's viewport; deleted by the plug-in
    WelcomeInfo *m_pInfo = nullptr;    // owned
};
