#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class VDReleaseNoteDlg;

/*!
 * Answers the modal release-notes dialog while it lives: records its heading and presses
 * "Update" or "Close", or the button of the given object name. A button is pressed only once it
 * is enabled ("Update" is disabled until a remote page has loaded).
 */
class ReleaseNotesAnswerer : public QObject
{
    Q_OBJECT

public:
    explicit ReleaseNotesAnswerer(bool bPressUpdate);
    explicit ReleaseNotesAnswerer(const QString &buttonName);

    int count() const;
    QString lastHeading() const;

private:
    void poll();

    QTimer m_timer;
    QString m_buttonName;
    int m_count = 0;
    QString m_lastHeading;
    QPointer<VDReleaseNoteDlg> m_answered;
};
