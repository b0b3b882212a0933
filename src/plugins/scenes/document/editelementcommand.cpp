#include "editelementcommand.h"

EditElementCommand::EditElementCommand(SceneDocument *pDocument, int nScene, int nElement,
                                       const TextElement &changed)
    : ProjectCommand(pDocument, tr("Edit Text"))
    , m_before(scene(nScene).elements.at(nElement))
    , m_after(changed)
    , m_nScene(nScene)
    , m_nElement(nElement)
{}

void EditElementCommand::redo()
{
    apply(m_after);
}

void EditElementCommand::undo()
{
    apply(m_before);
}

void EditElementCommand::apply(const TextElement &element)
{
    scene(m_nScene).elements[m_nElement] = element;
    announce(ProjectChange::Elements, m_nScene, m_nElement);
}
