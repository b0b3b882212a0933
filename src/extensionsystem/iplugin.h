#pragma once

#include "extensionsystem_global.h"

#include <QList>
#include <QObject>
#include <QStringList>

namespace ExtensionSystem {

/*!
 * Base class of every plug-in object. The plug-in manager creates the object through
 * QPluginLoader, then drives it through its life cycle: initialize() on every plug-in in load
 * order, extensionsInitialized() in reverse load order, lateInitialize() in load order, and on
 * shutdown aboutToShutdown() in reverse load order before the objects are deleted.
 */
class EXTENSIONSYSTEM_EXPORT IPlugin : public QObject
{
    Q_OBJECT

public:
    enum ShutdownFlag { SynchronousShutdown, AsynchronousShutdown };

    IPlugin();
    ~IPlugin() override;

    virtual bool initialize(const QStringList &arguments, QString *errorString) = 0;
    virtual void extensionsInitialized() = 0;
    virtual bool lateInitialize();
    virtual ShutdownFlag aboutToShutdown();
    virtual QObject *processArguments(const QStringList &options, const QString &workingDirectory,
                                      const QStringList &arguments);
    virtual QList<QObject *> createTestObjects() const;
};

} // namespace ExtensionSystem
