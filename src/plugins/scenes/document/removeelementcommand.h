#pragma once

#include "projectcommand.h"

#include <QCoreApplication>

// Deletes an element from a scene.
class RemoveElementCommand : public ProjectCommand
{
    Q_DECLARE_TR_FUNCTIONS(RemoveElementCommand)

public:
    RemoveElementCommand(SceneDocument *pDocument, int nScene, int nElement);

    void redo() override;
    void undo() override;

private:
    TextElement m_element;
    int m_nScene;
    int m_nElement;
};
