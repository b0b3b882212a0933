#include "websocketclientwrapper.h"
#include "websockettransport.h"

#include "messagerecorder.h"
#include "testmain.h"
#include "webchannelclient.h"

#include <QPointer>
#include <QSignalSpy>
#include <QWebChannel>
#include <QWebSocketServer>

#include <memory>

namespace {

const QString probeName = QStringLiteral("probe");
constexpr int messageLimit = 16 * 1024 * 1024;

// What the channel publishes in these tests: one call with a result.
class Probe : public QObject
{
    Q_OBJECT

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

// Connects with the bridge's secret and initialises; the echo round trip makes sure the server
// has handled everything the client sent so far.
bool connectAndSettle(WebChannelClient &client, const Bridge &bridge)
{
    return client.open(bridge.server.serverPort(), bridge.wrapper.secret()) &&
           client.initialize() && echoed(client, "ready") == "ready";
}

} // namespace

class TestWebTransport : public QObject
{
    Q_OBJECT

    std::unique_ptr<Bridge> m_bridge;

private slots:
    void init() { m_bridge = std::make_unique<Bridge>(); }
    void cleanup() { m_bridge.reset(); }

    void whatIsNotATextObjectIsDropped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("binary");
        QTest::addColumn<QString>("logged");
        const auto row = [](const char *name, const QString &text, bool binary,
                            const QString &logged) {
            QTest::newRow(name) << text << binary << logged;
        };
        const QString parseFailure("Failed to parse text message as JSON object: %1 Error is: %2");
        const QString notAnObject("Received JSON message that is not an object:  %1");
        // What a page would use to forge log lines: line breaks, terminal escapes, bidi
        // overrides and sheer length. The log gets the first 200 characters, escaped.
        const QString forged =
                QString::fromUtf8("x\nDEBUG: forged\x1b[31m\u202e") + QString(300, 'y');
        const auto forgedLogged = [](const QString &head) {
            return head + "x\\nDEBUG: forged\\u001b[31m\\u202e" + QString(179 - head.size(), 'y') +
                   QChar(0x2026);
        };
        const QJsonObject debugText{{"type", 5}, {"data", forged}};

        row("broken object", "{oops", false, parseFailure.arg("{oops", "unterminated object"));
        row("number", "42", false, parseFailure.arg("42", "illegal value"));
        row("array of a request", "[{\"type\":3,\"id\":900}]", false,
            notAnObject.arg("[{\"type\":3,\"id\":900}]"));
        row("binary request", "{\"type\":3,\"id\":900}", true, QString());
        row("long broken text", "{" + forged, false,
            parseFailure.arg(forgedLogged("{"), "unterminated object"));
        row("debug text", QJsonDocument(debugText).toJson(QJsonDocument::Compact), false,
            "Welcome page: " + forgedLogged(QString()));
        row("debug object", "{\"type\":5,\"data\":{\"a\":[1]}}", false,
            "Welcome page: {\"a\":[1]}");
        // Messages the channel would log whole or with the page's object name, as they came.
        const QString unhandled("Received a web channel message without a type, id or known "
                                "object: %1");
        for (const char *message : {"{\"id\":1}", "{\"type\":\"3\",\"id\":1}", "{\"type\":3}",
                                    "{\"type\":6,\"object\":\"probe\",\"method\":1,\"args\":[]}"})
            row(message, message, false, unhandled.arg(message));
        const QString longName = QJsonDocument(QJsonObject{{"type", 7}, {"object", forged}})
                                         .toJson(QJsonDocument::Compact);
        row("long object name", longName, false,
            unhandled.arg(WebSocketTransport::forLog(longName)));
    }

    void whatIsNotATextObjectIsDropped()
    {
        QFETCH(QString, text);
        QFETCH(bool, binary);
        QFETCH(QString, logged);

        WebChannelClient client;
        QVERIFY(connectAndSettle(client, *m_bridge));
        WebSocketTransport *transport = m_bridge->transports.value(0);
        QSignalSpy forwarded(transport, &QWebChannelAbstractTransport::messageReceived);
        MessageRecorder log;
        binary ? client.sendBinary(text.toUtf8()) : client.sendText(text);

        // Messages are handled in order: once the echo is answered, the text has been dropped.
        QCOMPARE(echoed(client, "still here"), QStringLiteral("still here"));
        QVERIFY(!client.waitForResponse(900, nullptr, 0));
        QCOMPARE((log.warnings() + log.messages(QtDebugMsg)).join('\n'), logged);
        QCOMPARE(forwarded.count(), 1); // the echo call, with the transport that carried it
        QCOMPARE(forwarded.at(0).at(1).value<QWebChannelAbstractTransport *>(), transport);
    }

