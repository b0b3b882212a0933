#pragma once

#include "scenes_global.h"
#include "stageview.h"

#include <QPointer>
#include <QWidget>

class ElementPropertiesPanel;
class SceneDocument;
class SceneListPanel;
QT_BEGIN_NAMESPACE
class QAction;
class QPushButton;
QT_END_NAMESPACE

/*!
 * The editing surface of one project: the scene list, the canvas with its "Add Text" button,
 * and the selected element's properties. Every edit goes through the document's editing
 * functions; the widget shows the document again when the document reports a change.
 *
 * The widget is the context "Scenes.Editor". It registers the editor's commands for it (see
 * SceneEditorCommands), which its buttons and keys go through, and has its own "Preview Current
 * Scene In Browser", which shows the scene the user is on.
 */
class SCENES_EXPORT SceneEditorWidget : public QWidget
{
    Q_OBJECT

public:
    static const char contextId[];

    explicit SceneEditorWidget(QWidget *parent = nullptr);
    ~SceneEditorWidget() override;

    // Null lets go of the document and empties the surface.
    void setDocument(SceneDocument *pDocument);
    SceneDocument *document() const;
    int currentScene() const;
    StageView *stageView() const;
    QAction *previewSceneAction() const;

public slots:
    // Shows the whole project again, keeping the current scene where it still exists.
    void reload();
    // Shows what a ProjectChange from the document's dataChanged() describes.
    void applyChange(QObject *pUpdateInfo);

private:
    void showScene(int nScene, int nSelectedElement);
    void showSelectedElement(int nElement);
    void addScene();
    void addText();
    void moveElements(const ElementMoves &moves);
    void deleteSelectedTexts();
    QList<QAction *> commandActions() const;
    void editSelectedElement(const TextElement &changed);
    void previewCurrentScene();
    template<typename Edit>
    void inOneUndoStep(const QString &text, int nEdits, Edit edit);

    QPointer<SceneDocument> m_pDocument;
    SceneListPanel *m_pSceneList;
    StageView *m_pStageView;
    QPushButton *m_pAddTextButton;
    ElementPropertiesPanel *m_pProperties;
    QAction *m_pPreviewAction;    // child; registered for this context
    QAction *m_pAddTextAction;    // child; registered for this context
    QAction *m_pDeleteTextAction; // child; registered for this context
    int m_nCurrentScene = -1;
};
