#include "tst_chrome.h"

#include "eventfilter.h"
#include "ishadowborderframe.h"
#include "iui.h"

#include "mouseevents.h"

#include <QtTest>

using namespace VeldraTest;

namespace {

// Right edge at x = 699, bottom edge at y = 549; minimum size 200 x 150 (see showFramedWindow).
const QRect windowGeometry(300, 250, 400, 300);

const int Top = IShadowBorderFrame::Top;
const int Left = IShadowBorderFrame::Left;
const int Right = IShadowBorderFrame::Right;
const int Bottom = IShadowBorderFrame::Bottom;

// A point in the middle of the strip's thickness, offset along its length from one of its ends.
QPoint pointAlong(IShadowBorderFrame *strip, bool fromEnd, int offset)
{
    const QRect s = strip->geometry();
    if (s.width() > s.height()) {
        const int x = fromEnd ? s.right() - offset : s.left() + offset;
        return QPoint(x, s.center().y());
    }
    const int y = fromEnd ? s.bottom() - offset : s.top() + offset;
    return QPoint(s.center().x(), y);
}

QImage composedImage(IShadowBorderFrame *strip)
{
    return strip->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

void TestChrome::stripsSurroundWindow_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<int>("position");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("Top") << windowGeometry << Top << QRect(292, 242, 416, 8);
    QTest::newRow("Left") << windowGeometry << Left << QRect(292, 242, 8, 316);
    QTest::newRow("Right") << windowGeometry << Right << QRect(700, 242, 8, 316);
    QTest::newRow("Bottom") << windowGeometry << Bottom << QRect(292, 550, 416, 8);

    const QRect moved(120, 90, 333, 211);
    QTest::newRow("Top, after a move") << moved << Top << QRect(112, 82, 349, 8);
    QTest::newRow("Left, after a move") << moved << Left << QRect(112, 82, 8, 227);
    QTest::newRow("Right, after a move") << moved << Right << QRect(453, 82, 8, 227);
    QTest::newRow("Bottom, after a move") << moved << Bottom << QRect(112, 301, 349, 8);
}

void TestChrome::stripsSurroundWindow()
{
    QFETCH(QRect, window);
    QFETCH(int, position);
    QFETCH(QRect, expected);

    QVERIFY(showFramedWindow(windowGeometry));
    m_framedWindow->setGeometry(window);
    QTRY_COMPARE(m_framedWindow->geometry(), window);
    strip(position)->updateBorder(true);
    QTRY_COMPARE(strip(position)->geometry(), expected);
    QCOMPARE(composedImage(strip(position)).size(), expected.size());
}

void TestChrome::cursorShowsHitZone_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("fromEnd");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("shape");

    const int vertical = Qt::SizeVerCursor;
    const int horizontal = Qt::SizeHorCursor;
    const int fDiagonal = Qt::SizeFDiagCursor;
    const int bDiagonal = Qt::SizeBDiagCursor;

    QTest::newRow("Top, first pixel") << Top << false << 0 << fDiagonal;
    QTest::newRow("Top, 20 from start") << Top << false << 20 << fDiagonal;
    QTest::newRow("Top, 21 from start") << Top << false << 21 << vertical;
    QTest::newRow("Top, 21 from end") << Top << true << 21 << vertical;
    QTest::newRow("Top, 20 from end") << Top << true << 20 << bDiagonal;
    QTest::newRow("Top, last pixel") << Top << true << 0 << bDiagonal;

    QTest::newRow("Left, first pixel") << Left << false << 0 << fDiagonal;
    QTest::newRow("Left, 21 from start") << Left << false << 21 << horizontal;
    QTest::newRow("Left, 20 from end") << Left << true << 20 << bDiagonal;

    QTest::newRow("Right, first pixel") << Right << false << 0 << bDiagonal;
    QTest::newRow("Right, middle") << Right << false << 150 << horizontal;
    QTest::newRow("Right, last pixel") << Right << true << 0 << fDiagonal;

    QTest::newRow("Bottom, first pixel") << Bottom << false << 0 << bDiagonal;
    QTest::newRow("Bottom, middle") << Bottom << false << 200 << vertical;
    QTest::newRow("Bottom, 20 from end") << Bottom << true << 20 << fDiagonal;
}

