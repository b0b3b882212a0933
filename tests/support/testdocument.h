#pragma once

#include "calllog.h"
#include "idocument.h"

#include <QList>

#include <memory>

/*!
 * A document with a real undo stack that records every operation the core calls on it and
 * answers with configurable results (all true by default). close() records itself and then runs
 * the real save-changes dialogue of IDocument. A successful save() marks the undo stack clean;
 * a successful saveAs() takes the configured new file name and stops being a temp document.
 */
class TestDocument : public IDocument
{
    Q_OBJECT

public:
    explicit TestDocument(std::shared_ptr<CallLog> log = nullptr);
    ~TestDocument() override;

    std::shared_ptr<CallLog> callLog() const;

    void setCreateResult(bool bResult);
    void setOpenResult(bool bResult);
    void setSaveResult(bool bResult);
    void setSaveAsResult(bool bResult, const QString &strNewFileName = QString());
    void setSaveBackupResult(bool bResult);
    // A successful create() makes the document a temp document, like a fresh New project.
    void setTempOnCreate(bool bTemp);

    // Pushes one command, so the undo stack is no longer clean.
    void makeModified();
    QList<int> createParameters() const;
    QString lastSaveFile() const; // the argument of the last save(QString)

    bool create(int nParameter1, int nParameter2, int nParameter3) override;
    void submitCommand(QUndoCommand *pCommand) override;

public slots:
    bool open() override;
    bool close() override;
    bool save() override;
    bool save(const QString &strFile) override;
    bool saveAs() override;
    bool revert() override;
    void cleanTempDir() override;
    bool saveBackup() override;

private:
    void record(const QString &operation);

    std::shared_ptr<CallLog> m_log;
    bool m_createResult = true;
    bool m_openResult = true;
    bool m_saveResult = true;
    bool m_saveAsResult = true;
    QString m_saveAsFileName;
    bool m_saveBackupResult = true;
    bool m_tempOnCreate = false;
    QList<int> m_createParameters;
    QString m_lastSaveFile;
};
