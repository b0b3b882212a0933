#pragma once

#include "core_global.h"

#include <QPointer>
#include <QWebChannelAbstractTransport>

QT_BEGIN_NAMESPACE
class QJsonObject;
class QString;
class QWebSocket;
QT_END_NAMESPACE

/*!
 * Carries web-channel messages over one WebSocket connection: one JSON object per text
 * message, each way. Text that is not a JSON object is logged and dropped, binary messages are
 * ignored, and the connection stays open either way.
 *
 * The transport is a child of its socket. When the socket disconnects the transport deletes
 * itself later, and its destructor schedules the socket's deletion.
 */
class CORE_EXPORT WebSocketTransport : public QWebChannelAbstractTransport
{
    Q_OBJECT

public:
    explicit WebSocketTransport(QWebSocket *socket);
    ~WebSocketTransport() override;

    void sendMessage(const QJsonObject &message) override;

private slots:
    void textMessageReceived(const QString &message);

private:
    // Guarded: when the socket is destroyed first it takes this transport with it.
    QPointer<QWebSocket> m_pSocket;
};
