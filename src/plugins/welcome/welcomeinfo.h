#pragma once

#include "welcome_global.h"

#include <QObject>
#include <QString>
#include <QStringList>

/*!
 * What the welcome page needs to know beyond what the core's "vdwelcome" object tells it,
 * published on the main window's web channel as "vdwelcomeinfo": which recent projects no longer
 * exist on disk, and the current theme. It only answers about entries of the recent-projects
 * list, so a page cannot use it to probe arbitrary paths.
 */
class WELCOME_EXPORT WelcomeInfo : public QObject
{
    Q_OBJECT

public:
    static const char *const channelName;

    explicit WelcomeInfo(QObject *parent = nullptr);

public slots:
    // The entries of the recent-projects list, in list order, whose file does not exist.
    QStringList getMissingRecentFiles();
    // The id of the theme the application runs with; empty when no style sheet was applied.
    QString getThemeId();
};
