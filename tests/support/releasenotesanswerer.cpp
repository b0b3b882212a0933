#include "releasenotesanswerer.h"

#include "vdreleasenotedlg.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

ReleaseNotesAnswerer::ReleaseNotesAnswerer(const QString &buttonName)
    : m_buttonName(buttonName)
{
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start(10);
}

void ReleaseNotesAnswerer::poll()
{
    auto *dialog = qobject_cast<VDReleaseNoteDlg *>(QApplication::activeModalWidget());
    auto *button = dialog ? dialog->findChild<QPushButton *>(m_buttonName) : nullptr;
    if (!button || !dialog->isVisible() || dialog == m_answered || !button->isEnabled())
        return;
    m_answered = dialog;
    m_lastHeading = dialog->findChild<QLabel *>("m_pHeadingLabel")->text();
    button->click();
}
