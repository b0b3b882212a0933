#pragma once

#include <extensionsystem/iplugin.h>

// A test plug-in that writes every life-cycle call into the shared LifeCycleLog as
// "<name>.<call>". Given an error text, its initialize() fails with that text.
class RecordingPlugin : public ExtensionSystem::IPlugin
{
    Q_OBJECT

public:
    explicit RecordingPlugin(const QString &name, const QString &initializeError = QString());
    ~RecordingPlugin() override;

    bool initialize(const QStringList &arguments, QString *errorString) override;
    void extensionsInitialized() override;
    bool lateInitialize() override;
    ShutdownFlag aboutToShutdown() override;

private:
    void record(const QString &call) const;

    QString m_name;
    QString m_initializeError;
};
