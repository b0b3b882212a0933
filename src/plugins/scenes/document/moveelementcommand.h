#pragma once

#include "projectcommand.h"

#include <QCoreApplication>
#include <QPointF>

// Moves an element on the stage. Consecutive moves of the same element (a drag, or repeated
// nudges) merge into one undo step.
class MoveElementCommand : public ProjectCommand
{
    Q_DECLARE_TR_FUNCTIONS(MoveElementCommand)

public:
    MoveElementCommand(SceneDocument *pDocument, int nScene, int nElement, const QPointF &topLeft);

    int id() const override;
    bool mergeWith(const QUndoCommand *pOther) override;
    void redo() override;
    void undo() override;

private:
    void moveTo(const QPointF &topLeft);

    QPointF m_before;
    QPointF m_after;
    int m_nScene;
    int m_nElement;
};
