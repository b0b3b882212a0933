// The bridge stress tool: starts the real application and attacks its welcome-page bridge as a
// hostile page or local process would. After each attack the application must still be running
// and answer a query; it prints what was sent, what was let in and the resident memory.

#include "stalledwebsocketclient.h"
#include "webchannelclient.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>
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

// Half come as a sandboxed frame would (Origin "null", even with the secret), half from the
// page's own origin without the secret. None may get an answer.
bool refusal(Target &target, QString *report)
{
    const int count = 1000 / target.scale;
    int admitted = 0;
    for (int i = 0; i < count; ++i) {
        WebChannelClient client(i % 2 ? QStringLiteral("file://") : QStringLiteral("null"));
        admitted += client.open(target.port, i % 2 ? QString() : target.token, 2000) &&
                    client.initialize(2000);
    }
    *report = QString("%1 connections with Origin null or without the secret, %2 admitted")
                      .arg(count)
                      .arg(admitted);
    return admitted == 0;
}

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

// Broken JSON, wrong types, unknown objects, methods, signals and properties, control
// characters and forged log lines; none names a real method. The answer to a query afterwards
// comes once all of them were handled.
bool malformedMessages(Target &target, QString *report)
{
    const QStringList messages{
            "{oops",
            "42",
            "[]",
            "{}",
            "{\"type\":\"6\"}",
            "{\"type\":6,\"object\":\"nope\",\"method\":1,\"args\":[],\"id\":1}",
            "{\"type\":6,\"object\":\"vdwelcome\",\"method\":-1,\"args\":7,\"id\":2}",
            "{\"type\":7,\"object\":\"vdwelcome\",\"signal\":123456}",
            "{\"type\":9,\"object\":\"vdwelcome\",\"property\":99999}",
            "{\"type\":5,\"data\":\"\\nDEBUG: forged line\\u001b[2J\"}",
            QString::fromLatin1("\n\x1b[31mforged\0", 13),
            QString(4096, '[')};
    WebChannelClient client;
    if (!target.connect(client))
        return false;
    const int count = 100000 / target.scale;
    for (int i = 0; i < count; ++i) {
        client.sendText(messages.at(i % messages.size()));
        if (i % 1000 == 0)
            QCoreApplication::processEvents();
    }
    bool answered = false;
    client.invoke(welcomeName, "getRecentFileList", {}, &answered, 300000);
    *report = QString("%1 malformed messages on one connection, %2")
                      .arg(count)
                      .arg(answered ? "still served" : "NO ANSWER afterwards");
    return answered;
}

// Every openURL("x") shows a box whose event loop serves the other connections; the connection
// whose call opened it waits until it closes. If boxes nested, every connection would wait in
// one of its own; with such requests dropped while a box is open, only one ever waits. Leaves a
// box open, so it comes last.
bool nestedBoxes(Target &target, QString *report)
{
    const int clientCount = 6; // leaves places for the check afterwards
    const int callsPerClient = 25;
    const int count = 3000 / target.scale;
    int waitingClients = 0;
    for (int sent = 0; sent < count; sent += clientCount * callsPerClient) {
        Clients clients;
        std::vector<std::vector<int>> calls(clientCount);
        for (int i = 0; i < clientCount; ++i) {
            clients.push_back(std::make_unique<WebChannelClient>());
            if (!target.connect(*clients.back()))
                return false;
            for (int n = 0; n < callsPerClient; ++n)
                calls[i].push_back(clients[i]->sendInvoke(welcomeName, "openURL", {"x"}));
        }
        const auto countWaiting = [&] {
            int waiting = 0;
            for (int i = 0; i < clientCount; ++i)
                waiting += !std::all_of(calls[i].begin(), calls[i].end(), [&](int id) {
                    return clients[i]->waitForResponse(id, nullptr, 0);
                });
            return waiting;
        };
        if (!QTest::qWaitFor([&] { return countWaiting() == 0; }, 5000))
            say(QString("  %1 connection(s) of this wave wait").arg(countWaiting()));
        waitingClients += countWaiting();
    }
    *report = QString("%1 openURL(\"x\") calls, %2 connection(s) left waiting for a box")
                      .arg(count)
                      .arg(waitingClients);
    return waitingClients <= 1;
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
            {"refusal", refusal},
            {"many connections", manyConnections},
            {"stalled client", stalledClient},
            {"malformed messages", malformedMessages},
            {"nested boxes", nestedBoxes}};
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
