#include "testcreatedocumentdlg.h"

TestCreateDocumentDlg::TestCreateDocumentDlg(const Values &values, std::shared_ptr<CallLog> log,
                                             QWidget *parent)
    : ICreateDocumentDlg(parent)
    , m_values(values)
    , m_log(log ? std::move(log) : std::make_shared<CallLog>())
{}

TestCreateDocumentDlg::~TestCreateDocumentDlg()
{
    record(QStringLiteral("~TestCreateDocumentDlg"));
}

std::shared_ptr<CallLog> TestCreateDocumentDlg::callLog() const
{
    return m_log;
}

int TestCreateDocumentDlg::exec()
{
    record(QStringLiteral("exec"));
    setResult(m_values.accept ? QDialog::Accepted : QDialog::Rejected);
    return result();
}

QString TestCreateDocumentDlg::getFileName()
{
    record(QStringLiteral("getFileName"));
    return m_values.fileName;
}

int TestCreateDocumentDlg::getParameter1()
{
    record(QStringLiteral("getParameter1"));
    return m_values.parameter1;
}

int TestCreateDocumentDlg::getParameter2()
{
    record(QStringLiteral("getParameter2"));
    return m_values.parameter2;
}

int TestCreateDocumentDlg::getParameter3()
{
    record(QStringLiteral("getParameter3"));
    return m_values.parameter3;
}

void TestCreateDocumentDlg::record(const QString &operation)
{
    m_log->record(this, QStringLiteral("TestCreateDocumentDlg::") + operation);
}
