#pragma once

#include "core_global.h"

#include <QDialog>
#include <QList>

class IOptionPage;

/*!
 * The base of the application's options dialog. The plug-in that supplies the document factory
 * derives the concrete dialog and hands it out through IDocumentFactory::createOptionsDlg(); the
 * main window keeps that one dialog and calls showDialog() for every Preferences command.
 * The four public slots are reachable by name (for example from buttons connected by string).
 */
class CORE_EXPORT IOptionsDlg : public QDialog
{
    Q_OBJECT

public:
    // The dialog is always top-level and without flags: parent and flags are not passed on.
    explicit IOptionsDlg(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~IOptionsDlg() override;

    virtual void showDialog() = 0;
    // Builds the pages; the concrete dialog calls it, typically when it is first shown.
    virtual void initDialog() = 0;

public slots:
    virtual void onApply() = 0;
    virtual void onCancel() = 0;
    virtual void onOK() = 0;
    virtual void onPageChanged(int nPage) = 0;

public:
    virtual void addPage(IOptionPage *pPage) = 0;
    virtual IOptionPage *getPage(int nPage) = 0;
    virtual int getPageCount() = 0;

protected:
    QList<IOptionPage *> m_pages; // for the concrete dialog; the pages are not owned by the list
};
