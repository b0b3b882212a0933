#pragma once

#include "imagecatalog.h"

#include <QImage>
#include <QVector>

namespace ImageGen {

// One row per picture, labelled with its name: the picture at 100% and at 400% (nearest
// neighbour, so every pixel shows) on a dark and on a light background.
QImage contactSheet(const QVector<NamedImage> &images);

} // namespace ImageGen
