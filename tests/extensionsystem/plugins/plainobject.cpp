#include <QObject>

// Declares this application's plug-in IID, but its object is no ExtensionSystem::IPlugin.
class PlainObject : public QObject
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.KORVAN.Veldra.Plugin")
};

#include "plainobject.moc"
