#include "bridgestress.h"

#include "stalledwebsocketclient.h"
#include "webchannelclient.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

const QString welcomeName = QStringLiteral("vdwelcome");
// Qt's web channel serves this many clients' worth of file descriptors easily; more at once
// would run into the process's default limit of 1024.
constexpr int connectionBatch = 250;

void say(const QString &text)
{
    QTextStream(stdout) << text << Qt::endl;
}

// Messages no page should send: broken JSON, wrong types, unknown objects, methods, signals and
// properties, control characters and forged log lines. None names a real method, so nothing
// is run.
QStringList malformedMessages()
{
    return {QStringLiteral("{oops"),
            QStringLiteral("42"),
            QStringLiteral("[]"),
            QStringLiteral("{}"),
            QStringLiteral("{\"type\":\"6\"}"),
            QStringLiteral("{\"type\":6,\"object\":\"nope\",\"method\":1,\"args\":[],\"id\":1}"),
            QStringLiteral(
                    "{\"type\":6,\"object\":\"vdwelcome\",\"method\":-1,\"args\":7,\"id\":2}"),
            QStringLiteral("{\"type\":7,\"object\":\"vdwelcome\",\"signal\":123456}"),
            QStringLiteral("{\"type\":9,\"object\":\"vdwelcome\",\"property\":99999}"),
            QStringLiteral("{\"type\":5,\"data\":\"\\nDEBUG: forged line\\u001b[2J\"}"),
            QStringLiteral("\n\u001b[31mforged\u0000"),
            QString(4096, QLatin1Char('['))};
}

int settledCount(const std::vector<std::unique_ptr<WebChannelClient>> &clients)
{
    int connected = 0;
    for (const auto &client : clients)
        connected += client->isConnected() ? 1 : 0;
    return connected;
}

} // namespace

BridgeStress::BridgeStress(const QString &appPath, const Counts &counts)
    : m_appPath(appPath)
    , m_counts(counts)
{}

BridgeStress::~BridgeStress()
{
    if (m_app.state() == QProcess::NotRunning)
        return;
    m_app.terminate();
    if (!m_app.waitForFinished(10000))
        m_app.kill();
    m_app.waitForFinished(5000);
}

bool BridgeStress::run()
{
    if (!start())
        return false;
    // Measured once the application answers, so that its start-up is not counted.
    if (!answers()) {
        say(QStringLiteral("FAIL: the bridge does not answer with the secret of the port file"));
        return false;
    }
    const qint64 rssBefore = residentKiB();
    say(QStringLiteral("veldra pid %1, port %2, RSS before: %3 KiB")
                .arg(m_app.processId())
                .arg(m_port)
                .arg(rssBefore));
    bool passed = true;
    passed = attackWithoutSecret() && passed;
    passed = attackWithManyConnections() && passed;
    passed = attackWithStalledClient() && passed;
    passed = attackWithMalformedMessages() && passed;
    // Last: it leaves a message box open.
    passed = attackWithNestedBoxes() && passed;
    say(QStringLiteral("RSS after: %1 KiB (before: %2 KiB); application log: %3 bytes "
                       "(VELDRA_STRESS_KEEP=1 keeps it in %4)")
                .arg(residentKiB())
                .arg(rssBefore)
                .arg(QFileInfo(m_home.filePath("veldra.log")).size())
                .arg(m_home.path()));
    say(passed ? QStringLiteral("PASS") : QStringLiteral("FAIL"));
    return passed;
}

bool BridgeStress::start()
{
    m_home.setAutoRemove(qEnvironmentVariableIsEmpty("VELDRA_STRESS_KEEP"));
    const QString portFile = m_home.filePath("port");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", m_home.path());
    env.insert("XDG_CONFIG_HOME", m_home.filePath(".config"));
    env.insert("XDG_DATA_HOME", m_home.filePath(".local/share"));
    env.insert("XDG_STATE_HOME", m_home.filePath(".local/state"));
    env.insert("XDG_CACHE_HOME", m_home.filePath(".cache"));
    env.insert("VELDRA_WEBSOCKET_PORT_FILE", portFile);
    m_app.setProcessEnvironment(env);
    m_app.setProcessChannelMode(QProcess::MergedChannels);
    m_app.setStandardOutputFile(m_home.filePath("veldra.log"));
    m_app.start(m_appPath, QStringList());
    const bool ready = QTest::qWaitFor(
            [&] {
                return m_app.state() == QProcess::NotRunning ||
                       WebChannelClient::readPortFile(portFile, &m_port, &m_token);
            },
            120000);
    if (!ready || m_app.state() == QProcess::NotRunning) {
        say(QStringLiteral("FAIL: veldra did not start (see %1)")
                    .arg(m_home.filePath("veldra.log")));
        return false;
    }
    return true;
}

