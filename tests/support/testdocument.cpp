#include "testdocument.h"

#include <QUndoStack>

TestDocument::TestDocument(std::shared_ptr<CallLog> log)
    : m_log(log ? std::move(log) : std::make_shared<CallLog>())
{
    m_pUndoStack = new QUndoStack(this);
}

TestDocument::~TestDocument()
{
    record(QStringLiteral("~TestDocument"));
}

void TestDocument::makeModified()
{
    m_pUndoStack->push(new QUndoCommand(QStringLiteral("change")));
}

bool TestDocument::create(int nParameter1, int nParameter2, int nParameter3)
{
    createParameters = {nParameter1, nParameter2, nParameter3};
    return record(QStringLiteral("create"), createResult);
}

bool TestDocument::open()
{
    return record(QStringLiteral("open"), openResult);
}

bool TestDocument::close()
{
    record(QStringLiteral("close"));
    return IDocument::close();
}

bool TestDocument::save()
{
    if (saveResult)
        m_pUndoStack->setClean();
    return record(QStringLiteral("save"), saveResult);
}

bool TestDocument::saveAs()
{
    if (saveAsResult) {
        if (!saveAsFileName.isEmpty())
            setFileName(saveAsFileName);
        setIsTempDocument(false);
        m_pUndoStack->setClean();
    }
    return record(QStringLiteral("saveAs"), saveAsResult);
}

bool TestDocument::saveBackup()
{
    return record(QStringLiteral("saveBackup"), saveBackupResult);
}

bool TestDocument::record(const QString &operation, bool bResult)
{
    m_log->record(this, QStringLiteral("TestDocument::") + operation);
    return bResult;
}
