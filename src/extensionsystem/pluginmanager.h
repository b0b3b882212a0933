#pragma once

#include "extensionsystem_global.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>

QT_BEGIN_NAMESPACE
class QReadWriteLock;
class QSettings;
QT_END_NAMESPACE

namespace ExtensionSystem {

class IPlugin;
class PluginSpec;
class PluginManagerPrivate;

/*!
 * The host of the plug-ins: one instance per process, owned by the host executable (or a test).
 *
 * It keeps the object pool shared by all plug-ins (guarded by listLock()), the user and the
 * system-wide settings stores, the command-line arguments meant for the plug-ins, and it loads
 * the plug-ins found in its search paths and drives their life cycle.
 *
 * The static functions are safe to call when no instance exists: they answer null or empty
 * values and change nothing.
 */
class EXTENSIONSYSTEM_EXPORT PluginManager : public QObject
{
    Q_OBJECT

public:
    PluginManager();
    ~PluginManager() override;

    static PluginManager *instance();

    // Settings stores. A store without a parent becomes the manager's child and is deleted with
    // it; a store that has a parent stays with its owner.
    static QSettings *settings();
    static void setSettings(QSettings *settings);
    static QSettings *globalSettings();
    static void setGlobalSettings(QSettings *settings);

    // The object pool, in the order the objects were added.
    static QList<QObject *> allObjects();
    static QReadWriteLock *listLock();
    static void addObject(QObject *obj);
    static void removeObject(QObject *obj);

    // Arguments (file paths) that the plug-ins are to open after start-up.
    static QStringList arguments();
    static void setArguments(const QStringList &arguments);

    // Plug-in loading.
    static QString pluginIid();
    static QStringList pluginPaths();
    static void setPluginPaths(const QStringList &paths);
    static void loadPlugins();
    static void shutdown();
    static QList<PluginSpec *> plugins();
    static PluginSpec *pluginByName(const QString &name);
    static QStringList errorStrings();
    static bool hasError();

signals:
    void objectAdded(QObject *obj);
    void aboutToRemoveObject(QObject *obj);
    void initializationDone();
    void pluginFailed(const QString &fileName, const QString &reason);

private:
    friend class PluginManagerPrivate;
    std::unique_ptr<PluginManagerPrivate> d;
};

} // namespace ExtensionSystem
