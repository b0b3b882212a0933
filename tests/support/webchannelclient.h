#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>
#include <QWebSocket>

/*!
 * A web-channel client for tests: a real QWebSocket to 127.0.0.1 that speaks the JSON protocol
 * of Qt's qwebchannel.js. Every wait spins the event loop, so a server in the same process (and
 * any modal box it opens) keeps running. Methods and signals are named without their signature.
 */
class WebChannelClient : public QObject
{
    Q_OBJECT

public:
    static constexpr int defaultTimeout = 5000;
    // The origin the application's own page sends. An empty origin sends no Origin header.
    static const QString pageOrigin;

    explicit WebChannelClient(const QString &origin = pageOrigin);
    ~WebChannelClient() override { m_socket.abort(); }

    QWebSocket *socket() { return &m_socket; }
    // Reads "PORT\nSECRET\n"; false when it cannot.
    static bool readPortFile(const QString &path, quint16 *port, QString *token);

    // Connects to ws://127.0.0.1:<port>/?token=<token> (none when empty); false when refused.
    bool open(quint16 port, const QString &token, int timeout = defaultTimeout);
    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    bool waitForDisconnected(int timeout = defaultTimeout);

    // Sends init and keeps the published objects' descriptions; false without an answer.
    bool initialize(int timeout = defaultTimeout);
    QJsonObject objectInfo(const QString &object) const { return m_objects[object].toObject(); }

    // Calls a method and waits for its response's data; *ok tells whether one came at all.
    QJsonValue invoke(const QString &object, const QString &method,
                      const QJsonArray &args = QJsonArray(), bool *ok = nullptr,
                      int timeout = defaultTimeout);
    // Sends the call without waiting; returns the message id, or -1 for an unknown method.
    int sendInvoke(const QString &object, const QString &method,
                   const QJsonArray &args = QJsonArray());
    bool waitForResponse(int id, QJsonValue *data = nullptr, int timeout = defaultTimeout);

    bool connectToSignal(const QString &object, const QString &signal);
    bool waitForSignal(const QString &object, const QString &signal, int count = 1,
                       int timeout = defaultTimeout);

    void send(const QJsonObject &message);
    void sendText(const QString &text) { m_socket.sendTextMessage(text); }
    void sendBinary(const QByteArray &data) { m_socket.sendBinaryMessage(data); }
    QStringList textMessages() const { return m_texts; } // as they arrived

private:
    int memberIndex(const QString &object, const QString &kind, const QString &name) const;
    int countMessages(const QJsonObject &fields) const;

    QWebSocket m_socket;
    int m_nextId = 0;
    QJsonObject m_objects;
    QStringList m_texts;
    QList<QJsonObject> m_messages;
};
