#pragma once

#include "icreatedocumentdlg.h"
#include "scenes_global.h"

/*!
 * The new-project dialog: the project's name and folder, and the stage's width, height and
 * frame rate. It can only be accepted with values that make a project.
 */
class SCENES_EXPORT CreateProjectDialog : public ICreateDocumentDlg
{
    Q_OBJECT

public:
    explicit CreateProjectDialog(QWidget *parent = nullptr);
    ~CreateProjectDialog() override;

    QString getFileName() override;
    int getParameter1() override;
    int getParameter2() override;
    int getParameter3() override;
};
