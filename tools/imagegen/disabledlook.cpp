#include "disabledlook.h"

#include <QColor>
#include <QtMath>

namespace ImageGen {

namespace {

const int GreyTarget = 168;     // the grey every tone is pulled towards
const qreal ToneKept = 0.45;    // how much of the original light and dark survives
const qreal OpacityKept = 0.55; // how much of the original alpha survives

QRgb greyed(QRgb pixel)
{
    const int alpha = qAlpha(pixel);
    if (alpha == 0)
        return pixel;
    const int grey = qGray(pixel);
    const int tone = qRound(GreyTarget + (grey - GreyTarget) * ToneKept);
    // Rounding up keeps every faintly covered pixel covered, so the outline stays the same.
    const int fadedAlpha = qMax(1, qCeil(alpha * OpacityKept));
    return qRgba(tone, tone, tone, fadedAlpha);
}

} // namespace

QImage disabledLook(const QImage &normal)
{
    QImage image = normal.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = greyed(line[x]);
    }
    return image;
}

} // namespace ImageGen
