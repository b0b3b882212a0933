#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

/*!
 * A piece of text on the stage. Its geometry is in stage pixels, with the origin at the stage's
 * top left corner. The entrance animation plays when the element's scene starts.
 */
struct TextElement
{
    enum class Entrance { None, Fade, SlideLeft, SlideUp, Zoom };

    QString text;
    QRectF geometry;
    QColor color = QColor(Qt::white);
    int fontSize = 48;               // pixels
    Entrance entrance = Entrance::Fade;
    int entranceDuration = 600;      // milliseconds

    bool operator==(const TextElement &other) const
    {
        return text == other.text && geometry == other.geometry && color == other.color
               && fontSize == other.fontSize && entrance == other.entrance
               && entranceDuration == other.entranceDuration;
    }
    bool operator!=(const TextElement &other) const { return !(*this == other); }
};
