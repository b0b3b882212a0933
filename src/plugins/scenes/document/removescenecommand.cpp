#include "removescenecommand.h"

RemoveSceneCommand::RemoveSceneCommand(SceneDocument *pDocument, int nIndex)
    : ProjectCommand(pDocument, tr("Remove Scene"))
    , m_scene(project().scenes.at(nIndex))
    , m_nIndex(nIndex)
{}

void RemoveSceneCommand::redo()
{
    project().scenes.removeAt(m_nIndex);
    announce(ProjectChange::SceneList, qMin(m_nIndex, project().scenes.size() - 1));
}

void RemoveSceneCommand::undo()
{
    project().scenes.insert(m_nIndex, m_scene);
    announce(ProjectChange::SceneList, m_nIndex);
}
