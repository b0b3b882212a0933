#pragma once

#include "core_global.h"

#include <QObject>
#include <QString>

QT_BEGIN_NAMESPACE
class QWebSocketCorsAuthenticator;
class QWebSocketServer;
QT_END_NAMESPACE

class WebSocketTransport;

/*!
 * Watches a WebSocket server and wraps every connection it accepts in a WebSocketTransport,
 * announced with clientConnected() so that a QWebChannel can take it over (connectTo).
 *
 * Only local pages may drive the application: a connection whose Origin header names any web
 * origin other than the loopback ones, "null", file:// or qrc: is refused during the handshake
 * and never becomes a transport. Connections without an Origin header (native clients) are
 * accepted. Every accepted socket refuses incoming messages larger than 16 MiB.
 *
 * The wrapper owns neither the server nor the transports; the channel holds the transports.
 */
class CORE_EXPORT WebSocketClientWrapper : public QObject
{
    Q_OBJECT

public:
    static constexpr quint64 maxIncomingMessageSize = 16 * 1024 * 1024;

    explicit WebSocketClientWrapper(QWebSocketServer *server, QObject *parent = nullptr);

    // True for an empty origin (no header), "null", file:, qrc:, and http or https on
    // localhost, 127.0.0.1 or [::1] with any port.
    static bool isAllowedOrigin(const QString &strOrigin);

signals:
    void clientConnected(WebSocketTransport *client);

private slots:
    void handleNewConnection();

private:
    void authenticateOrigin(QWebSocketCorsAuthenticator *pAuthenticator);

    QWebSocketServer *m_pServer; // not owned
};
