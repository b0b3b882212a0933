#pragma once

#include "scenes_global.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QStringList>

class VDNotificationBar;

/*!
 * Offers, right when it is created, to recover the projects that runs which did not end
 * normally left backups of. The offer is the main window's notification bar: "Recover" opens
 * every backup as a project of its own, marked as opened from a backup so that it can be saved
 * over its original; the bar's close button discards the backups. A backup of a project that is
 * already open is left out. Without a main window or without backups nothing is offered.
 */
class SCENES_EXPORT CrashRecovery : public QObject
{
    Q_OBJECT

public:
    explicit CrashRecovery(QObject *parent = nullptr);
    ~CrashRecovery() override;

    // The backups on offer; empty once the user has answered or when nothing was offered.
    QStringList offeredBackups() const;

private:
    void offer();
    void recover();
    void onCloseClicked();
    bool withdrawOffer();
    void recoverBackup(const QString &strBackupPath);

    QStringList m_backups;
    QPointer<VDNotificationBar> m_pBar; // the main window's
    QMetaObject::Connection m_recoverConnection;
    QMetaObject::Connection m_closeConnection;
};
