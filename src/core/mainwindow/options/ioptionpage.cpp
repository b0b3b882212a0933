#include "ioptionpage.h"

IOptionPage::IOptionPage(QWidget *parent)
    : QWidget(parent, Qt::WindowFlags())
{
}

IOptionPage::~IOptionPage() = default;

bool IOptionPage::isChanged()
{
    return m_bChanged;
}

void IOptionPage::setChanged(bool bChanged)
{
    Q_UNUSED(bChanged)
    m_bChanged = true;
}

void IOptionPage::initValues()
{
    m_bInitialized = true;
}

void IOptionPage::saveChanges()
{
    m_bChanged = false;
}

void IOptionPage::discardChanges()
{
    m_bChanged = false;
}

void IOptionPage::setNeedInitConfig2UI()
{
    m_bInitialized = false;
}

bool IOptionPage::isInitialized() const
{
    return m_bInitialized;
}
