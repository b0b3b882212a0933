#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class VDReleaseNoteDlg;

/*!
 * Answers the modal release-notes dialog while it lives: records its heading and presses
 * "Update" or "Close". "Update" is pressed only once it is enabled, that is, once a remote page
 * has loaded.
 */
class ReleaseNotesAnswerer : public QObject
{
    Q_OBJECT

public:
    explicit ReleaseNotesAnswerer(bool bPressUpdate);

    int count() const;
    QString lastHeading() const;

private:
    void poll();

    QTimer m_timer;
    bool m_pressUpdate;
    int m_count = 0;
    QString m_lastHeading;
    QPointer<VDReleaseNoteDlg> m_answered;
};
