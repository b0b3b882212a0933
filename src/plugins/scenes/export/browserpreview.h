#pragma once

#include "project.h"
#include "scenes_global.h"

#include <QCoreApplication>

/*!
 * Shows a project, or one of its scenes, in the system's web browser: the page is exported into
 * the core's temporary folder ("preview/project" or "preview/scene" in it) and opened from there.
 * Each preview replaces the previous one of its kind.
 */
class SCENES_EXPORT BrowserPreview
{
    Q_DECLARE_TR_FUNCTIONS(BrowserPreview)

public:
    // False, with a message to the user, when the page cannot be written or opened.
    static bool showProject(const Project &project);
    static bool showScene(const Project &project, int nScene);

private:
    static QString previewFolder(const QString &strKind);
    static bool openPage(const QString &strFolder, bool bWritten, const QString &strError);
};
