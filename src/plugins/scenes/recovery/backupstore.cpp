#include "backupstore.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QUuid>

#include <memory>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const char s_backupSuffix[] = ".veldrabackup";

// Removes a folder and everything in it. Symbolic links are removed themselves, never followed.
bool removeTree(const QString &path)
{
    QDir dir(path);
    const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                    QDir::Hidden | QDir::System);
    bool removedAll = true;
    for (const QFileInfo &entry : entries) {
        const bool removed = entry.isDir() && !entry.isSymLink()
                                     ? removeTree(entry.absoluteFilePath())
                                     : QFile::remove(entry.absoluteFilePath());
        removedAll = removedAll && removed;
    }
    return dir.rmdir(path) && removedAll;
}

QString lockPathIn(const QString &folder)
{
    return QDir(folder).filePath(BackupStore::lockFileName());
}

constexpr QFileDevice::Permissions s_ownerOnly =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

bool isOwnedByUser(const QFileInfo &info)
{
#ifdef Q_OS_UNIX
    return info.ownerId() == ::getuid();
#else
    Q_UNUSED(info)
    return true;
#endif
}

bool isUsersOwnFolder(const QFileInfo &info)
{
    return info.isDir() && !info.isSymLink() && isOwnedByUser(info);
}

// A real folder of this user that nobody else can change. Backups elsewhere are not offered.
bool isTrustedFolder(const QFileInfo &info)
{
    return isUsersOwnFolder(info) &&
           !(info.permissions() & (QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

// Creates what is missing of the path, each folder for this user alone whatever the umask.
bool makePrivatePath(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.isDir();
    return makePrivatePath(info.absolutePath()) && QDir().mkdir(path) &&
           QFile::setPermissions(path, s_ownerOnly);
}

// False for a folder that is not this user's own (or a symbolic link): it is left as it is.
bool closeToOthers(const QString &path)
{
    return isUsersOwnFolder(QFileInfo(path)) && QFile::setPermissions(path, s_ownerOnly);
}

// Locks are never stale by age: a run may last for days. Only a lock whose process is gone is.
std::unique_ptr<QLockFile> tryLockFolder(const QString &folder)
{
    auto lock = std::make_unique<QLockFile>(lockPathIn(folder));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        lock.reset();
    return lock;
}

/*
 * This run's identity and the lock it holds on its folder. When the run ends normally the lock
 * is released and the folder removed: its backups are only worth keeping after a crash.
 */
class RunLock
{
public:
    ~RunLock()
    {
        release();
        if (!m_folder.isEmpty() && QFileInfo::exists(m_folder))
            removeTree(m_folder);
    }

    QString runId() const { return m_runId; }

    // Creates the folder, closed to other users, and locks it, again if someone removed it since.
    // False when the folder cannot be this user's alone, or locked.
    bool ensureLocked(const QString &folder)
    {
        if (m_lock && m_folder == folder && QFileInfo::exists(lockPathIn(folder)))
            return true;
        release();
        m_folder = folder;
        if (!makePrivatePath(folder)) {
            qWarning("Cannot create the backup folder %s", qUtf8Printable(folder));
            return false;
        }
        if (!closeToOthers(BackupStore::runsFolder()) || !closeToOthers(folder)) {
            qWarning("The backup folder %s is not this user's own; no backups are kept",
                     qUtf8Printable(folder));
            return false;
        }
        m_lock = tryLockFolder(folder);
        if (!m_lock)
            qWarning("Cannot lock the backup folder %s", qUtf8Printable(folder));
        return m_lock != nullptr;
    }

private:
    // QLockFile complains when its file has gone, someone having removed the folder. The file
    // is then put back for the lock to remove, together with the folders that needed.
    void release()
    {
        if (!m_lock)
            return;
        const QString lockPath = lockPathIn(m_folder);
        QString outermostMissing;
        for (QString path = m_folder; !QFileInfo::exists(path);
             path = QFileInfo(path).absolutePath())
            outermostMissing = path;
        if (!QFileInfo::exists(lockPath) && QDir().mkpath(m_folder))
            QFile(lockPath).open(QIODevice::WriteOnly);
        m_lock.reset();
        if (!outermostMissing.isEmpty())
            removeTree(outermostMissing);
    }

    const QString m_runId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
};

Q_GLOBAL_STATIC(RunLock, runLock)

// Empty once the run has ended.
QString currentRunId()
{
    return runLock.isDestroyed() ? QString() : runLock->runId();
}

QString backupFileName(const QString &strProjectPath)
{
    const QString absolutePath = QDir::cleanPath(
            QFileInfo(QDir::fromNativeSeparators(strProjectPath)).absoluteFilePath());
    const QByteArray hash =
            QCryptographicHash::hash(absolutePath.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QString::fromLatin1(hash) + QLatin1String(s_backupSuffix);
}

// A run folder without a lock, or whose lock names a process that is gone. Probing removes a
// stale lock, so the folder stays abandoned for later calls. A lock that names no process was
// left half-written by a run that ended while creating it, unless it is fresh: then its run may
// be writing it right now.
bool isAbandoned(const QString &folder)
{
    const QFileInfo lockFile(lockPathIn(folder));
    if (!lockFile.exists())
        return true;
    if (tryLockFolder(folder))
        return true;
    qint64 pid = 0;
    QString hostName;
    QString appName;
    const bool namesOwner = QLockFile(lockFile.filePath()).getLockInfo(&pid, &hostName, &appName);
    return !namesOwner && lockFile.lastModified().secsTo(QDateTime::currentDateTime()) > 60;
}

QStringList orphanedRunFolders()
{
    const QString currentRun = currentRunId();
    if (!isTrustedFolder(QFileInfo(BackupStore::runsFolder())))
        return {};
    const QFileInfoList runs = QDir(BackupStore::runsFolder())
                                       .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot |
                                                      QDir::NoSymLinks | QDir::Hidden);
    QStringList folders;
    for (const QFileInfo &run : runs) {
        if (run.fileName() != currentRun && isTrustedFolder(run) &&
            isAbandoned(run.absoluteFilePath()))
            folders.append(run.absoluteFilePath());
    }
    return folders;
}

} // namespace

QString BackupStore::backupPathFor(const QString &strProjectPath)
{
    if (strProjectPath.isEmpty()) {
        qWarning("BackupStore::backupPathFor: empty project path");
        return QString();
    }
    const QString folder = currentRunFolder();
    if (folder.isEmpty())
        return QString();
    if (!runLock->ensureLocked(folder))
        return QString();
    return QDir(folder).filePath(backupFileName(strProjectPath));
}

void BackupStore::removeBackup(const QString &strProjectPath)
{
    if (strProjectPath.isEmpty()) {
        qWarning("BackupStore::removeBackup: empty project path");
        return;
    }
    const QString folder = currentRunFolder();
    if (!folder.isEmpty())
        QFile::remove(QDir(folder).filePath(backupFileName(strProjectPath)));
}

QStringList BackupStore::orphanedBackups()
{
    const QStringList nameFilter{QLatin1Char('*') + QLatin1String(s_backupSuffix)};
    QStringList backups;
    for (const QString &folder : orphanedRunFolders()) {
        const QFileInfoList files = QDir(folder).entryInfoList(
                nameFilter, QDir::Files | QDir::NoSymLinks | QDir::Hidden, QDir::Name);
        for (const QFileInfo &file : files)
            backups.append(file.absoluteFilePath());
    }
    return backups;
}

void BackupStore::discardOrphans()
{
    for (const QString &folder : orphanedRunFolders()) {
        if (!removeTree(folder))
            qWarning("Cannot remove the abandoned backup folder %s", qUtf8Printable(folder));
    }
}

QString BackupStore::runsFolder()
{
    QString stateHome = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(stateHome)) // unset, empty or relative: the usual place
        stateHome = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir(stateHome).filePath(QStringLiteral("Veldra/backups"));
}

QString BackupStore::currentRunFolder()
{
    const QString runId = currentRunId();
    return runId.isEmpty() ? QString() : QDir(runsFolder()).filePath(runId);
}

QFileDevice::Permissions BackupStore::filePermissions()
{
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner;
}

QString BackupStore::lockFileName()
{
    return QStringLiteral("run.lock");
}
