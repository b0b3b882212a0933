#include "baretransport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QWebSocket>

BareTransport::BareTransport(QWebSocket *socket)
    : QWebChannelAbstractTransport(socket)
    , m_pSocket(socket)
{
    connect(socket, &QWebSocket::textMessageReceived, this, &BareTransport::receive);
}

void BareTransport::sendMessage(const QJsonObject &message)
{
    m_pSocket->sendTextMessage(
            QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
}

void BareTransport::receive(const QString &strMessage)
{
    emit messageReceived(QJsonDocument::fromJson(strMessage.toUtf8()).object(), this);
}
