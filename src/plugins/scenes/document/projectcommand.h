#pragma once

#include "project.h"
#include "projectchange.h"

#include <QUndoCommand>

class SceneDocument;

/*!
 * The base of the document's undo commands: they change the document's project in place and
 * announce each change through the document's dataChanged().
 */
class ProjectCommand : public QUndoCommand
{
protected:
    ProjectCommand(SceneDocument *pDocument, const QString &strText);

    Project &project() const;
    Scene &scene(int nScene) const;
    void announce(ProjectChange::Kind kind, int nScene = -1, int nElement = -1) const;

private:
    SceneDocument *m_pDocument; // owns the stack that owns this command
};
