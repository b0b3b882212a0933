#pragma once

#include "welcome_global.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class QAbstractScrollArea;
class WelcomeView;

/*!
 * The welcome widget the main window shows while no project is open. It lies on the viewport of
 * the MDI area and always covers it; the web view with the welcome page goes inside it.
 *
 * The web view, and with it QtWebEngine and its helper processes, is made only when this widget
 * is first painted: shown, with the main window on screen. A project opened from the command line
 * or from the recent-projects list hides the widget before it ever paints, so the web engine does
 * not start for a page nobody sees. Made once, the view stays; it is made again only if it was
 * destroyed.
 */
class WELCOME_EXPORT WelcomeWidget : public QWidget
{
    Q_OBJECT

public:
    // The page connects to the main window's WebSocket server at nPort with strSecret.
    WelcomeWidget(QAbstractScrollArea *pArea, quint16 nPort, const QString &strSecret);

    // The web view; null until the widget was first painted.
    WelcomeView *view() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void createViewIfShown();
    void coverViewport();

    QPointer<WelcomeView> m_pView; // child
    const quint16 m_nPort;
    const QString m_secret;
    bool m_bViewRequested = false;
};
