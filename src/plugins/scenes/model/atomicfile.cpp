#include "atomicfile.h"

#include <QSaveFile>

bool AtomicFile::write(const QString &strFile, const QByteArray &bytes, QString *pProblem,
                       QFileDevice::Permissions permissions)
{
    QSaveFile file(strFile);
    // commit() misses a failed flush of the write buffer (a full disk, a file size limit), so
    // the buffer is flushed and checked first. Without a commit the temporary file is removed.
    // Permissions are set on the temporary file before anything is in it.
    const bool written = file.open(QIODevice::WriteOnly) &&
                         (!permissions || file.setPermissions(permissions)) &&
                         file.write(bytes) == bytes.size() && file.flush();
    if (written && file.commit())
        return true;
    if (pProblem)
        *pProblem = file.errorString();
    return false;
}
