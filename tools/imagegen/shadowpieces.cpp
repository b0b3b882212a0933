#include "shadowpieces.h"

#include "canvas.h"

#include <QRadialGradient>
#include <QtMath>

namespace ImageGen {

namespace {

const int Reach = 8;         // how far the shadow reaches beyond the window edge
const qreal PeakAlpha = 90;  // next to the window
const qreal Softness = 3.0;  // standard deviation of the fall-off, in pixels
const int FaintestAlpha = 3; // at the outer edge

QColor shadowColor(qreal distance)
{
    const qreal alpha = PeakAlpha * qExp(-(distance * distance) / (2 * Softness * Softness));
    return QColor(0, 0, 0, qMax(FaintestAlpha, qRound(alpha)));
}

// Colour stops along the fall-off: 0 at the window edge, 1 at the outer edge.
QGradientStops falloffStops()
{
    const int steps = 32;
    QGradientStops stops;
    for (int i = 0; i <= steps; ++i) {
        const qreal fraction = qreal(i) / steps;
        stops << qMakePair(fraction, shadowColor(fraction * Reach));
    }
    return stops;
}

QLinearGradient falloff(const QPointF &windowEdge, const QPointF &outerEdge)
{
    QLinearGradient gradient(windowEdge, outerEdge);
    gradient.setStops(falloffStops());
    return gradient;
}

// Starts a shadow piece: black at the lowest alpha everywhere, so nothing drawn on top can leave
// a pixel fully transparent.
QImage shadowCanvas(int width, int height)
{
    QImage image = transparentImage(width, height);
    image.fill(QColor(0, 0, 0, 1));
    return image;
}

QImage fillWith(QImage image, const QBrush &brush)
{
    QPainter painter(&image);
    prepare(painter);
    painter.fillRect(image.rect(), brush);
    return image;
}

bool windowBelow(Side side)
{
    return side == Side::Top;
}

bool windowRight(Side side)
{
    return side == Side::Left;
}

// Paints the horizontal strip above (Top) or below (Bottom) the window, `width` pixels long.
void paintHorizontalStrip(QPainter &painter, Side side, int width)
{
    const bool top = side == Side::Top;
    const QImage left = shadowCorner(side, Side::Left);
    const QImage right = shadowCorner(side, Side::Right);
    const QRect cornerPart(0, top ? 0 : Reach, 2 * Reach, Reach);
    painter.fillRect(QRect(2 * Reach, 0, width - 4 * Reach, Reach), QBrush(shadowEdge(side)));
    painter.drawImage(QPoint(0, 0), left, cornerPart);
    painter.drawImage(QPoint(width - 2 * Reach, 0), right, cornerPart);
}

// Paints the vertical strip left or right of the window, `height` pixels long.
void paintVerticalStrip(QPainter &painter, Side side, int height)
{
    const int column = side == Side::Left ? 0 : Reach;
    const QImage top = shadowCorner(Side::Top, side);
    const QImage bottom = shadowCorner(Side::Bottom, side);
    painter.fillRect(QRect(0, 2 * Reach, Reach, height - 4 * Reach), QBrush(shadowEdge(side)));
    painter.drawImage(QPoint(0, Reach), top, QRect(column, Reach, Reach, Reach));
    painter.drawImage(QPoint(0, height - 2 * Reach), bottom, QRect(column, 0, Reach, Reach));
}

} // namespace

QImage shadowEdge(Side side)
{
    switch (side) {
    case Side::Top:
        return fillWith(shadowCanvas(1, Reach), falloff(QPointF(0, Reach), QPointF(0, 0)));
    case Side::Bottom:
        return fillWith(shadowCanvas(1, Reach), falloff(QPointF(0, 0), QPointF(0, Reach)));
    case Side::Left:
        return fillWith(shadowCanvas(Reach, 1), falloff(QPointF(Reach, 0), QPointF(0, 0)));
    case Side::Right:
        return fillWith(shadowCanvas(Reach, 1), falloff(QPointF(0, 0), QPointF(Reach, 0)));
    }
    return QImage();
}

QImage shadowCorner(Side vertical, Side horizontal)
{
    const QPointF corner(Reach, Reach);
    QRadialGradient around(corner, Reach);
    around.setStops(falloffStops());

    QImage image = shadowCanvas(2 * Reach, 2 * Reach);
    QPainter painter(&image);
    prepare(painter);
    for (int column = 0; column < 2; ++column) {
        for (int row = 0; row < 2; ++row) {
            const QRect quarter(column * Reach, row * Reach, Reach, Reach);
            const bool besideWindowColumn = (column == 1) == windowRight(horizontal);
            const bool besideWindowRow = (row == 1) == windowBelow(vertical);
            const QPointF outer(column * 2 * Reach, row * 2 * Reach);
            if (besideWindowColumn && besideWindowRow)
                painter.fillRect(quarter, shadowColor(0));
            else if (besideWindowColumn)
                painter.fillRect(quarter, falloff(corner, QPointF(Reach, outer.y())));
            else if (besideWindowRow)
                painter.fillRect(quarter, falloff(corner, QPointF(outer.x(), Reach)));
            else
                painter.fillRect(quarter, around);
        }
    }
    return image;
}

QImage shadowFramePreview(const QSize &window)
{
    const int width = window.width() + 2 * Reach;
    const int height = window.height() + 2 * Reach;
    QImage image = transparentImage(width, height);
    QPainter painter(&image);
    painter.fillRect(QRect(QPoint(Reach, Reach), window), QColor(0x9a, 0xa0, 0xa8));
    paintHorizontalStrip(painter, Side::Top, width);
    paintVerticalStrip(painter, Side::Left, height);
    painter.translate(width - Reach, 0);
    paintVerticalStrip(painter, Side::Right, height);
    painter.translate(Reach - width, height - Reach);
    paintHorizontalStrip(painter, Side::Bottom, width);
    return image;
}

} // namespace ImageGen
