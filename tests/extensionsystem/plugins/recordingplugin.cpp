#include "recordingplugin.h"

#include "lifecyclelog.h"

RecordingPlugin::RecordingPlugin(const QString &name, const QString &initializeError)
    : m_name(name)
    , m_initializeError(initializeError)
{
    record(QStringLiteral("constructed"));
}

RecordingPlugin::~RecordingPlugin()
{
    record(QStringLiteral("deleted"));
}

bool RecordingPlugin::initialize(const QStringList &arguments, QString *errorString)
{
    record(QStringLiteral("initialize(%1)").arg(arguments.join(QLatin1Char(','))));
    if (m_initializeError.isEmpty())
        return true;
    *errorString = m_initializeError;
    return false;
}

void RecordingPlugin::extensionsInitialized()
{
    record(QStringLiteral("extensionsInitialized"));
}

bool RecordingPlugin::lateInitialize()
{
    record(QStringLiteral("lateInitialize"));
    return true;
}

ExtensionSystem::IPlugin::ShutdownFlag RecordingPlugin::aboutToShutdown()
{
    record(QStringLiteral("aboutToShutdown"));
    return SynchronousShutdown;
}

void RecordingPlugin::record(const QString &call) const
{
    if (QObject *log = LifeCycleLog::find())
        LifeCycleLog::append(log, m_name + QLatin1Char('.') + call);
}
