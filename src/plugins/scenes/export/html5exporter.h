#pragma once

#include "project.h"
#include "scenes_global.h"

#include <QCoreApplication>
#include <QString>

/*!
 * Writes a project as a web page that plays by itself: a folder with index.html and style.css
 * and nothing else, with no reference to anything on the network.
 *
 * The page shows the scenes in order, each for its duration over its background colour, and
 * starts again with the first scene after the last one. The stage keeps its aspect ratio and is
 * scaled to fit the browser window; text elements keep their place and size on the stage and play
 * their entrance animation every time their scene starts. All text of the project is escaped, and
 * the page's security policy lets only its own script run and nothing be fetched.
 */
class SCENES_EXPORT Html5Exporter
{
    Q_DECLARE_TR_FUNCTIONS(Html5Exporter)

public:
    static QString indexFileName();
    static QString styleFileName();

    // False with the reason in *pErrorString when the folder or a file cannot be written.
    // strTitle names the page in the browser; empty gives "Veldra".
    static bool exportProject(const Project &project, const QString &strFolder,
                              QString *pErrorString, const QString &strTitle = QString());
    // The same page with only the scene at nScene, named after that scene.
    static bool exportScene(const Project &project, int nScene, const QString &strFolder,
                            QString *pErrorString);

    // True when the folder holds an index.html or a style.css that no export wrote, which
    // exporting there would replace.
    static bool holdsOtherPage(const QString &strFolder);

private:
    static bool writePage(const Project &project, const QString &strFolder, QString *pErrorString,
                          const QString &strTitle);
};
