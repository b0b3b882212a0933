#include "transfertimeout_p.h"

#include <QNetworkReply>
#include <QTimer>

namespace {
const int standardTimeoutMs = 30000;
}

TransferTimeout::TransferTimeout(QNetworkReply *reply, Kind kind, int timeoutMs)
    : QObject(reply)
    , m_reply(reply)
{
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setInterval(timeoutMs);
    connect(timer, &QTimer::timeout, this, &TransferTimeout::expire);
    if (kind == Silence) {
        const auto restart = [timer] { timer->start(); };
        connect(reply, &QNetworkReply::metaDataChanged, timer, restart);
        connect(reply, &QNetworkReply::downloadProgress, timer, restart);
    }
    connect(reply, &QNetworkReply::finished, timer, &QTimer::stop);
    timer->start();
}

int TransferTimeout::defaultTimeoutMs()
{
    const QByteArray configured = qgetenv("VELDRA_UPDATE_TIMEOUT_MS");
    if (configured.isEmpty())
        return standardTimeoutMs;
    bool ok = false;
    const int timeoutMs = configured.toInt(&ok);
    if (ok && timeoutMs > 0)
        return timeoutMs;
    qWarning("VELDRA_UPDATE_TIMEOUT_MS is not a positive number of milliseconds; using %d",
             standardTimeoutMs);
    return standardTimeoutMs;
}

void TransferTimeout::watch(QNetworkReply *reply, Kind kind, int timeoutMs)
{
    new TransferTimeout(reply, kind, timeoutMs);
}

bool TransferTimeout::timedOut(const QNetworkReply *reply)
{
    const auto *watcher =
            reply->findChild<TransferTimeout *>(QString(), Qt::FindDirectChildrenOnly);
    return watcher && watcher->m_expired;
}

void TransferTimeout::expire()
{
    if (m_reply->isFinished())
        return;
    m_expired = true;
    m_reply->abort();
}
