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
 * The page's "debug" messages are logged here, shortened and escaped, instead of reaching the
 * channel, which would print them verbatim. Every text of the page that is logged goes through
 * forLog(), so a page cannot flood the log or forge lines in it.
 *
 * A client that does not read its answers is dropped: when more than maxUnsentBytes wait to be
 * written to it, the connection is aborted.
 *
 * The transport is a child of its socket. When the socket disconnects the transport deletes
 * itself later, and its destructor schedules the socket's deletion.
 */
class CORE_EXPORT WebSocketTransport : public QWebChannelAbstractTransport
{
    Q_OBJECT

public:
    static constexpr int maxLoggedLength = 200;

    explicit WebSocketTransport(QWebSocket *socket);
    ~WebSocketTransport() override;

    void sendMessage(const QJsonObject &message) override;
    void setMaxUnsentBytes(qint64 nBytes);

    // strText cut to maxLoggedLength characters ("…" marks the cut), with line breaks and every
    // other control or formatting character written as an escape such as \n or \u001b.
    static QString forLog(const QString &strText);

private slots:
    void textMessageReceived(const QString &message);

private:
    void logDebugMessage(const QJsonObject &message) const;

    // Guarded: when the socket is destroyed first it takes this transport with it.
    QPointer<QWebSocket> m_pSocket;
    qint64 m_nMaxUnsentBytes;
};