// Only the application's death or silence fails an attack besides its own verdict.
bool BridgeStress::check(const char *attack, bool passed)
{
    const bool alive = m_app.state() == QProcess::Running;
    const bool answering = alive && answers();
    say(QStringLiteral("  %1: %2; application %3, RSS %4 KiB")
                .arg(QLatin1String(attack),
                     passed ? QStringLiteral("held") : QStringLiteral("BROKEN"),
                     !alive      ? QStringLiteral("DEAD")
                     : answering ? QStringLiteral("answering")
                                 : QStringLiteral("NOT ANSWERING"))
                .arg(alive ? residentKiB() : 0));
    return passed && answering;
}

bool BridgeStress::answers()
{
    // Clients of the attack may still hold places for a moment after they closed.
    return QTest::qWaitFor(
            [this] {
                WebChannelClient client;
                return client.open(m_port, m_token) && client.initialize() &&
                       client.invoke(welcomeName, "callbackAsyncfromJS",
                                     {"WelcomeScreen.getBuildNumber", ""}) == QJsonValue("1.1.0");
            },
            30000);
}

qint64 BridgeStress::residentKiB() const
{
    QFile status(QStringLiteral("/proc/%1/status").arg(m_app.processId()));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Half of them as a sandboxed frame would come (Origin "null", here even with the secret), half
// from the page's own origin without the secret. None may get an answer.
bool BridgeStress::attackWithoutSecret()
{
    int admitted = 0;
    for (int i = 0; i < m_counts.refusedConnections; ++i) {
        const bool bNullOrigin = i % 2 == 0;
        WebChannelClient client(bNullOrigin ? QStringLiteral("null")
                                            : WebChannelClient::pageOrigin);
        if (client.open(m_port, bNullOrigin ? m_token : QString(), 2000) && client.initialize(2000))
            ++admitted;
    }
    say(QStringLiteral("%1 connections with Origin null or without the secret: %2 admitted")
                .arg(m_counts.refusedConnections)
                .arg(admitted));
    return check("refusal", admitted == 0);
}

// Every openURL("x") shows a box, whose event loop goes on serving the other connections; the
// connection whose call opened it waits until it closes. If boxes nested, every connection
// would wait in a box of its own; with the bridge dropping such requests while a box is open,
// only one connection ever waits.
bool BridgeStress::attackWithNestedBoxes()
{
    constexpr int clientCount = 6; // leaves places for the check afterwards
    constexpr int callsPerClient = 25;
    int waitingClients = 0;
    for (int sent = 0; sent < m_counts.nestedBoxCalls; sent += clientCount * callsPerClient) {
        std::vector<std::unique_ptr<WebChannelClient>> clients;
        std::vector<std::vector<int>> calls(clientCount);
        for (int i = 0; i < clientCount; ++i) {
            clients.push_back(std::make_unique<WebChannelClient>());
            if (!clients.back()->open(m_port, m_token) || !clients.back()->initialize())
                return check("nested boxes (could not connect)", false);
            for (int n = 0; n < callsPerClient; ++n)
                calls[i].push_back(clients[i]->sendInvoke(welcomeName, "openURL", {"x"}));
        }
        const auto countWaiting = [&] {
            int waiting = 0;
            for (int i = 0; i < clientCount; ++i) {
                const int done = std::count_if(calls[i].begin(), calls[i].end(), [&](int id) {
                    return clients[i]->waitForResponse(id, nullptr, 0);
                });
                waiting += done < callsPerClient ? 1 : 0;
            }
            return waiting;
        };
        // Gives every connection time to be served; only one that waits in a box is not.
        if (!QTest::qWaitFor([&] { return countWaiting() == 0; }, 5000))
            say(QStringLiteral("  %1 connection(s) of this wave wait").arg(countWaiting()));
        waitingClients += countWaiting();
    }
    say(QStringLiteral("%1 openURL(\"x\") calls over connections of %2 calls each: %3 "
                       "connection(s) left waiting for a box")
                .arg(m_counts.nestedBoxCalls)
                .arg(callsPerClient)
                .arg(waitingClients));
    return check("nested boxes", waitingClients <= 1);
}

bool BridgeStress::attackWithManyConnections()
{
    int mostAdmitted = 0;
    for (int done = 0; done < m_counts.simultaneousConnections; done += connectionBatch) {
        std::vector<std::unique_ptr<WebChannelClient>> clients;
        const int batch = qMin(connectionBatch, m_counts.simultaneousConnections - done);
        for (int i = 0; i < batch; ++i) {
            clients.push_back(std::make_unique<WebChannelClient>());
            clients.back()->open(m_port, m_token, 2000);
        }
        // The ones beyond the limit are closed right after their handshake.
        if (!QTest::qWaitFor([&] { return settledCount(clients) <= 8; }, 10000))
            say(QStringLiteral("  more than 8 connections stayed open"));
        mostAdmitted = qMax(mostAdmitted, settledCount(clients));
    }
    say(QStringLiteral("%1 connections with the secret, %2 at a time: at most %3 served at once")
                .arg(m_counts.simultaneousConnections)
                .arg(connectionBatch)
                .arg(mostAdmitted));
    return check("many connections", mostAdmitted <= 8);
}

// The page's object gets a 1 MiB name, so that every init answer is over 1 MiB; a client that
// asks for them and never reads must be dropped before the answers pile up.
bool BridgeStress::attackWithStalledClient()
{
    WebChannelClient page;
    if (!page.open(m_port, m_token) || !page.initialize())
        return check("stalled client (could not connect)", false);
    const QJsonArray nameProperty =
            page.objectInfo(welcomeName).value("properties").toArray().at(0).toArray();
    const auto setName = [&](const QString &name) {
        page.send({{"type", WebChannelClient::SetProperty},
                   {"object", welcomeName},
                   {"property", nameProperty.at(0)},
                   {"value", name}});
        page.invoke(welcomeName, "getRecentFileList"); // once answered, the name is set
    };
    setName(QString(1024 * 1024, QLatin1Char('n')));

    StalledWebSocketClient stalled;
    if (!stalled.open(m_port, m_token))
        return check("stalled client (could not connect)", false);
    for (int i = 0; i < m_counts.stalledRequests && stalled.isConnected(); ++i) {
        stalled.sendText(QByteArray("{\"type\":3,\"id\":") + QByteArray::number(i) + '}');
        QCoreApplication::processEvents();
    }
    const bool dropped = stalled.waitForDrop(30000);
    setName(nameProperty.at(3).toString());
    say(QStringLiteral("a client that never reads sent %1 init requests (1 MiB answers each): %2")
                .arg(m_counts.stalledRequests)
                .arg(dropped ? QStringLiteral("dropped") : QStringLiteral("NOT dropped")));
    return check("stalled client", dropped);
}

bool BridgeStress::attackWithMalformedMessages()
{
    WebChannelClient client;
    if (!client.open(m_port, m_token) || !client.initialize())
        return check("malformed messages (could not connect)", false);
    const QStringList messages = malformedMessages();
    for (int i = 0; i < m_counts.malformedMessages; ++i) {
        client.sendText(messages.at(i % messages.size()));
        if (i % 1000 == 0)
            QCoreApplication::processEvents();
    }
    // Messages are handled in order: the answer comes after all of them were.
    bool answered = false;
    client.invoke(welcomeName, "getRecentFileList", {}, &answered, 300000);
    say(QStringLiteral("%1 malformed messages on one connection: %2")
                .arg(m_counts.malformedMessages)
                .arg(answered ? QStringLiteral("all handled, connection still served")
                              : QStringLiteral("NO ANSWER afterwards")));
    return check("malformed messages", answered);
}
