#pragma once

#include <extensionsystem/pluginmanager.h>

#include <QObject>
#include <QReadLocker>
#include <QStringList>
#include <QVariant>

// The test and its plug-ins share one log: a plain object in the pool, found by its name, whose
// "events" property lists the life-cycle calls in the order they happened.
namespace LifeCycleLog {

inline const char objectName[] = "LifeCycleLog";
inline const char eventsProperty[] = "events";

inline QObject *find()
{
    QReadLocker locker(ExtensionSystem::PluginManager::listLock());
    const QList<QObject *> objects = ExtensionSystem::PluginManager::allObjects();
    for (QObject *object : objects) {
        if (object->objectName() == QLatin1String(objectName))
            return object;
    }
    return nullptr;
}

inline QStringList events(const QObject *log)
{
    return log->property(eventsProperty).toStringList();
}

inline void append(QObject *log, const QString &event)
{
    log->setProperty(eventsProperty, events(log) << event);
}

} // namespace LifeCycleLog
