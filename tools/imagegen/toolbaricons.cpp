#include "toolbaricons.h"

#include "canvas.h"

#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace ImageGen {

namespace {

const int IconExtent = 16;

QPointF polar(const QPointF &centre, qreal radius, qreal degrees)
{
    const qreal radians = qDegreesToRadians(degrees);
    return centre + QPointF(radius * qCos(radians), radius * qSin(radians));
}

// A sparkle: long points up, down and to the sides, short ones on the diagonals, all joined
// through a narrow waist.
QPainterPath sparkPath(const QPointF &centre, qreal longPoint, qreal shortPoint, qreal waist)
{
    QPolygonF points;
    for (int i = 0; i < 16; ++i) {
        const qreal radius = (i % 2 == 1) ? waist : (i % 4 == 0) ? longPoint : shortPoint;
        points << polar(centre, radius, -90.0 + i * 22.5);
    }
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    return path;
}

QPainterPath gearPath(const QPointF &centre, int teeth, qreal outer, qreal root, qreal hole)
{
    const qreal step = 360.0 / teeth;
    QPolygonF points;
    for (int i = 0; i < teeth; ++i) {
        const qreal middle = -90.0 + i * step;
        points << polar(centre, root, middle - 0.32 * step)
               << polar(centre, outer, middle - 0.17 * step)
               << polar(centre, outer, middle + 0.17 * step)
               << polar(centre, root, middle + 0.32 * step);
    }
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addPolygon(points);
    path.closeSubpath();
    path.addEllipse(centre, hole, hole);
    return path;
}

QRadialGradient discGradient(const QPointF &centre, qreal radius, const QColor &light,
                             const QColor &dark)
{
    QRadialGradient gradient(centre, radius, centre - QPointF(radius * 0.35, radius * 0.45));
    gradient.setColorAt(0, light);
    gradient.setColorAt(1, dark);
    return gradient;
}

} // namespace

QImage newIcon()
{
    QImage image = transparentImage(IconExtent, IconExtent);
    QPainter painter(&image);
    prepare(painter);

    QPainterPath sheet;
    sheet.moveTo(4.5, 1.5);
    sheet.lineTo(10.5, 1.5);
    sheet.lineTo(14.5, 5.5);
    sheet.lineTo(14.5, 14.5);
    sheet.lineTo(4.5, 14.5);
    sheet.closeSubpath();
    painter.setPen(roundPen(QColor(0x6f, 0x78, 0x86)));
    painter.setBrush(verticalGradient(1, 15, QColor(0xff, 0xff, 0xff), QColor(0xdc, 0xe2, 0xea)));
    painter.drawPath(sheet);

    QPainterPath fold;
    fold.moveTo(10.5, 1.5);
    fold.lineTo(10.5, 5.5);
    fold.lineTo(14.5, 5.5);
    fold.closeSubpath();
    painter.setBrush(QColor(0xc3, 0xcb, 0xd6));
    painter.drawPath(fold);

    const QPointF sparkCentre(4.5, 4.5);
    painter.setPen(roundPen(QColor(0xb8, 0x70, 0x00), 0.7));
    painter.setBrush(
            discGradient(sparkCentre, 4, QColor(0xff, 0xff, 0xd0), QColor(0xff, 0xc0, 0x10)));
    painter.drawPath(sparkPath(sparkCentre, 4.3, 2.3, 1.0));
    return image;
}

