#pragma once

#include "ioptionsdlg.h"
#include "scenes_global.h"

/*!
 * The application's options dialog.
 */
class SCENES_EXPORT ScenesOptionsDialog : public IOptionsDlg
{
    Q_OBJECT

public:
    explicit ScenesOptionsDialog(QWidget *parent = nullptr);
    ~ScenesOptionsDialog() override;

    void showDialog() override;
    void initDialog() override;

public slots:
    void onApply() override;
    void onCancel() override;
    void onOK() override;
    void onPageChanged(int nPage) override;

public:
    void addPage(IOptionPage *pPage) override;
    IOptionPage *getPage(int nPage) override;
    int getPageCount() override;
};
