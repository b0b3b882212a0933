#include "icreatedocumentdlg.h"

ICreateDocumentDlg::ICreateDocumentDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog)
{}

ICreateDocumentDlg::ICreateDocumentDlg(QWidget *parent, const QString &strText1,
                                       const QString &strText2, const QString &strText3)
    : QDialog(parent, Qt::Dialog)
{
    Q_UNUSED(strText1)
    Q_UNUSED(strText2)
    Q_UNUSED(strText3)
}

ICreateDocumentDlg::~ICreateDocumentDlg() = default;
