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

std::shared_ptr<CallLog> TestDocument::callLog() const
{
    return m_log;
}

void TestDocument::setCreateResult(bool bResult)
{
    m_createResult = bResult;
}

void TestDocument::setOpenResult(bool bResult)
{
    m_openResult = bResult;
}

void TestDocument::setSaveResult(bool bResult)
{
    m_saveResult = bResult;
}

void TestDocument::setSaveAsResult(bool bResult, const QString &strNewFileName)
{
    m_saveAsResult = bResult;
    m_saveAsFileName = strNewFileName;
}

void TestDocument::setSaveBackupResult(bool bResult)
{
    m_saveBackupResult = bResult;
}

void TestDocument::setTempOnCreate(bool bTemp)
{
    m_tempOnCreate = bTemp;
}

void TestDocument::makeModified()
{
    m_pUndoStack->push(new QUndoCommand(QStringLiteral("change")));
}

QList<int> TestDocument::createParameters() const
{
    return m_createParameters;
}

QString TestDocument::lastSaveFile() const
{
    return m_lastSaveFile;
}

bool TestDocument::create(int nParameter1, int nParameter2, int nParameter3)
{
    record(QStringLiteral("create"));
    m_createParameters = {nParameter1, nParameter2, nParameter3};
    if (m_createResult && m_tempOnCreate)
        setIsTempDocument(true);
    return m_createResult;
}

void TestDocument::submitCommand(QUndoCommand *pCommand)
{
    record(QStringLiteral("submitCommand"));
    m_pUndoStack->push(pCommand);
}

bool TestDocument::open()
{
    record(QStringLiteral("open"));
    return m_openResult;
}

bool TestDocument::close()
{
    record(QStringLiteral("close"));
    return IDocument::close();
}

bool TestDocument::save()
{
    record(QStringLiteral("save"));
    if (m_saveResult)
        m_pUndoStack->setClean();
    return m_saveResult;
}

bool TestDocument::save(const QString &strFile)
{
    record(QStringLiteral("save(QString)"));
    m_lastSaveFile = strFile;
    return m_saveResult;
}

bool TestDocument::saveAs()
{
    record(QStringLiteral("saveAs"));
    if (!m_saveAsResult)
        return false;
    if (!m_saveAsFileName.isEmpty())
        setFileName(m_saveAsFileName);
    setIsTempDocument(false);
    m_pUndoStack->setClean();
    return true;
}

bool TestDocument::revert()
{
    record(QStringLiteral("revert"));
    return true;
}

void TestDocument::cleanTempDir()
{
    record(QStringLiteral("cleanTempDir"));
}

bool TestDocument::saveBackup()
{
    record(QStringLiteral("saveBackup"));
    return m_saveBackupResult;
}

void TestDocument::record(const QString &operation)
{
    m_log->record(this, QStringLiteral("TestDocument::") + operation);
}
