#pragma once

#include "projectcommand.h"

#include <QCoreApplication>

// Inserts a scene at an index.
class AddSceneCommand : public ProjectCommand
{
    Q_DECLARE_TR_FUNCTIONS(AddSceneCommand)

public:
    AddSceneCommand(SceneDocument *pDocument, const Scene &scene, int nIndex);

    void redo() override;
    void undo() override;

private:
    Scene m_scene;
    int m_nIndex;
};
