#include "menubaractioncontainer.h"

#include <QMenu>
#include <QMenuBar>

MenuBarActionContainer::MenuBarActionContainer(const QString &id)
    : ActionContainer(id)
{
}

MenuBarActionContainer::~MenuBarActionContainer() = default;

void MenuBarActionContainer::setMenuBar(QMenuBar *menuBar)
{
    m_menuBar = menuBar;
}

QMenuBar *MenuBarActionContainer::getMenuBar() const
{
    return m_menuBar;
}

void MenuBarActionContainer::insertAction(QAction *before, QAction *action)
{
    if (m_menuBar && action)
        m_menuBar->insertAction(before, action);
}

void MenuBarActionContainer::insertMenu(QAction *before, QMenu *menu)
{
    if (m_menuBar && menu)
        m_menuBar->insertMenu(before, menu);
}

void MenuBarActionContainer::removeMenu(QMenu *menu)
{
    if (m_menuBar && menu)
        m_menuBar->removeAction(menu->menuAction());
}

void MenuBarActionContainer::removeAction(QAction *action)
{
    if (m_menuBar && action)
        m_menuBar->removeAction(action);
}
