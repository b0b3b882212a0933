#include "tst_chrome.h"

#include "imainmenuwidget.h"
#include "vdnotificationbar.h"

#include "mouseevents.h"

#include <QDesktopWidget>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionTitleBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

using namespace VeldraTest;

namespace {

const QRect normalGeometry(200, 150, 600, 400);
const QPoint titlePoint(100, 10); // inside the painted title, left of the buttons

// Records the title the title bar hands to the style, so tests can read what is painted.
class TitleRecordingStyle : public QProxyStyle
{
public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override
    {
        if (auto titleBar = qstyleoption_cast<const QStyleOptionTitleBar *>(option))
            titleBarTexts.append(titleBar->text);
        QProxyStyle::drawComplexControl(control, option, painter, widget);
    }
    void drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &palette,
                      bool enabled, const QString &text,
                      QPalette::ColorRole textRole) const override
    {
        itemTexts.append(text);
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
    }

    mutable QStringList titleBarTexts;
    mutable QStringList itemTexts;
};

QPushButton *titleButton(IMainMenuWidget *titleBar, int index)
{
    const auto buttons =
            titleBar->findChildren<QPushButton *>(QString(), Qt::FindDirectChildrenOnly);
    return buttons.value(index);
}

QPushButton *maximizeButton(IMainMenuWidget *titleBar)
{
    return titleButton(titleBar, 1);
}

bool waitForState(QWidget *window, Qt::WindowStates state)
{
    return QTest::qWaitFor([&] { return window->windowState() == state; }, 2000);
}

// Gives a queued move or state change of the window system the chance to arrive.
void settle()
{
    QTest::qWait(50);
}

} // namespace

void TestChrome::titleBarConstruction()
{
    QVERIFY(showTitleBarWindow(normalGeometry));
    QCOMPARE(m_titleBar->windowTitle(), QStringLiteral("Veldra"));
    QVERIFY(!m_titleBar->windowIcon().isNull());

    QLabel *link = m_titleBar->getUserAccountLink();
    QVERIFY(link);
    QCOMPARE(link->text(), QStringLiteral("<a href='#' style='color:#f7941d;'>Sign In</a>"));
    m_titleBar->setUserAccountLink(QStringLiteral("Ada"));
    QCOMPARE(link->text(), QStringLiteral("<a href='#' style='color:#f7941d;'>Ada</a>"));

    QStringList toolTips;
    for (int index = 0; index < 3; ++index)
        toolTips << titleButton(m_titleBar, index)->toolTip();
    QCOMPARE(toolTips, QStringList({"Minimize", "Maximize", "Close"}));
    QCOMPARE(titleButton(m_titleBar, 2)->objectName(), QStringLiteral("m_pCloseButton"));

    VDNotificationBar *bar = m_titleBar->getNotificationBar();
    QVERIFY(bar);
    QCOMPARE(bar->parentWidget(), m_titleBar.data());
    QVERIFY(!bar->isVisible());

    m_titleBar->updateMaximized(true);
    QCOMPARE(maximizeButton(m_titleBar)->toolTip(), QStringLiteral("Restore Down"));
    m_titleBar->updateMaximized(false);
    QCOMPARE(maximizeButton(m_titleBar)->toolTip(), QStringLiteral("Maximize"));
}

void TestChrome::menuBarGoesBetweenTitleRowAndNotificationBar()
{
    QVERIFY(showTitleBarWindow(normalGeometry));
    auto menuBar = new QMenuBar;
    menuBar->addMenu(QStringLiteral("File"));
    m_titleBar->setMenuBar(menuBar);

    QLayout *layout = m_titleBar->layout();
    QCOMPARE(layout->count(), 3);
    QVERIFY(layout->itemAt(0)->layout());
    QCOMPARE(layout->itemAt(1)->widget(), menuBar);
    QCOMPARE(layout->itemAt(2)->widget(), m_titleBar->getNotificationBar());
    QCOMPARE(menuBar->parentWidget(), m_titleBar.data());

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("setMenuBar"));
    m_titleBar->setMenuBar(nullptr);
    QCOMPARE(layout->count(), 3);
}

