#pragma once

#include "scenes_global.h"

#include <QByteArray>
#include <QFileDevice>
#include <QString>

/*!
 * Writes a whole file or nothing: the bytes go to a temporary file that replaces the target only
 * once everything reached the disk. A failed write leaves an existing file as it was.
 */
class SCENES_EXPORT AtomicFile
{
public:
    // False, with the system's reason in pProblem, when the file could not be written. Given
    // permissions apply whatever the umask or the replaced file's; none keeps the replaced
    // file's, or the umask's for a new file.
    static bool write(const QString &strFile, const QByteArray &bytes, QString *pProblem,
                      QFileDevice::Permissions permissions = {});
};
