#include "actionmanager.h"
#include "actionmanager_p.h"

#include "contextaction.h"
#include "icore.h"
#include "mainwindow.h"
#include "menuactioncontainer.h"
#include "menubaractioncontainer.h"
#include "proxyaction.h"

#include <extensionsystem/pluginmanager.h>

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

#include <algorithm>

namespace {
ActionManager *s_instance = nullptr;
ActionManagerPrivate *d = nullptr;

const QString &shortcutsGroup()
{
    static const QString group = QStringLiteral("Shortcuts");
    return group;
}

QKeySequence storedShortcut(QSettings *settings, const QString &id)
{
    return QKeySequence(settings->value(id, QString()).toString(), QKeySequence::NativeText);
}

// Adds the command to a list in id order, where it may be already.
void insertInIdOrder(QVector<ContextAction *> &commands, ContextAction *command)
{
    const auto place = std::lower_bound(commands.begin(), commands.end(), command,
                                        ActionManagerPrivate::idLess);
    if (place == commands.end() || *place != command)
        commands.insert(place, command);
}

void removeInIdOrder(QVector<ContextAction *> &commands, ContextAction *command)
{
    const auto place = std::lower_bound(commands.begin(), commands.end(), command,
                                        ActionManagerPrivate::idLess);
    if (place != commands.end() && *place == command)
        commands.erase(place);
}
} // namespace

// ActionManagerPrivate

ActionManagerPrivate::ActionManagerPrivate() = default;

ActionManagerPrivate *ActionManagerPrivate::current()
{
    return d;
}

bool ActionManagerPrivate::idLess(const ContextAction *first, const ContextAction *second)
{
    return first->m_id < second->m_id;
}

ActionManagerPrivate::~ActionManagerPrivate()
{
    for (ContextAction *command : qAsConst(m_commands))
        delete command;
    // Only a replaced registry is ever destroyed; the containers and menus nobody else took
    // would otherwise be left behind.
    for (ActionContainer *container : qAsConst(m_containers)) {
        disconnect(container, &QObject::destroyed, this, &ActionManagerPrivate::containerDestroyed);
        if (container->getMenu() && !container->getMenu()->parent())
            delete container->getMenu();
        if (container->getMenuBar() && !container->getMenuBar()->parent())
            delete container->getMenuBar();
        delete container;
    }
}

ContextAction *ActionManagerPrivate::createCommand(const QString &id)
{
    auto *command = new ContextAction(id);
    m_commands.insert(id, command);
    readShortcut(command);
    command->getAction()->setObjectName(id);
    command->setCurrentContext(m_currentContext);
    if (QWidget *mainWindow = ICore::getMainWindow())
        mainWindow->addAction(command->getAction());
    command->getAction()->setShortcutContext(Qt::ApplicationShortcut);
    return command;
}

void ActionManagerPrivate::destroyCommand(ContextAction *command)
{
    if (QWidget *mainWindow = ICore::getMainWindow())
        mainWindow->removeAction(command->getAction());
    unindexContexts(command, command->entryContexts());
    forgetAwayFromMainWindow(command);
    m_commands.remove(command->getId());
    delete command;
}

void ActionManagerPrivate::indexContexts(ContextAction *command)
{
    for (QWidget *context : command->entryContexts())
        insertInIdOrder(m_commandsByContext[context], command);
}

void ActionManagerPrivate::unindexContexts(ContextAction *command, const QList<QWidget *> &contexts)
{
    for (QWidget *context : contexts) {
        auto commands = m_commandsByContext.find(context);
        if (commands == m_commandsByContext.end())
            continue;
        removeInIdOrder(*commands, command);
        if (commands->isEmpty())
            m_commandsByContext.erase(commands);
    }
}

void ActionManagerPrivate::noteAwayFromMainWindow(ContextAction *command)
{
    if (command->m_awayFromMainWindow)
        return;
    command->m_awayFromMainWindow = true;
    insertInIdOrder(m_commandsAwayFromMainWindow, command);
}

void ActionManagerPrivate::forgetAwayFromMainWindow(ContextAction *command)
{
    if (!command->m_awayFromMainWindow)
        return;
    command->m_awayFromMainWindow = false;
    removeInIdOrder(m_commandsAwayFromMainWindow, command);
}

