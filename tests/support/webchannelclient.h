#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QWebSocket>

/*!
 * A web-channel client in C++, for tests: a real QWebSocket to 127.0.0.1 that speaks the JSON
 * protocol of Qt's qwebchannel.js. Every wait spins the event loop, so a server in the same
 * process (and any modal message box it opens) keeps running while the client waits.
 *
 *     WebChannelClient client;
 *     QVERIFY(client.open(server->serverPort(), mainWindow->getSecret()));
 *     QVERIFY(client.initialize());
 *     QCOMPARE(client.invoke("vdwelcome", "callbackAsyncfromJS", {"a", "b"}), QJsonValue(""));
 *
 * Methods and signals are named without their signature; the index comes from the init answer.
 */
class WebChannelClient : public QObject
{
    Q_OBJECT

public:
    // The message types of the protocol.
    enum Type {
        Signal = 1,
        PropertyUpdate = 2,
        Init = 3,
        Idle = 4,
        Debug = 5,
        InvokeMethod = 6,
        ConnectToSignal = 7,
        DisconnectFromSignal = 8,
        SetProperty = 9,
        Response = 10
    };

    static constexpr int defaultTimeout = 5000;

    // The origin the application's own page sends. An empty origin sends no Origin header.
    static const QString pageOrigin;

    explicit WebChannelClient(const QString &origin = pageOrigin, QObject *parent = nullptr);
    ~WebChannelClient() override;

    QWebSocket *socket();

    // Reads the port and the secret from a port file ("PORT\nSECRET\n"); false when it cannot.
    static bool readPortFile(const QString &path, quint16 *port, QString *token);

    // Connects to ws://127.0.0.1:<port>/?token=<token>; false when the server refuses or does
    // not answer. An empty token sends none.
    bool open(quint16 port, const QString &token, int timeout = defaultTimeout);
    bool isConnected() const;
    bool waitForDisconnected(int timeout = defaultTimeout);

    // Sends init and keeps the published objects' descriptions; false without an answer.
    bool initialize(int timeout = defaultTimeout);
    QStringList objectNames() const;
    QJsonObject objectInfo(const QString &object) const;
    int methodIndex(const QString &object, const QString &method) const;
    int signalIndex(const QString &object, const QString &signal) const;

    // Calls a method by name and waits for its response's data (undefined for a void method).
    // *ok tells whether a response came at all.
    QJsonValue invoke(const QString &object, const QString &method,
                      const QJsonArray &args = QJsonArray(), bool *ok = nullptr,
                      int timeout = defaultTimeout);
    // Sends the call without waiting; returns the message id, or -1 for an unknown method.
    int sendInvoke(const QString &object, const QString &method,
                   const QJsonArray &args = QJsonArray());
    bool waitForResponse(int id, QJsonValue *data = nullptr, int timeout = defaultTimeout);

    bool connectToSignal(const QString &object, const QString &signal);
    int signalCount(const QString &object, const QString &signal) const;
    bool waitForSignal(const QString &object, const QString &signal, int count = 1,
                       int timeout = defaultTimeout);

    void send(const QJsonObject &message);
    void sendText(const QString &text);
    void sendBinary(const QByteArray &data);

    QStringList textMessages() const;    // as they arrived
    QList<QJsonObject> messages() const; // the ones that parsed as JSON objects
    void clearMessages();

private:
    void onTextMessage(const QString &text);
    QJsonArray describedMembers(const QString &object, const QString &kind) const;
    int memberIndex(const QString &object, const QString &kind, const QString &name) const;

    QWebSocket m_socket;
    int m_nextId = 0;
    QJsonObject m_objects;
    QStringList m_texts;
    QList<QJsonObject> m_messages;
};
