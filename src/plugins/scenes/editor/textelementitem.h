#pragma once

#include "scenes_global.h"
#include "textelement.h"

#include <QGraphicsItem>

/*!
 * A text element drawn on the stage. It sits at the element's top left corner; the user can
 * select it and drag it, and the stage view reads wasMoved() when the drag ends to tell the
 * document. Wherever it is dragged or nudged to, it stays on the stage at whole pixels
 * (StageBounds). The item never changes the element itself.
 */
class SCENES_EXPORT TextElementItem : public QGraphicsItem
{
public:
    enum { Type = UserType + 1 };

    TextElementItem(int nIndex, const TextElement &element);

    int index() const;
    const TextElement &element() const;
    // True when the item was dragged away from where the document has the element.
    bool wasMoved() const;

    int type() const override;
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    int m_nIndex;
    TextElement m_element;
};
