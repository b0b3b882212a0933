#include "startupmarkers.h"

#include <QApplication>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>

StartupMarkers::StartupMarkers(QObject *parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

void StartupMarkers::watchWindow(QWidget *pWindow)
{
    m_pWindow = pWindow;
}

void StartupMarkers::watchBridge()
{
    m_bWatchBridge = true;
}

void StartupMarkers::watchFirstScene()
{
    m_bWatchScene = true;
}

bool StartupMarkers::eventFilter(QObject *watched, QEvent *event)
{
    if (isExposureOfWatchedWindow(watched, event))
        report("mapped");
    // The sockets a server hands out have no parent; their transports are their children.
    if (m_bWatchBridge && event->type() == QEvent::ChildAdded) {
        if (watched->inherits("QWebSocket"))
            hookClient(watched);
    }
    // Reported once the paint is done, from the event loop.
    if (m_bWatchScene && isPaintOfScene(watched, event)) {
        m_bWatchScene = false;
        QTimer::singleShot(0, this, [this] { report("scene"); });
    }
    return QObject::eventFilter(watched, event);
}

void StartupMarkers::report(const char *name)
{
    if (m_reported.contains(name))
        return;
    m_reported.insert(name);
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("marker %s %lld\n", name,
                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stdout);
}

bool StartupMarkers::isExposureOfWatchedWindow(QObject *watched, QEvent *event) const
{
    if (event->type() != QEvent::Expose || !m_pWindow || watched != m_pWindow->windowHandle())
        return false;
    return static_cast<QWindow *>(watched)->isExposed();
}

bool StartupMarkers::isPaintOfScene(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Paint)
        return false;
    const auto *view = qobject_cast<QGraphicsView *>(watched->parent());
    return view && view->viewport() == watched && view->scene() &&
           !view->scene()->items().isEmpty();
}

// Queued, the report comes after the transport and the channel have handled the message. The
// signal is reached by name, so that this needs no Qt WebSockets.
void StartupMarkers::hookClient(QObject *pSocket)
{
    if (pSocket->property("startupMarkersHooked").toBool())
        return;
    pSocket->setProperty("startupMarkersHooked", true);
    connect(pSocket, SIGNAL(textMessageReceived(QString)), this, SLOT(onClientMessage()),
            Qt::QueuedConnection);
}

void StartupMarkers::onClientMessage()
{
    report("bridge");
}
