#include "baretransport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QWebSocket>

BareTransport::BareTransport(QWebSocket *pSocket)
    : QWebChannelAbstractTransport(pSocket)
    , m_pSocket(pSocket)
{
    connect(pSocket, &QWebSocket::textMessageReceived, this, &BareTransport::receive);
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
