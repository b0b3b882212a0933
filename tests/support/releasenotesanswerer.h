#pragma once

#include "modaldialoganswerer.h"

// Answers the release-notes dialog with the named button once that is enabled ("m_pBtnUpdate"
// waits for the notes to load), and keeps the heading it showed.
struct ReleaseNotesAnswerer
{
    explicit ReleaseNotesAnswerer(const char *button);

    QString heading;
    ModalDialogAnswerer answerer;
};
