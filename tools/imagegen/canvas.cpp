#include "canvas.h"

namespace ImageGen {

QImage transparentImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void prepare(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QLinearGradient verticalGradient(qreal top, qreal bottom, const QColor &topColor,
                                 const QColor &bottomColor)
{
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, topColor);
    gradient.setColorAt(1, bottomColor);
    return gradient;
}

QPen roundPen(const QColor &color, qreal width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace ImageGen
