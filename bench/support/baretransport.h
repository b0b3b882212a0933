#pragma once

#include <QWebChannelAbstractTransport>

QT_BEGIN_NAMESPACE
class QWebSocket;
QT_END_NAMESPACE

/*!
 * The least a web channel needs over a WebSocket: one compact JSON object per text message each
 * way, nothing checked. The floor the application's own transport is measured against.
 */
class BareTransport : public QWebChannelAbstractTransport
{
    Q_OBJECT

public:
    explicit BareTransport(QWebSocket *socket); // a child of the socket

    void sendMessage(const QJsonObject &message) override;

private:
    void receive(const QString &strMessage);

    QWebSocket *m_pSocket;
};
