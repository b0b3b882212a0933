#include "moveelementcommand.h"

MoveElementCommand::MoveElementCommand(SceneDocument *pDocument, int nScene, int nElement,
                                       const QPointF &topLeft)
    : ProjectCommand(pDocument, tr("Move Text"))
    , m_before(scene(nScene).elements.at(nElement).geometry.topLeft())
    , m_after(topLeft)
    , m_nScene(nScene)
    , m_nElement(nElement)
{}

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
