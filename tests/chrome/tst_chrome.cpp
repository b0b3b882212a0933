#include "eventfilter.h"
#include "imainmenuwidget.h"
#include "ishadowborderframe.h"
#include "iui.h"
#include "vdnotificationbar.h"

#include "mouseevents.h"
#include "testmain.h"

#include <QDesktopWidget>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>

#include <memory>

using namespace VeldraTest;

namespace {

bool showAndSettle(QWidget *window, const QRect &geometry)
{
    window->show();
    return QTest::qWaitForWindowExposed(window) &&
           QTest::qWaitFor([&] { return window->geometry() == geometry; }, 2000);
}

const QRect normalGeometry(200, 150, 600, 400);
const QPoint titlePoint(100, 10); // inside the painted title, left of the buttons

// Right edge at x = 699, bottom edge at y = 549; minimum size 200 x 150 (see showFramedWindow).
// The strips' middle lines are y = 245 (Top), x = 295 (Left), x = 703 (Right), y = 553 (Bottom).
const QRect windowGeometry(300, 250, 400, 300);
const int Top = IShadowBorderFrame::Top;
const int Left = IShadowBorderFrame::Left;
const int Right = IShadowBorderFrame::Right;
const int Bottom = IShadowBorderFrame::Bottom;

// What pressing in a zone shows, and where a drag from there to target puts the window.
struct ZoneDrag
{
    Qt::CursorShape cursor;
    QPoint target;
    QRect geometry;
};

} // namespace

Q_DECLARE_METATYPE(ZoneDrag)

// Real widgets under Xvfb, which has no window manager: moves and resizes are applied as asked,
// but reach the widgets asynchronously.
class TestChrome : public QObject
{
    Q_OBJECT

private slots:
    void init() { QApplication::setActiveWindow(nullptr); }
    void cleanup()
    {
        m_strips.clear();
        m_framedWindow.reset();
        m_titleBarWindow.reset();
    }

