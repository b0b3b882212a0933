#pragma once

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>

// Small drawing helpers shared by every picture of the generator.
namespace ImageGen {

// A fully transparent image to draw on.
QImage transparentImage(int width, int height);

// Antialiased painting, the way every picture is drawn.
void prepare(QPainter &painter);

QLinearGradient verticalGradient(qreal top, qreal bottom, const QColor &topColor,
                                 const QColor &bottomColor);

// A solid pen with round joins and caps, so small shapes keep soft corners.
QPen roundPen(const QColor &color, qreal width = 1.0);

} // namespace ImageGen
