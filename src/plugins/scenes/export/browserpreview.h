#pragma once

#include "project.h"
#include "scenes_global.h"

/*!
 * Shows a project, or one of its scenes, in the system's web browser: the page is exported into
 * the core's temporary folder and opened from there.
 */
class SCENES_EXPORT BrowserPreview
{
public:
    // False, with a message to the user, when the page cannot be written or opened.
    static bool showProject(const Project &project);
    static bool showScene(const Project &project, int nScene);
};
