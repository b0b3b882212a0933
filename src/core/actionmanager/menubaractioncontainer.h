#pragma once

#include "actioncontainer.h"

#include <QPointer>

/*!
 * An action container over a QMenuBar.
 */
class CORE_EXPORT MenuBarActionContainer : public ActionContainer
{
    Q_OBJECT

public:
    explicit MenuBarActionContainer(const QString &id);
    ~MenuBarActionContainer() override;

    using ActionContainer::insertAction;
    using ActionContainer::insertMenu;

    void setMenuBar(QMenuBar *menuBar) override;
    QMenuBar *getMenuBar() const override;

protected:
    void insertAction(QAction *before, QAction *action) override;
    void insertMenu(QAction *before, QMenu *menu) override;
    void removeMenu(QMenu *menu) override;
    void removeAction(QAction *action) override;

private:
    QPointer<QMenuBar> m_menuBar; // not owned
};
