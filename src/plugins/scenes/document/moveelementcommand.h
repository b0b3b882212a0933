#pragma once

#include "projectcommand.h"

#include <QCoreApplication>
#include <QPointF>

// Moves an element on the stage; each drag and each nudge is an undo step of its own.
class MoveElementCommand : public ProjectCommand
{
    Q_DECLARE_TR_FUNCTIONS(MoveElementCommand)

public:
    MoveElementCommand(SceneDocument *pDocument, int nScene, int nElement, const QPointF &topLeft);

    void redo() override;
    void undo() override;

private:
    void moveTo(const QPointF &topLeft);

    QPointF m_before;
    QPointF m_after;
    int m_nScene;
    int m_nElement;
};
