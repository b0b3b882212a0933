#include "appdirfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

AppDirFolder::AppDirFolder(const QString &relativePath)
{
    const QString cleaned = QDir::cleanPath(relativePath);
    if (cleaned.isEmpty() || cleaned == QLatin1String(".") || QDir::isAbsolutePath(cleaned) ||
        cleaned.startsWith(QLatin1String(".."))) {
        qFatal("AppDirFolder: \"%s\" is not a folder below the executable's directory",
               qPrintable(relativePath));
    }
    const QDir appDir(QCoreApplication::applicationDirPath());
    m_topPath = appDir.filePath(cleaned.section(QLatin1Char('/'), 0, 0));
    m_path = appDir.filePath(cleaned);
    QDir(m_topPath).removeRecursively();
    if (!QDir().mkpath(m_path))
        qFatal("AppDirFolder: cannot create %s", qPrintable(m_path));
}

AppDirFolder::~AppDirFolder()
{
    QDir(m_topPath).removeRecursively();
}

bool AppDirFolder::writeFile(const QString &name, const QByteArray &content) const
{
    QFile file(QDir(m_path).filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}
