#include "recordingplugin.h"

class NeedsBrokenPlugin : public RecordingPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.KORVAN.Veldra.Plugin" FILE "needsbroken.json")

public:
    NeedsBrokenPlugin()
        : RecordingPlugin(QStringLiteral("needsbroken"))
    {}
};

#include "needsbroken.moc"
