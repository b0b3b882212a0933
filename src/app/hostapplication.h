#pragma once

#include <QString>
#include <QStringList>

#include <memory>

QT_BEGIN_NAMESPACE
class QApplication;
class QSettings;
class QSocketNotifier;
class QTranslator;
QT_END_NAMESPACE

namespace ExtensionSystem {
class PluginManager;
}

/*!
 * The host of the running application: settings stores, translations of the stored language,
 * the plug-in manager with its search paths, start-up and shutdown. The QApplication must exist.
 *
 * SIGTERM and SIGINT close the windows the way the user would, so the settings are saved and
 * open projects are offered for saving before the application quits.
 *
 * Start-up failures are written to stderr and shown in a message box; with the environment
 * variable VELDRA_NO_MESSAGE_BOXES=1 (for scripts and tests) only stderr gets them.
 */
class HostApplication
{
public:
    explicit HostApplication(const QStringList &files);
    ~HostApplication();

    // Loads the plug-ins and runs the event loop; the process's exit code.
    int run();

private:
    void installTranslations();
    bool reportPluginFailures();
    QStringList pluginPaths() const;
    void installTerminationHandler();
    void closeOnTermination();

    std::unique_ptr<ExtensionSystem::PluginManager> m_pluginManager;
    QSettings *m_userSettings = nullptr;   // owned by the plug-in manager
    QSettings *m_globalSettings = nullptr; // owned by the plug-in manager
    QList<QTranslator *> m_translators;    // children of the application
    std::unique_ptr<QSocketNotifier> m_terminationNotifier;
    bool m_closingOnTermination = false;
};
