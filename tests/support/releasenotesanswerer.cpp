#include "releasenotesanswerer.h"

#include "vdreleasenotedlg.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

ReleaseNotesAnswerer::ReleaseNotesAnswerer(bool bPressUpdate)
    : m_pressUpdate(bPressUpdate)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &ReleaseNotesAnswerer::poll);
    m_timer.start();
}

int ReleaseNotesAnswerer::count() const
{
    return m_count;
}

QString ReleaseNotesAnswerer::lastHeading() const
{
    return m_lastHeading;
}

void ReleaseNotesAnswerer::poll()
{
    auto *dialog = qobject_cast<VDReleaseNoteDlg *>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || dialog == m_answered)
        return;
    auto *button = dialog->findChild<QPushButton *>(m_pressUpdate ? QStringLiteral("m_pBtnUpdate")
                                                                  : QStringLiteral("m_pBtnClose"));
    if (!button->isEnabled())
        return;

    m_answered = dialog;
    ++m_count;
    m_lastHeading = dialog->findChild<QLabel *>(QStringLiteral("m_pHeadingLabel"))->text();
    button->click();
}
