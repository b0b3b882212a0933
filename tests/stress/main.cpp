// The bridge stress tool: starts the real application and floods its welcome-page bridge as a
// hostile local process would, with more connections than it serves and with a client that never
// reads. After each attack the application must still be running and answer a query; it prints
// what was sent, what was let in and the resident memory.

#include "stalledwebsocketclient.h"
#include "webchannelclient.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <functional>
#include <memory>
#include <vector>

namespace {

const QString welcomeName = QStringLiteral("vdwelcome");
const int maxClients = 8;
// More at once would run into the process's default limit of 1024 file descriptors.
const int connectionBatch = 250;

using Clients = std::vector<std::unique_ptr<WebChannelClient>>;

void say(const QString &text)
{
    QTextStream(stdout) << text << Qt::endl;
}

struct Target
{
    QProcess app;
    quint16 port = 0;
    QString token;
    int scale = 1;

    bool connect(WebChannelClient &client, int timeout = WebChannelClient::defaultTimeout)
    {
        return client.open(port, token, timeout) && client.initialize(timeout);
    }

    // Clients of an attack may still hold places for a moment after they closed.
    bool answers()
    {
        return QTest::qWaitFor(
                [this] {
                    WebChannelClient client;
                    return connect(client) &&
                           client.invoke(welcomeName, "callbackAsyncfromJS",
                                         {"WelcomeScreen.getBuildNumber", ""}) == "1.1.0";
                },
                30000);
    }

    QString residentKiB() const
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(app.processId()));
        status.open(QIODevice::ReadOnly);
        const QByteArray text = status.readAll();
        return text.mid(text.indexOf("VmRSS:") + 6).split('\n').value(0).simplified();
    }
};

bool manyConnections(Target &target, QString *report)
{
    const int count = 1000 / target.scale;
    int mostAdmitted = 0;
    for (int done = 0; done < count; done += connectionBatch) {
        Clients clients;
        for (int i = 0; i < qMin(connectionBatch, count - done); ++i) {
            clients.push_back(std::make_unique<WebChannelClient>());
            clients.back()->open(target.port, target.token, 2000);
        }
        // The ones beyond the limit are closed right after their handshake.
        const auto connected = [&] {
            return int(std::count_if(clients.begin(), clients.end(),
                                     [](const auto &client) { return client->isConnected(); }));
        };
        if (!QTest::qWaitFor([&] { return connected() <= maxClients; }, 10000))
            say("  more than the limit of connections stayed open");
        mostAdmitted = qMax(mostAdmitted, connected());
    }
    *report = QString("%1 connections, at most %2 served at once").arg(count).arg(mostAdmitted);
    return mostAdmitted <= maxClients;
}

// The page's object gets a 1 MiB name, so every init answer is over 1 MiB; a client that asks
// for them and never reads must be dropped before the answers pile up.
bool stalledClient(Target &target, QString *report)
{
    WebChannelClient page;
    StalledWebSocketClient stalled;
    if (!target.connect(page))
        return false;
    const QJsonArray nameProperty =
            page.objectInfo(welcomeName)["properties"].toArray().at(0).toArray();
    const auto setName = [&](const QString &name) {
        page.send({{"type", 9},
                   {"object", welcomeName},
                   {"property", nameProperty[0]},
                   {"value", name}});
        page.invoke(welcomeName, "getRecentFileList"); // once answered, the name is set
    };
    setName(QString(1024 * 1024, 'n'));
    if (!stalled.open(target.port, target.token))
        return false;
    const int count = 1000 / target.scale;
    for (int i = 0;
         i < count && stalled.sendText("{\"type\":3,\"id\":" + QByteArray::number(i) + '}'); ++i)
        QCoreApplication::processEvents();
    const bool dropped = QTest::qWaitFor([&] { return !stalled.sendText("{\"type\":4}"); }, 30000);
    setName(nameProperty[3].toString());
    *report = QString("a client that never reads sent %1 init requests, %2")
                      .arg(count)
                      .arg(dropped ? "dropped" : "NOT dropped");
    return dropped;
}

bool start(Target &target, const QString &appPath, const QTemporaryDir &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    for (const char *dir : {"CONFIG", "DATA", "STATE", "CACHE"})
        env.insert(QString("XDG_%1_HOME").arg(dir), home.filePath(QString("xdg-") + dir));
    env.insert("VELDRA_WEBSOCKET_PORT_FILE", home.filePath("port"));
    target.app.setProcessEnvironment(env);
    target.app.setProcessChannelMode(QProcess::MergedChannels);
    target.app.setStandardOutputFile(home.filePath("veldra.log"));
    target.app.start(appPath, QStringList());
    const bool started = QTest::qWaitFor(
            [&] {
                return target.app.state() == QProcess::NotRunning ||
                       WebChannelClient::readPortFile(home.filePath("port"), &target.port,
                                                      &target.token);
            },
            120000);
    return started && target.app.state() == QProcess::Running && target.answers();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Attacks the welcome page's bridge of a running veldra.");
    parser.addHelpOption();
    parser.addOption({"app", "The veldra executable to start.", "path"});
    parser.addOption({"short", "A tenth of the counts, for CI."});
    parser.process(application);
    if (!parser.isSet("app"))
        parser.showHelp(2);

    QTemporaryDir home;
    home.setAutoRemove(qEnvironmentVariableIsEmpty("VELDRA_STRESS_KEEP"));
    Target target;
    target.scale = parser.isSet("short") ? 10 : 1;
    if (!start(target, parser.value("app"), home)) {
        say("FAIL: veldra did not start or its bridge does not answer (see " +
            home.filePath("veldra.log") + ")");
        return 1;
    }
    say(QString("veldra pid %1, port %2, RSS %3")
                .arg(target.app.processId())
                .arg(target.port)
                .arg(target.residentKiB()));
    bool passed = true;
    const QList<QPair<const char *, std::function<bool(Target &, QString *)>>> attacks{
            {"many connections", manyConnections}, {"stalled client", stalledClient}};
    for (const auto &attack : attacks) {
        QString report = "could not connect";
        const bool held = attack.second(target, &report);
        const bool alive = target.app.state() == QProcess::Running;
        const bool answering = alive && target.answers();
        say(QString("%1: %2; %3; application %4, RSS %5")
                    .arg(attack.first, report, held ? "held" : "BROKEN",
                         !alive      ? "DEAD"
                         : answering ? "answering"
                                     : "NOT ANSWERING",
                         alive ? target.residentKiB() : "-"));
        passed = held && answering && passed;
    }
    say(passed ? "PASS" : "FAIL");
    return passed ? 0 : 1;
}
