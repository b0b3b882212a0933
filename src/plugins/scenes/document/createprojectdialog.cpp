#include "createprojectdialog.h"

// Placeholder until the dialog is built.
CreateProjectDialog::CreateProjectDialog(QWidget *parent) : ICreateDocumentDlg(parent) {}
CreateProjectDialog::~CreateProjectDialog() = default;
QString CreateProjectDialog::getFileName() { return QString(); }
int CreateProjectDialog::getParameter1() { return 0; }
int CreateProjectDialog::getParameter2() { return 0; }
int CreateProjectDialog::getParameter3() { return 0; }
