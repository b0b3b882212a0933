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
    return client.open(port) && client.initialize() &&
           echoed(client, QStringLiteral("ready")) == QStringLiteral("ready");
}

// A JSON object the channel takes quietly (an idle notice), exactly `size` bytes long.
QString idleMessageOfSize(int size)
{
    const QString head = QStringLiteral("{\"type\":4,\"pad\":\"");
    const QString tail = QStringLiteral("\"}");
    return head + QString(size - head.size() - tail.size(), QLatin1Char('x')) + tail;
}

} // namespace

class TestWebTransport : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_bridge = std::make_unique<Bridge>(); }
    void cleanup() { m_bridge.reset(); }

    void callsAndSignalsTravelTheChannel();
    void textThatIsNotAnObjectIsDropped_data();
    void textThatIsNotAnObjectIsDropped();
    void objectMessageIsForwardedOnce();
    void binaryMessageIsIgnoredSilently();
    void outgoingObjectIsOneCompactMessage();
    void twoClientsAreServedIndependently();
    void disconnectDeletesTransportAndSocket();
    void deletingTheSocketTakesTheTransportAlong();
    void originDecidesAdmission_data();
    void originDecidesAdmission();
    void oversizedMessageIsRefused_data();
    void oversizedMessageIsRefused();

private:
    std::unique_ptr<Bridge> m_bridge;
};

void TestWebTransport::callsAndSignalsTravelTheChannel()
{
    WebChannelClient client;
    QVERIFY(client.open(m_bridge->port()));
    QVERIFY(client.initialize());
    QCOMPARE(client.objectNames(), QStringList(probeName));

    QCOMPARE(echoed(client, QStringLiteral("h\u00e9llo \"world\"")),
             QStringLiteral("h\u00e9llo \"world\""));

    QVERIFY(client.connectToSignal(probeName, QStringLiteral("pinged")));
    QCOMPARE(echoed(client, QString()), QString()); // the connect request has no answer
    emit m_bridge->probe.pinged(QStringLiteral("one"));
    emit m_bridge->probe.pinged(QStringLiteral("two"));
    QVERIFY(client.waitForSignal(probeName, QStringLiteral("pinged"), 2));
}

void TestWebTransport::textThatIsNotAnObjectIsDropped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning");

    const auto parseFailure = [](const char *quoted, const char *error) {
        return QStringLiteral("Failed to parse text message as JSON object: %1 Error is: \"%2\"")
                .arg(QString::fromUtf8(quoted), QString::fromUtf8(error));
    };
    const auto notAnObject = [](const char *quoted) {
        return QStringLiteral("Received JSON message that is not an object:  %1")
                .arg(QString::fromUtf8(quoted));
    };

    QTest::newRow("broken object") << "{oops" << parseFailure("\"{oops\"", "unterminated object");
    QTest::newRow("cut-off object")
            << "{\"type\":3"
            << parseFailure("\"{\\\"type\\\":3\"", "invalid termination by number");
    QTest::newRow("empty text") << "" << parseFailure("\"\"", "illegal value");
    QTest::newRow("number") << "42" << parseFailure("\"42\"", "illegal value");
    QTest::newRow("string") << "\"text\"" << parseFailure("\"\\\"text\\\"\"", "illegal value");
    QTest::newRow("empty array") << "[]" << notAnObject("\"[]\"");
    QTest::newRow("array of a request")
            << "[{\"type\":3,\"id\":1}]" << notAnObject("\"[{\\\"type\\\":3,\\\"id\\\":1}]\"");
}

void TestWebTransport::textThatIsNotAnObjectIsDropped()
{
    QFETCH(QString, text);
    QFETCH(QString, warning);

    WebChannelClient client;
    QVERIFY(connectAndSettle(client, m_bridge->port()));
    QSignalSpy forwarded(m_bridge->transports.value(0).data(),
                         &QWebChannelAbstractTransport::messageReceived);

    QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
    client.sendText(text);

    // Messages are handled in order: once the echo is answered, the text has been dropped.
    QCOMPARE(echoed(client, QStringLiteral("still here")), QStringLiteral("still here"));
    QCOMPARE(forwarded.count(), 1);
    QVERIFY(client.isConnected());
}