    void titleBarConstruction()
    {
        QVERIFY(showTitleBarWindow(normalGeometry));
        QCOMPARE(m_titleBar->getUserAccountLink()->text(),
                 QStringLiteral("<a href='#' style='color:#f7941d;'>Sign In</a>"));
        QCOMPARE(toolTips(), QStringList({"Minimize", "Maximize", "Close"}));
        QCOMPARE(titleButton(2)->objectName(), QStringLiteral("m_pCloseButton"));
        m_titleBar->updateMaximized(true);
        QCOMPARE(toolTips().at(1), QStringLiteral("Restore Down"));
        // A theme's text colour colours the glyphs, also the one that changes with the state.
        m_titleBar->setStyleSheet(QStringLiteral("IMainMenuWidget { color: #123456; }"));
        m_titleBar->updateMaximized(false);
        QCOMPARE(toolTips().at(1), QStringLiteral("Maximize"));
        for (int i = 0; i < 3; ++i) {
            const QImage glyph = titleButton(i)->icon().pixmap(16).toImage();
            QColor solid(Qt::transparent); // the glyphs' edges are smoothed: the most opaque
            for (int pixel = 0; pixel < 256; ++pixel) {
                if (glyph.pixelColor(pixel % 16, pixel / 16).alpha() > solid.alpha())
                    solid = glyph.pixelColor(pixel % 16, pixel / 16);
            }
            QCOMPARE(solid.name(), QStringLiteral("#123456"));
        }

        // The menu bar goes between the title row and the notification bar.
        VDNotificationBar *bar = m_titleBar->getNotificationBar();
        QVERIFY(bar && bar->parentWidget() == m_titleBar && !bar->isVisible());
        auto menuBar = new QMenuBar;
        m_titleBar->setMenuBar(menuBar);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("setMenuBar"));
        m_titleBar->setMenuBar(nullptr);
        QLayout *layout = m_titleBar->layout();
        QCOMPARE(layout->count(), 3);
        QCOMPARE(layout->contentsMargins(), QMargins());
        QCOMPARE(layout->itemAt(1)->widget(), menuBar);
        QCOMPARE(layout->itemAt(2)->widget(), bar);
    }

    void windowCommands_data()
    {
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<QString>("input"); // "button <index>", "double <button>", "menu <action>"
        QTest::addColumn<int>("stateAfter");
        QTest::addColumn<bool>("visibleAfter");
        const int normal = Qt::WindowNoState;
        const int maximized = Qt::WindowMaximized;
        const int minimized = Qt::WindowMinimized;
        QTest::newRow("Maximize button") << false << "button 1" << maximized << true;
        QTest::newRow("Close button") << false << "button 2" << normal << false;
        QTest::newRow("left double-click") << false << "double left" << maximized << true;
        QTest::newRow("left double-click, maximised") << true << "double left" << normal << true;
        QTest::newRow("right double-click") << false << "double right" << normal << true;
        QTest::newRow("menu Restore") << true << "menu Restore" << normal << true;
        QTest::newRow("menu Maximize") << false << "menu Maximize" << maximized << true;
        QTest::newRow("menu Minimize") << false << "menu Minimize" << minimized << true;
        QTest::newRow("Minimize button") << false << "button 0" << minimized << true;
        QTest::newRow("menu Close, maximised") << true << "menu Close" << maximized << false;
    }

    void windowCommands()
    {
        QFETCH(bool, maximized);
        QFETCH(QString, input);
        QFETCH(int, stateAfter);
        QFETCH(bool, visibleAfter);

        QVERIFY(showTitleBarWindow(normalGeometry, maximized));
        const QString kind = input.section(' ', 0, 0);
        const QString what = input.section(' ', 1);
        if (kind == "button") {
            QTest::mouseClick(titleButton(what.toInt()), Qt::LeftButton);
        } else if (kind == "double") {
            const auto button = what == "left" ? Qt::LeftButton : Qt::RightButton;
            QTest::mouseDClick(m_titleBar, button, Qt::NoModifier, titlePoint);
        } else {
            const QPoint pos(60, 8);
            QStringList texts;
            QString enabled; // one '1' or '0' per action
            QTimer::singleShot(0, [&] {
                auto menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                if (!menu)
                    return;
                for (QAction *action : menu->actions()) {
                    texts << action->text();
                    enabled += action->isEnabled() ? '1' : '0';
                    if (action->text() == what)
                        action->trigger();
                }
                menu->close();
            });
            QContextMenuEvent event(QContextMenuEvent::Mouse, pos, m_titleBar->mapToGlobal(pos));
            QApplication::sendEvent(m_titleBar, &event); // returns once the menu has closed
            QCOMPARE(texts, QStringList({"Restore", "Minimize", "Maximize", "Close"}));
            QCOMPARE(enabled, QString(maximized ? "1101" : "0111"));
        }
        QTest::qWait(50);
        QTRY_COMPARE(int(m_titleBarWindow->windowState()), stateAfter);
        QCOMPARE(m_titleBarWindow->isVisible(), visibleAfter);
    }

    void maximizedDrag_data()
    {
        QTest::addColumn<QPoint>("delta");
        QTest::addColumn<int>("cursorX");
        QTest::addColumn<int>("placedX"); // -1: the window stays maximised

        const int width = 501; // odd, so half the width is truncated
        const QRect desktop = QApplication::desktop()->geometry();
        const int centre = desktop.center().x();
        // clang-format off
        QTest::newRow("5 right, 5 down") << QPoint(5, 5) << centre << -1;
        QTest::newRow("far left") << QPoint(-300, 0) << centre << -1;
        QTest::newRow("6 right, centred") << QPoint(6, 0) << centre << centre - width / 2;
        QTest::newRow("6 down, inside on the left") << QPoint(0, 6) << desktop.x() + 50 << desktop.x();
        QTest::newRow("6 down, inside on the right")
                << QPoint(-100, 6) << desktop.right() - 49 << desktop.x() + desktop.width() - width;
        // clang-format on
    }

    void maximizedDrag()
    {
        QFETCH(QPoint, delta);
        QFETCH(int, cursorX);
        QFETCH(int, placedX);
        const bool restores = placedX != -1;

        // The cursor is 100 pixels from the window's left edge, never where the window ends up.
        QVERIFY(showTitleBarWindow(QRect(cursorX - titlePoint.x(), 200, 501, 300), true));
        const QPoint start = m_titleBarWindow->pos();
        const QPoint press = m_titleBar->mapToGlobal(titlePoint);
        QCOMPARE(press.x(), cursorX);
        mousePressAt(m_titleBar, press, Qt::LeftButton);
        mouseMoveTo(m_titleBar, press + delta, Qt::LeftButton);
        QTest::qWait(50);
        QCOMPARE(m_titleBarWindow->isMaximized(), !restores);
        QCOMPARE(toolTips().at(1), restores ? QStringLiteral("Maximize") : "Restore Down");
        // Restoring is all that move does; the window does not follow the cursor yet.
        QCOMPARE(m_titleBarWindow->pos(), start);
        if (!restores)
            return;

        const int desktopTop = QApplication::desktop()->geometry().y();
        mouseMoveTo(m_titleBar, press, Qt::LeftButton);
        QTRY_COMPARE(m_titleBarWindow->pos(), QPoint(placedX, desktopTop));
        // From then on the window keeps its new offset to the cursor.
        mouseMoveTo(m_titleBar, press + QPoint(25, 40), Qt::LeftButton);
        QTRY_COMPARE(m_titleBarWindow->pos(), QPoint(placedX + 25, desktopTop + 40));
    }

    void dragThroughZone_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QPoint>("press"); // global
        QTest::addColumn<ZoneDrag>("zone");

        // The window's minimum size holds a right or bottom edge; the strip holds the others.
        // clang-format off
        QTest::newRow("Top, first pixel") << Top << QPoint(292, 245) << ZoneDrag{Qt::SizeFDiagCursor, {250, 220}, {250, 220, 450, 330}};
        QTest::newRow("Top, 20 from start") << Top << QPoint(312, 245) << ZoneDrag{Qt::SizeFDiagCursor, {650, 500}, {499, 399, 201, 151}};
        QTest::newRow("Top, 21 from start") << Top << QPoint(313, 245) << ZoneDrag{Qt::SizeVerCursor, {500, 500}, {300, 399, 400, 151}};
        QTest::newRow("Top, 21 from end") << Top << QPoint(686, 245) << ZoneDrag{Qt::SizeVerCursor, {500, 200}, {300, 200, 400, 350}};
        QTest::newRow("Top, 20 from end") << Top << QPoint(687, 245) << ZoneDrag{Qt::SizeBDiagCursor, {750, 230}, {300, 230, 451, 320}};
        QTest::newRow("Top, last pixel") << Top << QPoint(707, 245) << ZoneDrag{Qt::SizeBDiagCursor, {750, 500}, {300, 399, 451, 151}};
        QTest::newRow("Left, first pixel") << Left << QPoint(295, 242) << ZoneDrag{Qt::SizeFDiagCursor, {250, 220}, {250, 220, 450, 330}};
        QTest::newRow("Left, middle") << Left << QPoint(295, 392) << ZoneDrag{Qt::SizeHorCursor, {600, 400}, {499, 250, 201, 300}};
        QTest::newRow("Left, 20 from end") << Left << QPoint(295, 537) << ZoneDrag{Qt::SizeBDiagCursor, {280, 620}, {280, 250, 420, 371}};
        QTest::newRow("Right, first pixel") << Right << QPoint(703, 242) << ZoneDrag{Qt::SizeBDiagCursor, {750, 230}, {300, 230, 451, 320}};
        QTest::newRow("Right, middle") << Right << QPoint(703, 392) << ZoneDrag{Qt::SizeHorCursor, {800, 400}, {300, 250, 501, 300}};
        QTest::newRow("Right, dragged far left") << Right << QPoint(703, 392) << ZoneDrag{Qt::SizeHorCursor, {350, 400}, {300, 250, 200, 300}};
        QTest::newRow("Right, last pixel") << Right << QPoint(703, 557) << ZoneDrag{Qt::SizeFDiagCursor, {720, 600}, {300, 250, 421, 351}};
        QTest::newRow("Bottom, first pixel") << Bottom << QPoint(292, 553) << ZoneDrag{Qt::SizeBDiagCursor, {280, 620}, {280, 250, 420, 371}};
        QTest::newRow("Bottom, middle") << Bottom << QPoint(492, 553) << ZoneDrag{Qt::SizeVerCursor, {500, 600}, {300, 250, 400, 351}};
        QTest::newRow("Bottom, 20 from end") << Bottom << QPoint(687, 553) << ZoneDrag{Qt::SizeFDiagCursor, {720, 600}, {300, 250, 421, 351}};
        // clang-format on
    }

    void dragThroughZone()
    {
        QFETCH(int, position);
        QFETCH(QPoint, press);
        QFETCH(ZoneDrag, zone);

        QVERIFY(showFramedWindow(windowGeometry));
        IShadowBorderFrame *frame = m_strips.at(position);
        frame->setCursor(Qt::CrossCursor);
        mouseMoveTo(frame, press);
        QCOMPARE(frame->cursor().shape(), zone.cursor);

        mousePressAt(frame, press, Qt::LeftButton);
        QCOMPARE(QWidget::mouseGrabber(), frame);
        mouseMoveTo(frame, zone.target, Qt::LeftButton);
        QTRY_COMPARE(m_framedWindow->geometry(), zone.geometry);
        mouseReleaseAt(frame, zone.target, Qt::LeftButton);
        QVERIFY(!QWidget::mouseGrabber());
    }

    void activeLookUsesBorderImages_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QPoint>("stripPoint");
        QTest::addColumn<QString>("piece"); // empty: only the nearly transparent fill
        QTest::addColumn<QPoint>("imagePoint");
        // clang-format off
        QTest::newRow("top edge") << Top << QPoint(208, 1) << "top" << QPoint(0, 1);
        QTest::newRow("top, top-right") << Top << QPoint(411, 6) << "top_right" << QPoint(11, 6);
        QTest::newRow("left edge") << Left << QPoint(1, 158) << "left" << QPoint(1, 0);
        QTest::newRow("left, behind the top strip") << Left << QPoint(3, 3) << "" << QPoint();
        QTest::newRow("left, bottom-left") << Left << QPoint(3, 302) << "bottom_left" << QPoint(3, 2);
        QTest::newRow("right edge") << Right << QPoint(6, 158) << "right" << QPoint(6, 0);
        QTest::newRow("right, bottom-right") << Right << QPoint(3, 303) << "bottom_right" << QPoint(11, 3);
        QTest::newRow("right, top-right") << Right << QPoint(3, 9) << "top_right" << QPoint(11, 9);
        QTest::newRow("bottom edge") << Bottom << QPoint(208, 1) << "bottom" << QPoint(0, 1);
        QTest::newRow("bottom, bottom-left") << Bottom << QPoint(5, 3) << "bottom_left" << QPoint(5, 11);
        QTest::newRow("bottom, bottom-right") << Bottom << QPoint(411, 3) << "bottom_right" << QPoint(11, 11);
        // clang-format on
    }

    void activeLookUsesBorderImages()
    {
        QFETCH(int, position);
        QFETCH(QPoint, stripPoint);
        QFETCH(QString, piece);
        QFETCH(QPoint, imagePoint);

        QVERIFY(showFramedWindow(windowGeometry));
        const int shown = m_strips.at(position)->grab().toImage().pixelColor(stripPoint).alpha();
        int expected = 1; // the fill that keeps the strip clickable
        if (!piece.isEmpty()) {
            expected = qAlpha(QImage(":/core/images/border_" + piece + ".png").pixel(imagePoint));
            QVERIFY2(expected > 2, "pick an image point that is not nearly transparent");
        }
        // The pieces are drawn over the nearly transparent fill, which adds at most 1.
        QVERIFY2(qAbs(shown - expected) <= 1, qPrintable(QString("alpha %1").arg(shown)));
    }

    void activationIsHandedBackToMainWindow()
    {
        EventFilter filter;
        QVERIFY(showFramedWindow(windowGeometry));
        qApp->installEventFilter(&filter);
        for (IShadowBorderFrame *frame : qAsConst(m_strips))
            connect(&filter, &EventFilter::activationChangeFiltered, frame,
                    &IShadowBorderFrame::activationChangeFiltered);
        QWidget other;
        other.setGeometry(900, 600, 100, 100);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));

        QApplication::setActiveWindow(m_strips.at(Right));
        QTRY_COMPARE(QApplication::activeWindow(), m_framedWindow.get());
        // Any other window keeps the activation.
        QApplication::setActiveWindow(&other);
        QTest::qWait(50);
        QCOMPARE(QApplication::activeWindow(), &other);
        qApp->removeEventFilter(&filter);
    }