void TestChrome::cursorShowsHitZone()
{
    QFETCH(int, position);
    QFETCH(bool, fromEnd);
    QFETCH(int, offset);
    QFETCH(int, shape);

    QVERIFY(showFramedWindow(windowGeometry));
    IShadowBorderFrame *frame = strip(position);
    frame->setCursor(Qt::CrossCursor);
    mouseMoveTo(frame, pointAlong(frame, fromEnd, offset));
    QCOMPARE(int(frame->cursor().shape()), shape);
}

void TestChrome::resizeThroughZone_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("fromEnd");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QPoint>("target");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("Top") << Top << false << 200 << QPoint(500, 200) << QRect(300, 200, 400, 350);
    QTest::newRow("Top, held at the minimum height")
            << Top << false << 200 << QPoint(500, 500) << QRect(300, 399, 400, 151);
    QTest::newRow("TopLeft from the top strip")
            << Top << false << 5 << QPoint(250, 220) << QRect(250, 220, 450, 330);
    QTest::newRow("TopLeft, held at the minimum size")
            << Top << false << 5 << QPoint(650, 500) << QRect(499, 399, 201, 151);
    QTest::newRow("TopRight") << Top << true << 5 << QPoint(750, 230) << QRect(300, 230, 451, 320);
    QTest::newRow("TopRight, held at the minimum height")
            << Right << false << 5 << QPoint(750, 500) << QRect(300, 399, 451, 151);
    QTest::newRow("Left") << Left << false << 100 << QPoint(280, 400) << QRect(280, 250, 420, 300);
    QTest::newRow("Left, held at the minimum width")
            << Left << false << 100 << QPoint(600, 400) << QRect(499, 250, 201, 300);
    QTest::newRow("Right") << Right << false << 100 << QPoint(800, 400)
                           << QRect(300, 250, 501, 300);
    QTest::newRow("Right, below the minimum width")
            << Right << false << 100 << QPoint(350, 400) << QRect(300, 250, 200, 300);
    QTest::newRow("Bottom") << Bottom << false << 200 << QPoint(500, 600)
                            << QRect(300, 250, 400, 351);
    QTest::newRow("BottomLeft") << Bottom << false << 5 << QPoint(280, 620)
                                << QRect(280, 250, 420, 371);
    QTest::newRow("BottomRight from the right strip")
            << Right << true << 5 << QPoint(720, 600) << QRect(300, 250, 421, 351);
}

void TestChrome::resizeThroughZone()
{
    QFETCH(int, position);
    QFETCH(bool, fromEnd);
    QFETCH(int, offset);
    QFETCH(QPoint, target);
    QFETCH(QRect, expected);

    QVERIFY(showFramedWindow(windowGeometry));
    IShadowBorderFrame *frame = strip(position);
    const QPoint press = pointAlong(frame, fromEnd, offset);

    mouseMoveTo(frame, press);
    mousePressAt(frame, press, Qt::LeftButton);
    QCOMPARE(QWidget::mouseGrabber(), frame);
    mouseMoveTo(frame, target, Qt::LeftButton);
    QTRY_COMPARE(m_framedWindow->geometry(), expected);

    mouseReleaseAt(frame, target, Qt::LeftButton);
    QVERIFY(!QWidget::mouseGrabber());
    // Without the button the strip only tracks the zone again.
    mouseMoveTo(frame, press);
    QTest::qWait(50);
    QCOMPARE(m_framedWindow->geometry(), expected);
}

void TestChrome::otherButtonsDoNotResize_data()
{
    QTest::addColumn<int>("buttonValue");

    QTest::newRow("right") << int(Qt::RightButton);
    QTest::newRow("middle") << int(Qt::MiddleButton);
}

void TestChrome::otherButtonsDoNotResize()
{
    QFETCH(int, buttonValue);
    const auto button = static_cast<Qt::MouseButton>(buttonValue);

    QVERIFY(showFramedWindow(windowGeometry));
    IShadowBorderFrame *frame = strip(Top);
    const QPoint press = pointAlong(frame, false, 200);
    mouseMoveTo(frame, press);
    mousePressAt(frame, press, button);
    QVERIFY(!QWidget::mouseGrabber());

    mouseMoveTo(frame, QPoint(500, 200), button);
    QTest::qWait(50);
    QCOMPARE(m_framedWindow->geometry(), windowGeometry);
    mouseReleaseAt(frame, QPoint(500, 200), button);
}

void TestChrome::noPixelIsFullyTransparent_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("active");

    for (int position : {Top, Left, Right, Bottom}) {
        for (bool active : {true, false}) {
            QTest::addRow("%d, %s", position, active ? "active" : "inactive") << position << active;
        }
    }
}

