#include "websocketclientwrapper.h"
#include "websockettransport.h"

#include "messagerecorder.h"
#include "testmain.h"
#include "webchannelclient.h"

#include <QPointer>
#include <QSignalSpy>
#include <QWebChannel>
#include <QWebSocket>
#include <QWebSocketServer>

#include <memory>

namespace {

const QString probeName = QStringLiteral("probe");
constexpr int messageLimit = 16 * 1024 * 1024;

// What the channel publishes in these tests: one call with a result and one signal.
class Probe : public QObject
{
    Q_OBJECT

signals:
    void pinged(QString text);

public slots:
    QString echo(QString text) { return text; }
};

// A server with the wrapper and a channel wired as the main window wires them, without the
// main window. Keeps every transport it announced.
class Bridge
{
public:
    Bridge()
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&wrapper, &WebSocketClientWrapper::clientConnected, &channel,
                         &QWebChannel::connectTo);
        QObject::connect(&wrapper, &WebSocketClientWrapper::clientConnected, &wrapper,
                         [this](WebSocketTransport *transport) { transports << transport; });
        channel.registerObject(probeName, &probe);
    }

    quint16 port() const { return server.serverPort(); }

    QWebSocketServer server{QStringLiteral("TestServer"), QWebSocketServer::NonSecureMode};
    WebSocketClientWrapper wrapper{&server};
    QWebChannel channel;
    Probe probe;
    QList<QPointer<WebSocketTransport>> transports;
};

QString echoed(WebChannelClient &client, const QString &text)
{
    return client.invoke(probeName, QStringLiteral("echo"), {text}).toString();
}

// Connects and initialises; the echo round trip makes sure the server has handled everything
// the client sent so far.
bool connectAndSettle(WebChannelClient &client, quint16 port)
{
    return client.open(port) && client.initialize() && echoed(client, "ready") == "ready";
}

} // namespace

class TestWebTransport : public QObject
{
    Q_OBJECT

    std::unique_ptr<Bridge> m_bridge;

private slots:
    void init() { m_bridge = std::make_unique<Bridge>(); }
    void cleanup() { m_bridge.reset(); }

    void twoClientsAreServedIndependently()
    {
        WebChannelClient first;
        WebChannelClient second;
        QVERIFY(connectAndSettle(first, m_bridge->port()));
        QVERIFY(connectAndSettle(second, m_bridge->port()));
        QCOMPARE(m_bridge->transports.size(), 2);
        QVERIFY(m_bridge->transports.at(0) != m_bridge->transports.at(1));
        QCOMPARE(echoed(first, "h\u00e9llo \"world\""), QStringLiteral("h\u00e9llo \"world\""));

        QVERIFY(first.connectToSignal(probeName, QStringLiteral("pinged")));
        QCOMPARE(echoed(first, "x"), QStringLiteral("x")); // the connect request has no answer
        emit m_bridge->probe.pinged(QStringLiteral("one"));
        emit m_bridge->probe.pinged(QStringLiteral("two"));
        QVERIFY(first.waitForSignal(probeName, QStringLiteral("pinged"), 2));
        QVERIFY(second.waitForSignal(probeName, QStringLiteral("pinged"), 2));

        QPointer<QWebSocket> socket = qobject_cast<QWebSocket *>(m_bridge->transports[0]->parent());
        QVERIFY(socket);
        first.socket()->close();
        QTRY_VERIFY(m_bridge->transports.at(0).isNull());
        QTRY_VERIFY(socket.isNull());
        MessageRecorder log;
        emit m_bridge->probe.pinged(QStringLiteral("three"));
        QVERIFY(second.waitForSignal(probeName, QStringLiteral("pinged"), 3));
        QCOMPARE(log.warnings(), QStringList());
    }

    void whatIsNotATextObjectIsDropped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("binary");
        QTest::addColumn<QString>("warning");
        const auto row = [](const char *name, const char *text, bool binary,
                            const QString &warning) {
            QTest::newRow(name) << QString(text) << binary << warning;
        };
        const QString parseFailure(
                "Failed to parse text message as JSON object: %1 Error is: \"%2\"");
        const QString notAnObject("Received JSON message that is not an object:  %1");

