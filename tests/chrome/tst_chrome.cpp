#include "tst_chrome.h"

#include "imainmenuwidget.h"
#include "ishadowborderframe.h"
#include "iui.h"

#include "testmain.h"

#include <QMainWindow>

namespace {

bool showAndSettle(QWidget *window, const QRect &geometry)
{
    window->show();
    return QTest::qWaitForWindowExposed(window) &&
           QTest::qWaitFor([&] { return window->geometry() == geometry; }, 2000);
}

} // namespace

void TestChrome::init()
{
    QApplication::setActiveWindow(nullptr);
}

void TestChrome::cleanup()
{
    m_strips.clear();
    m_framedWindow.reset();
    m_titleBarWindow.reset();
}

bool TestChrome::showTitleBarWindow(const QRect &geometry)
{
    m_titleBarWindow = std::make_unique<QMainWindow>(nullptr, Qt::FramelessWindowHint);
    m_titleBar = new IMainMenuWidget(m_titleBarWindow.get(), QStringLiteral("Veldra"),
                                     IUi::getIcon(QStringLiteral("icon"), IUi::NoSize));
    m_titleBarWindow->setMenuWidget(m_titleBar);
    m_titleBarWindow->setCentralWidget(new QWidget);
    m_titleBarWindow->setGeometry(geometry);
    return showAndSettle(m_titleBarWindow.get(), geometry);
}

bool TestChrome::showFramedWindow(const QRect &geometry, bool bActive)
{
    m_framedWindow = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
    m_framedWindow->setMinimumSize(200, 150);
    m_framedWindow->setGeometry(geometry);
    for (int position = IShadowBorderFrame::Top; position <= IShadowBorderFrame::Bottom; ++position)
        m_strips.append(new IShadowBorderFrame(m_framedWindow.get(), position));
    if (!showAndSettle(m_framedWindow.get(), geometry))
        return false;

    for (IShadowBorderFrame *frame : qAsConst(m_strips)) {
        frame->updateBorder(bActive);
        if (!showAndSettle(frame, frame->geometry()))
            return false;
    }
    return true;
}

IShadowBorderFrame *TestChrome::strip(int position) const
{
    return m_strips.value(position);
}

VELDRA_TEST_MAIN(TestChrome)
