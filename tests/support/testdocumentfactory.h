#pragma once

#include "calllog.h"
#include "idocumentfactory.h"
#include "testcreatedocumentdlg.h"
#include "testdocument.h"
#include "testeditor.h"

#include <QPointer>

#include <functional>
#include <memory>

/*!
 * A factory of TestDocument, TestEditor and TestCreateDocumentDlg objects that all share the
 * factory's call log. It answers the suffixes it was given, runs documentSetup on every new
 * document and keeps track of what it created (as long as those objects live). It has no
 * options dialog and no open-file dialogue.
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
    QList<TestEditor *> editors() const { return alive(m_editors); }
    TestDocument *lastDocument() const { return m_documents.value(m_documents.size() - 1); }

    std::function<void(TestDocument *)> documentSetup;
    TestCreateDocumentDlg::Values dialogValues;

public slots:
    IDocument *createDocument() override;
    IEditor *createEditor() override;
    QStringList getSupportedSuffixes() override { return m_suffixes; }
    IOptionsDlg *createOptionsDlg() override;
    ICreateDocumentDlg *createDocumentDlg() override;
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
    void record(const QString &operation);

    std::shared_ptr<CallLog> m_log = std::make_shared<CallLog>();
    QStringList m_suffixes;
    QList<QPointer<TestDocument>> m_documents;
    QList<QPointer<TestEditor>> m_editors;
};
