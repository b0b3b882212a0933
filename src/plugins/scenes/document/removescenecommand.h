#pragma once

#include "projectcommand.h"

#include <QCoreApplication>

// Takes a scene, with its elements, out of the project.
class RemoveSceneCommand : public ProjectCommand
{
    Q_DECLARE_TR_FUNCTIONS(RemoveSceneCommand)

public:
    RemoveSceneCommand(SceneDocument *pDocument, int nIndex);

    void redo() override;
    void undo() override;

private:
    Scene m_scene;
    int m_nIndex;
};
