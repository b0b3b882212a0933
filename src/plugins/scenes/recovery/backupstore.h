#pragma once

#include "scenes_global.h"

#include <QFileDevice>
#include <QString>
#include <QStringList>

/*!
 * Where backups live. They are kept in the user's state folder, so they survive a reboot, in
 * folders and files only the user can read. Each run keeps its backups in a folder of its own
 * and holds a lock file there while it runs, so a later run can tell the backups of a run that
 * ended abnormally from those of a run that is still going.
 *
 * A run that ends normally removes its folder, and only its own. The backups of a run that did
 * not end normally stay behind with a stale lock (or none) and are "orphaned" until a later run
 * recovers or discards them. Folders of another user, or that others can write to, are never
 * offered nor written to.
 */
class SCENES_EXPORT BackupStore
{
public:
    // Where this run keeps the backup of the project at strProjectPath; the same project always
    // gets the same file, so a newer backup replaces the older one. The run's folder is created
    // and locked on first use. An empty path, or a folder that cannot be made private and
    // locked, gives an empty string.
    static QString backupPathFor(const QString &strProjectPath);
    // Removes this run's backup of the project (it was saved or closed).
    static void removeBackup(const QString &strProjectPath);
    // The backup files left by runs that ended abnormally.
    static QStringList orphanedBackups();
    // Deletes what those runs left.
    static void discardOrphans();

    // The folder holding one sub-folder per run: "Veldra/backups" in $XDG_STATE_HOME, by
    // default ~/.local/state.
    static QString runsFolder();
    // This run's folder (it may not exist yet); empty once the run has ended.
    static QString currentRunFolder();
    // What a backup file may be accessed with: read and written by its owner only.
    static QFileDevice::Permissions filePermissions();
    // The name of the lock file in every run folder.
    static QString lockFileName();
};
