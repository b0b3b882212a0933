#pragma once

#include "scenes_global.h"

#include <QObject>
#include <QString>

/*!
 * The handlers of the Help menu's commands other than Help Contents, connected to the main
 * window's own implementations of these commands.
 *
 * The update check reads the appcast address from the user setting "Veldra/AppcastUrl" and runs
 * the core's update checker on it, which tells the user the outcome either way. Without an
 * address nothing is checked and the user is told so. With an address, the same feed is also
 * checked silently at start-up when the user asked for automatic checks and one is due. User
 * Community opens "Veldra/CommunityUrl"; My Account, Sign In and the title bar's account link open
 * "Veldra/AccountUrl". Each address falls back to the one the application was built with; a command
 * whose address is empty is disabled, and without an account address the account link is hidden.
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
    // The configured update feed when it is a web address, else an empty string.
    static QString updateFeed();

    // Enables the web-address commands whose address is set, and shows the account link.
    void updateWebCommands();

private slots:
    void about();
    void checkForUpdates();
    void openCommunity();
    void openAccount();

private:
    static void setMainWindowActionEnabled(const char *id, bool bEnabled);
    static void prepareUpdater(const QString &url);
    static void openAddress(const QString &address);
};
