#pragma once

#include <QHash>
#include <QList>

QT_BEGIN_NAMESPACE
class QObject;
QT_END_NAMESPACE

class EditorManager;
class IEditor;

// The data of one EditorManager instance.
class EditorManagerPrivate
{
public:
    explicit EditorManagerPrivate(EditorManager *pManager);

    void activate(IEditor *pEditor);
    // bEditorAlive is false while the editor object is being destroyed: then none of its own
    // members may be touched any more.
    void unregister(IEditor *pEditor, bool bEditorAlive);
    void watch(IEditor *pEditor);
    void unwatchIfUnused(IEditor *pEditor);

    EditorManager *const q;
    QList<IEditor *> editors;        // not owned
    IEditor *activeEditor = nullptr; // not owned; need not be registered
    // The registered editors and the active one, keyed by their QObject part while they were
    // alive, so that a destroyed() notification finds its editor without any cast.
    QHash<QObject *, IEditor *> watchedEditors;
};
