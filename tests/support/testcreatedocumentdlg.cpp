#include "testcreatedocumentdlg.h"

TestCreateDocumentDlg::TestCreateDocumentDlg(const Values &values, std::shared_ptr<CallLog> log)
    : ICreateDocumentDlg(nullptr)
    , m_values(values)
    , m_log(std::move(log))
{}

int TestCreateDocumentDlg::exec()
{
    setResult(record("exec", m_values.accept ? QDialog::Accepted : QDialog::Rejected));
    return result();
}
