#pragma once

#include <QImage>

// The pieces of the drop shadow tiled around the frameless main window: black with an alpha that
// falls off softly from the window's edge outwards. No pixel is fully transparent, so the strips
// that show them receive the mouse over their whole area.
namespace ImageGen {

enum class Side { Top, Bottom, Left, Right };

// 1x8 for Top and Bottom, 8x1 for Left and Right; the window lies beyond the named side's inner
// end (below a top edge, above a bottom edge, and so on).
QImage shadowEdge(Side side);

// 16x16; the window's corner is at the centre (8, 8) and the window covers the quarter that
// faces `vertical` and `horizontal` inwards (for the top-left corner, the bottom-right quarter).
QImage shadowCorner(Side vertical, Side horizontal);

// A stand-in window of the given size with the four shadow strips around it, each composed from
// the pieces the way the application tiles them; for reviewing that edges and corners meet.
QImage shadowFramePreview(const QSize &window);

} // namespace ImageGen
