#include "menupaths.h"

#include "actioncontainer.h"
#include "actionmanager.h"
#include "commandids.h"
#include "contextaction.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {
// The menus leading to every action of the menu and its sub-menus; an action shown in two
// places keeps the first.
void collect(const QList<QAction *> &actions, const QStringList &titles,
             QHash<const QAction *, QStringList> &paths)
{
    for (const QAction *action : actions) {
        if (action->menu())
            collect(action->menu()->actions(),
                    titles + QStringList(MenuPaths::withoutMnemonic(action->text())), paths);
        else if (!action->isSeparator() && !paths.contains(action))
            paths.insert(action, titles);
    }
}
} // namespace

QHash<QString, QStringList> MenuPaths::ofCommands()
{
    QHash<const QAction *, QStringList> paths;
    const ActionContainer *menuBar =
            ActionManager::getActionContainer(QLatin1String(Veldra::Ids::MenuBar));
    if (menuBar && menuBar->getMenuBar())
        collect(menuBar->getMenuBar()->actions(), QStringList(), paths);
    QHash<QString, QStringList> result;
    for (const ContextAction *command : ActionManager::getActions()) {
        const auto found = paths.constFind(command->getAction());
        if (found != paths.cend())
            result.insert(command->getId(), found.value());
    }
    return result;
}

QString MenuPaths::joined(const QStringList &titles)
{
    return titles.join(QStringLiteral(" \u25B8 ")); // " ▸ "
}

QString MenuPaths::withoutMnemonic(const QString &text)
{
    QString result;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && ++i == text.size())
            break;
        result.append(text.at(i));
    }
    return result;
}
