#include "pluginmanager.h"

#include "iplugin.h"
#include "pluginmanager_p.h"
#include "pluginspec.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QReadLocker>
#include <QReadWriteLock>
#include <QSet>
#include <QWriteLocker>
#include <QtDebug>

#include <algorithm>
#include <atomic>

namespace ExtensionSystem {

namespace {

std::atomic<PluginManager *> currentManager{nullptr};

QReadWriteLock &poolLock()
{
    // Recursive, so that code holding the lock for reading may still call allObjects().
    static QReadWriteLock lock(QReadWriteLock::Recursive);
    return lock;
}

bool hasManager(const char *function)
{
    if (PluginManagerPrivate::current())
        return true;
    qWarning("PluginManager::%s: there is no plug-in manager", function);
    return false;
}

} // namespace

// --- PluginManagerPrivate ---

PluginManagerPrivate::PluginManagerPrivate(PluginManager *manager)
    : q(manager)
{}

PluginManagerPrivate::~PluginManagerPrivate()
{
    qDeleteAll(pluginSpecs);
}

PluginManagerPrivate *PluginManagerPrivate::current()
{
    PluginManager *manager = currentManager.load();
    return manager ? manager->d.get() : nullptr;
}

void PluginManagerPrivate::setSettings(QPointer<QSettings> &store, QSettings *settings)
{
    if (settings && !settings->parent())
        settings->setParent(q);
    store = settings;
}

bool PluginManagerPrivate::needsShutdown() const
{
    return phase == Phase::Loaded;
}

PluginSpec *PluginManagerPrivate::pluginByName(const QString &name) const
{
    return specByName.value(name);
}

void PluginManagerPrivate::loadPlugins()
{
    if (phase != Phase::NotLoaded) {
        qWarning("PluginManager::loadPlugins: the plug-ins were loaded already");
        return;
    }
    phase = Phase::Loaded;
    const QList<PluginSpec *> found = readPluginFolders();
    registerNames(found);
    pluginSpecs = loadOrder(found);
    loadLibraries();
    initializePlugins();
    emit q->initializationDone();
}

QList<PluginSpec *> PluginManagerPrivate::readPluginFolders() const
{
    QList<PluginSpec *> found;
    QSet<QString> seenFolders;
    for (const QString &path : pluginPaths) {
        if (path.isEmpty()) {
            qWarning("PluginManager::loadPlugins: ignoring an empty plug-in path");
            continue;
        }
        const QString folder = QFileInfo(path).canonicalFilePath();
        if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
            qWarning().noquote() << "Plug-in folder" << QDir::toNativeSeparators(path)
                                 << "does not exist";
            continue;
        }
        if (seenFolders.contains(folder))
            continue;
        seenFolders.insert(folder);
        found += readPluginFolder(folder);
    }
    return found;
}

QList<PluginSpec *> PluginManagerPrivate::readPluginFolder(const QString &path) const
{
    QList<PluginSpec *> found;
    // A versioned library lies in the folder under several names (libCore.so, libCore.so.1,
    // libCore.so.1.1.0) that all lead to one file: it is read once, under its first name.
    QSet<QString> seenFiles;
    const QFileInfoList entries = QDir(path).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (!QLibrary::isLibrary(entry.fileName()))
            continue;
        const QString file = entry.canonicalFilePath();
        if (file.isEmpty() || seenFiles.contains(file))
            continue;
        seenFiles.insert(file);
        auto *pluginSpec = new PluginSpec(entry.absoluteFilePath());
        if (pluginSpec->readMetaData(PluginManager::pluginIid()))
            found.append(pluginSpec);
        else
            delete pluginSpec;
    }
    return found;
}

void PluginManagerPrivate::registerNames(const QList<PluginSpec *> &found)
{
    for (PluginSpec *pluginSpec : found) {
        const PluginSpec *first = specByName.value(pluginSpec->name());
        if (!first) {
            specByName.insert(pluginSpec->name(), pluginSpec);
            continue;
        }
        fail(pluginSpec,
             PluginManager::tr("Another plug-in named \"%1\" was found first (%2).")
                     .arg(pluginSpec->name(), QDir::toNativeSeparators(first->fileName())));
    }
}

