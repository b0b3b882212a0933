#include "ishadowborderframe.h"

#include "iui.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace {

const int thickness = 8;    // of a strip, and how far it reaches beyond each end of its side
const int cornerReach = 21; // the corner zones cover offsets 0 to 20 from each end of a strip
const int cornerSize = 16;  // of the corner images

using HitZone = IShadowBorderFrame::HitZone;

QPixmap borderImage(const char *name)
{
    return IUi::getPixmap(QLatin1String(name), IUi::Normal, IUi::NoSize,
                          QStringLiteral(":/core/images/"));
}

bool isValidPosition(int position)
{
    return position >= IShadowBorderFrame::Top && position <= IShadowBorderFrame::Bottom;
}

// The zone for a cursor coordinate along a strip that runs from start to end (both inclusive).
HitZone zoneAlongStrip(int coordinate, int start, int end, HitZone atStart, HitZone between,
                       HitZone atEnd)
{
    const int fromStart = coordinate - start;
    if (fromStart >= 0 && fromStart < cornerReach)
        return atStart;
    const int toEnd = end - coordinate;
    if (toEnd < 0)
        return between;
    if (toEnd < cornerReach)
        return atEnd;
    return between;
}

bool movesTopEdge(HitZone zone)
{
    return zone == HitZone::Top || zone == HitZone::TopLeft || zone == HitZone::TopRight;
}

bool movesBottomEdge(HitZone zone)
{
    return zone == HitZone::Bottom || zone == HitZone::BottomLeft || zone == HitZone::BottomRight;
}

bool movesLeftEdge(HitZone zone)
{
    return zone == HitZone::Left || zone == HitZone::TopLeft || zone == HitZone::BottomLeft;
}

bool movesRightEdge(HitZone zone)
{
    return zone == HitZone::Right || zone == HitZone::TopRight || zone == HitZone::BottomRight;
}

} // namespace

IShadowBorderFrame::IShadowBorderFrame(QWidget *parent, int position)
    : QWidget(parent, Qt::WindowFlags())
    , m_pMainWindow(parent)
    , m_position(position)
{
    if (!parent)
        qWarning("IShadowBorderFrame: created without a main window");
    if (!isValidPosition(position))
        qWarning("IShadowBorderFrame: %d is not a border position", position);

    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    m_top = borderImage("border_top");
    m_left = borderImage("border_left");
    m_right = borderImage("border_right");
    m_bottom = borderImage("border_bottom");
    m_topLeft = borderImage("border_top_left");
    m_topRight = borderImage("border_top_right");
    m_bottomLeft = borderImage("border_bottom_left");
    m_bottomRight = borderImage("border_bottom_right");

    setMouseTracking(true);
}

void IShadowBorderFrame::updateBorder(bool bActive)
{
    if (!placeAlongMainWindow())
        return;

    m_image = QPixmap(size());
    m_image.fill(Qt::transparent);
    {
        QPainter painter(&m_image);
        // A fully transparent pixel would let mouse events fall through the strip.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 1));
        painter.drawRect(0, 0, width(), height());

        if (bActive)
            drawActiveLook(painter);
        else
            drawInactiveLook(painter);
    }
    repaint();
}

bool IShadowBorderFrame::placeAlongMainWindow()
{
    if (!m_pMainWindow || !isValidPosition(m_position))
        return false;

    const QRect window = m_pMainWindow->geometry();
    const QSize across(window.width() + 2 * thickness, thickness);
    const QSize down(thickness, window.height() + 2 * thickness);
    const QPoint outerCorner(window.left() - thickness, window.top() - thickness);

    switch (m_position) {
    case Top:
        setGeometry(QRect(outerCorner, across));
        break;
    case Left:
        setGeometry(QRect(outerCorner, down));
        break;
    case Right:
        setGeometry(QRect(QPoint(window.right() + 1, window.top() - thickness), down));
        break;
    case Bottom:
        setGeometry(QRect(QPoint(window.left() - thickness, window.bottom() + 1), across));
        break;
    }
    return true;
}

void IShadowBorderFrame::drawActiveLook(QPainter &painter)
{
    const int w = width();
    const int h = height();
    const int half = cornerSize / 2;

    switch (m_position) {
    case Top:
        if (m_top.isNull())
            return;
        painter.fillRect(QRect(cornerSize, 0, w - 2 * cornerSize, h), QBrush(m_top));
        painter.drawPixmap(0, 0, m_topLeft);
        painter.drawPixmap(w - cornerSize, 0, m_topRight);
        break;
    case Left:
        if (m_left.isNull())
            return;
        painter.fillRect(QRect(0, cornerSize, w, h - 2 * cornerSize), QBrush(m_left));
        painter.drawPixmap(QRect(0, half, half, half), m_topLeft, QRect(0, half, half, half));
        painter.drawPixmap(QRect(0, h - cornerSize, half, half), m_bottomLeft,
                           QRect(0, 0, half, half));
        break;
    case Right:
        if (m_right.isNull())
            return;
        painter.fillRect(QRect(0, cornerSize, w, h - 2 * cornerSize), QBrush(m_right));
        painter.drawPixmap(QRect(0, half, half, half), m_topRight, QRect(half, half, half, half));
        painter.drawPixmap(QRect(0, h - cornerSize, half, half), m_bottomRight,
                           QRect(half, 0, half, half));
        break;
    case Bottom:
        if (m_bottom.isNull())
            return;
        painter.fillRect(QRect(cornerSize, 0, w - 2 * cornerSize, h), QBrush(m_bottom));
        painter.drawPixmap(QRect(0, 0, cornerSize, half), m_bottomLeft,
                           QRect(0, half, cornerSize, half));
        painter.drawPixmap(QRect(w - cornerSize, 0, cornerSize, half), m_bottomRight,
                           QRect(0, half, cornerSize, half));
        break;
    }
}

