#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>

class VDReleaseNoteDlg;

// Answers the modal release-notes dialog while it lives: records its heading and presses the
// button of the given object name once it is enabled ("m_pBtnUpdate" waits for a remote page).
class ReleaseNotesAnswerer
{
public:
    explicit ReleaseNotesAnswerer(const QString &buttonName);

    QString lastHeading() const { return m_lastHeading; }

private:
    void poll();

    QTimer m_timer;
    QString m_buttonName;
    QString m_lastHeading;
    QPointer<VDReleaseNoteDlg> m_answered;
};
