#include "releasenotesanswerer.h"

#include "vdreleasenotedlg.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

ReleaseNotesAnswerer::ReleaseNotesAnswerer(bool bPressUpdate)
    : ReleaseNotesAnswerer(QString::fromLatin1(bPressUpdate ? "m_pBtnUpdate" : "m_pBtnClose"))
{}

ReleaseNotesAnswerer::ReleaseNotesAnswerer(const QString &buttonName)
    : m_buttonName(buttonName)
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
    auto *button = dialog->findChild<QPushButton *>(m_buttonName);
    if (!button || !button->isEnabled())
        return;

    m_answered = dialog;
    ++m_count;
    m_lastHeading = dialog->findChild<QLabel *>(QStringLiteral("m_pHeadingLabel"))->text();
    button->click();
}
