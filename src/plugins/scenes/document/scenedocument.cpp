#include "scenedocument.h"

#include <QUndoStack>

// Placeholder until the document is built.
SceneDocument::SceneDocument(QObject *parent) : IDocument(parent)
{
    m_pStack = new QUndoStack(this);
    m_pUndoStack = m_pStack;
}
SceneDocument::~SceneDocument() = default;
const Project &SceneDocument::project() const { return m_project; }
void SceneDocument::addScene(const Scene &, int) {}
void SceneDocument::removeScene(int) {}
void SceneDocument::renameScene(int, const QString &) {}
void SceneDocument::moveScene(int, int) {}
void SceneDocument::setSceneProperties(int, const QColor &, int) {}
void SceneDocument::addElement(int, const TextElement &) {}
void SceneDocument::moveElement(int, int, const QPointF &) {}
void SceneDocument::editElement(int, int, const TextElement &) {}
void SceneDocument::removeElement(int, int) {}
void SceneDocument::applyProject(const Project &, int, int, int) {}
bool SceneDocument::openBackup(const QString &) { return false; }
bool SceneDocument::isModified() const { return IDocument::isModified(); }
void SceneDocument::submitCommand(QUndoCommand *) {}
bool SceneDocument::create(int, int, int) { return false; }
bool SceneDocument::open() { return false; }
bool SceneDocument::save() { return false; }
bool SceneDocument::save(const QString &) { return false; }
bool SceneDocument::saveAs() { return false; }
bool SceneDocument::revert() { return false; }
void SceneDocument::cleanTempDir() {}
bool SceneDocument::saveBackup() { return false; }
