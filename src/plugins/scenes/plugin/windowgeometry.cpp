#include "windowgeometry.h"

#include "icore.h"
#include "mainwindow.h"

#include <QSettings>

const char *const WindowGeometry::settingsKey = "Designer/WindowGeometry";

WindowGeometry::WindowGeometry(QObject *parent)
    : QObject(parent)
{
    if (ICore *core = ICore::getInstance())
        connect(core, &ICore::aboutToSaveSettings, this, &WindowGeometry::store);
    restore();
}

void WindowGeometry::restore()
{
    QSettings *settings = ICore::settings();
    MainWindow *window = ICore::getMainWindow();
    if (!settings || !window)
        return;
    const QVariant stored = settings->value(QLatin1String(settingsKey));
    if (stored.isValid() && !window->restoreGeometry(stored.toByteArray()))
        qWarning("The stored window geometry (%s) cannot be used; the window keeps its own",
                 settingsKey);
}

void WindowGeometry::store()
{
    QSettings *settings = ICore::settings();
    MainWindow *window = ICore::getMainWindow();
    if (settings && window)
        settings->setValue(QLatin1String(settingsKey), window->saveGeometry());
}