// A thin line along the side that touches the window.
void IShadowBorderFrame::drawInactiveLook(QPainter &painter)
{
    const int w = width();
    const int h = height();
    painter.setPen(QPen(QBrush(Qt::darkGreen, Qt::SolidPattern), 2.0, Qt::SolidLine, Qt::SquareCap,
                        Qt::BevelJoin));

    switch (m_position) {
    case Top:
        painter.drawLine(thickness, h, w - thickness, h);
        break;
    case Left:
        painter.drawLine(w, thickness, w, h - thickness);
        break;
    case Right:
        painter.drawLine(0, thickness, 0, h - thickness);
        break;
    case Bottom:
        painter.drawLine(thickness, 0, w - thickness, 0);
        break;
    }
}

void IShadowBorderFrame::activationChangeFiltered()
{
    if (m_pMainWindow && QApplication::activeWindow() == this)
        QApplication::setActiveWindow(m_pMainWindow);
}

void IShadowBorderFrame::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    grabMouse();
    m_bResizing = true;
    event->ignore();
}

void IShadowBorderFrame::mouseReleaseEvent(QMouseEvent *event)
{
    releaseMouse();
    m_bResizing = false;
    event->ignore();
}

void IShadowBorderFrame::mouseMoveEvent(QMouseEvent *event)
{
    if (m_bResizing) {
        resizeMainWindow(event->globalPos());
        return;
    }
    m_zone = hitZone(event->globalPos());
    updateCursor();
}

void IShadowBorderFrame::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(rect(), m_image);
}

IShadowBorderFrame::HitZone IShadowBorderFrame::hitZone(const QPoint &globalPos) const
{
    const QRect strip = geometry();
    switch (m_position) {
    case Top:
        return zoneAlongStrip(globalPos.x(), strip.x(), strip.right(), HitZone::TopLeft,
                              HitZone::Top, HitZone::TopRight);
    case Left:
        return zoneAlongStrip(globalPos.y(), strip.y(), strip.bottom(), HitZone::TopLeft,
                              HitZone::Left, HitZone::BottomLeft);
    case Right:
        return zoneAlongStrip(globalPos.y(), strip.y(), strip.bottom(), HitZone::TopRight,
                              HitZone::Right, HitZone::BottomRight);
    case Bottom:
        return zoneAlongStrip(globalPos.x(), strip.x(), strip.right(), HitZone::BottomLeft,
                              HitZone::Bottom, HitZone::BottomRight);
    default:
        return HitZone::None;
    }
}

void IShadowBorderFrame::updateCursor()
{
    switch (m_zone) {
    case HitZone::Top:
    case HitZone::Bottom:
        setCursor(Qt::SizeVerCursor);
        break;
    case HitZone::Left:
    case HitZone::Right:
        setCursor(Qt::SizeHorCursor);
        break;
    case HitZone::TopLeft:
    case HitZone::BottomRight:
        setCursor(Qt::SizeFDiagCursor);
        break;
    case HitZone::TopRight:
    case HitZone::BottomLeft:
        setCursor(Qt::SizeBDiagCursor);
        break;
    case HitZone::None:
        unsetCursor();
        break;
    }
}

// Moves the edges of the main window that the zone of the press stands for to the cursor. Edges
// that move up or left stop where the window would become smaller than its minimum size; the
// other two are held by the window's own minimum size.
void IShadowBorderFrame::resizeMainWindow(const QPoint &globalPos)
{
    if (!m_pMainWindow)
        return;

    const QRect start = m_pMainWindow->frameGeometry();
    int left, top, right, bottom;
    start.getCoords(&left, &top, &right, &bottom);

    if (movesLeftEdge(m_zone))
        left = globalPos.x();
    if (movesRightEdge(m_zone))
        right = globalPos.x();
    if (movesTopEdge(m_zone))
        top = globalPos.y();
    if (movesBottomEdge(m_zone))
        bottom = globalPos.y();

    const int minimumHeight = m_pMainWindow->minimumHeight();
    if (movesTopEdge(m_zone) && bottom - top < minimumHeight)
        top = start.bottom() - minimumHeight;
    const int minimumWidth = m_pMainWindow->minimumWidth();
    if (movesLeftEdge(m_zone) && right - left < minimumWidth)
        left = start.right() - minimumWidth;

    const QRect target(QPoint(left, top), QPoint(right, bottom));
    if (target.isValid())
        m_pMainWindow->setGeometry(target);
}
