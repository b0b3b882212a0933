#include "stageview.h"

#include "textelementitem.h"

#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMouseEvent>

StageView::StageView(QWidget *parent)
    : QGraphicsView(parent)
    , m_pStage(new QGraphicsScene(this))
{
    setObjectName(QStringLiteral("stageView"));
    setAccessibleName(tr("Stage"));
    setScene(m_pStage);
    setFocusPolicy(Qt::StrongFocus);
    setRenderHint(QPainter::Antialiasing);
    setRenderHint(QPainter::TextAntialiasing);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setBackgroundBrush(palette().dark());
    connect(m_pStage, &QGraphicsScene::selectionChanged, this, &StageView::onSceneSelectionChanged);
}

StageView::~StageView()
{
    // The stage deletes its items after this view is gone; their deselection is no news.
    disconnect(m_pStage, nullptr, this, nullptr);
}

void StageView::showScene(const QSize &stageSize, const Scene *pScene, int nSelectedElement)
{
    m_bRebuilding = true;
    m_pStage->clear();
    m_pStage->setSceneRect(QRectF(QPointF(0, 0), QSizeF(stageSize)));
    if (pScene) {
        m_pStage->addRect(m_pStage->sceneRect(), Qt::NoPen, pScene->background)->setZValue(-1);
        for (int i = 0; i < pScene->elements.size(); ++i) {
            auto *item = new TextElementItem(i, pScene->elements.at(i));
            m_pStage->addItem(item);
            item->setSelected(i == nSelectedElement);
        }
    }
    m_bRebuilding = false;
    fitStage();
    emit selectedElementChanged(selectedElement());
}

QList<int> StageView::selectedElements() const
{
    QList<int> indexes;
    for (TextElementItem *item : elementItems()) {
        if (item->isSelected())
            indexes.append(item->index());
    }
    return indexes;
}

int StageView::selectedElement() const
{
    const QList<int> indexes = selectedElements();
    return indexes.isEmpty() ? -1 : indexes.first();
}

TextElementItem *StageView::itemOfElement(int nElement) const
{
    for (TextElementItem *item : elementItems()) {
        if (item->index() == nElement)
            return item;
    }
    return nullptr;
}

void StageView::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    fitStage();
}

void StageView::showEvent(QShowEvent *event)
{
    QGraphicsView::showEvent(event);
    fitStage();
}

void StageView::mouseReleaseEvent(QMouseEvent *event)
{
    QGraphicsView::mouseReleaseEvent(event);
    reportMoves();
}

void StageView::reportMoves()
{
    ElementMoves moves;
    for (TextElementItem *item : elementItems()) {
        if (item->wasMoved())
            moves.insert(item->index(), item->pos());
    }
    if (!moves.isEmpty())
        emit elementsMoved(moves);
}

void StageView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QGraphicsView::mouseDoubleClickEvent(event);
    for (QGraphicsItem *item : items(event->pos())) {
        if (item->type() == TextElementItem::Type) {
            emit elementDoubleClicked(static_cast<TextElementItem *>(item)->index());
            return;
        }
    }
}

void StageView::keyPressEvent(QKeyEvent *event)
{
    const QPointF step = nudgeStep(event);
    if (!step.isNull() && !selectedElements().isEmpty()) {
        for (TextElementItem *item : elementItems()) {
            if (item->isSelected())
                item->setPos(item->pos() + step); // the item stays on the stage
        }
        reportMoves();
        event->accept();
        return;
    }
    QGraphicsView::keyPressEvent(event);
}

QPointF StageView::nudgeStep(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)
        return QPointF();
    const qreal distance = modifiers == Qt::ShiftModifier ? 10 : 1;
    switch (event->key()) {
    case Qt::Key_Left:
        return QPointF(-distance, 0);
    case Qt::Key_Right:
        return QPointF(distance, 0);
    case Qt::Key_Up:
        return QPointF(0, -distance);
    case Qt::Key_Down:
        return QPointF(0, distance);
    default:
        return QPointF();
    }
}

void StageView::fitStage()
{
    if (!m_pStage->sceneRect().isEmpty())
        fitInView(m_pStage->sceneRect(), Qt::KeepAspectRatio);
}

QList<TextElementItem *> StageView::elementItems() const
{
    QList<TextElementItem *> found;
    const QList<QGraphicsItem *> all = m_pStage->items(Qt::AscendingOrder);
    for (QGraphicsItem *item : all) {
        if (item->type() == TextElementItem::Type)
            found.append(static_cast<TextElementItem *>(item));
    }
    return found;
}

void StageView::onSceneSelectionChanged()
{
    if (!m_bRebuilding)
        emit selectedElementChanged(selectedElement());
}
