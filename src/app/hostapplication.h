#pragma once

#include <QString>
#include <QStringList>

#include <memory>

QT_BEGIN_NAMESPACE
class QApplication;
class QSettings;
class QTranslator;
QT_END_NAMESPACE

namespace ExtensionSystem {
class PluginManager;
}

/*!
 * The host of the running application: settings stores, translations of the stored language,
 * the plug-in manager with its search paths, start-up and shutdown. The QApplication must exist.
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

    std::unique_ptr<ExtensionSystem::PluginManager> m_pluginManager;
    QSettings *m_userSettings = nullptr;   // owned by the plug-in manager
    QSettings *m_globalSettings = nullptr; // owned by the plug-in manager
    QList<QTranslator *> m_translators;    // children of the application
};
