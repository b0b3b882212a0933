#include "recordingplugin.h"

class ExtensionPlugin : public RecordingPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.KORVAN.Veldra.Plugin" FILE "extension.json")

public:
    ExtensionPlugin()
        : RecordingPlugin(QStringLiteral("extension"))
    {}
};

#include "extension.moc"
