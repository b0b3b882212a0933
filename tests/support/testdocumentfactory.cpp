#include "testdocumentfactory.h"

IDocument *TestDocumentFactory::createDocument()
{
    record(QStringLiteral("createDocument"));
    auto *document = new TestDocument(m_log);
    if (documentSetup)
        documentSetup(document);
    m_documents.append(document);
    return document;
}

IEditor *TestDocumentFactory::createEditor()
{
    record(QStringLiteral("createEditor"));
    m_editors.append(new TestEditor(m_log));
    return m_editors.last();
}

IOptionsDlg *TestDocumentFactory::createOptionsDlg()
{
    record(QStringLiteral("createOptionsDlg"));
    return nullptr;
}

ICreateDocumentDlg *TestDocumentFactory::createDocumentDlg()
{
    record(QStringLiteral("createDocumentDlg"));
    return new TestCreateDocumentDlg(dialogValues, m_log);
}

void TestDocumentFactory::record(const QString &operation)
{
    m_log->record(this, QStringLiteral("TestDocumentFactory::") + operation);
}
