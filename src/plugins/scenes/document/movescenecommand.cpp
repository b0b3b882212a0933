#include "movescenecommand.h"

MoveSceneCommand::MoveSceneCommand(SceneDocument *pDocument, int nFrom, int nTo)
    : ProjectCommand(pDocument, tr("Move Scene"))
    , m_nFrom(nFrom)
    , m_nTo(nTo)
{}

void MoveSceneCommand::redo()
{
    project().scenes.move(m_nFrom, m_nTo);
    announce(ProjectChange::SceneList, m_nTo);
}

void MoveSceneCommand::undo()
{
    project().scenes.move(m_nTo, m_nFrom);
    announce(ProjectChange::SceneList, m_nFrom);
}