void TestChrome::paintedTitle_data()
{
    QTest::addColumn<QString>("filePath");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("painted");

    QTest::newRow("no project") << "" << false << "Veldra";
    QTest::newRow("no project, modified") << "" << true << "*Veldra";
    QTest::newRow("project") << "/home/ada/Tour.veldra" << false
                             << "/home/ada/Tour.veldra - Veldra";
    QTest::newRow("project, modified")
            << "/home/ada/Tour.veldra" << true << "*/home/ada/Tour.veldra - Veldra";
}

void TestChrome::paintedTitle()
{
    QFETCH(QString, filePath);
    QFETCH(bool, modified);
    QFETCH(QString, painted);

    QVERIFY(showTitleBarWindow(normalGeometry));
    TitleRecordingStyle style;
    m_titleBar->setStyle(&style);

    m_titleBar->updateWindowFilePath(QStringLiteral("/earlier/Other.veldra"));
    m_titleBar->updateModified(!modified);
    m_titleBar->updateWindowFilePath(filePath);
    m_titleBar->updateModified(modified);
    QCOMPARE(m_titleBar->isWindowModified(), modified);
    QCOMPARE(m_titleBar->windowTitle(), QString(painted).remove(0, modified ? 1 : 0));

    style.titleBarTexts.clear();
    style.itemTexts.clear();
    m_titleBar->grab();
    QCOMPARE(style.titleBarTexts, QStringList(painted));
    QVERIFY2(style.itemTexts.contains(painted), qPrintable(style.itemTexts.join(" | ")));
    m_titleBar->setStyle(nullptr);
}

void TestChrome::longTitleIsElided()
{
    QVERIFY(showTitleBarWindow(normalGeometry));
    TitleRecordingStyle style;
    m_titleBar->setStyle(&style);

    const QString longPath = QStringLiteral("/home/ada/") + QString(300, QLatin1Char('x')) +
                             QStringLiteral("/Tour.veldra");
    m_titleBar->updateWindowFilePath(longPath);
    m_titleBar->updateModified(true);
    m_titleBar->grab();
    m_titleBar->setStyle(nullptr);

    QCOMPARE(style.titleBarTexts.size(), 1);
    const QString painted = style.titleBarTexts.first();
    QVERIFY2(painted.startsWith(QStringLiteral("*/home/ada/xxx")), qPrintable(painted));
    QVERIFY2(painted.endsWith(QChar(0x2026)), qPrintable(painted));
    QVERIFY(QFontMetrics(m_titleBar->font()).horizontalAdvance(painted) <= m_titleBar->width());
}

void TestChrome::maximizeButtonToggles()
{
    QVERIFY(showTitleBarWindow(normalGeometry));
    QMainWindow *window = m_titleBarWindow.get();

    QTest::mouseClick(maximizeButton(m_titleBar), Qt::LeftButton);
    QVERIFY(waitForState(window, Qt::WindowMaximized));
    QTest::mouseClick(maximizeButton(m_titleBar), Qt::LeftButton);
    QVERIFY(waitForState(window, Qt::WindowNoState));
}

void TestChrome::doubleClick_data()
{
    QTest::addColumn<bool>("startMaximized");
    QTest::addColumn<int>("buttonValue");
    QTest::addColumn<bool>("toggles");

    QTest::newRow("left on normal") << false << int(Qt::LeftButton) << true;
    QTest::newRow("left on maximised") << true << int(Qt::LeftButton) << true;
    QTest::newRow("right on normal") << false << int(Qt::RightButton) << false;
    QTest::newRow("middle on normal") << false << int(Qt::MiddleButton) << false;
}

void TestChrome::doubleClick()
{
    QFETCH(bool, startMaximized);
    QFETCH(int, buttonValue);
    const auto button = static_cast<Qt::MouseButton>(buttonValue);
    QFETCH(bool, toggles);

    QVERIFY(showTitleBarWindow(normalGeometry));
    QMainWindow *window = m_titleBarWindow.get();
    if (startMaximized) {
        window->showMaximized();
        QVERIFY(waitForState(window, Qt::WindowMaximized));
    }

    QTest::mouseDClick(m_titleBar, button, Qt::NoModifier, titlePoint);
    settle();
    QCOMPARE(window->isMaximized(), startMaximized != toggles);
}

