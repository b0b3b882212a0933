#include <extensionsystem/iplugin.h>

#include <QCoreApplication>
#include <QVariant>

// Built once per test plug-in: moc finds its plugin.json in the plug-in's folder on the include
// path, TEST_PLUGIN_NAME names it and TEST_PLUGIN_ERROR is the error its initialize() fails with.
// Each life-cycle call is appended to the application's "lifeCycle" property as "<name>.<call>".
class TestPlugin : public ExtensionSystem::IPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.KORVAN.Veldra.Plugin" FILE "plugin.json")

public:
    TestPlugin() { record("constructed"); }
    ~TestPlugin() override { record("deleted"); }

    bool initialize(const QStringList &arguments, QString *errorString) override
    {
        record("initialize(" + arguments.join(',') + ')');
        *errorString = QStringLiteral(TEST_PLUGIN_ERROR);
        return errorString->isEmpty();
    }
    void extensionsInitialized() override { record("extensionsInitialized"); }
    bool lateInitialize() override
    {
        record("lateInitialize");
        return true;
    }
    ShutdownFlag aboutToShutdown() override
    {
        record("aboutToShutdown");
        return SynchronousShutdown;
    }

private:
    static void record(const QString &call)
    {
        const QString event = QStringLiteral(TEST_PLUGIN_NAME ".") + call;
        qApp->setProperty("lifeCycle", qApp->property("lifeCycle").toStringList() << event);
    }
};

#include "testplugin.moc"