    void admission_data()
    {
        QTest::addColumn<QString>("origin");
        QTest::addColumn<QString>("token"); // "secret" stands for the bridge's secret
        QTest::addColumn<bool>("admitted");
        const auto row = [](const char *origin, const char *token, bool admitted) {
            QTest::addRow("%s %s", origin, token) << QString(origin) << QString(token) << admitted;
        };

        for (const char *local :
             {"file://", "http://localhost:1234", "http://127.0.0.1", "https://[::1]:8080"}) {
            row(local, "secret", true);
            row(local, "", false);
        }
        // The secret alone does not let a page in whose origin could be anybody's.
        for (const char *foreign :
             {"", "null", "qrc:", "file:///etc", "https://attacker.example",
              "http://attacker.example:8080", "http://localhost.attacker.example",
              "http://localhost@attacker.example", "ftp://localhost", "not an origin"})
            row(foreign, "secret", false);
        row("file://", "wrong", false);
        row("file://", "secret-and-more", false);
        row("file://", "first-half", false);
        row("file://", "last-digit-changed", false);
    }

    void admission()
    {
        QFETCH(QString, origin);
        QFETCH(QString, token);
        QFETCH(bool, admitted);

        const QString secret = m_bridge->wrapper.secret();
        QVERIFY(QRegularExpression("^[0-9a-f]{32}$").match(secret).hasMatch());
        QVERIFY(secret != Bridge().wrapper.secret());
        const QHash<QString, QString> tokens{
                {"secret", secret},
                {"secret-and-more", secret + "0"},
                {"first-half", secret.left(16)},
                {"last-digit-changed", secret.chopped(1) + (secret.endsWith('0') ? "1" : "0")}};
        WebChannelClient client(origin);
        client.open(m_bridge->server.serverPort(), tokens.value(token, token));
        if (admitted)
            QVERIFY(client.initialize() && echoed(client, "in") == "in");
        else
            QTRY_VERIFY(!client.isConnected());
        QCOMPARE(m_bridge->transports.size(), admitted ? 1 : 0);
        QCOMPARE(m_bridge->wrapper.connectionCount(), admitted ? 1 : 0);
        // A refused client does not stop the server from serving the next one.
        WebChannelClient page;
        QVERIFY(connectAndSettle(page, *m_bridge));
    }

    void oversizedMessageIsRefused_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("at the limit") << messageLimit;
        QTest::newRow("one byte over") << messageLimit + 1;
    }

    void oversizedMessageIsRefused()
    {
        QFETCH(int, size);

        WebChannelClient bystander;
        QVERIFY(connectAndSettle(bystander, *m_bridge));
        WebChannelClient sender;
        QVERIFY(sender.open(m_bridge->server.serverPort(), m_bridge->wrapper.secret()));
        QPointer<WebSocketTransport> transport = m_bridge->transports.value(1);
        QSignalSpy forwarded(transport.data(), &QWebChannelAbstractTransport::messageReceived);

        // An idle notice, which the channel takes quietly, padded to exactly `size` bytes.
        const QString head("{\"type\":4,\"pad\":\""), tail("\"}");
        sender.sendText(head + QString(size - head.size() - tail.size(), 'x') + tail);

        const bool accepted = size <= messageLimit;
        QTRY_VERIFY_WITH_TIMEOUT(forwarded.count() == 1 || transport.isNull(), 20000);
        QCOMPARE(forwarded.count(), accepted ? 1 : 0);
        QTRY_COMPARE(sender.isConnected(), accepted);
        QCOMPARE(echoed(bystander, "served"), QStringLiteral("served"));
    }
};

VELDRA_TEST_MAIN(TestWebTransport)
#include "tst_webtransport.moc"
