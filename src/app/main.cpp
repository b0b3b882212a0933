#include "hostapplication.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <cstdio>
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

bool hasDisplay(const QStringList &arguments)
{
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ||
           arguments.contains(QLatin1String("-platform")) ||
           arguments.contains(QLatin1String("--platform"));
}

// Without a display the application object cannot be made, so a mistyped option would only
// bring Qt's complaint about the display. Qt's other options need a display too, so anything the
// parser refuses here is the user's mistake.
bool refusesArgumentsWithoutDisplay(QCommandLineParser &parser, int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (hasDisplay(arguments) || parser.parse(arguments))
        return false;
    std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
    return true;
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

    if (refusesArgumentsWithoutDisplay(parser, argc, argv))
        return 1;

    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);
    QIcon icon(QStringLiteral(":/app/images/app_icon.ico"));
    QApplication::setWindowIcon(icon);
    parser.process(app);

    HostApplication host(parser.positionalArguments());
    return host.run();
}
