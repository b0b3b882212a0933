#pragma once

#include <QList>
#include <QMap>
#include <QPointer>
#include <QSettings>

QT_BEGIN_NAMESPACE
class QTimer;
class QUndoGroup;
QT_END_NAMESPACE

class DocumentManager;
class IDocument;

// The data of one DocumentManager instance.
class DocumentManagerPrivate
{
public:
    explicit DocumentManagerPrivate(DocumentManager *pManager);
    ~DocumentManagerPrivate();

    QTimer *createBackupTimer(IDocument *pDocument);
    QTimer *backupTimerOf(IDocument *pDocument) const;
    void deleteBackupTimer(QTimer *pTimer);
    void forgetDestroyedDocument(IDocument *pDocument);
    int backupIntervalMs() const;

    DocumentManager *const q;
    QList<IDocument *> documents; // not owned
    QUndoGroup *undoGroup;        // owned
    bool autoBackupEnabled = true;
    int autoBackupInterval = 300;             // seconds
    QPointer<QSettings> settings;             // not owned
    QMap<QTimer *, IDocument *> backupTimers; // the timers are children of q
};
