#include "moveelementcommand.h"

namespace {
const int moveElementId = 0x5e1e;
}

MoveElementCommand::MoveElementCommand(SceneDocument *pDocument, int nScene, int nElement,
                                       const QPointF &topLeft)
    : ProjectCommand(pDocument, tr("Move Text"))
    , m_before(scene(nScene).elements.at(nElement).geometry.topLeft())
    , m_after(topLeft)
    , m_nScene(nScene)
    , m_nElement(nElement)
{}

int MoveElementCommand::id() const
{
    return moveElementId;
}

bool MoveElementCommand::mergeWith(const QUndoCommand *pOther)
{
    const auto *other = static_cast<const MoveElementCommand *>(pOther);
    if (other->m_nScene != m_nScene || other->m_nElement != m_nElement)
        return false;
    m_after = other->m_after;
    return true;
}

void MoveElementCommand::redo()
{
    moveTo(m_after);
}

void MoveElementCommand::undo()
{
    moveTo(m_before);
}

void MoveElementCommand::moveTo(const QPointF &topLeft)
{
    scene(m_nScene).elements[m_nElement].geometry.moveTopLeft(topLeft);
    announce(ProjectChange::Elements, m_nScene, m_nElement);
}
