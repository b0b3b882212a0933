#include <QObject>

// A Qt plug-in of some other application: the loader must leave it alone.
class ForeignPlugin : public QObject
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.example.OtherApplication.Plugin")

public:
    ForeignPlugin() { qFatal("The foreign plug-in must never be instantiated"); }
};

#include "foreign.moc"
