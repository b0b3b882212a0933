#pragma once

#include <QtGlobal>

QT_BEGIN_NAMESPACE
class QAction;
QT_END_NAMESPACE

/*!
 * The main window's own implementation of one of the commands it declares: the action behind
 * the command in the window's context, which also runs it wherever the focus context has no
 * implementation of its own. A handler connected here fires only for that implementation,
 * unlike one connected to the command's proxy action, which forwards the trigger of whatever
 * context the focus is in. Null when there is no main window or it has no such command.
 */
QAction *mainWindowCommand(const char *id);
