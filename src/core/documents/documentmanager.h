#pragma once

#include "core_global.h"

#include <QList>
#include <QObject>

#include <memory>

QT_BEGIN_NAMESPACE
class QSettings;
class QUndoGroup;
QT_END_NAMESPACE

class DocumentManagerPrivate;
class IDocument;

/*!
 * The registry of open documents. It puts every registered document's undo stack into one
 * undo group and runs the auto-backup: each document has a single-shot timer that, once
 * started, calls the document's saveBackup() every interval and re-arms itself.
 *
 * The main window creates the single instance; all operations are static. The two settings
 * "AutoBackup.Enable" and "AutoBackup.Interval" live in the group "Veldra".
 */
class CORE_EXPORT DocumentManager : public QObject
{
    Q_OBJECT
    friend class MainWindow;
    friend class DocumentManagerPrivate;

public:
    static DocumentManager *getInstance();
    static const QList<IDocument *> &getDocuments();
    static QUndoGroup *getUndoGroup();
    static void addDocument(IDocument *pDocument);
    static bool removeDocument(IDocument *pDocument);

    static bool isAutobackupEnabled();
    static void setAutoBackupEnabled(bool bEnabled);
    // Seconds. Any value is stored; a timer is never armed with less than one second.
    static int getAutobackupTimeout();
    static void setAutobackupTimeout(int nTimeout);

    static void setSettings(QSettings *pSettings);
    static void readSettings();
    static void saveSettings();

    static void startWaitingBackup(IDocument *pDocument);
    static void stopWaitingBackup(IDocument *pDocument);

private slots:
    void onScheduleBackup();

private:
    DocumentManager();
    ~DocumentManager() override;

    std::unique_ptr<DocumentManagerPrivate> m_pPrivate; // also reachable statically while current
};
