#include "sceneeditor.h"

// Placeholder until the editor is built.
SceneEditor::SceneEditor(QObject *parent) : IEditor(parent) {}
SceneEditor::~SceneEditor() = default;
