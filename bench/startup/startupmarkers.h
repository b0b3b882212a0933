#pragma once

#include <QByteArray>
#include <QObject>
#include <QSet>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

/*!
 * Reports the moments a user waits for, each once, as lines on standard output:
 *   marker <name> <nanoseconds on CLOCK_MONOTONIC>
 * so that the benchmark's driver, which reads the same clock before it starts the program, can
 * tell how long the program took to get there. The names:
 * - "mapped": the watched top-level window is on screen (its first exposure);
 * - "bridge": a WebSocket client that was handed to a web channel (a transport made the socket
 *   its parent) has sent its first text message and the channel has answered it: the page's
 *   channel is set up;
 * - "scene": a graphics view holding items has painted them.
 * It needs nothing but Qt Widgets, so that the bare window floor links nothing else.
 */
class StartupMarkers : public QObject
{
    Q_OBJECT

public:
    explicit StartupMarkers(QObject *parent = nullptr);

    void watchWindow(QWidget *pWindow);
    void watchBridge();
    void watchFirstScene();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void onClientMessage();

private:
    void report(const char *name);
    bool isExposureOfWatchedWindow(QObject *watched, QEvent *event) const;
    static bool isPaintOfScene(QObject *watched, QEvent *event);
    void hookClient(QObject *pSocket);

    QWidget *m_pWindow = nullptr; // not owned
    bool m_bWatchBridge = false;
    bool m_bWatchScene = false;
    QSet<QByteArray> m_reported;
};
