#pragma once

#include "calllog.h"
#include "idocument.h"

#include <memory>

/*!
 * A document with a real undo stack that records every operation the core calls on it and
 * answers with the configured results. close() records itself and then runs the real
 * save-changes dialogue of IDocument. A successful save() marks the undo stack clean; a
 * successful saveAs() takes saveAsFileName and stops being a temp document.
 */
class TestDocument : public IDocument
{
    Q_OBJECT

public:
    explicit TestDocument(std::shared_ptr<CallLog> log = nullptr);
    ~TestDocument() override;

    std::shared_ptr<CallLog> callLog() const { return m_log; }
    // Pushes one command, so the undo stack is no longer clean.
    void makeModified();

    bool createResult = true, openResult = true, saveResult = true, saveAsResult = true;
    bool saveBackupResult = true;
    QString saveAsFileName;
    QList<int> createParameters; // of the last create()

    bool create(int nParameter1, int nParameter2, int nParameter3) override;

public slots:
    bool open() override;
    bool close() override;
    bool save() override;
    bool saveAs() override;
    bool saveBackup() override;

private:
    bool record(const QString &operation, bool bResult = true);

    std::shared_ptr<CallLog> m_log;
};
