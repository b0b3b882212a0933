#pragma once

#include "projectcommand.h"

// Changes a scene's own properties (name, background, duration); its elements stay as they are.
// Renaming and the properties dialog both use it, each with its own undo text.
class ChangeSceneCommand : public ProjectCommand
{
public:
    ChangeSceneCommand(SceneDocument *pDocument, int nIndex, const Scene &changed,
                       const QString &strText);

    void redo() override;
    void undo() override;

private:
    void apply(const Scene &properties);

    Scene m_before; // without elements
    Scene m_after;  // without elements
    int m_nIndex;
};
