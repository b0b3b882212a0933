#include "browserpreview.h"

// Placeholder until the preview is built.
bool BrowserPreview::showProject(const Project &) { return false; }
bool BrowserPreview::showScene(const Project &, int) { return false; }
