#pragma once

#include "scenes_global.h"

#include <extensionsystem/iplugin.h>

#include <QList>

/*!
 * The scenes plug-in object. It puts the project type's document factory into the host's object
 * pool and, once the core's window and command registry exist, adds the plug-in's commands
 * (undo and redo, export, previews, about, update check), offers to recover the projects a
 * run that ended abnormally left behind and keeps the window's geometry between runs.
 */
class SCENES_EXPORT ScenesPlugin : public ExtensionSystem::IPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.KORVAN.Veldra.Plugin" FILE "scenes.json")

public:
    ScenesPlugin();
    ~ScenesPlugin() override;

    bool initialize(const QStringList &arguments, QString *errorString) override;
    void extensionsInitialized() override;
    ShutdownFlag aboutToShutdown() override;

private:
    QList<QObject *> m_pooledObjects; // owned; in the object pool while the plug-in runs
    QList<QObject *> m_parts;         // owned; the plug-in's commands and services
};
