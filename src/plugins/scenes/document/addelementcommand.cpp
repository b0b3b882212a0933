#include "addelementcommand.h"

AddElementCommand::AddElementCommand(SceneDocument *pDocument, int nScene,
                                     const TextElement &element)
    : ProjectCommand(pDocument, tr("Add Text"))
    , m_element(element)
    , m_nScene(nScene)
{}

void AddElementCommand::redo()
{
    QList<TextElement> &elements = scene(m_nScene).elements;
    elements.append(m_element);
    announce(ProjectChange::Elements, m_nScene, elements.size() - 1);
}

void AddElementCommand::undo()
{
    scene(m_nScene).elements.removeLast();
    announce(ProjectChange::Elements, m_nScene);
}
