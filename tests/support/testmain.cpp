#include "testmain.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

namespace VeldraTest {

void prepareEnvironment()
{
    // Lives until the process ends, so the folder is removed at exit.
    static QTemporaryDir home(QDir::tempPath() + QStringLiteral("/veldra-test-home-XXXXXX"));
    if (!home.isValid())
        qFatal("Cannot create a temporary home folder for the tests");
    const QByteArray root = QFile::encodeName(home.path());
    qputenv("HOME", root);
    for (const char *name :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
        const QByteArray path = root + '/' + QByteArray(name).mid(4).toLower();
        QDir().mkpath(QFile::decodeName(path));
        qputenv(name, path);
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

} // namespace VeldraTest
