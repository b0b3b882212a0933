#pragma once

#include <QByteArray>
#include <QString>

/*!
 * A folder below the test executable's own directory (QCoreApplication::applicationDirPath()),
 * for code under test that looks for files next to the executable, such as "translations" or
 * "resources/styles". The constructor starts from an empty folder (leftovers of an aborted run
 * are removed first); the destructor removes the folder's first path component with everything
 * in it. Give each test executable its own output directory, so this never touches the files
 * the build puts next to the application.
 */
class AppDirFolder
{
public:
    explicit AppDirFolder(const QString &relativePath);
    ~AppDirFolder();

    AppDirFolder(const AppDirFolder &) = delete;
    AppDirFolder &operator=(const AppDirFolder &) = delete;

    QString path() const { return m_path; }
    bool writeFile(const QString &name, const QByteArray &content = QByteArray()) const;

private:
    QString m_path;
    QString m_topPath; // below the executable's directory; removed by the destructor
};
