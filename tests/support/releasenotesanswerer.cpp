#include "releasenotesanswerer.h"

#include "vdreleasenotedlg.h"

#include <QLabel>
#include <QPushButton>

ReleaseNotesAnswerer::ReleaseNotesAnswerer(const char *button)
    : answerer([this, button](QWidget *modal) {
        auto *dialog = qobject_cast<VDReleaseNoteDlg *>(modal);
        auto *pushButton = dialog ? dialog->findChild<QPushButton *>(button) : nullptr;
        if (!pushButton || !pushButton->isEnabled())
            return false;
        heading = dialog->findChild<QLabel *>("m_pHeadingLabel")->text();
        pushButton->click();
        return true;
    })
{}
