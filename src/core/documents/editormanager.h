#pragma once

#include "core_global.h"
#include "ieditor.h"

#include <QList>
#include <QObject>

#include <memory>

class EditorManagerPrivate;
class IDocument;

/*!
 * The registry of editors. It knows the active editor and announces every change of it, in
 * this order: the old editor's aboutToDeactivate(), editorDeactivated(old), the new editor's
 * aboutToActivate(), editorActivated(new), leaving out the side that is null. An editor that is
 * deleted without being removed leaves the registry by itself.
 *
 * The main window creates the single instance; all operations are static.
 */
class CORE_EXPORT EditorManager : public QObject
{
    Q_OBJECT
    friend class MainWindow;
    friend class EditorManagerPrivate;

public:
    static EditorManager *getInstance();
    static const QList<IEditor *> &getEditors();
    // Registers without activating.
    static void addEditor(IEditor *pEditor);
    // When the removed editor was active, its neighbour becomes active: the next one, or the
    // previous one when it was the last.
    static bool removeEditor(IEditor *pEditor);
    static IEditor *activeEditor();
    static IEditor *getEditorOfDocument(IDocument *pDocument);

signals:
    void editorActivated(IEditor *pEditor);
    void editorDeactivated(IEditor *pEditor);

public slots:
    // The editor need not be registered; null leaves no editor active.
    static void activateEditor(IEditor *pEditor);

private slots:
    void editorDestroyed(QObject *pObject);

private:
    EditorManager();
    ~EditorManager() override;

    std::unique_ptr<EditorManagerPrivate> m_pPrivate; // also reachable statically while current
};
