// Build tool: writes Qt's qwebchannel.js, which the QtWebChannel library carries as the resource
// ":/qtwebchannel/qwebchannel.js", to the file named on the command line.

#include <QFile>
#include <QSaveFile>
#include <QWebChannel>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output file>\n", argv[0]);
        return 2;
    }
    // Using the library keeps the linker from dropping it, and with it the resource.
    QWebChannel channel;
    QFile script(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (!script.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "qwebchannel.js is not among the QtWebChannel resources\n");
        return 1;
    }
    QSaveFile output(QString::fromLocal8Bit(argv[1]));
    if (!output.open(QIODevice::WriteOnly) || output.write(script.readAll()) < 0 ||
        !output.commit()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