private:
    QPushButton *titleButton(int index) const
    {
        return m_titleBar->findChildren<QPushButton *>(QString(), Qt::FindDirectChildrenOnly)
                .value(index);
    }
    QStringList toolTips() const
    {
        QStringList tips;
        for (int index = 0; index < 3; ++index)
            tips << titleButton(index)->toolTip();
        return tips;
    }

    // Returns false when the window did not come up as asked.
    bool showTitleBarWindow(const QRect &geometry, bool bMaximized = false)
    {
        m_titleBarWindow = std::make_unique<QMainWindow>(nullptr, Qt::FramelessWindowHint);
        m_titleBar = new IMainMenuWidget(m_titleBarWindow.get(), QStringLiteral("Veldra"),
                                         IUi::getIcon(QStringLiteral("icon"), IUi::NoSize));
        m_titleBarWindow->setMenuWidget(m_titleBar);
        m_titleBarWindow->setCentralWidget(new QWidget);
        m_titleBarWindow->setGeometry(geometry);
        if (!showAndSettle(m_titleBarWindow.get(), geometry))
            return false;
        if (!bMaximized)
            return true;
        m_titleBarWindow->showMaximized();
        m_titleBar->updateMaximized(true); // what the main window does on the state change
        return QTest::qWaitFor([&] { return m_titleBarWindow->isMaximized(); }, 2000);
    }

    // The strips come up in their active look; false when the windows did not come up as asked.
    bool showFramedWindow(const QRect &geometry)
    {
        m_framedWindow = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
        m_framedWindow->setMinimumSize(200, 150);
        m_framedWindow->setGeometry(geometry);
        for (int position = Top; position <= Bottom; ++position)
            m_strips.append(new IShadowBorderFrame(m_framedWindow.get(), position));
        if (!showAndSettle(m_framedWindow.get(), geometry))
            return false;
        for (IShadowBorderFrame *frame : qAsConst(m_strips)) {
            frame->updateBorder(true);
            if (!showAndSettle(frame, frame->geometry()))
                return false;
        }
        return true;
    }

    std::unique_ptr<QMainWindow> m_titleBarWindow; // an IMainMenuWidget is its menu widget
    QPointer<IMainMenuWidget> m_titleBar;
    std::unique_ptr<QWidget> m_framedWindow;
    QList<IShadowBorderFrame *> m_strips; // in position order, children of m_framedWindow
};

VELDRA_TEST_MAIN(TestChrome)

#include "tst_chrome.moc"