void TestChrome::dragMovesNormalWindow()
{
    QVERIFY(showTitleBarWindow(normalGeometry));
    QMainWindow *window = m_titleBarWindow.get();
    const QPoint start = window->pos();

    QTest::mousePress(m_titleBar, Qt::LeftButton, Qt::NoModifier, titlePoint);
    const QPoint press = m_titleBar->mapToGlobal(titlePoint);

    mouseMoveTo(m_titleBar, press + QPoint(37, 23), Qt::LeftButton);
    QTRY_COMPARE(window->pos(), start + QPoint(37, 23));
    // Every move is measured from the press, not from the previous move.
    mouseMoveTo(m_titleBar, press + QPoint(-15, 40), Qt::LeftButton);
    QTRY_COMPARE(window->pos(), start + QPoint(-15, 40));

    mouseReleaseAt(m_titleBar, press + QPoint(-15, 40), Qt::LeftButton);
    mouseMoveTo(m_titleBar, press + QPoint(80, 80), Qt::LeftButton);
    settle();
    QCOMPARE(window->pos(), start + QPoint(-15, 40));
}

void TestChrome::otherButtonsDoNotDrag_data()
{
    QTest::addColumn<int>("buttonValue");

    QTest::newRow("right") << int(Qt::RightButton);
    QTest::newRow("middle") << int(Qt::MiddleButton);
}

void TestChrome::otherButtonsDoNotDrag()
{
    QFETCH(int, buttonValue);
    const auto button = static_cast<Qt::MouseButton>(buttonValue);

    QVERIFY(showTitleBarWindow(normalGeometry));
    QMainWindow *window = m_titleBarWindow.get();
    const QPoint start = window->pos();
    const QPoint press = m_titleBar->mapToGlobal(titlePoint);

    mousePressAt(m_titleBar, press, button);
    mouseMoveTo(m_titleBar, press + QPoint(40, 30), button);
    settle();
    QCOMPARE(window->pos(), start);
    mouseReleaseAt(m_titleBar, press + QPoint(40, 30), button);
}

void TestChrome::maximizedDragThreshold_data()
{
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<bool>("restores");

    QTest::newRow("not moved") << QPoint(0, 0) << false;
    QTest::newRow("5 right, 5 down") << QPoint(5, 5) << false;
    QTest::newRow("5 right") << QPoint(5, 0) << false;
    QTest::newRow("5 down") << QPoint(0, 5) << false;
    QTest::newRow("far left") << QPoint(-300, 0) << false;
    QTest::newRow("far up") << QPoint(0, -120) << false;
    QTest::newRow("far left and up") << QPoint(-200, -100) << false;
    QTest::newRow("5 right, far up") << QPoint(5, -100) << false;
    QTest::newRow("6 right") << QPoint(6, 0) << true;
    QTest::newRow("6 down") << QPoint(0, 6) << true;
    QTest::newRow("6 right, far up") << QPoint(6, -100) << true;
    QTest::newRow("far left, 6 down") << QPoint(-100, 6) << true;
}

void TestChrome::maximizedDragThreshold()
{
    QFETCH(QPoint, delta);
    QFETCH(bool, restores);

    QVERIFY(showTitleBarWindow(normalGeometry));
    QMainWindow *window = m_titleBarWindow.get();
    window->showMaximized();
    QVERIFY(waitForState(window, Qt::WindowMaximized));
    m_titleBar->updateMaximized(true); // what the main window does on the state change
    const QPoint start = window->pos();

    QTest::mousePress(m_titleBar, Qt::LeftButton, Qt::NoModifier, titlePoint);
    const QPoint press = m_titleBar->mapToGlobal(titlePoint);
    mouseMoveTo(m_titleBar, press + delta, Qt::LeftButton);
    settle();

    QCOMPARE(window->windowState(), restores ? Qt::WindowNoState : Qt::WindowMaximized);
    QCOMPARE(maximizeButton(m_titleBar)->toolTip(),
             restores ? QStringLiteral("Maximize") : QStringLiteral("Restore Down"));
    // Restoring is all the move does; the window does not follow the cursor yet.
    QCOMPARE(window->pos(), start);
    mouseReleaseAt(m_titleBar, press + delta, Qt::LeftButton);
}

void TestChrome::restoredWindowIsPlacedUnderCursor_data()
{
    QTest::addColumn<int>("cursorX");
    QTest::addColumn<int>("expectedX");

    const int width = 501; // odd, so half the width is truncated
    const QRect desktop = QApplication::desktop()->geometry();
    QTest::newRow("centred") << desktop.center().x() << desktop.center().x() - width / 2;
    QTest::newRow("kept inside on the left") << desktop.x() + 50 << desktop.x();
    QTest::newRow("kept inside on the right")
            << desktop.x() + desktop.width() - 50 << desktop.x() + desktop.width() - width;
}

