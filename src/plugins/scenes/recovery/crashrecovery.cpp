#include "crashrecovery.h"

#include "backupstore.h"
#include "documentmanager.h"
#include "icore.h"
#include "idocument.h"
#include "mainwindow.h"
#include "scenedocument.h"
#include "vdnotificationbar.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>

namespace {

QString comparablePath(const QString &path)
{
    const QFileInfo info(path);
    const QString canonicalPath = info.canonicalFilePath();
    return canonicalPath.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonicalPath;
}

bool isProjectOpen(const QString &strPath)
{
    const QString wanted = comparablePath(strPath);
    for (const IDocument *document : DocumentManager::getDocuments()) {
        if (document && comparablePath(document->getFileName()) == wanted)
            return true;
    }
    return false;
}

// The file names of the projects, at most three of them so that the bar stays short: "a.veldra,
// b.veldra, c.veldra and 2 more". Only those three backups are read; one that cannot be read
// goes by its own name.
QString projectNames(const QStringList &backups)
{
    QStringList names;
    for (const QString &backup : backups.mid(0, 3)) {
        const QString original = SceneDocument::backupOriginalPath(backup);
        names << QFileInfo(original.isEmpty() ? backup : original).fileName();
    }
    switch (backups.size()) {
    case 0:
        return QString();
    case 1:
        return names[0];
    case 2:
        return CrashRecovery::tr("%1 and %2").arg(names[0], names[1]);
    case 3:
        return CrashRecovery::tr("%1, %2 and %3").arg(names[0], names[1], names[2]);
    default:
        return CrashRecovery::tr("%1, %2, %3 and %4 more")
                .arg(names[0], names[1], names[2], QString::number(backups.size() - 3));
    }
}

} // namespace

CrashRecovery::CrashRecovery(QObject *parent)
    : QObject(parent)
{
    offer();
}

CrashRecovery::~CrashRecovery()
{
    if (withdrawOffer() && m_pBar)
        m_pBar->hide();
}

QStringList CrashRecovery::offeredBackups() const
{
    return m_backups;
}

void CrashRecovery::offer()
{
    MainWindow *window = ICore::getMainWindow();
    if (!window)
        return;
    m_backups = BackupStore::orphanedBackups();
    if (m_backups.isEmpty())
        return;

    const QString message =
            tr("Veldra can recover unsaved changes of %1.").arg(projectNames(m_backups));
    window->showNotification(message, VDNotificationBar::Warning, tr("Recover"), true);
    m_pBar = window->getNotificationBar();
    // Showing the bar drops its earlier listeners, so these connections come after it.
    m_recoverConnection =
            connect(m_pBar, &VDNotificationBar::buttonClicked, this, &CrashRecovery::recover);
    // The bar has no signal for its close button; the button's object name is fixed.
    auto *closeButton = m_pBar->findChild<QAbstractButton *>(QStringLiteral("m_pCloseButton"));
    if (closeButton)
        m_closeConnection = connect(closeButton, &QAbstractButton::clicked, this,
                                    &CrashRecovery::onCloseClicked);
    else
        qWarning("CrashRecovery: the notification bar has no close button");
}

void CrashRecovery::recover()
{
    withdrawOffer();
    if (m_pBar)
        m_pBar->hide();
    const QStringList backups = m_backups;
    m_backups.clear();
    for (const QString &backup : backups)
        recoverBackup(backup);
    BackupStore::discardOrphans();
}

void CrashRecovery::onCloseClicked()
{
    // When another message has replaced the offer in the bar, closing it is not about backups.
    const bool offerWasShown = withdrawOffer();
    m_backups.clear();
    if (offerWasShown)
        BackupStore::discardOrphans();
}

// Disconnects from the bar; true when it still showed the offer (showing anything else drops
// the offer's connection to the Recover button).
bool CrashRecovery::withdrawOffer()
{
    disconnect(m_closeConnection);
    return disconnect(m_recoverConnection);
}

void CrashRecovery::recoverBackup(const QString &strBackupPath)
{
    auto *document = new SceneDocument;
    if (!document->openBackup(strBackupPath)) {
        delete document;
        return;
    }
    if (isProjectOpen(document->getFileName())) {
        qInfo("Not recovering %s: the project is open", qUtf8Printable(document->getFileName()));
        delete document;
        return;
    }
    MainWindow *window = ICore::getMainWindow();
    if (!window || !window->loadOpenedDocument(document))
        delete document;
}
