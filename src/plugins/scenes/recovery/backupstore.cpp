#include "backupstore.h"

// Placeholder until the store is built.
QString BackupStore::backupPathFor(const QString &) { return QString(); }
void BackupStore::removeBackup(const QString &) {}
QStringList BackupStore::orphanedBackups() { return {}; }
void BackupStore::discardOrphans() {}