QList<PluginSpec *> PluginManagerPrivate::loadOrder(QList<PluginSpec *> found)
{
    std::stable_sort(found.begin(), found.end(), [](const PluginSpec *a, const PluginSpec *b) {
        return a->name() < b->name();
    });
    QList<PluginSpec *> ordered;
    QHash<PluginSpec *, bool> visiting;
    for (PluginSpec *pluginSpec : qAsConst(found))
        appendWithDependencies(pluginSpec, visiting, ordered);
    return ordered;
}

// Depth-first: a plug-in is appended after everything it depends on. "visiting" maps a plug-in
// to true while its dependencies are being placed, and to false once it is placed.
void PluginManagerPrivate::appendWithDependencies(PluginSpec *pluginSpec,
                                                  QHash<PluginSpec *, bool> &visiting,
                                                  QList<PluginSpec *> &ordered)
{
    if (visiting.contains(pluginSpec))
        return;
    visiting.insert(pluginSpec, true);
    const QStringList dependencies =
            pluginSpec->hasError() ? QStringList() : pluginSpec->dependencies();
    for (const QString &name : dependencies) {
        PluginSpec *dependency = specByName.value(name);
        if (!dependency) {
            fail(pluginSpec,
                 PluginManager::tr("It depends on \"%1\", which was not found.").arg(name));
            break;
        }
        if (visiting.value(dependency)) {
            fail(pluginSpec, PluginManager::tr("Its dependency on \"%1\" is circular.").arg(name));
            break;
        }
        appendWithDependencies(dependency, visiting, ordered);
    }
    visiting.insert(pluginSpec, false);
    ordered.append(pluginSpec);
}

bool PluginManagerPrivate::dependencyFailed(PluginSpec *pluginSpec)
{
    const QStringList dependencies = pluginSpec->dependencies();
    for (const QString &name : dependencies) {
        const PluginSpec *dependency = specByName.value(name);
        if (dependency && dependency->hasError()) {
            fail(pluginSpec, PluginManager::tr("It depends on \"%1\", which failed.").arg(name));
            return true;
        }
    }
    return false;
}

void PluginManagerPrivate::loadLibraries()
{
    for (PluginSpec *pluginSpec : qAsConst(pluginSpecs)) {
        if (pluginSpec->hasError() || dependencyFailed(pluginSpec))
            continue;
        if (!pluginSpec->loadLibrary())
            report(pluginSpec);
    }
}

void PluginManagerPrivate::initializePlugins()
{
    for (PluginSpec *pluginSpec : qAsConst(pluginSpecs)) {
        if (pluginSpec->hasError() || dependencyFailed(pluginSpec))
            continue;
        if (!pluginSpec->initializePlugin(arguments))
            report(pluginSpec);
    }
    for (auto it = pluginSpecs.crbegin(); it != pluginSpecs.crend(); ++it)
        (*it)->initializeExtensions();
    for (PluginSpec *pluginSpec : qAsConst(pluginSpecs))
        pluginSpec->delayedInitialize();
}

void PluginManagerPrivate::shutdown()
{
    if (phase == Phase::ShutDown)
        return;
    phase = Phase::ShutDown;
    for (auto it = pluginSpecs.crbegin(); it != pluginSpecs.crend(); ++it)
        (*it)->stop();
    for (auto it = pluginSpecs.crbegin(); it != pluginSpecs.crend(); ++it)
        (*it)->deletePlugin();
}

void PluginManagerPrivate::fail(PluginSpec *pluginSpec, const QString &reason)
{
    pluginSpec->setError(reason);
    report(pluginSpec);
}

void PluginManagerPrivate::report(PluginSpec *pluginSpec)
{
    const QString message = PluginManager::tr("Plug-in %1 failed: %2")
                                    .arg(QDir::toNativeSeparators(pluginSpec->fileName()),
                                         pluginSpec->errorString());
    qWarning().noquote() << message;
    errorStrings.append(message);
    emit q->pluginFailed(pluginSpec->fileName(), pluginSpec->errorString());
}

// --- PluginManager ---

PluginManager::PluginManager()
    : d(new PluginManagerPrivate(this))
{
    if (currentManager.exchange(this))
        qWarning("PluginManager: another plug-in manager exists; the newest one is used");
}

PluginManager::~PluginManager()
{
    if (d->needsShutdown())
        d->shutdown();
    PluginManager *self = this;
    currentManager.compare_exchange_strong(self, nullptr);
    d.reset();
}

