#pragma once

#include <QImage>

namespace ImageGen {

// The greyed twin of a command picture: no colour, contrast pulled towards a light grey and
// more transparent, over exactly the same pixels as the original.
QImage disabledLook(const QImage &normal);

} // namespace ImageGen
