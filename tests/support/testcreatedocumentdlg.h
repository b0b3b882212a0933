#pragma once

#include "calllog.h"
#include "icreatedocumentdlg.h"

#include <memory>

/*!
 * A new-project dialog that never shows: exec() records itself and at once answers Accepted or
 * Rejected as configured. The getters record themselves too, so the order in which the core
 * reads the values can be checked.
 */
class TestCreateDocumentDlg : public ICreateDocumentDlg
{
    Q_OBJECT

public:
    struct Values
    {
        bool accept = true;
        QString fileName;
        int parameter1 = 0;
        int parameter2 = 0;
        int parameter3 = 0;
    };

    explicit TestCreateDocumentDlg(const Values &values, std::shared_ptr<CallLog> log = nullptr,
                                   QWidget *parent = nullptr);
    ~TestCreateDocumentDlg() override;

    std::shared_ptr<CallLog> callLog() const;

    int exec() override;
    QString getFileName() override;
    int getParameter1() override;
    int getParameter2() override;
    int getParameter3() override;

private:
    void record(const QString &operation);

    Values m_values;
    std::shared_ptr<CallLog> m_log;
};
