#include "stagebounds.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace {
double keptInRange(double position, double box, double stage)
{
    const double last = std::max(0.0, std::floor(stage - box));
    return qBound(0.0, double(qRound64(position)), last);
}
} // namespace

QPointF StageBounds::keptOnStage(const QPointF &topLeft, const QSizeF &boxSize,
                                 const QSizeF &stageSize)
{
    return QPointF(keptInRange(topLeft.x(), boxSize.width(), stageSize.width()),
                   keptInRange(topLeft.y(), boxSize.height(), stageSize.height()));
}
