#include "brandart.h"

#include "canvas.h"

#include <QPainterPath>
#include <QRadialGradient>

namespace ImageGen {

namespace {

// The mark is designed in a 17x16 box; the other pictures scale it into place.
const QSizeF MarkBox(17, 16);
// The window icons are designed in a 32x32 box and scaled to each size.
const qreal IconDesignExtent = 32;

QPainterPath polygonPath(const QPolygonF &points)
{
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    return path;
}

void paintMark(QPainter &painter)
{
    const QVector<QPointF> wholeV{{0, 1}, {5.4, 1}, {8.5, 9.2}, {11.6, 1}, {17, 1}, {8.5, 15}};
    const QVector<QPointF> rightArm{{17, 1}, {11.6, 1}, {8.5, 9.2}, {8.5, 15}};
    const QVector<QPointF> gem{{8.5, 1}, {10.5, 3.5}, {8.5, 6}, {6.5, 3.5}};

    // The light half is painted as the whole V and the dark arm over it, so that no background
    // shows through the seam where the two arms meet.
    painter.setPen(Qt::NoPen);
    painter.setBrush(verticalGradient(1, 15, QColor(0xff, 0xc0, 0x5a), QColor(0xf7, 0x94, 0x1d)));
    painter.drawPath(polygonPath(wholeV));
    painter.setBrush(verticalGradient(1, 15, QColor(0xe8, 0x80, 0x14), QColor(0xb0, 0x52, 0x06)));
    painter.drawPath(polygonPath(rightArm));
    painter.setBrush(verticalGradient(1, 6, QColor(0xff, 0xf6, 0xd0), QColor(0xff, 0xcc, 0x40)));
    painter.setPen(QPen(QColor(0xc0, 0x66, 0x08), 0.6));
    painter.drawPath(polygonPath(gem));
}

// Paints the mark scaled to `width`, with its top-left corner at `topLeft`.
void paintMarkAt(QPainter &painter, const QPointF &topLeft, qreal width)
{
    painter.save();
    painter.translate(topLeft);
    const qreal scale = width / MarkBox.width();
    painter.scale(scale, scale);
    paintMark(painter);
    painter.restore();
}

void paintTile(QPainter &painter)
{
    painter.setPen(QPen(QColor(0x5a, 0x62, 0x70), 1));
    painter.setBrush(verticalGradient(1, 31, QColor(0x3b, 0x41, 0x4c), QColor(0x1b, 0x1e, 0x24)));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
}

void paintSheet(QPainter &painter)
{
    QPainterPath sheet;
    sheet.moveTo(5.5, 1.5);
    sheet.lineTo(20.5, 1.5);
    sheet.lineTo(27.5, 8.5);
    sheet.lineTo(27.5, 30.5);
    sheet.lineTo(5.5, 30.5);
    sheet.closeSubpath();
    painter.setPen(roundPen(QColor(0x6f, 0x78, 0x86), 1.2));
    painter.setBrush(verticalGradient(1, 31, QColor(0xff, 0xff, 0xff), QColor(0xdc, 0xe2, 0xea)));
    painter.drawPath(sheet);

    QPainterPath fold;
    fold.moveTo(20.5, 1.5);
    fold.lineTo(20.5, 8.5);
    fold.lineTo(27.5, 8.5);
    fold.closeSubpath();
    painter.setBrush(QColor(0xc3, 0xcb, 0xd6));
    painter.drawPath(fold);
}

// Runs `paint` in the 32x32 design box scaled to size x size.
template<typename Paint>
QImage scaledDesign(int size, Paint paint)
{
    QImage image = transparentImage(size, size);
    QPainter painter(&image);
    prepare(painter);
    const qreal scale = size / IconDesignExtent;
    painter.scale(scale, scale);
    paint(painter, size);
    return image;
}

void paintTray(QPainter &painter, qreal top)
{
    QPainterPath tray;
    tray.moveTo(10, top);
    tray.lineTo(10, 82);
    tray.quadTo(10, 88, 16, 88);
    tray.lineTo(80, 88);
    tray.quadTo(86, 88, 86, 82);
    tray.lineTo(86, top);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x2e, 0x36, 0x42), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tray);
    QLinearGradient steel =
            verticalGradient(top, 92, QColor(0xb4, 0xc0, 0xd0), QColor(0x5e, 0x6c, 0x80));
    painter.setPen(QPen(QBrush(steel), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tray);
}

void paintArrow(QPainter &painter)
{
    QPainterPath arrow;
    arrow.moveTo(38, 6);
    arrow.lineTo(58, 6);
    arrow.lineTo(58, 40);
    arrow.lineTo(74, 40);
    arrow.lineTo(48, 72);
    arrow.lineTo(22, 40);
    arrow.lineTo(38, 40);
    arrow.closeSubpath();
    painter.setPen(QPen(QColor(0x14, 0x6a, 0x2c), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(verticalGradient(6, 72, QColor(0x7c, 0xe0, 0x78), QColor(0x1f, 0x96, 0x3c)));
    painter.drawPath(arrow);
}

void paintFloorShadow(QPainter &painter)
{
    QRadialGradient shadow(QPointF(48, 90), 44);
    shadow.setColorAt(0, QColor(0, 0, 0, 90));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.save();
    painter.translate(48, 90);
    painter.scale(1, 0.14);
    painter.translate(-48, -90);
    painter.drawEllipse(QPointF(48, 90), 44, 44);
    painter.restore();
}

} // namespace

QImage markImage()
{
    QImage image = transparentImage(int(MarkBox.width()), int(MarkBox.height()));
    QPainter painter(&image);
    prepare(painter);
    paintMark(painter);
    return image;
}

QImage applicationIcon(int size)
{
    return scaledDesign(size, [](QPainter &painter, int pixels) {
        paintTile(painter);
        // Small icons give the mark more of the tile so that it stays legible.
        const qreal markWidth = pixels <= 24 ? 27 : 23;
        paintMarkAt(painter, QPointF((IconDesignExtent - markWidth) / 2, 16 - markWidth * 0.47),
                    markWidth);
    });
}

QImage projectIcon(int size)
{
    return scaledDesign(size, [](QPainter &painter, int pixels) {
        paintSheet(painter);
        const qreal markWidth = pixels <= 24 ? 19 : 17;
        paintMarkAt(painter, QPointF(16.5 - markWidth / 2, 12), markWidth);
    });
}

QImage updatePicture()
{
    QImage image = transparentImage(96, 96);
    QPainter painter(&image);
    prepare(painter);
    paintFloorShadow(painter);
    paintArrow(painter);
    paintTray(painter, 54);
    return image;
}

} // namespace ImageGen
