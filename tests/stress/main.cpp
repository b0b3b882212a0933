#include "bridgestress.h"

#include <QCommandLineParser>
#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Attacks the welcome page's bridge of a running veldra.");
    parser.addHelpOption();
    parser.addOption({"app", "The veldra executable to start.", "path"});
    parser.addOption({"short", "A tenth of the counts, for CI."});
    parser.process(app);
    if (!parser.isSet("app"))
        parser.showHelp(2);

    BridgeStress::Counts counts;
    if (parser.isSet("short")) {
        for (int *count :
             {&counts.refusedConnections, &counts.nestedBoxCalls, &counts.simultaneousConnections,
              &counts.stalledRequests, &counts.malformedMessages})
            *count /= 10;
    }
    return BridgeStress(parser.value("app"), counts).run() ? 0 : 1;
}
