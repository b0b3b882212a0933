#pragma once

#include "calllog.h"
#include "ioptionsdlg.h"

#include <memory>

/*!
 * An options dialog that never shows. showDialog(), initDialog() and the four slots record
 * themselves in the call log, onPageChanged with its page ("TestOptionsDlg::onPageChanged(2)").
 * The slots are overridden as plain functions, so a call by name goes through the slots that
 * IOptionsDlg itself declares. Pages given to addPage() are kept in order, not owned.
 */
class TestOptionsDlg : public IOptionsDlg
{
    Q_OBJECT

public:
    explicit TestOptionsDlg(std::shared_ptr<CallLog> log = nullptr);
    ~TestOptionsDlg() override;

    std::shared_ptr<CallLog> callLog() const;

    void showDialog() override;
    void initDialog() override;
    void onApply() override;
    void onCancel() override;
    void onOK() override;
    void onPageChanged(int nPage) override;
    void addPage(IOptionPage *pPage) override;
    IOptionPage *getPage(int nPage) override;
    int getPageCount() override;

private:
    void record(const QString &operation);

    std::shared_ptr<CallLog> m_log;
};
