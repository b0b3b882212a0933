#pragma once

#include <QAction>

/*!
 * The main window's own implementation of one of the commands it declares: the action behind
 * the command in the window's context, which also runs it wherever the focus context has no
 * implementation of its own. A handler connected here fires only for that implementation,
 * unlike one connected to the command's proxy action, which forwards the trigger of whatever
 * context the focus is in. Null when there is no main window or it has no such command.
 */
QAction *mainWindowCommand(const char *id);

// Connects a handler to the main window's own implementation of a command; a command the window
// does not declare is reported in the log.
template<typename Receiver>
void connectMainWindowCommand(const char *id, Receiver *receiver, void (Receiver::*handler)())
{
    if (QAction *action = mainWindowCommand(id))
        QObject::connect(action, &QAction::triggered, receiver, handler);
    else
        qWarning("The main window does not declare the command %s", id);
}
