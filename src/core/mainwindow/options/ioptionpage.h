#pragma once

#include "core_global.h"

#include <QWidget>

/*!
 * One page of the options dialog. It keeps two flags: changed (the user edited something that
 * is not saved yet) and initialised (the controls were filled from the configuration).
 * Concrete pages do their work and then call the base implementation.
 */
class CORE_EXPORT IOptionPage : public QWidget
{
    Q_OBJECT

public:
    explicit IOptionPage(QWidget *parent = nullptr);
    ~IOptionPage() override;

    virtual bool isChanged();
    // Marks the page changed whatever the argument; saveChanges() and discardChanges() clear it.
    virtual void setChanged(bool bChanged);
    virtual void initValues();
    virtual void saveChanges();
    virtual void discardChanges();
    virtual void setNeedInitConfig2UI();

    bool isInitialized() const;

signals:
    void dataChanged();

private:
    bool m_bChanged = false;
    bool m_bInitialized = false;
};
