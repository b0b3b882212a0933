#include "websocketclientwrapper.h"

#include "websockettransport.h"

#include <QUrl>
#include <QWebSocket>
#include <QWebSocketCorsAuthenticator>
#include <QWebSocketServer>

namespace {

bool isLoopbackHost(const QString &host)
{
    return host == QLatin1String("localhost") || host == QLatin1String("127.0.0.1") ||
           host == QLatin1String("::1");
}

// A web origin is scheme, host and optional port; anything more is not something a browser
// sends and is refused.
bool isLoopbackWebOrigin(const QUrl &origin)
{
    const bool bWebScheme =
            origin.scheme() == QLatin1String("http") || origin.scheme() == QLatin1String("https");
    return bWebScheme && isLoopbackHost(origin.host()) && origin.userInfo().isEmpty() &&
           (origin.path().isEmpty() || origin.path() == QLatin1String("/")) && !origin.hasQuery() &&
           !origin.hasFragment();
}

} // namespace

WebSocketClientWrapper::WebSocketClientWrapper(QWebSocketServer *server, QObject *parent)
    : QObject(parent)
    , m_pServer(server)
{
    if (!m_pServer) {
        qWarning("WebSocketClientWrapper: no server to watch");
        return;
    }
    // Direct connections: the handshake reads the authenticator's verdict right after the
    // signal returns.
    connect(m_pServer, &QWebSocketServer::originAuthenticationRequired, this,
            &WebSocketClientWrapper::authenticateOrigin, Qt::DirectConnection);
    connect(m_pServer, &QWebSocketServer::newConnection, this,
            &WebSocketClientWrapper::handleNewConnection, Qt::DirectConnection);
}

bool WebSocketClientWrapper::isAllowedOrigin(const QString &strOrigin)
{
    if (strOrigin.isEmpty() || strOrigin == QLatin1String("null"))
        return true;
    const QUrl origin(strOrigin, QUrl::StrictMode);
    if (!origin.isValid())
        return false;
    if (origin.scheme() == QLatin1String("file") || origin.scheme() == QLatin1String("qrc"))
        return true;
    return isLoopbackWebOrigin(origin);
}

void WebSocketClientWrapper::handleNewConnection()
{
    QWebSocket *socket = m_pServer->nextPendingConnection();
    if (!socket)
        return;
    socket->setMaxAllowedIncomingMessageSize(maxIncomingMessageSize);
    socket->setMaxAllowedIncomingFrameSize(maxIncomingMessageSize);
    emit clientConnected(new WebSocketTransport(socket));
}

void WebSocketClientWrapper::authenticateOrigin(QWebSocketCorsAuthenticator *pAuthenticator)
{
    if (!pAuthenticator)
        return;
    const bool bAllowed = isAllowedOrigin(pAuthenticator->origin());
    if (!bAllowed)
        qInfo().noquote() << "Refused a WebSocket connection from origin"
                          << pAuthenticator->origin();
    pAuthenticator->setAllowed(bAllowed);
}
