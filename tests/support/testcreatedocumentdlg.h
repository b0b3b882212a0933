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
        int parameter1 = 0, parameter2 = 0, parameter3 = 0;
    };

    explicit TestCreateDocumentDlg(const Values &values, std::shared_ptr<CallLog> log);
    ~TestCreateDocumentDlg() override { record("~TestCreateDocumentDlg", 0); }

    int exec() override;
    QString getFileName() override { return record("getFileName", m_values.fileName); }
    int getParameter1() override { return record("getParameter1", m_values.parameter1); }
    int getParameter2() override { return record("getParameter2", m_values.parameter2); }
    int getParameter3() override { return record("getParameter3", m_values.parameter3); }

private:
    template<class T>
    T record(const char *operation, const T &value)
    {
        m_log->record(this, QStringLiteral("TestCreateDocumentDlg::") + QLatin1String(operation));
        return value;
    }

    Values m_values;
    std::shared_ptr<CallLog> m_log;
};
