#include "messageboxicons.h"

#include "canvas.h"

#include <QPainterPath>
#include <QRadialGradient>

namespace ImageGen {

namespace {

const int IconExtent = 32;
const QPointF Centre(16, 16);
const qreal DiscRadius = 14.5;

// A shaded disc with a dark rim, the ground of three of the four pictures; the painter is left
// ready to draw the white sign on it.
QImage disc(const QColor &light, const QColor &dark, const QColor &rim, QPainter &painter)
{
    QImage image = transparentImage(IconExtent, IconExtent);
    painter.begin(&image);
    prepare(painter);
    QRadialGradient gradient(Centre, DiscRadius, Centre - QPointF(5, 6));
    gradient.setColorAt(0, light);
    gradient.setColorAt(1, dark);
    painter.setPen(roundPen(rim, 1.5));
    painter.setBrush(gradient);
    painter.drawEllipse(Centre, DiscRadius, DiscRadius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    return image;
}

} // namespace

QImage informationBoxIcon()
{
    QPainter painter;
    QImage image = disc(QColor(0x7c, 0xc0, 0xff), QColor(0x17, 0x5c, 0xc6),
                        QColor(0x0e, 0x3c, 0x80), painter);
    painter.drawEllipse(QPointF(16, 8.5), 2.3, 2.3);
    painter.drawRoundedRect(QRectF(13.8, 12.5, 4.4, 12.5), 1.2, 1.2);
    painter.end();
    return image;
}

QImage questionBoxIcon()
{
    QPainter painter;
    QImage image = disc(QColor(0x72, 0xe0, 0xd2), QColor(0x10, 0x86, 0x7c),
                        QColor(0x0a, 0x56, 0x50), painter);
    QPainterPath hook;
    hook.moveTo(11.2, 12.0);
    hook.cubicTo(11.2, 5.8, 21.0, 5.8, 21.0, 11.6);
    hook.cubicTo(21.0, 15.6, 16.0, 15.4, 16.0, 19.5);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(hook);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(16, 24.6), 2.2, 2.2);
    painter.end();
    return image;
}

QImage warningBoxIcon()
{
    QImage image = transparentImage(IconExtent, IconExtent);
    QPainter painter(&image);
    prepare(painter);
    QPainterPath triangle;
    triangle.moveTo(16, 2.5);
    triangle.lineTo(30, 28.5);
    triangle.lineTo(2, 28.5);
    triangle.closeSubpath();
    painter.setPen(roundPen(QColor(0x8a, 0x52, 0x00), 1.5));
    painter.setBrush(verticalGradient(2, 29, QColor(0xff, 0xdf, 0x66), QColor(0xf2, 0x9a, 0x00)));
    painter.drawPath(triangle);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x33, 0x26, 0x00));
    QPolygonF bar;
    bar << QPointF(13.9, 10.5) << QPointF(18.1, 10.5) << QPointF(17.1, 20.0) << QPointF(14.9, 20.0);
    painter.drawPolygon(bar);
    painter.drawEllipse(QPointF(16, 24.0), 2.0, 2.0);
    return image;
}

QImage criticalBoxIcon()
{
    QPainter painter;
    QImage image = disc(QColor(0xff, 0x8a, 0x80), QColor(0xc6, 0x1c, 0x1c),
                        QColor(0x7a, 0x0e, 0x0e), painter);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 3.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
    painter.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
    painter.end();
    return image;
}

} // namespace ImageGen
