#include "stalledwebsocketclient.h"

#include <QTest>
#include <QUrl>

bool StalledWebSocketClient::open(quint16 port, const QString &token, int timeout)
{
    // With a read buffer of one byte the socket stops taking data once it holds the first one.
    m_socket.setReadBufferSize(1);
    m_socket.connectToHost("127.0.0.1", port);
    if (!m_socket.waitForConnected(timeout))
        return false;
    m_socket.write("GET /?token=" + QUrl::toPercentEncoding(token) +
                   " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
                   "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                   "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n"
                   "Origin: file://\r\n\r\n");
    return QTest::qWaitFor([this] { return m_socket.bytesAvailable() > 0; }, timeout);
}

bool StalledWebSocketClient::sendText(const QByteArray &text)
{
    Q_ASSERT(text.size() < 126); // a single length byte
    const char mask[4] = {0x11, 0x22, 0x33, 0x44};
    QByteArray frame = QByteArray("\x81") + char(0x80 | text.size()) + QByteArray(mask, 4);
    for (int i = 0; i < text.size(); ++i)
        frame += char(text.at(i) ^ mask[i % 4]);
    m_socket.write(frame);
    return m_socket.state() == QAbstractSocket::ConnectedState;
}
