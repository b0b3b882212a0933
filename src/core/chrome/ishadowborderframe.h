#pragma once

#include "core_global.h"

#include <QPixmap>
#include <QWidget>

class QMouseEvent;
class QPaintEvent;

/*!
 * One of the four frameless strips that lie around a frameless main window. A strip is 8 pixels
 * thick and 16 pixels longer than its side of the window. It draws a soft shadow while the
 * window is active and a thin line while it is inactive, shows resize cursors near the window's
 * edges and corners, and resizes the window when dragged.
 *
 * The parent is the main window. The window places and redraws its strips with updateBorder()
 * after every move, resize and activation change, and connects activationChangeFiltered() to
 * an EventFilter so that a strip never keeps the activation for itself.
 */
class CORE_EXPORT IShadowBorderFrame : public QWidget
{
    Q_OBJECT

public:
    // The side of the main window the strip lies on. Any other value gives a strip that is
    // never placed or drawn and has no resize zone.
    enum BorderPosition { Top = 0, Left = 1, Right = 2, Bottom = 3 };

    // Which edges a drag from the cursor's position moves.
    enum class HitZone {
        None = -1,
        Top = 0,
        TopLeft = 1,
        TopRight = 2,
        Left = 3,
        Right = 4,
        Bottom = 5,
        BottomLeft = 6,
        BottomRight = 7
    };

    IShadowBorderFrame(QWidget *parent, int position);

    void updateBorder(bool bActive);

public slots:
    void activationChangeFiltered();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool placeAlongMainWindow();
    void drawActiveLook(QPainter &painter);
    void drawInactiveLook(QPainter &painter);
    HitZone hitZone(const QPoint &globalPos) const;
    void updateCursor();
    void resizeMainWindow(const QPoint &globalPos);

    QPixmap m_image;                  // the composed strip, rebuilt by updateBorder()
    QWidget *m_pMainWindow = nullptr; // also the parent
    int m_position = Top;             // a BorderPosition
    bool m_bResizing = false;         // the left button went down on the strip
    HitZone m_zone = HitZone::None;   // under the cursor at the last move without a button
    QPixmap m_top;
    QPixmap m_left;
    QPixmap m_right;
    QPixmap m_bottom;
    QPixmap m_topLeft;
    QPixmap m_topRight;
    QPixmap m_bottomLeft;
    QPixmap m_bottomRight;
};
