#pragma once

#include <QTcpSocket>

/*!
 * A WebSocket client that completes the handshake and then never reads again, like a page that
 * asks and asks but never takes its answers: what the server sends piles up in the kernel's
 * buffers and then in the server's own.
 */
class StalledWebSocketClient
{
public:
    // Sends the handshake for ws://127.0.0.1:<port>/?token=<token> with the page's origin and
    // waits until the answer starts to arrive.
    bool open(quint16 port, const QString &token, int timeout = 5000);
    // Writes one masked text frame, as a client must.
    void sendText(const QByteArray &text);
    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    // Not reading, the socket cannot see the server close the connection; only a write into the
    // closed connection fails. Keeps writing idle notices until one does.
    bool waitForDrop(int timeout = 10000);

private:
    QTcpSocket m_socket;
};
