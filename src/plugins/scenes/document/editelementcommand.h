#pragma once

#include "projectcommand.h"

#include <QCoreApplication>

// Replaces an element with an edited copy of it (text, size, colour, font size, entrance).
class EditElementCommand : public ProjectCommand
{
    Q_DECLARE_TR_FUNCTIONS(EditElementCommand)

public:
    EditElementCommand(SceneDocument *pDocument, int nScene, int nElement,
                       const TextElement &changed);

    void redo() override;
    void undo() override;

private:
    void apply(const TextElement &element);

    TextElement m_before;
    TextElement m_after;
    int m_nScene;
    int m_nElement;
};
