#include "welcomewidget.h"

#include "icore.h"
#include "ithemesmanager.h"
#include "mainwindow.h"
#include "welcomeview.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QVBoxLayout>

WelcomeWidget::WelcomeWidget(QAbstractScrollArea *pArea, quint16 nPort, const QString &strSecret)
    : QWidget(pArea ? pArea->viewport() : nullptr)
    , m_nPort(nPort)
    , m_secret(strSecret)
{
    setObjectName(QStringLiteral("m_pWelcomeWidget"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (parentWidget()) {
        parentWidget()->installEventFilter(this);
        coverViewport();
    } else {
        qWarning("WelcomeWidget: no MDI area to show the welcome page in");
    }
}

WelcomeView *WelcomeWidget::view() const
{
    return m_pView;
}

bool WelcomeWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        coverViewport();
    return QWidget::eventFilter(watched, event);
}

// Painting means the widget is on screen. The view is made from the event loop, after whatever
// was already queued there, such as opening the projects named on the command line, which hides
// this widget again.
void WelcomeWidget::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (m_pView || m_bViewRequested)
        return;
    m_bViewRequested = true;
    QMetaObject::invokeMethod(this, &WelcomeWidget::createViewIfShown, Qt::QueuedConnection);
}

void WelcomeWidget::createViewIfShown()
{
    m_bViewRequested = false;
    if (m_pView || !isVisible())
        return;
    m_pView = new WelcomeView(this);
    // Files dropped on the page open as they do when dropped anywhere else in the window.
    if (MainWindow *mainWindow = ICore::getMainWindow())
        m_pView->installEventFilter(mainWindow);
    layout()->addWidget(m_pView);
    m_pView->show();
    m_pView->loadPage(m_nPort, IThemesManager::getInstance().getCurrentThemeId(), m_secret);
}

void WelcomeWidget::coverViewport()
{
    setGeometry(parentWidget()->rect());
}
