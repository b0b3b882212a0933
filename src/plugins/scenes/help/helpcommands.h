#pragma once

#include "scenes_global.h"

#include <QObject>
#include <QString>

/*!
 * The handlers of "Help.About" and "Help.CheckUpdates", connected to the commands' proxy
 * actions.
 *
 * The update check reads the appcast address from the user setting "Veldra/AppcastUrl" and runs
 * the core's update checker on it, which tells the user the outcome either way. Without an
 * address nothing is checked and the user is told so.
 */
class SCENES_EXPORT HelpCommands : public QObject
{
    Q_OBJECT

public:
    explicit HelpCommands(QObject *parent = nullptr);
    ~HelpCommands() override;

    // The application's version, or the version this plug-in was built with when it has none.
    static QString applicationVersion();
    // The entry of the appcast that describes this platform's build.
    static QString platformKey();

private slots:
    void about();
    void checkForUpdates();

private:
    void connectCommand(const QString &id, void (HelpCommands::*handler)());
};
