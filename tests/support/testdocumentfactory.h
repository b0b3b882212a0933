#pragma once

#include "calllog.h"
#include "idocumentfactory.h"
#include "ieditor.h"
#include "testdocument.h"

#include <QPointer>

#include <functional>
#include <memory>

/*!
 * A factory of TestDocument objects that share the factory's call log, and of plain editors. It
 * answers the suffixes it was given, runs documentSetup on every new document and keeps track of
 * what it created (as long as those objects live). It has no options dialog, no new-project
 * dialog and no open-file dialogue; asking for the options dialog is recorded.
 */
class TestDocumentFactory : public IDocumentFactory
{
    Q_OBJECT

public:
    explicit TestDocumentFactory(const QStringList &suffixes = {QStringLiteral("veldra"),
                                                                QStringLiteral("veldrapack")},
                                 QObject *parent = nullptr)
        : IDocumentFactory(parent)
        , m_suffixes(suffixes)
    {}

    std::shared_ptr<CallLog> callLog() const { return m_log; }
    QList<TestDocument *> documents() const { return alive(m_documents); }
    QList<IEditor *> editors() const { return alive(m_editors); }
    TestDocument *lastDocument() const { return m_documents.value(m_documents.size() - 1); }

    std::function<void(TestDocument *)> documentSetup;

public slots:
    IDocument *createDocument() override
    {
        m_documents.append(new TestDocument(m_log));
        if (documentSetup)
            documentSetup(m_documents.last());
        return m_documents.last();
    }
    IEditor *createEditor() override
    {
        m_editors.append(new IEditor);
        return m_editors.last();
    }
    QStringList getSupportedSuffixes() override { return m_suffixes; }
    IOptionsDlg *createOptionsDlg() override
    {
        m_log->record(this, QStringLiteral("TestDocumentFactory::createOptionsDlg"));
        return nullptr;
    }
    ICreateDocumentDlg *createDocumentDlg() override { return nullptr; }
    QString getOpenFileName() override { return QString(); }

private:
    template<class T>
    static QList<T *> alive(const QList<QPointer<T>> &objects)
    {
        QList<T *> result;
        for (T *object : objects) {
            if (object)
                result.append(object);
        }
        return result;
    }

    std::shared_ptr<CallLog> m_log = std::make_shared<CallLog>();
    QStringList m_suffixes;
    QList<QPointer<TestDocument>> m_documents;
    QList<QPointer<IEditor>> m_editors;
};
