#include "webchannelclient.h"

#include <QFile>
#include <QJsonDocument>
#include <QTest>

namespace {
enum Type { Signal = 1, Init = 3, Idle = 4, InvokeMethod = 6, ConnectToSignal = 7, Response = 10 };

QString signalKey(const QJsonValue &object, const QJsonValue &signal)
{
    return object.toString() + '/' + QString::number(signal.toInt(-1));
}
} // namespace

WebChannelClient::WebChannelClient(const QString &origin)
    : m_socket(origin)
{
    connect(&m_socket, &QWebSocket::textMessageReceived, this, [this](const QString &text) {
        const QJsonObject message = QJsonDocument::fromJson(text.toUtf8()).object();
        if (message["type"] == Response)
            m_responses.insert(message["id"].toInt(), message["data"]);
        else if (message["type"] == Signal)
            ++m_signalCounts[signalKey(message["object"], message["signal"])];
    });
}

bool WebChannelClient::readPortFile(const QString &path, quint16 *port, QString *token)
{
    QFile file(path);
    const QList<QByteArray> lines =
            file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>();
    *port = lines.value(0).toUShort();
    *token = QString::fromLatin1(lines.value(1));
    return *port != 0 && !token->isEmpty();
}

bool WebChannelClient::open(quint16 port, const QString &token, int timeout)
{
    const QString query = token.isEmpty() ? QString() : "?token=" + QUrl::toPercentEncoding(token);
    m_socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/").arg(port) + query));
    return QTest::qWaitFor(
                   [this] {
                       return isConnected() ||
                              m_socket.state() == QAbstractSocket::UnconnectedState;
                   },
                   timeout) &&
           isConnected();
}

bool WebChannelClient::initialize(int timeout)
{
    const int id = m_nextId++;
    send({{"type", Init}, {"id", id}});
    QJsonValue data;
    if (!waitForResponse(id, &data, timeout) || !data.isObject())
        return false;
    m_objects = data.toObject();
    send({{"type", Idle}});
    return true;
}

int WebChannelClient::sendInvoke(const QString &object, const QString &method,
                                 const QJsonArray &args)
{
    const int index = memberIndex(object, "methods", method);
    if (index < 0)
        return -1;
    const int id = m_nextId++;
    send({{"type", InvokeMethod},
          {"object", object},
          {"method", index},
          {"args", args},
          {"id", id}});
    return id;
}

QJsonValue WebChannelClient::invoke(const QString &object, const QString &method,
                                    const QJsonArray &args, bool *ok, int timeout)
{
    const int id = sendInvoke(object, method, args);
    QJsonValue data(QJsonValue::Undefined);
    const bool answered = id >= 0 && waitForResponse(id, &data, timeout);
    if (ok)
        *ok = answered;
    return data;
}

bool WebChannelClient::waitForResponse(int id, QJsonValue *data, int timeout)
{
    // A closed connection will not answer any more.
    const bool answered =
            QTest::qWaitFor([&] { return m_responses.contains(id) || !isConnected(); }, timeout) &&
            m_responses.contains(id);
    if (data)
        *data = m_responses.value(id, QJsonValue::Undefined);
    return answered;
}

bool WebChannelClient::connectToSignal(const QString &object, const QString &signal)
{
    const int index = memberIndex(object, "signals", signal);
    if (index >= 0)
        send({{"type", ConnectToSignal}, {"object", object}, {"signal", index}});
    return index >= 0;
}

bool WebChannelClient::waitForSignal(const QString &object, const QString &signal, int count,
                                     int timeout)
{
    const QString key = signalKey(object, memberIndex(object, "signals", signal));
    return QTest::qWaitFor([&] { return m_signalCounts.value(key) >= count; }, timeout);
}

void WebChannelClient::send(const QJsonObject &message)
{
    sendText(QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
}

// Method descriptions list a name twice, plain and with its signature; both carry the index.
int WebChannelClient::memberIndex(const QString &object, const QString &kind,
                                  const QString &name) const
{
    for (const QJsonValue &member : objectInfo(object)[kind].toArray()) {
        if (member[0].toString().section('(', 0, 0) == name)
            return member[1].toInt(-1);
    }
    return -1;
}
