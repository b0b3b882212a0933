#include "menuactioncontainer.h"

#include <QMenu>

MenuActionContainer::MenuActionContainer(const QString &id)
    : ActionContainer(id)
{
}

MenuActionContainer::~MenuActionContainer() = default;

void MenuActionContainer::setMenu(QMenu *menu)
{
    m_menu = menu;
}

QMenu *MenuActionContainer::getMenu() const
{
    return m_menu;
}

void MenuActionContainer::insertAction(QAction *before, QAction *action)
{
    if (m_menu && action)
        m_menu->insertAction(before, action);
}

void MenuActionContainer::insertMenu(QAction *before, QMenu *menu)
{
    if (m_menu && menu)
        m_menu->insertMenu(before, menu);
}

void MenuActionContainer::removeMenu(QMenu *menu)
{
    if (m_menu && menu)
        m_menu->removeAction(menu->menuAction());
}

void MenuActionContainer::removeAction(QAction *action)
{
    if (m_menu && action)
        m_menu->removeAction(action);
}