void TestWebTransport::objectMessageIsForwardedOnce()
{
    WebChannelClient client;
    QVERIFY(client.open(m_bridge->port()));
    WebSocketTransport *transport = m_bridge->transports.value(0);
    QVERIFY(transport);
    QSignalSpy forwarded(transport, &QWebChannelAbstractTransport::messageReceived);

    const QJsonObject idle{{QStringLiteral("type"), WebChannelClient::Idle},
                           {QStringLiteral("note"), QStringLiteral("a b\nc")}};
    client.send(idle);
    client.send(QJsonObject{{QStringLiteral("type"), WebChannelClient::Init},
                            {QStringLiteral("id"), 1}});
    QVERIFY(client.waitForResponse(1));

    QCOMPARE(forwarded.count(), 2);
    QCOMPARE(forwarded.at(0).at(0).toJsonObject(), idle);
    QCOMPARE(forwarded.at(0).at(1).value<QWebChannelAbstractTransport *>(), transport);
}

void TestWebTransport::binaryMessageIsIgnoredSilently()
{
    WebChannelClient client;
    QVERIFY(connectAndSettle(client, m_bridge->port()));
    QSignalSpy forwarded(m_bridge->transports.value(0).data(),
                         &QWebChannelAbstractTransport::messageReceived);
    MessageRecorder log;

    QJsonObject echoCall{
            {QStringLiteral("type"), WebChannelClient::InvokeMethod},
            {QStringLiteral("object"), probeName},
            {QStringLiteral("method"), client.methodIndex(probeName, QStringLiteral("echo"))},
            {QStringLiteral("args"), QJsonArray{QStringLiteral("binary")}},
            {QStringLiteral("id"), 900}};
    client.sendBinary(QJsonDocument(echoCall).toJson(QJsonDocument::Compact));

    QCOMPARE(echoed(client, QStringLiteral("text works")), QStringLiteral("text works"));
    QCOMPARE(forwarded.count(), 1);
    QVERIFY(!client.waitForResponse(900, nullptr, 0));
    QCOMPARE(log.warnings(), QStringList());
}

void TestWebTransport::outgoingObjectIsOneCompactMessage()
{
    WebChannelClient client;
    QVERIFY(client.open(m_bridge->port()));
    WebSocketTransport *transport = m_bridge->transports.value(0);
    QVERIFY(transport);
    QSignalSpy texts(client.socket(), &QWebSocket::textMessageReceived);
    QSignalSpy binaries(client.socket(), &QWebSocket::binaryMessageReceived);

    transport->sendMessage(QJsonObject{
            {QStringLiteral("b"), QJsonObject{{QStringLiteral("list"), QJsonArray{1, 2}}}},
            {QStringLiteral("a"), QStringLiteral("x y\nz \u00fc")}});

    QTRY_COMPARE(texts.count(), 1);
    QTest::qWait(50);
    QCOMPARE(texts.count(), 1);
    QCOMPARE(binaries.count(), 0);
    QCOMPARE(texts.at(0).at(0).toString(),
             QStringLiteral("{\"a\":\"x y\\nz \u00fc\",\"b\":{\"list\":[1,2]}}"));
}

void TestWebTransport::twoClientsAreServedIndependently()
{
    WebChannelClient first;
    WebChannelClient second;
    QVERIFY(first.open(m_bridge->port()));
    QVERIFY(second.open(m_bridge->port()));
    QCOMPARE(m_bridge->transports.size(), 2);
    QVERIFY(m_bridge->transports.at(0) != m_bridge->transports.at(1));

    QVERIFY(first.initialize());
    QVERIFY(second.initialize());
    QVERIFY(first.connectToSignal(probeName, QStringLiteral("pinged")));
    QCOMPARE(echoed(second, QStringLiteral("second")), QStringLiteral("second"));
    QCOMPARE(echoed(first, QStringLiteral("first")), QStringLiteral("first"));

    emit m_bridge->probe.pinged(QStringLiteral("both"));
    QVERIFY(first.waitForSignal(probeName, QStringLiteral("pinged")));
    QVERIFY(second.waitForSignal(probeName, QStringLiteral("pinged")));

    first.socket()->close();
    QVERIFY(first.waitForDisconnected());
    QTRY_VERIFY(m_bridge->transports.at(0).isNull());
    QCOMPARE(echoed(second, QStringLiteral("alone")), QStringLiteral("alone"));
}

void TestWebTransport::disconnectDeletesTransportAndSocket()
{
    WebChannelClient client;
    QVERIFY(client.open(m_bridge->port()));
    QVERIFY(client.initialize());
    QPointer<WebSocketTransport> transport = m_bridge->transports.value(0);
    QVERIFY(transport);
    QPointer<QWebSocket> socket = qobject_cast<QWebSocket *>(transport->parent());
    QVERIFY(socket);

    client.socket()->close();

    QTRY_VERIFY(transport.isNull());
    QTRY_VERIFY(socket.isNull());
    MessageRecorder log;
    emit m_bridge->probe.pinged(QStringLiteral("nobody listens"));
    QCOMPARE(log.warnings(), QStringList());
}

