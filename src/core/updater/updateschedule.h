#pragma once

#include "core_global.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>

/*!
 * Checks an update feed on its own, daily or weekly, as the user chose in the settings.
 *
 * The choice is "Updater/AutomaticCheck" ("off", the default, "daily" or "weekly") and the time
 * of the last automatic check "Updater/LastCheck" (UTC, ISO 8601), both in the user settings.
 * An object made at start-up checks its address when a check is due, silently (the user hears of
 * it only when an update is found), and only once the main window is shown and the event loop
 * runs, so start-up never waits for it and no dialog comes before the window.
 */
class CORE_EXPORT UpdateSchedule : public QObject
{
    Q_OBJECT

public:
    enum Frequency { Never, Daily, Weekly };

    explicit UpdateSchedule(const QString &url, QObject *parent = nullptr);
    ~UpdateSchedule() override;

    static Frequency frequency();
    static void setFrequency(Frequency frequency);

    // Due unless the frequency is Never or the stored last check lies less than one period
    // before now. A last check that is missing, unreadable or later than now makes it due.
    static bool isDue(Frequency frequency, const QVariant &lastCheck, const QDateTime &now);

signals:
    // Right before the check, for the caller to set the updater's options for the address.
    void aboutToCheck(const QString &url);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startWhenWindowShown();
    void check();

    QString m_url;
};
