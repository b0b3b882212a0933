#include "shortcutconflicts.h"

#include "actionmanager.h"
#include "contextaction.h"
#include "contextmanager.h"
#include "icore.h"
#include "mainwindow.h"
#include "proxyaction.h"

#include <QSet>

#include <algorithm>

namespace {
using Contexts = QSet<QWidget *>;

// The context widgets the command has its own implementation for. The registry does not list
// them, so the command is pointed at each registered context in turn: where it has no
// implementation its proxy follows the main window's. Afterwards the command is pointed back at
// the context whose implementation it followed before.
Contexts implementationContexts(ContextAction *command)
{
    auto *proxy = qobject_cast<ProxyAction *>(command->getAction());
    QWidget *mainWindow = ICore::getMainWindow();
    if (!proxy || !mainWindow)
        return Contexts();
    QAction *followed = proxy->action();
    QWidget *followedContext = mainWindow;
    command->setCurrentContext(mainWindow);
    QAction *fallback = proxy->action();
    Contexts contexts;
    if (fallback)
        contexts.insert(mainWindow);
    for (const Context &context : ContextManager::getContexts()) {
        if (!context.widget || context.widget == mainWindow)
            continue;
        command->setCurrentContext(context.widget);
        QAction *action = proxy->action();
        if (action && action != fallback)
            contexts.insert(context.widget);
        if (action == followed && action != fallback && followedContext == mainWindow)
            followedContext = context.widget;
    }
    command->setCurrentContext(followedContext);
    return contexts;
}

bool shareContext(const Contexts &first, const Contexts &second)
{
    QWidget *mainWindow = ICore::getMainWindow();
    if (first.isEmpty() || second.isEmpty())
        return false;
    return first.contains(mainWindow) || second.contains(mainWindow) || first.intersects(second);
}
} // namespace

QList<ShortcutConflicts::Conflict>
ShortcutConflicts::find(const QMap<QString, QKeySequence> &shortcuts)
{
    QMap<QString, QStringList> idsByKey;
    for (auto it = shortcuts.cbegin(); it != shortcuts.cend(); ++it) {
        if (!it.value().isEmpty() && ActionManager::getAction(it.key()))
            idsByKey[it.value().toString(QKeySequence::PortableText)].append(it.key());
    }
    QList<Conflict> conflicts;
    QMap<QString, Contexts> contextsById;
    for (const QStringList &ids : qAsConst(idsByKey)) {
        if (ids.size() < 2)
            continue;
        for (const QString &id : ids)
            contextsById.insert(id, implementationContexts(ActionManager::getAction(id)));
        for (int i = 0; i < ids.size(); ++i) {
            for (int j = i + 1; j < ids.size(); ++j) {
                if (shareContext(contextsById.value(ids.at(i)), contextsById.value(ids.at(j))))
                    conflicts.append({ids.at(i), ids.at(j), shortcuts.value(ids.at(i))});
            }
        }
    }
    std::sort(conflicts.begin(), conflicts.end(), [](const Conflict &a, const Conflict &b) {
        return a.firstId != b.firstId ? a.firstId < b.firstId : a.secondId < b.secondId;
    });
    return conflicts;
}
