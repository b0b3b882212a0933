#pragma once

#include "textelement.h"

#include <QColor>
#include <QList>
#include <QString>

/*!
 * One scene of a project: shown for its duration, with its elements drawn in list order (the
 * last one on top) over its background colour.
 */
struct Scene
{
    QString name;
    QColor background = QColor(0x20, 0x24, 0x2c);
    int duration = 4000; // milliseconds
    QList<TextElement> elements;

    bool operator==(const Scene &other) const
    {
        return name == other.name && background == other.background
               && duration == other.duration && elements == other.elements;
    }
    bool operator!=(const Scene &other) const { return !(*this == other); }
};
