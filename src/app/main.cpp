#include "hostapplication.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <cstring>
#include <memory>

namespace {
void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QCoreApplication::translate(
            "main", "Veldra: an authoring application for scenes exported to HTML5."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QCoreApplication::translate("main", "Projects to open."),
                                 QStringLiteral("[files...]"));
}

bool asksForHelpOrVersion(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"-h", "--help", "--help-all", "-?", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

void setIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Veldra"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELDRA_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("Veldra"));
}
} // namespace

int main(int argc, char *argv[])
{
    setIdentity();
    QCommandLineParser parser;
    describe(parser);

    // Help and version need no display.
    if (asksForHelpOrVersion(argc, argv)) {
        QCoreApplication app(argc, argv);
        parser.process(app);
        return 0;
    }

    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);
    QIcon icon(QStringLiteral(":/app/images/app_icon.ico"));
    QApplication::setWindowIcon(icon);
    parser.process(app);

    HostApplication host(parser.positionalArguments());
    return host.run();
}