PluginManager *PluginManager::instance()
{
    return currentManager.load();
}

QSettings *PluginManager::settings()
{
    const PluginManagerPrivate *d = PluginManagerPrivate::current();
    return d ? d->settings.data() : nullptr;
}

void PluginManager::setSettings(QSettings *settings)
{
    if (hasManager("setSettings")) {
        PluginManagerPrivate *d = PluginManagerPrivate::current();
        d->setSettings(d->settings, settings);
    }
}

QSettings *PluginManager::globalSettings()
{
    const PluginManagerPrivate *d = PluginManagerPrivate::current();
    return d ? d->globalSettings.data() : nullptr;
}

void PluginManager::setGlobalSettings(QSettings *settings)
{
    if (hasManager("setGlobalSettings")) {
        PluginManagerPrivate *d = PluginManagerPrivate::current();
        d->setSettings(d->globalSettings, settings);
    }
}

QList<QObject *> PluginManager::allObjects()
{
    QReadLocker locker(&poolLock());
    const PluginManagerPrivate *d = PluginManagerPrivate::current();
    return d ? d->objects : QList<QObject *>();
}

QReadWriteLock *PluginManager::listLock()
{
    return &poolLock();
}

void PluginManager::addObject(QObject *obj)
{
    if (!hasManager("addObject"))
        return;
    if (!obj) {
        qWarning("PluginManager::addObject: ignoring a null object");
        return;
    }
    PluginManagerPrivate *d = PluginManagerPrivate::current();
    {
        QWriteLocker locker(&poolLock());
        if (d->objects.contains(obj)) {
            locker.unlock();
            qWarning().noquote() << "PluginManager::addObject: the object is in the pool already:"
                                 << obj;
            return;
        }
        d->objects.append(obj);
    }
    emit d->q->objectAdded(obj);
}

void PluginManager::removeObject(QObject *obj)
{
    if (!hasManager("removeObject"))
        return;
    if (!obj) {
        qWarning("PluginManager::removeObject: ignoring a null object");
        return;
    }
    PluginManagerPrivate *d = PluginManagerPrivate::current();
    if (!allObjects().contains(obj)) {
        qWarning().noquote() << "PluginManager::removeObject: the object is not in the pool:"
                             << obj;
        return;
    }
    emit d->q->aboutToRemoveObject(obj);
    QWriteLocker locker(&poolLock());
    d->objects.removeAll(obj);
}

QStringList PluginManager::arguments()
{
    const PluginManagerPrivate *d = PluginManagerPrivate::current();
    return d ? d->arguments : QStringList();
}

void PluginManager::setArguments(const QStringList &arguments)
{
    if (hasManager("setArguments"))
        PluginManagerPrivate::current()->arguments = arguments;
}

QString PluginManager::pluginIid()
{
    return QStringLiteral("com.KORVAN.Veldra.Plugin");
}

QStringList PluginManager::pluginPaths()
{
    const PluginManagerPrivate *d = PluginManagerPrivate::current();
    return d ? d->pluginPaths : QStringList();
}

void PluginManager::setPluginPaths(const QStringList &paths)
{
    if (hasManager("setPluginPaths"))
        PluginManagerPrivate::current()->pluginPaths = paths;
}

void PluginManager::loadPlugins()
{
    if (hasManager("loadPlugins"))
        PluginManagerPrivate::current()->loadPlugins();
}

void PluginManager::shutdown()
{
    if (PluginManagerPrivate *d = PluginManagerPrivate::current())
        d->shutdown();
}

QList<PluginSpec *> PluginManager::plugins()
{
    const PluginManagerPrivate *d = PluginManagerPrivate::current();
    return d ? d->pluginSpecs : QList<PluginSpec *>();
}

PluginSpec *PluginManager::pluginByName(const QString &name)
{
    const PluginManagerPrivate *d = PluginManagerPrivate::current();
    return d ? d->pluginByName(name) : nullptr;
}

QStringList PluginManager::errorStrings()
{
    const PluginManagerPrivate *d = PluginManagerPrivate::current();
    return d ? d->errorStrings : QStringList();
}

bool PluginManager::hasError()
{
    return !errorStrings().isEmpty();
}

} // namespace ExtensionSystem
