#pragma once

#include "scenes_global.h"

#include <QString>
#include <QStringList>

/*!
 * Where backups live. Each run keeps its backups in a folder of its own inside the core's
 * temporary folder and holds a lock file there while it runs, so a later run can tell the
 * backups of a run that ended abnormally from those of a run that is still going.
 */
class SCENES_EXPORT BackupStore
{
public:
    // Where this run keeps the backup of the project at strProjectPath. The run's folder is
    // created and locked on first use.
    static QString backupPathFor(const QString &strProjectPath);
    // Removes this run's backup of the project (it was saved or closed).
    static void removeBackup(const QString &strProjectPath);
    // The backup files left by runs that ended abnormally.
    static QStringList orphanedBackups();
    // Deletes what those runs left.
    static void discardOrphans();
};
