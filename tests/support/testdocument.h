#pragma once

#include "calllog.h"
#include "idocument.h"

#include <QUndoStack>

#include <memory>

/*!
 * A document with a real undo stack that records the operations the core calls on it and
 * answers with the configured results. close() records itself and then runs the real
 * save-changes dialogue of IDocument. A successful save() marks the undo stack clean; a
 * successful saveAs() takes saveAsFileName (when set) and stops being a temp document.
 */
class TestDocument : public IDocument
{
    Q_OBJECT

public:
    explicit TestDocument(std::shared_ptr<CallLog> log = std::make_shared<CallLog>())
        : m_log(std::move(log))
    {
        m_pUndoStack = new QUndoStack(this);
    }

    std::shared_ptr<CallLog> callLog() const { return m_log; }
    // Pushes one command, so the undo stack is no longer clean.
    void makeModified() { m_pUndoStack->push(new QUndoCommand(QStringLiteral("change"))); }

    bool openResult = true, saveResult = true, saveAsResult = true;
    QString saveAsFileName;

    bool create(int, int, int) override { return true; }

public slots:
    bool open() override { return record("open", openResult); }
    bool close() override
    {
        record("close", true);
        return IDocument::close();
    }
    bool save() override
    {
        if (saveResult)
            m_pUndoStack->setClean();
        return record("save", saveResult);
    }
    bool saveAs() override
    {
        if (saveAsResult) {
            if (!saveAsFileName.isEmpty())
                setFileName(saveAsFileName);
            setIsTempDocument(false);
            m_pUndoStack->setClean();
        }
        return record("saveAs", saveAsResult);
    }

private:
    bool record(const char *operation, bool bResult)
    {
        m_log->record(this, QStringLiteral("TestDocument::") + QLatin1String(operation));
        return bResult;
    }

    std::shared_ptr<CallLog> m_log;
};
