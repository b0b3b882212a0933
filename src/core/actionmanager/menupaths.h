#pragma once

#include "core_global.h"

#include <QHash>
#include <QString>
#include <QStringList>

/*!
 * Where the commands sit in the menus, as the user reads it: the titles of the menus that lead
 * from the menu bar to a command, without their mnemonic markers ("File", "Save As" for the
 * command "Other Project"). The keyboard options page and the command palette name commands by it.
 */
class CORE_EXPORT MenuPaths
{
public:
    // The menus leading to each command the menu bar's menus show, outermost first, by command
    // id. A command the menus do not show is left out; one the bar shows itself has no titles.
    static QHash<QString, QStringList> ofCommands();
    // The titles as one text: "File ▸ Save As".
    static QString joined(const QStringList &titles);
    // A menu text without its mnemonic markers: "&&" stands for "&", a lone "&" is dropped.
    static QString withoutMnemonic(const QString &text);
};
