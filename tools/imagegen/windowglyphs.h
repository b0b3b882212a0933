#pragma once

#include <QImage>

// The 16x16 title bar buttons: thin light strokes made for a dark title bar, with a faint dark
// contour so that they stay visible on a light bar too.
namespace ImageGen {

QImage closeGlyph();    // a cross
QImage minimizeGlyph(); // a low horizontal bar
QImage maximizeGlyph(); // a square
QImage restoreGlyph();  // two overlapping squares

} // namespace ImageGen
