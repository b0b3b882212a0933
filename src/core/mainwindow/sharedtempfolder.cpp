#include "sharedtempfolder_p.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QUuid>

#include <memory>

namespace {

const char s_instancesFolderName[] = ".instances";
const char s_guardName[] = "guard";
const char s_lockSuffix[] = ".lock";
constexpr int s_guardWaitMs = 5000;

bool removeDirectory(const QString &path);

// Removes what a folder holds but the entry named strKept; stops at the first entry that cannot
// be removed. Symbolic links are removed themselves, never followed.
bool removeEntries(const QString &path, const QString &strKept = QString())
{
    const QFileInfoList entries = QDir(path).entryInfoList(
            QDir::NoDotAndDotDot | QDir::System | QDir::Hidden | QDir::AllDirs | QDir::Files,
            QDir::DirsFirst);
    for (const QFileInfo &entry : entries) {
        if (!strKept.isEmpty() && entry.fileName() == strKept)
            continue;
        const bool removed = entry.isDir() && !entry.isSymLink()
                                     ? removeDirectory(entry.absoluteFilePath())
                                     : QFile::remove(entry.absoluteFilePath());
        if (!removed)
            return false;
    }
    return true;
}

// Removes a folder with everything in it.
bool removeDirectory(const QString &path)
{
    QDir dir(path);
    return dir.exists() && removeEntries(path) && dir.rmdir(dir.absolutePath());
}

// This process's lock in the folder it uses, held until it leaves or the process ends. Its
// name is unique to the run, so a later process with the same id never takes it for its own.
struct OwnLock
{
    const QString fileName = QStringLiteral("%1-%2%3").arg(
            QString::number(QCoreApplication::applicationPid()),
            QUuid::createUuid().toString(QUuid::Id128), QLatin1String(s_lockSuffix));
    QString path;
    std::unique_ptr<QLockFile> lock;

    ~OwnLock() { release(); }

    bool holds(const QString &strPath) const
    {
        return lock && path == strPath && QFileInfo::exists(path);
    }

    // QLockFile complains when its file has gone (someone removed the folder), so the file is
    // put back for the lock to remove, and so are the folders that had to be made for it.
    void release()
    {
        if (!lock)
            return;
        QStringList madeFolders; // innermost first
        const QString folder = QFileInfo(path).absolutePath();
        for (QString missing = folder; !QFileInfo::exists(missing);
             missing = QFileInfo(missing).absolutePath())
            madeFolders.append(missing);
        if (!QFileInfo::exists(path) && QDir().mkpath(folder))
            QFile(path).open(QIODevice::WriteOnly);
        lock.reset();
        for (const QString &made : qAsConst(madeFolders))
            QDir().rmdir(made);
    }
};

OwnLock &ownLock()
{
    static OwnLock lock;
    return lock;
}

// The folder may vanish between making it and locking in it, when another instance removes it
// right then; one more try settles that.
bool lockGuard(QLockFile &guard, const QString &instancesPath)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        QDir().mkpath(instancesPath);
        if (guard.tryLock(s_guardWaitMs))
            return true;
        if (guard.error() == QLockFile::LockFailedError)
            return false;
    }
    return false;
}

} // namespace

SharedTempFolder::SharedTempFolder(const QString &strPath)
    : m_path(strPath)
{}

void SharedTempFolder::join() const
{
    OwnLock &own = ownLock();
    const QString lockPath = QDir(instancesPath()).filePath(own.fileName);
    if (own.holds(lockPath))
        return;
    own.release();
    if (QFileInfo(m_path).isSymLink()) {
        qWarning("The temporary folder %s is a symbolic link; it is never emptied",
                 qUtf8Printable(m_path));
        return;
    }
    // Created for this user alone, whatever the umask.
    if (!QFileInfo::exists(m_path) && QDir().mkdir(m_path))
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QLockFile guard(QDir(instancesPath()).filePath(QLatin1String(s_guardName)));
    auto lock = std::make_unique<QLockFile>(lockPath);
    lock->setStaleLockTime(0); // an instance may run for days
    if (!lockGuard(guard, instancesPath()) || !lock->tryLock(0)) {
        qWarning("Cannot register this instance in the temporary folder %s",
                 qUtf8Printable(m_path));
        return;
    }
    own.path = lockPath;
    own.lock = std::move(lock);
}

void SharedTempFolder::leave() const
{
    const QFileInfo folder(m_path);
    if (folder.isSymLink() || !folder.exists()) {
        ownLock().release();
        return;
    }
    QLockFile guard(QDir(instancesPath()).filePath(QLatin1String(s_guardName)));
    const bool guarded = lockGuard(guard, instancesPath());
    ownLock().release();
    if (!guarded) {
        qWarning("Cannot lock the temporary folder %s; it is left in place",
                 qUtf8Printable(m_path));
        return;
    }
    if (isUsedByOthers() || !removeContents())
        return;
    guard.unlock();
    // Both fail, and leave the folder to it, when another instance has joined since.
    QDir(m_path).rmdir(QLatin1String(s_instancesFolderName));
    QDir(m_path).rmdir(m_path);
}

QString SharedTempFolder::instancesPath() const
{
    return QDir(m_path).filePath(QLatin1String(s_instancesFolderName));
}

// Probing a lock whose process is gone removes it, so only live instances remain.
bool SharedTempFolder::isUsedByOthers() const
{
    const QStringList locks = QDir(instancesPath())
                                      .entryList({QLatin1Char('*') + QLatin1String(s_lockSuffix)},
                                                 QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : locks) {
        QLockFile probe(QDir(instancesPath()).filePath(name));
        probe.setStaleLockTime(0);
        if (!probe.tryLock(0))
            return true;
    }
    return false;
}

// Everything but the instances' sub-folder, which holds the guard until the end.
bool SharedTempFolder::removeContents() const
{
    return removeEntries(m_path, QLatin1String(s_instancesFolderName));
}
