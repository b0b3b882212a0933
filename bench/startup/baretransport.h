#pragma once

#include <QWebChannelAbstractTransport>

QT_BEGIN_NAMESPACE
class QWebSocket;
QT_END_NAMESPACE

// The least a web channel needs to talk over a WebSocket: one JSON object per text message.
class BareTransport : public QWebChannelAbstractTransport
{
    Q_OBJECT

public:
    explicit BareTransport(QWebSocket *pSocket); // a child of the socket

    void sendMessage(const QJsonObject &message) override;

private:
    void receive(const QString &strMessage);

    QWebSocket *m_pSocket;
};
