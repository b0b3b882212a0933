#pragma once

#include "projectcommand.h"

#include <QCoreApplication>

// Moves a scene to another place in the playing order.
class MoveSceneCommand : public ProjectCommand
{
    Q_DECLARE_TR_FUNCTIONS(MoveSceneCommand)

public:
    MoveSceneCommand(SceneDocument *pDocument, int nFrom, int nTo);

    void redo() override;
    void undo() override;

private:
    int m_nFrom;
    int m_nTo;
};