QImage openIcon()
{
    QImage image = transparentImage(IconExtent, IconExtent);
    QPainter painter(&image);
    prepare(painter);
    const QPen outline = roundPen(QColor(0x8a, 0x58, 0x0e));

    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(5.5, 3.5);
    back.lineTo(7.0, 5.0);
    back.lineTo(12.5, 5.0);
    back.lineTo(12.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    painter.setPen(outline);
    painter.setBrush(verticalGradient(3, 14, QColor(0xe0, 0xa0, 0x38), QColor(0xb8, 0x78, 0x1c)));
    painter.drawPath(back);

    painter.setPen(roundPen(QColor(0x9a, 0xa2, 0xae)));
    painter.setBrush(QColor(0xfa, 0xfb, 0xfd));
    painter.drawRect(QRectF(3.5, 6.5, 8, 5));

    QPainterPath flap;
    flap.moveTo(4.0, 8.5);
    flap.lineTo(15.5, 8.5);
    flap.lineTo(12.5, 13.5);
    flap.lineTo(1.5, 13.5);
    flap.closeSubpath();
    painter.setPen(outline);
    painter.setBrush(verticalGradient(8, 14, QColor(0xff, 0xdb, 0x7a), QColor(0xf2, 0xae, 0x2e)));
    painter.drawPath(flap);
    return image;
}

QImage saveIcon()
{
    QImage image = transparentImage(IconExtent, IconExtent);
    QPainter painter(&image);
    prepare(painter);

    QPainterPath body;
    body.moveTo(2.5, 1.5);
    body.lineTo(12.0, 1.5);
    body.lineTo(14.5, 4.0);
    body.lineTo(14.5, 13.5);
    body.quadTo(14.5, 14.5, 13.5, 14.5);
    body.lineTo(2.5, 14.5);
    body.quadTo(1.5, 14.5, 1.5, 13.5);
    body.lineTo(1.5, 2.5);
    body.quadTo(1.5, 1.5, 2.5, 1.5);
    painter.setPen(roundPen(QColor(0x1c, 0x3c, 0x6e)));
    painter.setBrush(verticalGradient(1, 15, QColor(0x5c, 0x93, 0xe0), QColor(0x2c, 0x5a, 0xa2)));
    painter.drawPath(body);

    painter.setPen(Qt::NoPen);
    painter.setBrush(verticalGradient(2, 6, QColor(0xf0, 0xf2, 0xf5), QColor(0xc4, 0xca, 0xd3)));
    painter.drawRect(QRectF(4, 2, 7, 4));
    painter.setBrush(QColor(0x2c, 0x5a, 0xa2));
    painter.drawRect(QRectF(8, 2.5, 2, 3));

    painter.setPen(roundPen(QColor(0x1c, 0x3c, 0x6e), 0.8));
    painter.setBrush(QColor(0xff, 0xff, 0xff));
    painter.drawRect(QRectF(3.5, 8.5, 9, 6));
    painter.setPen(QPen(QColor(0x9c, 0xb3, 0xd6), 1));
    painter.drawLine(QPointF(5, 10.5), QPointF(11, 10.5));
    painter.drawLine(QPointF(5, 12.5), QPointF(11, 12.5));
    return image;
}

QImage preferencesIcon()
{
    QImage image = transparentImage(IconExtent, IconExtent);
    QPainter painter(&image);
    prepare(painter);
    const QPointF centre(8, 8);
    painter.setPen(roundPen(QColor(0x3e, 0x47, 0x54)));
    painter.setBrush(discGradient(centre, 8, QColor(0xdd, 0xe3, 0xec), QColor(0x74, 0x81, 0x94)));
    painter.drawPath(gearPath(centre, 8, 7.2, 5.2, 2.2));
    return image;
}

QImage languageIcon()
{
    QImage image = transparentImage(IconExtent, IconExtent);
    QPainter painter(&image);
    prepare(painter);
    // Centred on a pixel corner so that the straight grid lines fall on whole pixels.
    const QPointF centre(7.5, 7.5);
    const qreal radius = 6.5;

    painter.setPen(Qt::NoPen);
    painter.setBrush(
            discGradient(centre, radius, QColor(0x8c, 0xd0, 0xff), QColor(0x1f, 0x62, 0xbd)));
    painter.drawEllipse(centre, radius, radius);

    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    painter.setClipPath(disc);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 190), 1.0));
    painter.drawEllipse(centre, 3.0, radius);
    painter.drawLine(QPointF(0, 7.5), QPointF(16, 7.5));
    QPainterPath parallels;
    parallels.moveTo(1, 3.6);
    parallels.quadTo(7.5, 5.6, 14, 3.6);
    parallels.moveTo(1, 11.4);
    parallels.quadTo(7.5, 9.4, 14, 11.4);
    painter.setPen(QPen(QColor(255, 255, 255, 150), 0.9));
    painter.drawPath(parallels);
    painter.setClipping(false);

    painter.setPen(roundPen(QColor(0x17, 0x47, 0x8a)));
    painter.drawEllipse(centre, radius, radius);
    return image;
}

QImage infoIcon()
{
    QImage image = transparentImage(IconExtent, IconExtent);
    QPainter painter(&image);
    prepare(painter);
    const QPointF centre(8, 8);

    painter.setPen(roundPen(QColor(0x12, 0x4a, 0x96)));
    painter.setBrush(discGradient(centre, 7, QColor(0x6c, 0xb4, 0xff), QColor(0x1a, 0x5f, 0xc4)));
    painter.drawEllipse(centre, 7, 7);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(7, 3, 2, 2));
    painter.drawRect(QRectF(7, 6.8, 2, 5.4));
    return image;
}

QImage warningIcon()
{
    QImage image = transparentImage(IconExtent, IconExtent);
    QPainter painter(&image);
    prepare(painter);

    QPainterPath triangle;
    triangle.moveTo(8, 1.5);
    triangle.lineTo(15, 14.5);
    triangle.lineTo(1, 14.5);
    triangle.closeSubpath();
    painter.setPen(roundPen(QColor(0x99, 0x5c, 0x00)));
    painter.setBrush(verticalGradient(1, 15, QColor(0xff, 0xdc, 0x5c), QColor(0xf5, 0xa0, 0x00)));
    painter.drawPath(triangle);

    QPolygonF bar;
    bar << QPointF(6.9, 5.5) << QPointF(9.1, 5.5) << QPointF(8.6, 10.2) << QPointF(7.4, 10.2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x33, 0x26, 0x00));
    painter.drawPolygon(bar);
    painter.drawEllipse(QPointF(8, 12.2), 1.05, 1.05);
    return image;
}

} // namespace ImageGen
