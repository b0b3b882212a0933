#include "websockettransport.h"

#include "websocketclientwrapper.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QWebSocket>

namespace {

// The web channel's message types this transport looks at.
constexpr int initMessageType = 3;
constexpr int debugMessageType = 5; // a page's log line, which the channel would print verbatim
constexpr int invokeMessageType = 6;

// The channel logs a message it cannot handle whole, or its object name, as it came; such
// messages are logged here, shortened and escaped, instead. Object names are short.
bool channelCanHandle(const QJsonObject &message)
{
    const QJsonValue type = message.value(QStringLiteral("type"));
    const bool bNeedsId = type.toInt() == initMessageType || type.toInt() == invokeMessageType;
    return type.isDouble() && (!bNeedsId || message.contains(QStringLiteral("id"))) &&
           message.value(QStringLiteral("object")).toString().size() <=
                   WebSocketTransport::maxLoggedLength;
}

QString escaped(QChar ch)
{
    switch (ch.unicode()) {
    case '\n':
        return QStringLiteral("\\n");
    case '\r':
        return QStringLiteral("\\r");
    case '\t':
        return QStringLiteral("\\t");
    default:
        return QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QLatin1Char('0'));
    }
}

bool needsEscape(QChar ch)
{
    switch (ch.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

} // namespace

WebSocketTransport::WebSocketTransport(QWebSocket *socket)
    : QWebChannelAbstractTransport(socket)
    , m_pSocket(socket)
    , m_nMaxUnsentBytes(WebSocketClientWrapper::defaultMaxUnsentBytes)
{
    if (!m_pSocket) {
        qWarning("WebSocketTransport: no socket to carry the messages");
        return;
    }
    connect(m_pSocket, &QWebSocket::textMessageReceived, this,
            &WebSocketTransport::textMessageReceived);
    connect(m_pSocket, &QWebSocket::disconnected, this, &WebSocketTransport::deleteLater);
}

WebSocketTransport::~WebSocketTransport()
{
    if (m_pSocket)
        m_pSocket->deleteLater();
}

void WebSocketTransport::sendMessage(const QJsonObject &message)
{
    if (!m_pSocket || m_pSocket->state() != QAbstractSocket::ConnectedState)
        return;
    const QJsonDocument document(message);
    m_pSocket->sendTextMessage(QString::fromUtf8(document.toJson(QJsonDocument::Compact)));
    if (m_pSocket->bytesToWrite() > m_nMaxUnsentBytes) {
        qInfo("Dropped a WebSocket client that does not read its answers");
        m_pSocket->abort();
        deleteLater();
    }
}

void WebSocketTransport::setMaxUnsentBytes(qint64 nBytes)
{
    m_nMaxUnsentBytes = nBytes;
}

QString WebSocketTransport::forLog(const QString &strText)
{
    const bool bCut = strText.size() > maxLoggedLength;
    QString result;
    for (QChar ch : strText.leftRef(maxLoggedLength))
        result += needsEscape(ch) ? escaped(ch) : QString(ch);
    return bCut ? result + QChar(0x2026) : result;
}

void WebSocketTransport::textMessageReceived(const QString &message)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(message.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        QMessageLogger().warning().noquote()
                << "Failed to parse text message as JSON object:" << forLog(message)
                << "Error is:" << error.errorString();
        return;
    }
    if (!document.isObject()) {
        QMessageLogger().warning().noquote()
                << "Received JSON message that is not an object: " << forLog(message);
        return;
    }
    const QJsonObject object = document.object();
    if (!channelCanHandle(object)) {
        QMessageLogger().warning().noquote()
                << "Received a web channel message without a type, id or known object:"
                << forLog(message);
        return;
    }
    if (object.value(QStringLiteral("type")).toInt() == debugMessageType)
        return logDebugMessage(object);
    emit messageReceived(object, this);
}

void WebSocketTransport::logDebugMessage(const QJsonObject &message) const
{
    const QJsonValue data = message.value(QStringLiteral("data"));
    QString text = data.toString();
    if (!data.isString()) {
        // A document cannot hold a bare value: wrap it in an array and take the brackets off.
        const QByteArray json = QJsonDocument(QJsonArray{data}).toJson(QJsonDocument::Compact);
        text = QString::fromUtf8(json.mid(1, json.size() - 2));
    }
    QMessageLogger().debug().noquote() << "Welcome page:" << forLog(text);
}
