// The plainest floor of the start-up benchmark: a bare QMainWindow, linked against Qt Widgets
// alone, reporting "mapped" like the probe plug-in in the application (see StartupMarkers).

#include "startupmarkers.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    StartupMarkers markers;
    QMainWindow window;
    markers.watchWindow(&window);
    window.resize(1280, 800);
    window.show();
    return QApplication::exec();
}
