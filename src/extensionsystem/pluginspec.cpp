#include "pluginspec.h"

#include "iplugin.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QMetaObject>
#include <QtDebug>

namespace ExtensionSystem {

PluginSpec::PluginSpec(const QString &fileName)
    : m_fileName(fileName)
    , m_loader(fileName)
{}

PluginSpec::~PluginSpec() = default;

QString PluginSpec::fileName() const
{
    return m_fileName;
}

QString PluginSpec::name() const
{
    const QString declared = metaDataString(QStringLiteral("Name"));
    return declared.isEmpty() ? QFileInfo(m_fileName).baseName() : declared;
}

QString PluginSpec::version() const
{
    return metaDataString(QStringLiteral("Version"));
}

QString PluginSpec::compatVersion() const
{
    return metaDataString(QStringLiteral("CompatVersion"));
}

bool PluginSpec::isRequired() const
{
    return m_metaData.value(QStringLiteral("Required")).toBool();
}

QString PluginSpec::category() const
{
    return metaDataString(QStringLiteral("Category"));
}

QString PluginSpec::description() const
{
    return metaDataString(QStringLiteral("Description"));
}

QStringList PluginSpec::dependencies() const
{
    // An entry is either the plug-in's name or an object that names it under "Name".
    QStringList names;
    const QJsonArray entries = m_metaData.value(QStringLiteral("Dependencies")).toArray();
    for (const QJsonValue &entry : entries) {
        const QString name = entry.isObject()
                                     ? entry.toObject().value(QStringLiteral("Name")).toString()
                                     : entry.toString();
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

QJsonObject PluginSpec::metaData() const
{
    return m_metaData;
}

PluginSpec::State PluginSpec::state() const
{
    return m_state;
}

bool PluginSpec::hasError() const
{
    return !m_errorString.isEmpty();
}

QString PluginSpec::errorString() const
{
    return m_errorString;
}

IPlugin *PluginSpec::plugin() const
{
    return m_plugin;
}

QString PluginSpec::metaDataString(const QString &key) const
{
    return m_metaData.value(key).toString();
}

bool PluginSpec::readMetaData(const QString &expectedIid)
{
    // QPluginLoader::metaData() reads the embedded metadata without loading the library.
    const QJsonObject raw = m_loader.metaData();
    const QString iid = raw.value(QStringLiteral("IID")).toString();
    if (iid != expectedIid) {
        qDebug().noquote() << "Skipping" << QDir::toNativeSeparators(m_fileName) << "because"
                           << (iid.isEmpty() ? QStringLiteral("it is not a Qt plug-in")
                                             : QStringLiteral("its IID is %1").arg(iid));
        return false;
    }
    m_metaData = raw.value(QStringLiteral("MetaData")).toObject();
    m_state = Read;
    return true;
}

bool PluginSpec::loadLibrary()
{
    if (!m_loader.load()) {
        setError(tr("Cannot load the library: %1").arg(m_loader.errorString()));
        return false;
    }
    QObject *instance = m_loader.instance();
    if (!instance) {
        setError(tr("The library did not create a plug-in object: %1").arg(m_loader.errorString()));
        return false;
    }
    m_plugin = qobject_cast<IPlugin *>(instance);
    if (!m_plugin) {
        setError(tr("The plug-in object (%1) does not derive from ExtensionSystem::IPlugin.")
                         .arg(QLatin1String(instance->metaObject()->className())));
        return false;
    }
    m_state = Loaded;
    return true;
}

bool PluginSpec::initializePlugin(const QStringList &arguments)
{
    if (!m_plugin) {
        setError(tr("The plug-in object was deleted before it was initialized."));
        return false;
    }
    QString error;
    if (!m_plugin->initialize(arguments, &error)) {
        setError(error.isEmpty() ? tr("Initialization failed without giving a reason.") : error);
        return false;
    }
    m_state = Initialized;
    return true;
}

void PluginSpec::initializeExtensions()
{
    if (m_state != Initialized || !m_plugin)
        return;
    m_plugin->extensionsInitialized();
    m_state = Running;
}

void PluginSpec::delayedInitialize()
{
    // The result only says whether the plug-in had work to do; there is nothing to act on.
    if (m_state == Running && m_plugin)
        m_plugin->lateInitialize();
}

void PluginSpec::stop()
{
    if (m_state != Running)
        return;
    // Asynchronous shutdown is not supported: every plug-in is deleted right after this call.
    if (m_plugin)
        m_plugin->aboutToShutdown();
    m_state = Stopped;
}

void PluginSpec::deletePlugin()
{
    if (m_state < Loaded || m_state == Deleted)
        return;
    delete m_plugin;
    m_state = Deleted;
}

void PluginSpec::setError(const QString &reason)
{
    m_errorString = reason;
}

} // namespace ExtensionSystem
