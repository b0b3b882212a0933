#include "websocketclientwrapper.h"

#include "websockettransport.h"

#include <QRandomGenerator>
#include <QUrl>
#include <QUrlQuery>
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

QString makeSecret()
{
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    return QString::fromLatin1(
            QByteArray(reinterpret_cast<const char *>(words), sizeof(words)).toHex());
}

// Takes as long for every candidate of the right length, so the time of a refusal tells an
// attacker nothing about how much of the secret it got right.
bool equalInConstantTime(const QByteArray &candidate, const QByteArray &secret)
{
    if (candidate.size() != secret.size())
        return false;
    unsigned char difference = 0;
    for (int i = 0; i < secret.size(); ++i)
        difference |= static_cast<unsigned char>(candidate.at(i) ^ secret.at(i));
    return difference == 0;
}

// True when the request URL's query carries token=<strSecret>.
bool presentsSecret(const QUrl &requestUrl, const QString &strSecret)
{
    const QString token = QUrlQuery(requestUrl).queryItemValue(QStringLiteral("token"));
    return !strSecret.isEmpty() && equalInConstantTime(token.toUtf8(), strSecret.toUtf8());
}

} // namespace

WebSocketClientWrapper::WebSocketClientWrapper(QWebSocketServer *server, QObject *parent)
    : QObject(parent)
    , m_pServer(server)
    , m_secret(makeSecret())
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

QString WebSocketClientWrapper::secret() const
{
    return m_secret;
}

bool WebSocketClientWrapper::isAllowedOrigin(const QString &strOrigin)
{
    // Chromium, and so the web view, sends exactly "file://" for a page loaded from disk. Any
    // local file could claim it, which is why the secret, not the origin, is the real wall.
    if (strOrigin == QLatin1String("file://"))
        return true;
    const QUrl origin(strOrigin, QUrl::StrictMode);
    return origin.isValid() && isLoopbackWebOrigin(origin);
}

int WebSocketClientWrapper::connectionCount() const
{
    return m_nConnections;
}

void WebSocketClientWrapper::setMaxConnections(int nConnections)
{
    m_nMaxConnections = nConnections;
}

void WebSocketClientWrapper::setMaxUnsentBytes(qint64 nBytes)
{
    m_nMaxUnsentBytes = nBytes;
}

// Qt's handshake hook only sees the Origin, so the secret is checked here, right after the
// handshake: the socket is closed before any of its signals is connected, so none of its
// messages is ever handled.
void WebSocketClientWrapper::handleNewConnection()
{
    QWebSocket *socket = m_pServer->nextPendingConnection();
    if (!socket)
        return;
    if (!presentsSecret(socket->requestUrl(), m_secret))
        return refuse(socket, "without the secret");
    if (m_nConnections >= m_nMaxConnections)
        return refuse(socket, "beyond the connection limit");
    socket->setMaxAllowedIncomingMessageSize(maxIncomingMessageSize);
    socket->setMaxAllowedIncomingFrameSize(maxIncomingMessageSize);
    auto *transport = new WebSocketTransport(socket);
    transport->setMaxUnsentBytes(m_nMaxUnsentBytes);
    ++m_nConnections;
    connect(transport, &QObject::destroyed, this, [this] { --m_nConnections; });
    emit clientConnected(transport);
}

void WebSocketClientWrapper::refuse(QWebSocket *socket, const char *reason)
{
    qInfo("Refused a WebSocket connection %s", reason);
    socket->close(QWebSocketProtocol::CloseCodePolicyViolated);
    socket->deleteLater();
}

void WebSocketClientWrapper::authenticateOrigin(QWebSocketCorsAuthenticator *pAuthenticator)
{
    if (!pAuthenticator)
        return;
    const bool bAllowed = isAllowedOrigin(pAuthenticator->origin());
    if (!bAllowed)
        qInfo().noquote() << "Refused a WebSocket connection from origin"
                          << WebSocketTransport::forLog(pAuthenticator->origin());
    pAuthenticator->setAllowed(bAllowed);
}
