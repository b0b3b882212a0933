#pragma once

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QWebSocket>

// A real QWebSocket to 127.0.0.1 that speaks the JSON protocol of Qt's qwebchannel.js. Every wait
// spins the event loop, so a server in the same process (and any modal box it opens) keeps
// running. Methods and signals are named without their signature.
class WebChannelClient : public QObject
{
    Q_OBJECT

public:
    static constexpr int defaultTimeout = 5000;

    // The default origin is the one the application's own page sends; an empty one sends none.
    explicit WebChannelClient(const QString &origin = QStringLiteral("file://"));
    ~WebChannelClient() override { m_socket.abort(); }

    // Reads "PORT\nSECRET\n"; false when it cannot.
    static bool readPortFile(const QString &path, quint16 *port, QString *token);

    // Connects to ws://127.0.0.1:<port>/?token=<token> (none when empty); false when refused.
    bool open(quint16 port, const QString &token, int timeout = defaultTimeout);
    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }

    // Sends init and keeps the published objects' descriptions; false without an answer.
    bool initialize(int timeout = defaultTimeout);
    QJsonObject objectInfo(const QString &object) const { return m_objects[object].toObject(); }

    // Sends a call without waiting; its id, or -1 when the object has no such method.
    int sendInvoke(const QString &object, const QString &method, const QJsonArray &args);
    // Calls a method and waits for its response's data; *ok tells whether one came at all.
    QJsonValue invoke(const QString &object, const QString &method,
                      const QJsonArray &args = QJsonArray(), bool *ok = nullptr,
                      int timeout = defaultTimeout);
    bool waitForResponse(int id, QJsonValue *data = nullptr, int timeout = defaultTimeout);

    bool connectToSignal(const QString &object, const QString &signal);
    bool waitForSignal(const QString &object, const QString &signal, int count = 1,
                       int timeout = defaultTimeout);

    void send(const QJsonObject &message);
    void sendText(const QString &text) { m_socket.sendTextMessage(text); }
    void sendBinary(const QByteArray &data) { m_socket.sendBinaryMessage(data); }

private:
    int memberIndex(const QString &object, const QString &kind, const QString &name) const;

    QWebSocket m_socket;
    int m_nextId = 0;
    QJsonObject m_objects;
    QHash<int, QJsonValue> m_responses; // by id
    QHash<QString, int> m_signalCounts; // by "object/signal index"
};
