#include "scenesoptionsdialog.h"

// Placeholder until the dialog is built.
ScenesOptionsDialog::ScenesOptionsDialog(QWidget *parent) : IOptionsDlg(parent) {}
ScenesOptionsDialog::~ScenesOptionsDialog() = default;
void ScenesOptionsDialog::showDialog() {}
void ScenesOptionsDialog::initDialog() {}
void ScenesOptionsDialog::onApply() {}
void ScenesOptionsDialog::onCancel() {}
void ScenesOptionsDialog::onOK() {}
void ScenesOptionsDialog::onPageChanged(int) {}
void ScenesOptionsDialog::addPage(IOptionPage *) {}
IOptionPage *ScenesOptionsDialog::getPage(int) { return nullptr; }
int ScenesOptionsDialog::getPageCount() { return 0; }