        row("broken object", "{oops", false, parseFailure.arg("\"{oops\"", "unterminated object"));
        row("number", "42", false, parseFailure.arg("\"42\"", "illegal value"));
        row("array of a request", "[{\"type\":3,\"id\":900}]", false,
            notAnObject.arg("\"[{\\\"type\\\":3,\\\"id\\\":900}]\""));
        row("binary request", "{\"type\":3,\"id\":900}", true, QString());
    }

    void whatIsNotATextObjectIsDropped()
    {
        QFETCH(QString, text);
        QFETCH(bool, binary);
        QFETCH(QString, warning);

        WebChannelClient client;
        QVERIFY(connectAndSettle(client, m_bridge->port()));
        WebSocketTransport *transport = m_bridge->transports.value(0);
        QSignalSpy forwarded(transport, &QWebChannelAbstractTransport::messageReceived);
        MessageRecorder log;
        binary ? client.sendBinary(text.toUtf8()) : client.sendText(text);

        // Messages are handled in order: once the echo is answered, the text has been dropped.
        QCOMPARE(echoed(client, "still here"), QStringLiteral("still here"));
        QVERIFY(!client.waitForResponse(900, nullptr, 0));
        QCOMPARE(log.warnings(), warning.isEmpty() ? QStringList() : QStringList(warning));
        QCOMPARE(forwarded.count(), 1); // the echo call, with the transport that carried it
        QCOMPARE(forwarded.at(0).at(1).value<QWebChannelAbstractTransport *>(), transport);
    }

    void outgoingObjectIsOneCompactMessage()
    {
        WebChannelClient client;
        QVERIFY(client.open(m_bridge->port()));
        QSignalSpy texts(client.socket(), &QWebSocket::textMessageReceived);

        m_bridge->transports.value(0)->sendMessage(QJsonObject{
                {"b", QJsonObject{{"list", QJsonArray{1, 2}}}}, {"a", "x y\nz \u00fc"}});

        QTRY_COMPARE(texts.count(), 1);
        QTest::qWait(50);
        QCOMPARE(texts.count(), 1);
        QCOMPARE(texts.at(0).at(0).toString(),
                 QStringLiteral("{\"a\":\"x y\\nz \u00fc\",\"b\":{\"list\":[1,2]}}"));
    }

    void originDecidesAdmission_data()
    {
        QTest::addColumn<QString>("origin");
        QTest::addColumn<bool>("admitted");

        QTest::newRow("(no origin: a native client)") << QString() << true;
        for (const char *local : {"null", "http://localhost:1234", "http://127.0.0.1",
                                  "https://[::1]:8080", "file://", "qrc:"})
            QTest::newRow(local) << QString(local) << true;
        for (const char *foreign :
             {"https://attacker.example", "http://attacker.example:8080",
              "http://localhost.attacker.example", "http://localhost@attacker.example",
              "ftp://localhost", "not an origin"})
            QTest::newRow(foreign) << QString(foreign) << false;
    }

    void originDecidesAdmission()
    {
        QFETCH(QString, origin);
        QFETCH(bool, admitted);

        QCOMPARE(WebSocketClientWrapper::isAllowedOrigin(origin), admitted);
        WebChannelClient client(origin);
        QCOMPARE(connectAndSettle(client, m_bridge->port()), admitted);
        QCOMPARE(m_bridge->transports.size(), admitted ? 1 : 0);
        // A refused page does not stop the server from serving the next client.
        WebChannelClient native;
        QVERIFY(connectAndSettle(native, m_bridge->port()));
    }

    void oversizedMessageIsRefused_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("oneFrame");

        QTest::newRow("at the limit, many frames") << messageLimit << false;
        QTest::newRow("at the limit, one frame") << messageLimit << true;
        QTest::newRow("one byte over, many frames") << messageLimit + 1 << false;
        QTest::newRow("one byte over, one frame") << messageLimit + 1 << true;
    }

    void oversizedMessageIsRefused()
    {
        QFETCH(int, size);
        QFETCH(bool, oneFrame);

        WebChannelClient bystander;
        QVERIFY(connectAndSettle(bystander, m_bridge->port()));
        WebChannelClient sender;
        QVERIFY(sender.open(m_bridge->port()));
        QPointer<WebSocketTransport> transport = m_bridge->transports.value(1);
        QSignalSpy forwarded(transport.data(), &QWebChannelAbstractTransport::messageReceived);
        if (oneFrame)
            sender.socket()->setOutgoingFrameSize(quint64(size) + 1);

        // An idle notice, which the channel takes quietly, padded to exactly `size` bytes.
        const QString head("{\"type\":4,\"pad\":\""), tail("\"}");
        sender.sendText(head + QString(size - head.size() - tail.size(), 'x') + tail);

        const bool accepted = size <= messageLimit;
        QTRY_VERIFY_WITH_TIMEOUT(forwarded.count() == 1 || transport.isNull(), 20000);
        QCOMPARE(forwarded.count(), accepted ? 1 : 0);
        QVERIFY(accepted ? sender.isConnected() : sender.waitForDisconnected());
        QCOMPARE(echoed(bystander, "served"), QStringLiteral("served"));
    }
};

VELDRA_TEST_MAIN(TestWebTransport)
#include "tst_webtransport.moc"
