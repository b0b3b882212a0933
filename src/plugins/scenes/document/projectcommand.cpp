#include "projectcommand.h"

#include "scenedocument.h"

ProjectCommand::ProjectCommand(SceneDocument *pDocument, const QString &strText)
    : QUndoCommand(strText)
    , m_pDocument(pDocument)
{}

Project &ProjectCommand::project() const
{
    return m_pDocument->m_project;
}

Scene &ProjectCommand::scene(int nScene) const
{
    return m_pDocument->m_project.scenes[nScene];
}

void ProjectCommand::announce(ProjectChange::Kind kind, int nScene, int nElement) const
{
    m_pDocument->announce(kind, nScene, nElement);
}
