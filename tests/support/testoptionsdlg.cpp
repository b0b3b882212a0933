#include "testoptionsdlg.h"

TestOptionsDlg::TestOptionsDlg(std::shared_ptr<CallLog> log)
    : m_log(log ? std::move(log) : std::make_shared<CallLog>())
{}

TestOptionsDlg::~TestOptionsDlg() = default;

std::shared_ptr<CallLog> TestOptionsDlg::callLog() const
{
    return m_log;
}

void TestOptionsDlg::showDialog()
{
    record(QStringLiteral("showDialog"));
}

void TestOptionsDlg::initDialog()
{
    record(QStringLiteral("initDialog"));
}

void TestOptionsDlg::onApply()
{
    record(QStringLiteral("onApply"));
}

void TestOptionsDlg::onCancel()
{
    record(QStringLiteral("onCancel"));
}

void TestOptionsDlg::onOK()
{
    record(QStringLiteral("onOK"));
}

void TestOptionsDlg::onPageChanged(int nPage)
{
    record(QStringLiteral("onPageChanged(%1)").arg(nPage));
}

void TestOptionsDlg::addPage(IOptionPage *pPage)
{
    m_pages.append(pPage);
}

IOptionPage *TestOptionsDlg::getPage(int nPage)
{
    return m_pages.value(nPage);
}

int TestOptionsDlg::getPageCount()
{
    return m_pages.size();
}

void TestOptionsDlg::record(const QString &operation)
{
    m_log->record(this, QStringLiteral("TestOptionsDlg::") + operation);
}
