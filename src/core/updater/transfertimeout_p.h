#pragma once

#include <QObject>

class QNetworkReply;

/*!
 * Ends a network reply that takes too long, so no server can keep an update check or a download
 * waiting for ever. A reply is watched either for silence (nothing received for the timeout,
 * restarted by every piece of data: a download may be long but must keep moving) or for its whole
 * duration (a small document must arrive within the timeout, so a server that drips it byte by
 * byte is ended too). An ended reply reports QNetworkReply::OperationCanceledError, and
 * timedOut() tells it apart from a cancellation.
 *
 * The timeout is 30 seconds unless the environment variable VELDRA_UPDATE_TIMEOUT_MS names
 * another number of milliseconds.
 */
class TransferTimeout : public QObject
{
    Q_OBJECT

public:
    enum Kind { Silence, WholeTransfer };

    static int defaultTimeoutMs();
    // The watcher is a child of the reply and goes with it.
    static void watch(QNetworkReply *reply, Kind kind, int timeoutMs);
    static bool timedOut(const QNetworkReply *reply);

private:
    TransferTimeout(QNetworkReply *reply, Kind kind, int timeoutMs);
    void expire();

    QNetworkReply *m_reply; // the parent
    bool m_expired = false;
};
