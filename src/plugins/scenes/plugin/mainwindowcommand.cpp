#include "mainwindowcommand.h"

#include "icore.h"
#include "mainwindow.h"

QAction *mainWindowCommand(const char *id)
{
    MainWindow *window = ICore::getMainWindow();
    return window ? window->getCommandAction(QLatin1String(id)) : nullptr;
}
