#pragma once

#include "core_global.h"

#include <QDialog>
#include <QString>

/*!
 * The new-project dialog of a project type. The caller runs it modally and, only after it was
 * accepted, reads getParameter1(), getParameter2(), getParameter3() and getFileName(), in this
 * order; the three numbers are handed unchanged to IDocument::create().
 */
class CORE_EXPORT ICreateDocumentDlg : public QDialog
{
    Q_OBJECT

public:
    explicit ICreateDocumentDlg(QWidget *parent);
    // The three strings are for the concrete dialog; the base ignores them.
    ICreateDocumentDlg(QWidget *parent, const QString &strText1, const QString &strText2,
                       const QString &strText3);
    ~ICreateDocumentDlg() override;

    // Full path of the project file to create; empty means nothing is to be created.
    virtual QString getFileName() = 0;
    virtual int getParameter1() = 0;
    virtual int getParameter2() = 0;
    virtual int getParameter3() = 0;
};
