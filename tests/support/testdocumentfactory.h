#pragma once

#include "calllog.h"
#include "idocumentfactory.h"
#include "testcreatedocumentdlg.h"
#include "testdocument.h"
#include "testeditor.h"

#include <QList>
#include <QPointer>

#include <functional>
#include <memory>


/*!
 * A factory of TestDocument, TestEditor and TestCreateDocumentDlg objects that all share the
 * factory's call log. It answers the suffixes it was given (by default "veldra" and
 * "veldrapack"), can make its documents fail create() or open(), or hand out null objects,
 * and keeps track of what it created (as long as those objects live). It has no options dialog.
 */
class TestDocumentFactory : public IDocumentFactory
{
    Q_OBJECT

public:
    explicit TestDocumentFactory(const QStringList &suffixes = {QStringLiteral("veldra"),
                                                                QStringLiteral("veldrapack")},
                                 QObject *parent = nullptr);
    ~TestDocumentFactory() override;

    std::shared_ptr<CallLog> callLog() const;

    void setSupportedSuffixes(const QStringList &suffixes);
    void setFailCreate(bool bFail);
    void setFailOpen(bool bFail);
    // Runs on every new document after the failure settings were applied.
    void setDocumentSetup(const std::function<void(TestDocument *)> &setup);
    void setDialogValues(const TestCreateDocumentDlg::Values &values);
    void setOpenFileName(const QString &strFileName);
    // createDocument(), createEditor() and createDocumentDlg() answer null.
    void setReturnNull(bool bReturnNull);

    QList<TestDocument *> documents() const;
    QList<TestEditor *> editors() const;
    TestDocument *lastDocument() const;
    TestEditor *lastEditor() const;

public slots:
    IDocument *createDocument() override;
    IEditor *createEditor() override;
    QStringList getSupportedSuffixes() override;
    IOptionsDlg *createOptionsDlg() override;
    ICreateDocumentDlg *createDocumentDlg() override;
    QString getOpenFileName() override;

private:
    void record(const QString &operation);

    std::shared_ptr<CallLog> m_log = std::make_shared<CallLog>();
    QStringList m_suffixes;
    bool m_failCreate = false;
    bool m_failOpen = false;
    std::function<void(TestDocument *)> m_documentSetup;
    TestCreateDocumentDlg::Values m_dialogValues;
    QString m_openFileName;
    bool m_returnNull = false;
    QList<QPointer<TestDocument>> m_documents;
    QList<QPointer<TestEditor>> m_editors;
};
