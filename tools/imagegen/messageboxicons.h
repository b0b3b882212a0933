#pragma once

#include <QImage>

// The 32x32 pictures of the four message boxes. Each has a dark rim so that it reads on the
// light and on the dark theme alike.
namespace ImageGen {

QImage informationBoxIcon(); // a blue disc with an "i"
QImage questionBoxIcon();    // a teal disc with a "?"
QImage warningBoxIcon();     // an amber triangle with an "!"
QImage criticalBoxIcon();    // a red disc with a white cross

} // namespace ImageGen
