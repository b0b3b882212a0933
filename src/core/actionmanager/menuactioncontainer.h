#pragma once

#include "actioncontainer.h"

#include <QPointer>

/*!
 * An action container over a QMenu.
 */
class CORE_EXPORT MenuActionContainer : public ActionContainer
{
    Q_OBJECT

public:
    explicit MenuActionContainer(const QString &id);
    ~MenuActionContainer() override;

    using ActionContainer::insertAction;
    using ActionContainer::insertMenu;

    void setMenu(QMenu *menu) override;
    QMenu *getMenu() const override;

protected:
    void insertAction(QAction *before, QAction *action) override;
    void insertMenu(QAction *before, QMenu *menu) override;
    void removeMenu(QMenu *menu) override;
    void removeAction(QAction *action) override;

private:
    QPointer<QMenu> m_menu; // not owned
};