// Moves exactly the commands whose outcome can differ from the one they follow now to the
// context: those away from the main window's implementation and those with an entry for the new
// context. Every other command would fall back to the main window's, which it already follows.
// The commands are visited in id order, as a walk over all of them would, and the ones left away
// from the main window are listed anew on the way.
void ActionManagerPrivate::moveCommandsTo(QWidget *context)
{
    QWidget *mainWindow = ICore::getMainWindow();
    // Copies (shared, not duplicated), so that the walk is safe from registrations it causes.
    const QVector<ContextAction *> away = m_commandsAwayFromMainWindow;
    const QVector<ContextAction *> entered =
            context == mainWindow ? QVector<ContextAction *>() : m_commandsByContext.value(context);
    QVector<ContextAction *> stillAway;
    stillAway.reserve(entered.size());
    auto a = away.cbegin();
    auto e = entered.cbegin();
    while (a != away.cend() || e != entered.cend()) {
        // The same command stands at the same place in both; comparing it first spares the ids.
        const bool same = a != away.cend() && e != entered.cend() && *a == *e;
        const bool takeAway = same || e == entered.cend() ||
                              (a != away.cend() && ActionManagerPrivate::idLess(*a, *e));
        ContextAction *command = takeAway ? *a++ : *e++;
        if (same)
            ++e;
        command->followContext(context);
        command->m_awayFromMainWindow = command->m_currentContext != mainWindow;
        if (command->m_awayFromMainWindow)
            stillAway.append(command);
    }
    // What the walk's own signals made away meanwhile stays listed.
    if (!m_commandsAwayFromMainWindow.isSharedWith(away)) {
        for (ContextAction *command : qAsConst(m_commandsAwayFromMainWindow)) {
            if (command->m_awayFromMainWindow)
                insertInIdOrder(stillAway, command);
        }
    }
    m_commandsAwayFromMainWindow = stillAway;
}

void ActionManagerPrivate::readShortcut(ContextAction *command) const
{
    if (!m_settings)
        return;
    m_settings->beginGroup(shortcutsGroup());
    command->setKeySequence(storedShortcut(m_settings, command->getId()));
    m_settings->endGroup();
}

void ActionManagerPrivate::registerContainer(const QString &id, ActionContainer *container)
{
    m_containers.insert(id, container);
    connect(container, &QObject::destroyed, this, &ActionManagerPrivate::containerDestroyed);
}

// Every property a proxy takes from its new implementation during a switch sends ActionChanged to
// the main window, which holds each proxy for its shortcut alone and shows none of them, and to
// the proxy, which only notes that its batch changed something. On its way each would pass every
// other application-wide filter and the receiver's own filters and event handling, once per
// property and proxy; as the application's first filter, this one answers both itself. Menus and
// tool bars still hear every change, and outside a switch everything goes its usual way.
bool ActionManagerPrivate::eventFilter(QObject *watched, QEvent *event)
{
    if (m_switchDepth == 0 || event->type() != QEvent::ActionChanged)
        return false;
    if (watched == ICore::getMainWindow())
        return true;
    ProxyAction *proxy = ProxyAction::batchUnderWay();
    if (watched != proxy)
        return false;
    proxy->noteChangeInBatch();
    return true;
}

void ActionManagerPrivate::containerDestroyed()
{
    QObject *container = sender();
    for (auto it = m_containers.begin(); it != m_containers.end(); ++it) {
        if (it.value() == container) {
            m_containers.erase(it);
            return;
        }
    }
}

// ActionManager

ActionManager::ActionManager()
{
    // A new main window brings a fresh registry; the one it replaces is not used any more.
    delete s_instance;
    s_instance = this;
    d = new ActionManagerPrivate;
}

ActionManager::~ActionManager()
{
    if (s_instance != this)
        return;
    delete d;
    d = nullptr;
    s_instance = nullptr;
}

ActionManager *ActionManager::getInstance()
{
    return s_instance;
}

void ActionManager::initialize()
{
    setSettings(ExtensionSystem::PluginManager::settings());
}

