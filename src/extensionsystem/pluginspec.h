#pragma once

#include "extensionsystem_global.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QPluginLoader>
#include <QPointer>
#include <QString>
#include <QStringList>

namespace ExtensionSystem {

class IPlugin;
class PluginManagerPrivate;

/*!
 * Describes one plug-in file found in the plug-in paths: what its metadata says, how far it got
 * through the life cycle and, when it failed, why.
 *
 * PluginSpec objects are created and owned by the PluginManager; they live until the manager is destroyed.
 */
class EXTENSIONSYSTEM_EXPORT PluginSpec
{
    Q_DECLARE_TR_FUNCTIONS(ExtensionSystem::PluginSpec)
    Q_DISABLE_COPY(PluginSpec)

public:
    enum State { Invalid, Read, Loaded, Initialized, Running, Stopped, Deleted };

    ~PluginSpec();

    QString fileName() const;
    QString name() const;
    QString version() const;
    QString compatVersion() const;
    bool isRequired() const;
    QString category() const;
    QString description() const;
    QStringList dependencies() const;
    QJsonObject metaData() const;

    State state() const;
    bool hasError() const;
    QString errorString() const;

    // The plug-in object; null until the library is loaded and after the object was deleted.
    IPlugin *plugin() const;

private:
    friend class PluginManagerPrivate;

    explicit PluginSpec(const QString &fileName);

    QString metaDataString(const QString &key) const;

    // Each step returns false and sets the error when the plug-in fails in it.
    bool readMetaData(const QString &expectedIid);
    bool loadLibrary();
    bool initializePlugin(const QStringList &arguments);
    void initializeExtensions();
    void delayedInitialize();
    void stop();
    void deletePlugin();
    void setError(const QString &reason);

    QString m_fileName;
    QJsonObject m_metaData;
    State m_state = Invalid;
    QString m_errorString;
    QPluginLoader m_loader;
    // The library also holds the instance (through a guarded pointer), so deleting it is safe.
    QPointer<IPlugin> m_plugin;
};

} // namespace ExtensionSystem
