#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QSettings>
#include <QStringList>

namespace ExtensionSystem {

class PluginManager;
class PluginSpec;

// The state behind PluginManager's static facade.
class PluginManagerPrivate
{
public:
    explicit PluginManagerPrivate(PluginManager *manager);
    ~PluginManagerPrivate();

    // The private part of the current manager, or null when there is none.
    static PluginManagerPrivate *current();

    void setSettings(QPointer<QSettings> &store, QSettings *settings);
    void loadPlugins();
    void shutdown();
    bool needsShutdown() const;
    PluginSpec *pluginByName(const QString &name) const;

    PluginManager *q;
    QList<QObject *> objects; // guarded by PluginManager::listLock()
    QPointer<QSettings> settings;
    QPointer<QSettings> globalSettings;
    QStringList arguments;
    QStringList pluginPaths;
    QList<PluginSpec *> pluginSpecs;         // owned; in load order once loaded
    QHash<QString, PluginSpec *> specByName; // the first plug-in found under each name
    QStringList errorStrings;

private:
    enum class Phase { NotLoaded, Loaded, ShutDown };

    QList<PluginSpec *> readPluginFolders() const;
    QList<PluginSpec *> readPluginFolder(const QString &path) const;
    void registerNames(const QList<PluginSpec *> &found);
    QList<PluginSpec *> loadOrder(QList<PluginSpec *> found);
    void appendWithDependencies(PluginSpec *pluginSpec, QHash<PluginSpec *, bool> &visiting,
                                QList<PluginSpec *> &ordered);
    bool dependencyFailed(PluginSpec *pluginSpec);
    void loadLibraries();
    void initializePlugins();
    void fail(PluginSpec *pluginSpec, const QString &reason);
    void report(PluginSpec *pluginSpec);

    Phase phase = Phase::NotLoaded;
};

} // namespace ExtensionSystem
