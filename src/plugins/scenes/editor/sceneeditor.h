#pragma once

#include "ieditor.h"
#include "scenes_global.h"

#include <QPointer>

class SceneEditorWidget;
QT_BEGIN_NAMESPACE
class QMdiSubWindow;
class QUndoStack;
QT_END_NAMESPACE

/*!
 * The editor of a scenes project. When its document is loaded it builds the editing surface in
 * a maximised sub-window of the main window's MDI area, and keeps the sub-window's file path
 * and modified mark (and, while it is the active editor, the title bar's) in step with the
 * document. Closing the sub-window asks the document to close; the editor's destruction takes
 * the sub-window away.
 */
class SCENES_EXPORT SceneEditor : public IEditor
{
    Q_OBJECT

public:
    explicit SceneEditor(QObject *parent = nullptr);
    ~SceneEditor() override;

    // Null until the document is loaded.
    QMdiSubWindow *subWindow() const;
    SceneEditorWidget *widget() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onDocumentLoaded();
    void onDocumentUnloading();
    void onAboutToActivate();
    void createSubWindow();
    void followUndoStack();
    void updateWindowState();
    void updateRecentProjectsMenu();
    bool isActiveEditor() const;
    void closeRequestedByUser();

    QPointer<QMdiSubWindow> m_pSubWindow;  // owned by the MDI area; deleted by this editor
    QPointer<SceneEditorWidget> m_pWidget; // the sub-window's widget
    QPointer<QUndoStack> m_pFollowedStack;
};