void TestChrome::noPixelIsFullyTransparent()
{
    QFETCH(int, position);
    QFETCH(bool, active);

    QVERIFY(showFramedWindow(windowGeometry, active));
    const QImage image = composedImage(strip(position));
    QCOMPARE(image.size(), strip(position)->size());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) == 0)
                QFAIL(qPrintable(QStringLiteral("transparent pixel at %1, %2").arg(x).arg(y)));
        }
    }
}

void TestChrome::inactiveLookIsLineAlongWindow_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QPoint>("onLine");
    QTest::addColumn<QPoint>("awayFromWindow");
    QTest::addColumn<QPoint>("beyondLineEnd");

    // Strips are 416 x 8 and 8 x 316 around the 400 x 300 window.
    QTest::newRow("Top") << Top << QPoint(208, 7) << QPoint(208, 0) << QPoint(2, 7);
    QTest::newRow("Left") << Left << QPoint(7, 158) << QPoint(0, 158) << QPoint(7, 2);
    QTest::newRow("Right") << Right << QPoint(0, 158) << QPoint(7, 158) << QPoint(0, 313);
    QTest::newRow("Bottom") << Bottom << QPoint(208, 0) << QPoint(208, 7) << QPoint(413, 0);
}

void TestChrome::inactiveLookIsLineAlongWindow()
{
    QFETCH(int, position);
    QFETCH(QPoint, onLine);
    QFETCH(QPoint, awayFromWindow);
    QFETCH(QPoint, beyondLineEnd);

    QVERIFY(showFramedWindow(windowGeometry, false));
    const QImage image = composedImage(strip(position));
    QCOMPARE(image.pixelColor(onLine), QColor(Qt::darkGreen));
    QCOMPARE(qAlpha(image.pixel(awayFromWindow)), 1);
    QCOMPARE(qAlpha(image.pixel(beyondLineEnd)), 1);

    // Switching to the active look replaces the line.
    strip(position)->updateBorder(true);
    QVERIFY(composedImage(strip(position)).pixelColor(onLine) != QColor(Qt::darkGreen));
}

void TestChrome::activeLookUsesBorderImages_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QPoint>("stripPoint");
    QTest::addColumn<QString>("imageName"); // empty: only the nearly transparent fill
    QTest::addColumn<QPoint>("imagePoint");

    // Strips are 416 x 8 and 8 x 316; corner pieces are 16 x 16.
    QTest::newRow("top edge, outer") << Top << QPoint(208, 1) << "border_top" << QPoint(0, 1);
    QTest::newRow("top, top-left corner")
            << Top << QPoint(5, 6) << "border_top_left" << QPoint(5, 6);
    QTest::newRow("top, top-right corner")
            << Top << QPoint(411, 6) << "border_top_right" << QPoint(11, 6);
    QTest::newRow("left edge, outer") << Left << QPoint(1, 158) << "border_left" << QPoint(1, 0);
    QTest::newRow("left, behind the top strip") << Left << QPoint(3, 3) << "" << QPoint();
    QTest::newRow("left, top-left corner part")
            << Left << QPoint(3, 9) << "border_top_left" << QPoint(3, 9);
    QTest::newRow("left, bottom-left corner part")
            << Left << QPoint(3, 302) << "border_bottom_left" << QPoint(3, 2);
    QTest::newRow("right edge, outer") << Right << QPoint(6, 158) << "border_right" << QPoint(6, 0);
    QTest::newRow("right, top-right corner part")
            << Right << QPoint(3, 9) << "border_top_right" << QPoint(11, 9);
    QTest::newRow("right, bottom-right corner part")
            << Right << QPoint(3, 302) << "border_bottom_right" << QPoint(11, 2);
    QTest::newRow("bottom edge, inner")
            << Bottom << QPoint(208, 1) << "border_bottom" << QPoint(0, 1);
    QTest::newRow("bottom, bottom-left corner part")
            << Bottom << QPoint(5, 3) << "border_bottom_left" << QPoint(5, 11);
    QTest::newRow("bottom, bottom-right corner part")
            << Bottom << QPoint(411, 3) << "border_bottom_right" << QPoint(11, 11);
}

