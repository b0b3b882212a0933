#include "testdocumentfactory.h"

#include "testdocument.h"
#include "testeditor.h"

namespace {

template<class T>
QList<T *> alive(const QList<QPointer<T>> &objects)
{
    QList<T *> result;
    for (const QPointer<T> &object : objects) {
        if (object)
            result.append(object);
    }
    return result;
}

} // namespace

TestDocumentFactory::TestDocumentFactory(const QStringList &suffixes, QObject *parent)
    : IDocumentFactory(parent)
    , m_suffixes(suffixes)
{}

TestDocumentFactory::~TestDocumentFactory() = default;

std::shared_ptr<CallLog> TestDocumentFactory::callLog() const
{
    return m_log;
}

void TestDocumentFactory::setSupportedSuffixes(const QStringList &suffixes)
{
    m_suffixes = suffixes;
}

void TestDocumentFactory::setFailCreate(bool bFail)
{
    m_failCreate = bFail;
}

void TestDocumentFactory::setFailOpen(bool bFail)
{
    m_failOpen = bFail;
}

void TestDocumentFactory::setDocumentSetup(const std::function<void(TestDocument *)> &setup)
{
    m_documentSetup = setup;
}

void TestDocumentFactory::setDialogValues(const TestCreateDocumentDlg::Values &values)
{
    m_dialogValues = values;
}

void TestDocumentFactory::setOpenFileName(const QString &strFileName)
{
    m_openFileName = strFileName;
}

void TestDocumentFactory::setReturnNull(bool bReturnNull)
{
    m_returnNull = bReturnNull;
}

QList<TestDocument *> TestDocumentFactory::documents() const
{
    return alive(m_documents);
}

QList<TestEditor *> TestDocumentFactory::editors() const
{
    return alive(m_editors);
}

TestDocument *TestDocumentFactory::lastDocument() const
{
    return m_documents.isEmpty() ? nullptr : m_documents.last().data();
}

TestEditor *TestDocumentFactory::lastEditor() const
{
    return m_editors.isEmpty() ? nullptr : m_editors.last().data();
}

IDocument *TestDocumentFactory::createDocument()
{
    record(QStringLiteral("createDocument"));
    if (m_returnNull)
        return nullptr;
    auto *document = new TestDocument(m_log);
    document->setCreateResult(!m_failCreate);
    document->setOpenResult(!m_failOpen);
    if (m_documentSetup)
        m_documentSetup(document);
    m_documents.append(document);
    return document;
}

IEditor *TestDocumentFactory::createEditor()
{
    record(QStringLiteral("createEditor"));
    if (m_returnNull)
        return nullptr;
    auto *editor = new TestEditor(m_log);
    m_editors.append(editor);
    return editor;
}

QStringList TestDocumentFactory::getSupportedSuffixes()
{
    record(QStringLiteral("getSupportedSuffixes"));
    return m_suffixes;
}

IOptionsDlg *TestDocumentFactory::createOptionsDlg()
{
    record(QStringLiteral("createOptionsDlg"));
    return nullptr;
}

ICreateDocumentDlg *TestDocumentFactory::createDocumentDlg()
{
    record(QStringLiteral("createDocumentDlg"));
    if (m_returnNull)
        return nullptr;
    return new TestCreateDocumentDlg(m_dialogValues, m_log);
}

QString TestDocumentFactory::getOpenFileName()
{
    record(QStringLiteral("getOpenFileName"));
    return m_openFileName;
}

void TestDocumentFactory::record(const QString &operation)
{
    m_log->record(this, QStringLiteral("TestDocumentFactory::") + operation);
}
