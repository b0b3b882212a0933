#include "textelementitem.h"

#include "stagebounds.h"

#include <QGraphicsScene>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

TextElementItem::TextElementItem(int nIndex, const TextElement &element)
    : m_nIndex(nIndex)
    , m_element(element)
{
    setFlags(ItemIsSelectable | ItemIsMovable | ItemSendsGeometryChanges);
    setPos(element.geometry.topLeft());
}

int TextElementItem::index() const
{
    return m_nIndex;
}

const TextElement &TextElementItem::element() const
{
    return m_element;
}

bool TextElementItem::wasMoved() const
{
    return pos() != m_element.geometry.topLeft();
}

int TextElementItem::type() const
{
    return Type;
}

QRectF TextElementItem::boundingRect() const
{
    return QRectF(QPointF(0, 0), m_element.geometry.size());
}

void TextElementItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                            QWidget *widget)
{
    Q_UNUSED(widget)
    const QRectF frame = boundingRect();
    QFont font = painter->font();
    font.setPixelSize(qMax(1, m_element.fontSize));
    painter->setFont(font);
    painter->setPen(m_element.color);
    painter->drawText(frame, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_element.text);

    // An outline makes the box findable even when its text is empty or blends into the
    // background; the selected box gets a stronger one.
    const bool selected = option->state & QStyle::State_Selected;
    QPen outline(selected ? QColor(0x3d, 0x9b, 0xff) : QColor(255, 255, 255, 70));
    outline.setCosmetic(true);
    outline.setWidth(selected ? 2 : 1);
    outline.setStyle(selected ? Qt::SolidLine : Qt::DotLine);
    painter->setPen(outline);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(frame);
}

QVariant TextElementItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemPositionChange && scene())
        return StageBounds::keptOnStage(value.toPointF(), m_element.geometry.size(),
                                        scene()->sceneRect().size());
    return QGraphicsItem::itemChange(change, value);
}
