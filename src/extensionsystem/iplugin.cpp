#include "iplugin.h"

namespace ExtensionSystem {

IPlugin::IPlugin() = default;

IPlugin::~IPlugin() = default;

bool IPlugin::lateInitialize()
{
    return true;
}

IPlugin::ShutdownFlag IPlugin::aboutToShutdown()
{
    return SynchronousShutdown;
}

QObject *IPlugin::processArguments(const QStringList &options, const QString &workingDirectory,
                                   const QStringList &arguments)
{
    Q_UNUSED(options)
    Q_UNUSED(workingDirectory)
    Q_UNUSED(arguments)
    return nullptr;
}

QList<QObject *> IPlugin::createTestObjects() const
{
    return {};
}

} // namespace ExtensionSystem
