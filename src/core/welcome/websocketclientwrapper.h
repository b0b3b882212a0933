#pragma once

#include "core_global.h"

#include <QObject>
#include <QString>

QT_BEGIN_NAMESPACE
class QWebSocket;
class QWebSocketCorsAuthenticator;
class QWebSocketServer;
QT_END_NAMESPACE

class WebSocketTransport;

/*!
 * Watches a WebSocket server and wraps every connection it accepts in a WebSocketTransport,
 * announced with clientConnected() so that a QWebChannel can take it over (connectTo).
 *
 * Only the application's own page may drive the application. Two walls keep others out:
 * - a per-run secret of 128 random bits from the system's CSPRNG, which every connection must
 *   present in its request URL ("ws://127.0.0.1:PORT/?token=SECRET"); the welcome view hands it
 *   to its page, scripts read it from the port file. A connection without it is closed before
 *   any of its messages is handled.
 * - the Origin header, checked during the handshake: only file:// (the page loaded from disk)
 *   and http or https on a loopback host pass; "null" (sandboxed frames, opaque origins), an
 *   empty or missing Origin, qrc: and every foreign web origin are refused.
 *
 * At most maxConnections clients are served at once; a further one is closed at once. Every
 * accepted socket refuses incoming messages larger than 16 MiB, and its transport drops the
 * client when more than maxUnsentBytes of answers wait to be sent.
 *
 * The wrapper owns neither the server nor the transports; the channel holds the transports.
 */
class CORE_EXPORT WebSocketClientWrapper : public QObject
{
    Q_OBJECT

public:
    static constexpr quint64 maxIncomingMessageSize = 16 * 1024 * 1024;
    static constexpr int defaultMaxConnections = 8;
    static constexpr qint64 defaultMaxUnsentBytes = 16 * 1024 * 1024;

    explicit WebSocketClientWrapper(QWebSocketServer *server, QObject *parent = nullptr);

    // The secret of this run: 32 lowercase hex digits.
    QString secret() const;

    // True for file:// and for http or https on localhost, 127.0.0.1 or [::1] with any port.
    static bool isAllowedOrigin(const QString &strOrigin);

    int connectionCount() const;
    void setMaxConnections(int nConnections);
    void setMaxUnsentBytes(qint64 nBytes);

signals:
    void clientConnected(WebSocketTransport *client);

private slots:
    void handleNewConnection();

private:
    void authenticateOrigin(QWebSocketCorsAuthenticator *pAuthenticator);
    void refuse(QWebSocket *socket, const char *reason);

    QWebSocketServer *m_pServer; // not owned
    const QString m_secret;
    int m_nConnections = 0;
    int m_nMaxConnections = defaultMaxConnections;
    qint64 m_nMaxUnsentBytes = defaultMaxUnsentBytes;
};
