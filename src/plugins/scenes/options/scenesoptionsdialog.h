#pragma once

#include "ioptionsdlg.h"
#include "scenes_global.h"

QT_BEGIN_NAMESPACE
class QDialogButtonBox;
class QListWidget;
class QStackedWidget;
QT_END_NAMESPACE

/*!
 * The application's options dialog: the list of pages on the left, the current page on the
 * right, and OK, Cancel and Apply. The pages are built when the dialog is first shown, and a
 * page is filled from the configuration whenever it is shown after being saved or discarded.
 * Apply is enabled while a page holds changes.
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

    // Escape and the window's close button cancel.
    void reject() override;

private:
    void onPageDataChanged();
    void updateApplyButton();
    void refillPagesOnNextShow();
    void centreOnMainWindow();

    QListWidget *m_pPageList;       // child
    QStackedWidget *m_pPageStack;   // child; owns the pages
    QDialogButtonBox *m_pButtonBox; // child
    bool m_bBuilt = false;          // the own pages are in
};
