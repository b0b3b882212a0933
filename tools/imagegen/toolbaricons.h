#pragma once

#include <QImage>

// The 16x16 pictures of the commands and of the notification bar, in full colour. They carry a
// mid-tone outline so that they read on a dark as well as on a light tool bar.
namespace ImageGen {

QImage newIcon();         // a blank sheet with a folded corner and a spark
QImage openIcon();        // an open folder with a sheet inside
QImage saveIcon();        // a floppy disk
QImage preferencesIcon(); // a gear
QImage languageIcon();    // a globe
QImage infoIcon();        // a blue disc with an "i"
QImage warningIcon();     // an amber triangle with an "!"

} // namespace ImageGen
