#include "scenesplugin.h"

#include "crashrecovery.h"
#include "editcommands.h"
#include "helpcommands.h"
#include "projectcommands.h"
#include "scenedocumentfactory.h"
#include "sceneeditorcommands.h"
#include "shortcutsettings.h"
#include "windowgeometry.h"

#include <extensionsystem/pluginmanager.h>

ScenesPlugin::ScenesPlugin() = default;

ScenesPlugin::~ScenesPlugin()
{
    qDeleteAll(m_parts);
    for (QObject *object : qAsConst(m_pooledObjects))
        ExtensionSystem::PluginManager::removeObject(object);
    qDeleteAll(m_pooledObjects);
}

bool ScenesPlugin::initialize(const QStringList &arguments, QString *errorString)
{
    Q_UNUSED(arguments)
    Q_UNUSED(errorString)
    auto *factory = new SceneDocumentFactory(nullptr);
    m_pooledObjects.append(factory);
    ExtensionSystem::PluginManager::addObject(factory);
    return true;
}

void ScenesPlugin::extensionsInitialized()
{
    m_parts.append(new ProjectCommands);
    m_parts.append(new HelpCommands);
    m_parts.append(new EditCommands);
    m_parts.append(new SceneEditorCommands);
    m_parts.append(new CrashRecovery);
    m_parts.append(new WindowGeometry); // before the core shows the window
    ShortcutSettings::load(); // last: the stored keys apply to every command registered above
}

ExtensionSystem::IPlugin::ShutdownFlag ScenesPlugin::aboutToShutdown()
{
    return SynchronousShutdown;
}
