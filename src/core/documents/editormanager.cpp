#include "editormanager.h"
#include "editormanager_p.h"

#include "ieditor.h"

namespace {

EditorManager *s_instance = nullptr;
EditorManagerPrivate *d = nullptr; // the data of s_instance

EditorManagerPrivate *current(const char *operation)
{
    if (!d)
        qWarning("EditorManager::%s called while no editor registry exists", operation);
    return d;
}

} // namespace

EditorManagerPrivate::EditorManagerPrivate(EditorManager *pManager)
    : q(pManager)
{}

void EditorManagerPrivate::activate(IEditor *pEditor)
{
    if (pEditor == activeEditor)
        return;
    IEditor *previous = activeEditor;
    if (previous) {
        emit previous->aboutToDeactivate();
        emit q->editorDeactivated(previous);
    }
    activeEditor = pEditor;
    if (pEditor) {
        watch(pEditor);
        emit pEditor->aboutToActivate();
        emit q->editorActivated(pEditor);
    }
    if (previous)
        unwatchIfUnused(previous);
}

void EditorManagerPrivate::unregister(IEditor *pEditor, bool bEditorAlive)
{
    const bool wasActive = pEditor == activeEditor;
    if (wasActive) {
        if (bEditorAlive)
            emit pEditor->aboutToDeactivate();
        emit q->editorDeactivated(pEditor);
        activeEditor = nullptr;
    }
    const int index = editors.indexOf(pEditor);
    // value() answers null for the index -1 of a lone editor.
    IEditor *successor =
            index == editors.size() - 1 ? editors.value(index - 1) : editors.value(index + 1);
    editors.removeAt(index);
    if (bEditorAlive)
        unwatchIfUnused(pEditor);
    if (wasActive && !editors.isEmpty())
        activate(successor);
}

void EditorManagerPrivate::watch(IEditor *pEditor)
{
    QObject *object = pEditor;
    if (watchedEditors.contains(object))
        return;
    watchedEditors.insert(object, pEditor);
    QObject::connect(object, &QObject::destroyed, q, &EditorManager::editorDestroyed);
}

void EditorManagerPrivate::unwatchIfUnused(IEditor *pEditor)
{
    if (pEditor == activeEditor || editors.contains(pEditor))
        return;
    QObject *object = pEditor;
    watchedEditors.remove(object);
    QObject::disconnect(object, &QObject::destroyed, q, &EditorManager::editorDestroyed);
}

EditorManager::EditorManager()
    : m_pPrivate(new EditorManagerPrivate(this))
{
    s_instance = this;
    d = m_pPrivate.get();
}

EditorManager::~EditorManager()
{
    if (s_instance == this) {
        s_instance = nullptr;
        d = nullptr;
    }
}

EditorManager *EditorManager::getInstance()
{
    return s_instance;
}

const QList<IEditor *> &EditorManager::getEditors()
{
    static const QList<IEditor *> none;
    return d ? d->editors : none;
}

void EditorManager::addEditor(IEditor *pEditor)
{
    if (!pEditor) {
        qWarning("EditorManager::addEditor: the editor is null");
        return;
    }
    if (!current("addEditor") || d->editors.contains(pEditor))
        return;
    d->editors.append(pEditor);
    d->watch(pEditor);
}

bool EditorManager::removeEditor(IEditor *pEditor)
{
    if (!pEditor)
        return true;
    if (!current("removeEditor") || !d->editors.contains(pEditor))
        return false;
    d->unregister(pEditor, true);
    return true;
}

void EditorManager::activateEditor(IEditor *pEditor)
{
    if (current("activateEditor"))
        d->activate(pEditor);
}

IEditor *EditorManager::activeEditor()
{
    return d ? d->activeEditor : nullptr;
}

IEditor *EditorManager::getEditorOfDocument(IDocument *pDocument)
{
    if (!pDocument || !d)
        return nullptr;
    for (IEditor *editor : qAsConst(d->editors)) {
        if (editor->getDocument() == pDocument)
            return editor;
    }
    return nullptr;
}

void EditorManager::editorDestroyed(QObject *pObject)
{
    IEditor *editor = m_pPrivate->watchedEditors.take(pObject);
    if (!editor)
        return;
    if (m_pPrivate->editors.contains(editor)) {
        m_pPrivate->unregister(editor, false);
    } else if (editor == m_pPrivate->activeEditor) {
        m_pPrivate->activeEditor = nullptr;
        emit editorDeactivated(editor);
    }
}
