#pragma once

#include "scenes_global.h"

#include <QPointF>
#include <QSizeF>

/*!
 * Where a text box may sit on the stage: at whole pixels, and wholly inside the stage when it
 * fits. A box wider or taller than the stage starts at the stage's left or top edge, so its
 * beginning stays in sight.
 */
class SCENES_EXPORT StageBounds
{
public:
    static QPointF keptOnStage(const QPointF &topLeft, const QSizeF &boxSize,
                               const QSizeF &stageSize);
};
