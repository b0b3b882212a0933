#include "addscenecommand.h"

AddSceneCommand::AddSceneCommand(SceneDocument *pDocument, const Scene &scene, int nIndex)
    : ProjectCommand(pDocument, tr("Add Scene"))
    , m_scene(scene)
    , m_nIndex(nIndex)
{}

void AddSceneCommand::redo()
{
    project().scenes.insert(m_nIndex, m_scene);
    announce(ProjectChange::SceneList, m_nIndex);
}

void AddSceneCommand::undo()
{
    project().scenes.removeAt(m_nIndex);
    announce(ProjectChange::SceneList, qMin(m_nIndex, project().scenes.size() - 1));
}