void TestChrome::activeLookUsesBorderImages()
{
    QFETCH(int, position);
    QFETCH(QPoint, stripPoint);
    QFETCH(QString, imageName);
    QFETCH(QPoint, imagePoint);

    QVERIFY(showFramedWindow(windowGeometry, true));
    const int shown = qAlpha(composedImage(strip(position)).pixel(stripPoint));

    int expected = 1; // the fill that keeps the strip clickable
    if (!imageName.isEmpty()) {
        const QImage piece = IUi::getPixmap(imageName, IUi::Normal, IUi::NoSize)
                                     .toImage()
                                     .convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!piece.isNull());
        expected = qAlpha(piece.pixel(imagePoint));
        QVERIFY2(expected > 2, "pick an image point that is not nearly transparent");
    }
    // The pieces are drawn over the nearly transparent fill, which adds at most 1.
    QVERIFY2(qAbs(shown - expected) <= 1,
             qPrintable(QStringLiteral("alpha %1, expected %2").arg(shown).arg(expected)));
}

void TestChrome::activationIsHandedBackToMainWindow_data()
{
    QTest::addColumn<bool>("activateStrip");

    QTest::newRow("a strip becomes active") << true;
    QTest::newRow("another window becomes active") << false;
}

void TestChrome::activationIsHandedBackToMainWindow()
{
    QFETCH(bool, activateStrip);

    QVERIFY(showFramedWindow(windowGeometry));
    EventFilter filter;
    qApp->installEventFilter(&filter);
    for (IShadowBorderFrame *frame : qAsConst(m_strips))
        connect(&filter, &EventFilter::activationChangeFiltered, frame,
                &IShadowBorderFrame::activationChangeFiltered);
    QWidget other;
    other.setGeometry(900, 600, 100, 100);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));

    QApplication::setActiveWindow(m_framedWindow.get());
    QTRY_COMPARE(QApplication::activeWindow(), m_framedWindow.get());

    QWidget *activated = activateStrip ? static_cast<QWidget *>(strip(Right)) : &other;
    QWidget *expected = activateStrip ? m_framedWindow.get() : &other;
    QApplication::setActiveWindow(activated);
    QTRY_COMPARE(QApplication::activeWindow(), expected);
    QTest::qWait(50);
    QCOMPARE(QApplication::activeWindow(), expected);
    qApp->removeEventFilter(&filter);
}

void TestChrome::eventFilterReportsActivationChanges_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("reports");

    QTest::newRow("ActivationChange") << int(QEvent::ActivationChange) << 1;
    QTest::newRow("WindowActivate") << int(QEvent::WindowActivate) << 0;
    QTest::newRow("Show") << int(QEvent::Show) << 0;
}

void TestChrome::eventFilterReportsActivationChanges()
{
    QFETCH(int, type);
    QFETCH(int, reports);

    EventFilter filter;
    QSignalSpy spy(&filter, &EventFilter::activationChangeFiltered);
    QObject watched;
    QEvent event(static_cast<QEvent::Type>(type));
    // The filter only listens; every event goes on to its receiver.
    QCOMPARE(filter.eventFilter(&watched, &event), false);
    QCOMPARE(spy.count(), reports);
}

void TestChrome::strayInputIsHarmless()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("without a main window"));
    IShadowBorderFrame orphan(nullptr, Top);
    orphan.updateBorder(true);
    orphan.activationChangeFiltered();
    mousePressAt(&orphan, QPoint(10, 10), Qt::LeftButton);
    mouseMoveTo(&orphan, QPoint(40, 40), Qt::LeftButton);
    mouseReleaseAt(&orphan, QPoint(40, 40), Qt::LeftButton);

    QVERIFY(showFramedWindow(windowGeometry));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not a border position"));
    auto unplaced = new IShadowBorderFrame(m_framedWindow.get(), 4);
    const QRect before = unplaced->geometry();
    unplaced->updateBorder(true);
    QCOMPARE(unplaced->geometry(), before);
    unplaced->setCursor(Qt::CrossCursor);
    mouseMoveTo(unplaced, unplaced->geometry().topLeft());
    QCOMPARE(unplaced->cursor().shape(), Qt::ArrowCursor); // unset
    mousePressAt(unplaced, unplaced->geometry().topLeft(), Qt::LeftButton);
    mouseMoveTo(unplaced, QPoint(0, 0), Qt::LeftButton);
    mouseReleaseAt(unplaced, QPoint(0, 0), Qt::LeftButton);
    QCOMPARE(m_framedWindow->geometry(), windowGeometry);

    EventFilter filter;
    QSignalSpy spy(&filter, &EventFilter::activationChangeFiltered);
    QCOMPARE(filter.eventFilter(nullptr, nullptr), false);
    QCOMPARE(spy.count(), 0);
}
