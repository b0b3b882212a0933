#include "webchannelclient.h"

#include <QFile>
#include <QJsonDocument>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

namespace {

// Method descriptions list a name twice: plain and with its signature. Both carry the index.
QString plainName(const QString &name)
{
    const int paren = name.indexOf(QLatin1Char('('));
    return paren < 0 ? name : name.left(paren);
}

} // namespace

const QString WebChannelClient::pageOrigin = QStringLiteral("file://");

WebChannelClient::WebChannelClient(const QString &origin, QObject *parent)
    : QObject(parent)
    , m_socket(origin)
{
    connect(&m_socket, &QWebSocket::textMessageReceived, this, &WebChannelClient::onTextMessage);
}

WebChannelClient::~WebChannelClient()
{
    m_socket.abort();
}

QWebSocket *WebChannelClient::socket()
{
    return &m_socket;
}

bool WebChannelClient::readPortFile(const QString &path, quint16 *port, QString *token)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    bool ok = false;
    *port = lines.value(0).toUShort(&ok);
    *token = QString::fromLatin1(lines.value(1));
    return ok && !token->isEmpty();
}

bool WebChannelClient::open(quint16 port, const QString &token, int timeout)
{
    QUrl url;
    url.setScheme(QStringLiteral("ws"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(port);
    url.setPath(QStringLiteral("/"));
    if (!token.isEmpty())
        url.setQuery(QUrlQuery{{QStringLiteral("token"), token}});
    m_socket.open(url);
    const bool settled = QTest::qWaitFor(
            [this] {
                return m_socket.state() == QAbstractSocket::ConnectedState ||
                       m_socket.state() == QAbstractSocket::UnconnectedState;
            },
            timeout);
    return settled && isConnected();
}

bool WebChannelClient::isConnected() const
{
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

bool WebChannelClient::waitForDisconnected(int timeout)
{
    return QTest::qWaitFor([this] { return m_socket.state() == QAbstractSocket::UnconnectedState; },
                           timeout);
}

bool WebChannelClient::initialize(int timeout)
{
    const int id = m_nextId++;
    send(QJsonObject{{QStringLiteral("type"), Init}, {QStringLiteral("id"), id}});
    QJsonValue data;
    if (!waitForResponse(id, &data, timeout) || !data.isObject())
        return false;
    m_objects = data.toObject();
    send(QJsonObject{{QStringLiteral("type"), Idle}});
    return true;
}

QStringList WebChannelClient::objectNames() const
{
    return m_objects.keys();
}

QJsonObject WebChannelClient::objectInfo(const QString &object) const
{
    return m_objects.value(object).toObject();
}

int WebChannelClient::methodIndex(const QString &object, const QString &method) const
{
    return memberIndex(object, QStringLiteral("methods"), method);
}

int WebChannelClient::signalIndex(const QString &object, const QString &signal) const
{
    return memberIndex(object, QStringLiteral("signals"), signal);
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
    const int index = methodIndex(object, method);
    if (index < 0) {
        qWarning("WebChannelClient: %s has no method %s", qPrintable(object), qPrintable(method));
        return -1;
    }
    const int id = m_nextId++;
    send(QJsonObject{{QStringLiteral("type"), InvokeMethod},
                     {QStringLiteral("object"), object},
                     {QStringLiteral("method"), index},
                     {QStringLiteral("args"), args},
                     {QStringLiteral("id"), id}});
    return id;
}

bool WebChannelClient::waitForResponse(int id, QJsonValue *data, int timeout)
{
    const auto findResponse = [this, id](QJsonValue *responseData) {
        for (const QJsonObject &message : qAsConst(m_messages)) {
            if (message.value(QStringLiteral("type")).toInt() == Response &&
                message.value(QStringLiteral("id")).toInt(-1) == id) {
                if (responseData)
                    *responseData = message.value(QStringLiteral("data"));
                return true;
            }
        }
        return false;
    };
    // A closed connection will not answer any more.
    const bool settled =
            QTest::qWaitFor([&] { return findResponse(nullptr) || !isConnected(); }, timeout);
    return settled && findResponse(data);
}

bool WebChannelClient::connectToSignal(const QString &object, const QString &signal)
{
    const int index = signalIndex(object, signal);
    if (index < 0)
        return false;
    send(QJsonObject{{QStringLiteral("type"), ConnectToSignal},
                     {QStringLiteral("object"), object},
                     {QStringLiteral("signal"), index}});
    return true;
}

int WebChannelClient::signalCount(const QString &object, const QString &signal) const
{
    const int index = signalIndex(object, signal);
    int count = 0;
    for (const QJsonObject &message : m_messages) {
        if (message.value(QStringLiteral("type")).toInt() == Signal &&
            message.value(QStringLiteral("object")).toString() == object &&
            message.value(QStringLiteral("signal")).toInt(-1) == index)
            ++count;
    }
    return count;
}

bool WebChannelClient::waitForSignal(const QString &object, const QString &signal, int count,
                                     int timeout)
{
    return QTest::qWaitFor([&] { return signalCount(object, signal) >= count; }, timeout);
}

void WebChannelClient::send(const QJsonObject &message)
{
    sendText(QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
}

void WebChannelClient::sendText(const QString &text)
{
    m_socket.sendTextMessage(text);
}

void WebChannelClient::sendBinary(const QByteArray &data)
{
    m_socket.sendBinaryMessage(data);
}

QStringList WebChannelClient::textMessages() const
{
    return m_texts;
}

QList<QJsonObject> WebChannelClient::messages() const
{
    return m_messages;
}

void WebChannelClient::clearMessages()
{
    m_texts.clear();
    m_messages.clear();
}

void WebChannelClient::onTextMessage(const QString &text)
{
    m_texts.append(text);
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    if (document.isObject())
        m_messages.append(document.object());
}

QJsonArray WebChannelClient::describedMembers(const QString &object, const QString &kind) const
{
    return objectInfo(object).value(kind).toArray();
}

int WebChannelClient::memberIndex(const QString &object, const QString &kind,
                                  const QString &name) const
{
    const QJsonArray members = describedMembers(object, kind);
    for (const QJsonValue &member : members) {
        const QJsonArray description = member.toArray();
        if (plainName(description.at(0).toString()) == name)
            return description.at(1).toInt(-1);
    }
    return -1;
}
