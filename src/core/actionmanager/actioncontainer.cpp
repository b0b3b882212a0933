#include "actioncontainer.h"

#include "actionmanager.h"
#include "commandids.h"
#include "contextaction.h"
#include "icore.h"
#include "mainwindow.h"

#include <QAction>
#include <QMenu>

namespace Ids = Veldra::Ids;

namespace {
// Separator ids are numbered across every container of the process.
int s_separatorCounter = 0;

QAction *positionOf(ActionContainer *before)
{
    return before && before->getMenu() ? before->getMenu()->menuAction() : nullptr;
}

QAction *positionOf(ContextAction *before)
{
    return before ? before->getAction() : nullptr;
}
} // namespace

ActionContainer::ActionContainer(const QString &id)
{
    Q_UNUSED(id) // the id lives in the registry only
}

ActionContainer::~ActionContainer() = default;

void ActionContainer::setMenu(QMenu *menu)
{
    Q_UNUSED(menu)
}

void ActionContainer::setMenuBar(QMenuBar *menuBar)
{
    Q_UNUSED(menuBar)
}

QMenu *ActionContainer::getMenu() const
{
    return nullptr;
}

QMenuBar *ActionContainer::getMenuBar() const
{
    return nullptr;
}

void ActionContainer::insertAction(QAction *before, QAction *action)
{
    Q_UNUSED(before)
    Q_UNUSED(action)
}

void ActionContainer::insertAction(ContextAction *action, ContextAction *before)
{
    if (!action) {
        qWarning("ActionContainer::insertAction: null command");
        return;
    }
    track(action);
    connect(action, &ContextAction::activeStateChanged, this, &ActionContainer::scheduleUpdate);
    insertAction(positionOf(before), action->getAction());
}

void ActionContainer::insertMenu(QAction *before, QMenu *menu)
{
    Q_UNUSED(before)
    Q_UNUSED(menu)
}

void ActionContainer::insertMenu(ActionContainer *menu, ActionContainer *before)
{
    if (!menu || menu == this) {
        qWarning("ActionContainer::insertMenu: null or self sub-menu");
        return;
    }
    track(menu);
    insertMenu(positionOf(before), menu->getMenu());
}

void ActionContainer::insertMenu(ActionContainer *menu, ContextAction *before)
{
    if (!menu || menu == this) {
        qWarning("ActionContainer::insertMenu: null or self sub-menu");
        return;
    }
    track(menu);
    insertMenu(positionOf(before), menu->getMenu());
}

void ActionContainer::insertMenu(ActionContainer *menu, std::nullptr_t)
{
    insertMenu(menu, static_cast<ContextAction *>(nullptr));
}

ContextAction *ActionContainer::insertSeparator(ActionContainer *before, QAction **separator)
{
    return addSeparator(positionOf(before), separator);
}

ContextAction *ActionContainer::insertSeparator(ContextAction *before, QAction **separator)
{
    return addSeparator(positionOf(before), separator);
}

void ActionContainer::removeMenu(QMenu *menu)
{
    Q_UNUSED(menu)
}

void ActionContainer::removeAction(QAction *action)
{
    Q_UNUSED(action)
}

void ActionContainer::clear()
{
    const QList<QObject *> items = m_items;
    m_items.clear();
    for (QObject *item : items) {
        if (auto *command = qobject_cast<ContextAction *>(item)) {
            removeAction(command->getAction());
            disconnect(command, &ContextAction::activeStateChanged, this,
                       &ActionContainer::scheduleUpdate);
            disconnect(command, &QObject::destroyed, this, &ActionContainer::itemDestroyed);
        } else if (auto *container = qobject_cast<ActionContainer *>(item)) {
            container->clear();
            disconnect(container, &QObject::destroyed, this, &ActionContainer::itemDestroyed);
            removeMenu(container->getMenu());
        }
    }
}

void ActionContainer::setOnAllDisabledBehavior(OnAllDisabledBehavior behavior)
{
    m_onAllDisabledBehavior = behavior;
}

ActionContainer::OnAllDisabledBehavior ActionContainer::onAllDisabledBehavior() const
{
    return m_onAllDisabledBehavior;
}

void ActionContainer::scheduleUpdate()
{
}

void ActionContainer::update()
{
}

void ActionContainer::itemDestroyed()
{
    // Called from QObject's destructor: the sender is no longer a ContextAction or a container,
    // so it is only compared, never used.
    m_items.removeAll(sender());
}

ContextAction *ActionContainer::addSeparator(QAction *before, QAction **separator)
{
    auto *action = new QAction(this);
    action->setSeparator(true);
    const QString id = QLatin1String(Ids::SeparatorPrefix) + QString::number(s_separatorCounter++);
    QWidget *mainWindow = ICore::getMainWindow();
    ContextAction *command = ActionManager::registerAction(action, id, mainWindow, false);
    if (command)
        insertAction(before, command->getAction());
    if (separator)
        *separator = action;
    return command;
}

void ActionContainer::track(QObject *item)
{
    m_items.append(item);
    connect(item, &QObject::destroyed, this, &ActionContainer::itemDestroyed);
}
