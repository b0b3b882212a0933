#include "windowglyphs.h"

#include "canvas.h"

#include <QPainterPath>

namespace ImageGen {

namespace {

const int GlyphExtent = 16;
const qreal StrokeWidth = 1.0;

// Strokes the path twice: a wider, faint dark contour, then the light line on top of it.
QImage strokedGlyph(const QPainterPath &path, qreal width = StrokeWidth)
{
    QImage image = transparentImage(GlyphExtent, GlyphExtent);
    QPainter painter(&image);
    prepare(painter);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(
            QPen(QColor(0, 0, 0, 70), width + 1.4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPath(path);
    painter.setPen(
            QPen(QColor(0xf0, 0xf0, 0xf0), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPath(path);
    return image;
}

} // namespace

QImage closeGlyph()
{
    QPainterPath cross;
    cross.moveTo(4.5, 4.5);
    cross.lineTo(11.5, 11.5);
    cross.moveTo(11.5, 4.5);
    cross.lineTo(4.5, 11.5);
    return strokedGlyph(cross, 1.2);
}

QImage minimizeGlyph()
{
    QPainterPath bar;
    bar.moveTo(4.5, 10.5);
    bar.lineTo(11.5, 10.5);
    return strokedGlyph(bar);
}

QImage maximizeGlyph()
{
    QPainterPath square;
    square.addRect(QRectF(4.5, 4.5, 7, 7));
    return strokedGlyph(square);
}

QImage restoreGlyph()
{
    QPainterPath squares;
    squares.addRect(QRectF(3.5, 6.5, 6, 6));
    squares.moveTo(6.5, 6.5);
    squares.lineTo(6.5, 3.5);
    squares.lineTo(12.5, 3.5);
    squares.lineTo(12.5, 9.5);
    squares.lineTo(9.5, 9.5);
    return strokedGlyph(squares);
}

} // namespace ImageGen
