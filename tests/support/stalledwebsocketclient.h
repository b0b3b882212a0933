#pragma once

#include <QTcpSocket>

// A WebSocket client that completes the handshake and then never reads again, like a page that
// asks and asks but never takes its answers: what the server sends piles up in the kernel's
// buffers and then in the server's own.
class StalledWebSocketClient
{
public:
    // Sends the handshake with the page's origin and waits until the answer starts to arrive.
    bool open(quint16 port, const QString &token, int timeout = 5000);
    // Writes one short masked text frame, as a client must; false once the connection is gone.
    // Not reading, the socket cannot see the server close it: only such a write fails.
    bool sendText(const QByteArray &text);

private:
    QTcpSocket m_socket;
};
