#include "ioptionsdlg.h"

IOptionsDlg::IOptionsDlg(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(nullptr, Qt::WindowFlags())
{
    Q_UNUSED(parent)
    Q_UNUSED(flags)
}

IOptionsDlg::~IOptionsDlg()
{
    m_pages.clear();
}
