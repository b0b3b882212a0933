#pragma once

#include <QImage>
#include <QString>
#include <QVector>

namespace ImageGen {

struct NamedImage
{
    QString fileName;
    QImage image;
};

// Every picture of the core library's resource folder, with its file name, in a stable order
// (each command picture followed by its disabled twin).
QVector<NamedImage> coreImages();

// The message boxes' pictures, which the application carries in ":/designer/images/".
QVector<NamedImage> messageBoxImages();

// The sizes stored in each window icon file.
QVector<int> windowIconSizes();

} // namespace ImageGen
