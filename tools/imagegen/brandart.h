#pragma once

#include <QImage>

// The application's own pictures: its mark, the window icons built from it, and the picture of
// the update downloader.
namespace ImageGen {

// The mark alone, 17x16, as the title bar shows it: a two-tone "V" holding a small gem.
QImage markImage();

// The application icon at size x size: the mark on a dark rounded tile.
QImage applicationIcon(int size);

// The project file icon at size x size: a document sheet carrying the mark.
QImage projectIcon(int size);

// 96x96: a large arrow going down into a tray.
QImage updatePicture();

} // namespace ImageGen
