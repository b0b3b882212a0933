#include "webchannelclient.h"

#include <QFile>
#include <QJsonDocument>
#include <QTest>
#include <QUrlQuery>

#include <algorithm>

namespace {
enum Type { Signal = 1, Init = 3, Idle = 4, InvokeMethod = 6, ConnectToSignal = 7, Response = 10 };
}

const QString WebChannelClient::pageOrigin = QStringLiteral("file://");

WebChannelClient::WebChannelClient(const QString &origin)
    : m_socket(origin)
{
    connect(&m_socket, &QWebSocket::textMessageReceived, this, [this](const QString &text) {
        m_texts.append(text);
        const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
        if (document.isObject())
            m_messages.append(document.object());
    });
}

bool WebChannelClient::readPortFile(const QString &path, quint16 *port, QString *token)
{
    QFile file(path);
    const QList<QByteArray> lines =
            file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>();
    bool ok = false;
    *port = lines.value(0).toUShort(&ok);
    *token = QString::fromLatin1(lines.value(1));
    return ok && !token->isEmpty();
}

bool WebChannelClient::open(quint16 port, const QString &token, int timeout)
{
    QUrl url(QStringLiteral("ws://127.0.0.1/"));
    url.setPort(port);
    if (!token.isEmpty())
        url.setQuery(QUrlQuery{{QStringLiteral("token"), token}});
    m_socket.open(url);
    const auto settled = [this] {
        return isConnected() || m_socket.state() == QAbstractSocket::UnconnectedState;
    };
    return QTest::qWaitFor(settled, timeout) && isConnected();
}

bool WebChannelClient::waitForDisconnected(int timeout)
{
    return QTest::qWaitFor([this] { return m_socket.state() == QAbstractSocket::UnconnectedState; },
                           timeout);
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

QJsonValue WebChannelClient::invoke(const QString &object, const QString &method,
                                    const QJsonArray &args, bool *ok, int timeout)
{
    QJsonValue data(QJsonValue::Undefined);
    const int id = sendInvoke(object, method, args);
    const bool answered = id >= 0 && waitForResponse(id, &data, timeout);
    if (ok)
        *ok = answered;
    return data;
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

bool WebChannelClient::waitForResponse(int id, QJsonValue *data, int timeout)
{
    const QJsonObject response{{"type", Response}, {"id", id}};
    // A closed connection will not answer any more.
    if (!QTest::qWaitFor([&] { return countMessages(response) > 0 || !isConnected(); }, timeout))
        return false;
    const auto found =
            std::find_if(m_messages.begin(), m_messages.end(), [&](const QJsonObject &m) {
                return m["type"] == Response && m["id"] == id;
            });
    if (found != m_messages.end() && data)
        *data = (*found)["data"];
    return found != m_messages.end();
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
    const QJsonObject fields{{"type", Signal},
                             {"object", object},
                             {"signal", memberIndex(object, "signals", signal)}};
    return QTest::qWaitFor([&] { return countMessages(fields) >= count; }, timeout);
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

// The messages that carry every one of the fields.
int WebChannelClient::countMessages(const QJsonObject &fields) const
{
    return int(std::count_if(m_messages.begin(), m_messages.end(), [&](const QJsonObject &message) {
        for (auto field = fields.begin(); field != fields.end(); ++field) {
            if (message[field.key()] != field.value())
                return false;
        }
        return true;
    }));
}
