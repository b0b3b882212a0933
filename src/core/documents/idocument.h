#pragma once

#include "core_global.h"

#include <QObject>
#include <QString>

QT_BEGIN_NAMESPACE
class QUndoCommand;
class QUndoStack;
QT_END_NAMESPACE

/*!
 * The base of every project type. A concrete document creates its undo stack in its own
 * constructor and assigns it to m_pUndoStack; the base neither creates nor deletes it.
 *
 * close() runs the save-changes dialogue and only decides: it emits aboutToClose() when the
 * document may go away, and whoever owns the document unregisters and deletes it.
 */
class CORE_EXPORT IDocument : public QObject
{
    Q_OBJECT

public:
    explicit IDocument(QObject *parent = nullptr);
    ~IDocument() override;

    QString getFileName() const;
    void setFileName(const QString &strFileName);
    QUndoStack *getUndoStack() const;
    void setIsTempDocument(bool bTempDocument);
    bool isOpenAsBackup() const;
    void setOpenAsBackup(bool bOpenAsBackup);

    // A temp document always counts as modified.
    virtual bool isModified() const;
    virtual void submitCommand(QUndoCommand *pCommand);
    virtual bool create(int nParameter1, int nParameter2, int nParameter3) = 0;
    virtual bool isTempDocument() const;

public slots:
    virtual bool open();
    virtual bool close();
    virtual bool save();
    virtual bool save(const QString &strFile);
    virtual bool saveAs();
    virtual bool revert();
    virtual void cleanTempDir();
    virtual bool saveBackup();

signals:
    void aboutToOpen();
    void aboutToClose();
    void dataChanged(QObject *pObject);
    void titleChanged();
    void modifyChanged(bool isModified);
    void undoStackChanged();
    void statusChanged(QString strStatusTip);
    void requestClosing(bool deleteLater = false);

private:
    bool closeAfterYes();
    bool closeAfterNo();

    QString m_strFileName;

protected:
    QUndoStack *m_pUndoStack = nullptr; // set by the concrete document, not owned by the base

private:
    bool m_bTempDocument = false;
    bool m_bOpenAsBackup = false;
};
