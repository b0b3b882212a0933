#pragma once

#include "scenes_global.h"

#include <QKeySequence>
#include <QList>
#include <QMap>
#include <QString>

/*!
 * Finds the commands whose shortcuts would clash: the same non-empty key sequence on two
 * commands that can both be triggered in one context.
 *
 * A command can be triggered in every context widget it has its own implementation for. An
 * implementation for the main window counts for every context, because a command falls back to
 * it wherever it has no implementation of its own. So two commands clash when either has a main
 * window implementation or both have one for a common context widget. Key sequences are compared
 * whole; a sequence that only begins like another one is not reported.
 */
class SCENES_EXPORT ShortcutConflicts
{
public:
    struct Conflict
    {
        QString firstId;
        QString secondId;
        QKeySequence key;
    };

    // The clashing pairs among the given command ids and key sequences (not the registry's own
    // shortcuts), in id order. Ids the registry does not know are left out.
    static QList<Conflict> find(const QMap<QString, QKeySequence> &shortcuts);
};