void TestWebTransport::deletingTheSocketTakesTheTransportAlong()
{
    WebChannelClient client;
    QVERIFY(client.open(m_bridge->port()));
    QPointer<WebSocketTransport> transport = m_bridge->transports.value(0);
    QVERIFY(transport);
    QPointer<QWebSocket> socket = qobject_cast<QWebSocket *>(transport->parent());

    delete socket.data();

    QVERIFY(transport.isNull());
    QVERIFY(client.waitForDisconnected());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestWebTransport::originDecidesAdmission_data()
{
    QTest::addColumn<QString>("origin");
    QTest::addColumn<bool>("admitted");

    QTest::newRow("no origin (native client)") << QString() << true;
    QTest::newRow("null") << "null" << true;
    QTest::newRow("localhost with port") << "http://localhost:1234" << true;
    QTest::newRow("127.0.0.1") << "http://127.0.0.1" << true;
    QTest::newRow("IPv6 loopback with port") << "http://[::1]:8080" << true;
    QTest::newRow("https localhost") << "https://localhost" << true;
    QTest::newRow("file") << "file://" << true;
    QTest::newRow("qrc") << "qrc:" << true;
    QTest::newRow("foreign https") << "https://attacker.example" << false;
    QTest::newRow("foreign http with port") << "http://attacker.example:8080" << false;
    QTest::newRow("lookalike host") << "http://localhost.attacker.example" << false;
    QTest::newRow("user info before host") << "http://localhost@attacker.example" << false;
    QTest::newRow("other loopback address") << "http://127.0.0.2" << false;
    QTest::newRow("other scheme on localhost") << "ftp://localhost" << false;
    QTest::newRow("not an origin") << "not an origin" << false;
}

void TestWebTransport::originDecidesAdmission()
{
    QFETCH(QString, origin);
    QFETCH(bool, admitted);

    QCOMPARE(WebSocketClientWrapper::isAllowedOrigin(origin), admitted);

    WebChannelClient client(origin);
    QCOMPARE(client.open(m_bridge->port()), admitted);
    QCOMPARE(m_bridge->transports.size(), admitted ? 1 : 0);
    if (admitted) {
        QVERIFY(client.initialize());
        QCOMPARE(echoed(client, QStringLiteral("ok")), QStringLiteral("ok"));
    }

    // A refused page does not stop the server from serving the next client.
    WebChannelClient native;
    QVERIFY(native.open(m_bridge->port()));
    QVERIFY(native.initialize());
}

void TestWebTransport::oversizedMessageIsRefused_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("oneFrame");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("at the limit, many frames") << messageLimit << false << true;
    QTest::newRow("at the limit, one frame") << messageLimit << true << true;
    QTest::newRow("one byte over, many frames") << messageLimit + 1 << false << false;
    QTest::newRow("one byte over, one frame") << messageLimit + 1 << true << false;
}

void TestWebTransport::oversizedMessageIsRefused()
{
    QFETCH(int, size);
    QFETCH(bool, oneFrame);
    QFETCH(bool, accepted);

    WebChannelClient bystander;
    QVERIFY(connectAndSettle(bystander, m_bridge->port()));
    WebChannelClient sender;
    QVERIFY(sender.open(m_bridge->port()));
    QPointer<WebSocketTransport> transport = m_bridge->transports.value(1);
    QVERIFY(transport);
    QSignalSpy forwarded(transport.data(), &QWebChannelAbstractTransport::messageReceived);
    if (oneFrame)
        sender.socket()->setOutgoingFrameSize(quint64(size) + 1);

    sender.sendText(idleMessageOfSize(size));

    if (accepted) {
        QTRY_COMPARE_WITH_TIMEOUT(forwarded.count(), 1, 20000);
        QVERIFY(sender.isConnected());
    } else {
        QVERIFY(sender.waitForDisconnected(20000));
        QTRY_VERIFY(transport.isNull());
        QCOMPARE(forwarded.count(), 0);
    }
    QCOMPARE(echoed(bystander, QStringLiteral("served")), QStringLiteral("served"));
}

VELDRA_TEST_MAIN(TestWebTransport)
#include "tst_webtransport.moc"
