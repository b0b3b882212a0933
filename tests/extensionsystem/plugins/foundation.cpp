#include "recordingplugin.h"

class FoundationPlugin : public RecordingPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.KORVAN.Veldra.Plugin" FILE "foundation.json")

public:
    FoundationPlugin()
        : RecordingPlugin(QStringLiteral("foundation"))
    {}
};

#include "foundation.moc"