// Application filters run newest first, so this one, installed last, comes before those the main
// window and its MDI area have installed. It is installed once: a filter installed while the
// application's filters are being called could make one of them see the same event twice.
void ActionManager::installContextSwitchFilter()
{
    if (d && QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(d);
}

void ActionManager::setSettings(QSettings *settings)
{
    if (d)
        d->m_settings = settings;
}

ContextAction *ActionManager::registerAction(QAction *action, const QString &id, QWidget *context,
                                             bool scriptable)
{
    if (!d) {
        qWarning("ActionManager::registerAction: the command registry does not exist");
        return nullptr;
    }
    if (!action || id.isEmpty() || !context) {
        qWarning("ActionManager::registerAction: cannot register \"%s\" (%s)", qPrintable(id),
                 !action        ? "null action"
                 : id.isEmpty() ? "empty id"
                                : "null context");
        return nullptr;
    }
    ContextAction *command = d->m_commands.value(id);
    if (!command)
        command = d->createCommand(id);
    command->addOverrideAction(action, context, scriptable);
    d->indexContexts(command);
    emit s_instance->commandListChanged();
    emit s_instance->commandAdded(id);
    return command;
}

void ActionManager::unregisterAction(QAction *action, const QString &id, const QString &context)
{
    Q_UNUSED(context)
    if (!d)
        return;
    ContextAction *command = d->m_commands.value(id);
    if (!command)
        return;
    const QList<QWidget *> contextsBefore = command->entryContexts();
    command->removeOverrideAction(action);
    d->unindexContexts(command, contextsBefore);
    if (command->isEmpty())
        d->destroyCommand(command);
    else
        d->indexContexts(command);
    emit s_instance->commandListChanged();
}

ContextAction *ActionManager::getAction(const QString &id)
{
    return d ? d->m_commands.value(id) : nullptr;
}

QList<ContextAction *> ActionManager::getActions()
{
    return d ? d->m_commands.values() : QList<ContextAction *>();
}

ActionContainer *ActionManager::createMenuContainer(const QString &title, const QString &id)
{
    if (!d)
        return nullptr;
    if (ActionContainer *existing = d->m_containers.value(id))
        return existing;
    auto *menu = new QMenu(title);
    menu->setObjectName(id);
    auto *container = new MenuActionContainer(id);
    container->setMenu(menu);
    d->registerContainer(id, container);
    return container;
}

ActionContainer *ActionManager::createMenuBarContainer(const QString &id)
{
    if (!d)
        return nullptr;
    if (ActionContainer *existing = d->m_containers.value(id))
        return existing;
    auto *menuBar = new QMenuBar;
    menuBar->setObjectName(id);
    auto *container = new MenuBarActionContainer(id);
    container->setMenuBar(menuBar);
    d->registerContainer(id, container);
    return container;
}

ActionContainer *ActionManager::getActionContainer(const QString &id)
{
    return d ? d->m_containers.value(id) : nullptr;
}

void ActionManager::setContext(QWidget *context)
{
    if (!d)
        return;
    d->m_currentContext = context;
    ++d->m_switchDepth;
    d->moveCommandsTo(context);
    --d->m_switchDepth;
}

void ActionManager::readFromSettings()
{
    if (!d || !d->m_settings)
        return;
    QSettings *settings = d->m_settings;
    settings->beginGroup(shortcutsGroup());
    if (settings->allKeys().isEmpty()) {
        settings->endGroup();
        resetToDefault();
        return;
    }
    for (ContextAction *command : qAsConst(d->m_commands)) {
        if (!command->isSeparator())
            command->setKeySequence(storedShortcut(settings, command->getId()));
    }
    settings->endGroup();
}

void ActionManager::saveSettings()
{
    if (!d || !d->m_settings)
        return;
    QSettings *settings = d->m_settings;
    settings->beginGroup(shortcutsGroup());
    for (ContextAction *command : qAsConst(d->m_commands)) {
        if (command->isSeparator())
            continue;
        const QKeySequence key = command->getKeySequence();
        if (key.isEmpty())
            settings->remove(command->getId());
        else
            settings->setValue(command->getId(), key.toString(QKeySequence::PortableText));
    }
    settings->endGroup();
}

void ActionManager::resetToDefault()
{
    if (!d)
        return;
    for (ContextAction *command : qAsConst(d->m_commands)) {
        if (!command->isSeparator())
            command->setKeySequence(command->getDefaultKeySequence());
    }
}
