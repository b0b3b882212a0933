#include "startupprobe.h"

#include "icore.h"
#include "mainwindow.h"
#include "startupmarkers.h"

bool StartupProbe::initialize(const QStringList &arguments, QString *errorString)
{
    Q_UNUSED(arguments)
    MainWindow *mainWindow = ICore::getMainWindow();
    if (!mainWindow) {
        *errorString = QStringLiteral("the core's main window is missing");
        return false;
    }
    m_pMarkers = new StartupMarkers(this);
    m_pMarkers->watchWindow(mainWindow);
    m_pMarkers->watchBridge();
    m_pMarkers->watchFirstScene();
    return true;
}

void StartupProbe::extensionsInitialized()
{}