void TestChrome::restoredWindowIsPlacedUnderCursor()
{
    QFETCH(int, cursorX);
    QFETCH(int, expectedX);

    // The cursor is 100 pixels from the window's left edge, never where the window ends up.
    QVERIFY(showTitleBarWindow(QRect(cursorX - titlePoint.x(), 200, 501, 300)));
    QMainWindow *window = m_titleBarWindow.get();
    window->showMaximized();
    QVERIFY(waitForState(window, Qt::WindowMaximized));
    const int desktopTop = QApplication::desktop()->geometry().y();

    QTest::mousePress(m_titleBar, Qt::LeftButton, Qt::NoModifier, titlePoint);
    const QPoint press = m_titleBar->mapToGlobal(titlePoint);
    QCOMPARE(press.x(), cursorX);

    mouseMoveTo(m_titleBar, press + QPoint(0, 8), Qt::LeftButton);
    QVERIFY(waitForState(window, Qt::WindowNoState));

    mouseMoveTo(m_titleBar, press, Qt::LeftButton);
    QTRY_COMPARE(window->pos(), QPoint(expectedX, desktopTop));
    // From then on the window keeps its new offset to the cursor.
    mouseMoveTo(m_titleBar, press + QPoint(25, 40), Qt::LeftButton);
    QTRY_COMPARE(window->pos(), QPoint(expectedX + 25, desktopTop + 40));
    mouseReleaseAt(m_titleBar, press + QPoint(25, 40), Qt::LeftButton);
}

void TestChrome::contextMenu_data()
{
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("enabled"); // Restore, Minimize, Maximize, Close
    QTest::addColumn<int>("stateAfter");
    QTest::addColumn<bool>("visibleAfter");

    QTest::newRow("maximised, dismissed") << true << ""
                                          << "1101" << int(Qt::WindowMaximized) << true;
    QTest::newRow("normal, dismissed") << false << ""
                                       << "0111" << int(Qt::WindowNoState) << true;
    QTest::newRow("maximised, Restore") << true << "Restore"
                                        << "1101" << int(Qt::WindowNoState) << true;
    QTest::newRow("normal, Maximize") << false << "Maximize"
                                      << "0111" << int(Qt::WindowMaximized) << true;
    QTest::newRow("normal, Minimize") << false << "Minimize"
                                      << "0111" << int(Qt::WindowMinimized) << true;
    QTest::newRow("maximised, Close") << true << "Close"
                                      << "1101" << int(Qt::WindowMaximized) << false;
}

void TestChrome::contextMenu()
{
    QFETCH(bool, maximized);
    QFETCH(QString, trigger);
    QFETCH(QString, enabled);
    QFETCH(int, stateAfter);
    QFETCH(bool, visibleAfter);

    QVERIFY(showTitleBarWindow(normalGeometry));
    QMainWindow *window = m_titleBarWindow.get();
    if (maximized) {
        window->showMaximized();
        QVERIFY(waitForState(window, Qt::WindowMaximized));
    }

    QStringList texts;
    QString enabledSeen;
    QPoint menuPosition;
    QTimer poller;
    poller.setInterval(10);
    connect(&poller, &QTimer::timeout, [&] {
        auto menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        poller.stop();
        menuPosition = menu->pos();
        QAction *toTrigger = nullptr;
        for (QAction *action : menu->actions()) {
            texts << action->text();
            enabledSeen += QLatin1Char(action->isEnabled() ? '1' : '0');
            if (action->text() == trigger)
                toTrigger = action;
        }
        if (toTrigger)
            toTrigger->trigger();
        menu->close();
    });
    poller.start();

    const QPoint globalPos = m_titleBar->mapToGlobal(QPoint(60, 8));
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(60, 8), globalPos);
    QApplication::sendEvent(m_titleBar, &event); // returns once the menu has closed

    QCOMPARE(texts, QStringList({"Restore", "Minimize", "Maximize", "Close"}));
    QCOMPARE(enabledSeen, enabled);
    QCOMPARE(menuPosition, globalPos);
    QVERIFY(waitForState(window, Qt::WindowStates(stateAfter)));
    QCOMPARE(window->isVisible(), visibleAfter);
    QVERIFY(!QApplication::activePopupWidget());
}
