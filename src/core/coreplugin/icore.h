#pragma once

#include "core_global.h"

#include <QObject>
#include <QSettings>

class MainWindow;

/*!
 * The core services: static access to the main window and to the host's settings stores.
 * The main window creates the single instance first among its registries and deletes it last;
 * before and after that span getInstance() and getMainWindow() answer null.
 */
class CORE_EXPORT ICore : public QObject
{
    Q_OBJECT
    friend class MainWindow;

public:
    static ICore *getInstance();
    static MainWindow *getMainWindow();
    static QSettings *settings(QSettings::Scope scope = QSettings::UserScope);

public slots:
    static void saveSettings();

signals:
    void aboutToSaveSettings();

private:
    explicit ICore(MainWindow *mainWindow);
    ~ICore() override;
};
