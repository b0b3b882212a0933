#include "removeelementcommand.h"

RemoveElementCommand::RemoveElementCommand(SceneDocument *pDocument, int nScene, int nElement)
    : ProjectCommand(pDocument, tr("Delete Text"))
    , m_element(scene(nScene).elements.at(nElement))
    , m_nScene(nScene)
    , m_nElement(nElement)
{}

void RemoveElementCommand::redo()
{
    scene(m_nScene).elements.removeAt(m_nElement);
    announce(ProjectChange::Elements, m_nScene);
}

void RemoveElementCommand::undo()
{
    scene(m_nScene).elements.insert(m_nElement, m_element);
    announce(ProjectChange::Elements, m_nScene, m_nElement);
}
