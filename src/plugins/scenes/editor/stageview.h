#pragma once

#include "scene.h"
#include "scenes_global.h"

#include <QGraphicsView>
#include <QList>
#include <QMap>
#include <QPointF>
#include <QSize>

class TextElementItem;

// New top left corners of dragged elements, by element index.
using ElementMoves = QMap<int, QPointF>;

/*!
 * The canvas: one scene of the project on a stage of the project's size, fitted into the view.
 * Text elements can be selected, dragged with the mouse and nudged with the arrow keys (a pixel,
 * or ten with Shift); they cannot leave the stage. The
 * view only shows what it is given and reports what the user did; the editor turns the reports
 * into document edits, and the document's change notice brings the new state back here.
 */
class SCENES_EXPORT StageView : public QGraphicsView
{
    Q_OBJECT

public:
    explicit StageView(QWidget *parent = nullptr);
    ~StageView() override;

    // Shows the scene on a stage of the given size and selects one element (-1: none). A null
    // scene leaves an empty stage.
    void showScene(const QSize &stageSize, const Scene *pScene, int nSelectedElement = -1);
    QList<int> selectedElements() const;
    // The first selected element, or -1.
    int selectedElement() const;
    TextElementItem *itemOfElement(int nElement) const;

signals:
    void elementsMoved(const ElementMoves &moves);
    void selectedElementChanged(int nElement);
    void elementDoubleClicked(int nElement);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fitStage();
    // Reports the elements whose items were dragged or nudged away from the document's place.
    void reportMoves();
    // The distance an arrow key moves the selection; null for other keys.
    static QPointF nudgeStep(const QKeyEvent *event);
    QList<TextElementItem *> elementItems() const;
    void onSceneSelectionChanged();

    QGraphicsScene *m_pStage; // child
    bool m_bRebuilding = false;
};
