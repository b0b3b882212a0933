#include "recordingplugin.h"

class BrokenPlugin : public RecordingPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.KORVAN.Veldra.Plugin" FILE "broken.json")

public:
    BrokenPlugin()
        : RecordingPlugin(QStringLiteral("broken"), QStringLiteral("broken on purpose"))
    {}
};

#include "broken.moc"
