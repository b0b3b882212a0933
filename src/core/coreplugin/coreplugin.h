#pragma once

#include <extensionsystem/iplugin.h>

#include <QPointer>

class MainWindow;

/*!
 * The core's plug-in object. Constructing it prepares the language and theme catalogues (the
 * theme's style sheet is applied at once) and creates the main window; the host's life-cycle
 * calls are forwarded to the window. Not exported: the host reaches it through the plug-in
 * entry points only.
 */
class CorePlugin : public ExtensionSystem::IPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.KORVAN.Veldra.Plugin" FILE "core.json")

public:
    CorePlugin();
    ~CorePlugin() override;

    bool initialize(const QStringList &arguments, QString *errorString) override;
    void extensionsInitialized() override;
    bool lateInitialize() override;
    ShutdownFlag aboutToShutdown() override;
    QObject *processArguments(const QStringList &options, const QString &workingDirectory,
                              const QStringList &arguments) override;

public slots:
    void fileOpenRequest(const QString &strFile);

private:
    MainWindow *m_pMainWindow = nullptr; // owned
};
