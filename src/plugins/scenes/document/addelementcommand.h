#pragma once

#include "projectcommand.h"

#include <QCoreApplication>

// Puts a new element on top of a scene.
class AddElementCommand : public ProjectCommand
{
    Q_DECLARE_TR_FUNCTIONS(AddElementCommand)

public:
    AddElementCommand(SceneDocument *pDocument, int nScene, const TextElement &element);

    void redo() override;
    void undo() override;

private:
    TextElement m_element;
    int m_nScene;
};
