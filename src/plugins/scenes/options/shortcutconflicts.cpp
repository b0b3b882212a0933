#include "shortcutconflicts.h"

#include "actionmanager.h"
#include "contextaction.h"
#include "icore.h"
#include "mainwindow.h"

#include <QSet>

#include <algorithm>

namespace {
using Contexts = QSet<QWidget *>;

Contexts implementationContexts(const ContextAction *command)
{
    const QList<QWidget *> widgets = command->getContextWidgets();
    return Contexts(widgets.cbegin(), widgets.cend());
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
