#include "websockettransport.h"

#include <QDebug>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QWebSocket>

WebSocketTransport::WebSocketTransport(QWebSocket *socket)
    : QWebChannelAbstractTransport(socket)
    , m_pSocket(socket)
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
    if (!m_pSocket)
        return;
    const QJsonDocument document(message);
    m_pSocket->sendTextMessage(QString::fromUtf8(document.toJson(QJsonDocument::Compact)));
}

void WebSocketTransport::textMessageReceived(const QString &message)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(message.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        QMessageLogger().warning() << "Failed to parse text message as JSON object:" << message
                                   << "Error is:" << error.errorString();
        return;
    }
    if (!document.isObject()) {
        QMessageLogger().warning() << "Received JSON message that is not an object: " << message;
        return;
    }
    emit messageReceived(document.object(), this);
}
