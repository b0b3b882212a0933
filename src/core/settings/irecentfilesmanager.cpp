#include "irecentfilesmanager.h"

#include "icore.h"

#include <QSettings>
#include <QVariant>

namespace {

const char recentProjectsKey[] = "Veldra/RecentProjects";

QSettings *userStore()
{
    return ICore::settings(QSettings::UserScope);
}

QStringList stringEntries(const QVariantList &entries)
{
    QStringList paths;
    for (const QVariant &entry : entries) {
        if (entry.userType() == QMetaType::QString)
            paths.append(entry.toString());
    }
    return paths;
}

// The stored list as written by us is a string list, but an INI file turns a one-entry list into
// a plain string, and something else may have written other types. Whatever is still readable
// as a path is kept; entries of other types are dropped.
QStringList readStoredList(const QSettings &store)
{
    const QVariant value = store.value(QLatin1String(recentProjectsKey));
    switch (value.userType()) {
    case QMetaType::UnknownType:
        return QStringList();
    case QMetaType::QString:
        return value.toString().isEmpty() ? QStringList() : QStringList(value.toString());
    case QMetaType::QStringList:
        return value.toStringList();
    case QMetaType::QVariantList:
        return stringEntries(value.toList());
    default:
        qWarning("IRecentFilesManager: \"%s\" does not hold a list of paths; ignoring it",
                 recentProjectsKey);
        return QStringList();
    }
}

void writeStoredList(QSettings &store, const QStringList &paths)
{
    store.setValue(QLatin1String(recentProjectsKey), paths);
}

} // namespace

void IRecentFilesManager::addRecentFile(const QString &strFile)
{
    if (strFile.isEmpty()) {
        qWarning("IRecentFilesManager::addRecentFile: empty path ignored");
        return;
    }
    QSettings *store = userStore();
    if (!store)
        return;
    QStringList paths = readStoredList(*store);
    paths.removeAll(strFile);
    paths.prepend(strFile);
    while (paths.size() > m_maxRecentFiles)
        paths.removeLast();
    writeStoredList(*store, paths);
}

void IRecentFilesManager::removeRecentFile(const QString &strFile)
{
    QSettings *store = userStore();
    if (!store)
        return;
    QStringList paths = readStoredList(*store);
    paths.removeOne(strFile);
    writeStoredList(*store, paths);
}

QStringList IRecentFilesManager::getRecentFiles()
{
    QSettings *store = userStore();
    const QStringList paths = store ? readStoredList(*store) : QStringList();
    m_recentFilesCount = qMin(paths.size(), m_maxRecentFiles);
    return paths.mid(0, m_recentFilesCount);
}

int IRecentFilesManager::getMaxRecentFiles()
{
    return m_maxRecentFiles;
}

int IRecentFilesManager::getRecentFilesCount()
{
    return m_recentFilesCount;
}
