#pragma once

#include <QImage>
#include <QString>
#include <QVector>

namespace ImageGen {

// Writes one ICO file holding every image (each at most 256x256). Qt's "ico" writer stores one
// image per file, so each image is encoded by it on its own and the entries are then gathered
// under one directory. Returns false, with a warning, when an image cannot be encoded or the
// file cannot be written.
bool writeIconFile(const QString &filePath, const QVector<QImage> &images);

} // namespace ImageGen
