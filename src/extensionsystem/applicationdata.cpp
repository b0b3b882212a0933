#include "applicationdata.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ExtensionSystem {

QString applicationDataPath(const QString &relativePath)
{
    const QDir executableFolder(QCoreApplication::applicationDirPath());
    const QString besideExecutable = executableFolder.filePath(relativePath);
    if (QFileInfo::exists(besideExecutable))
        return besideExecutable;
    const QString installed = QDir::cleanPath(
            executableFolder.filePath(QStringLiteral(VELDRA_RELATIVE_DATA_DIR "/") + relativePath));
    return QFileInfo::exists(installed) ? installed : besideExecutable;
}

} // namespace ExtensionSystem
