#pragma once

#include "scenes_global.h"

class ContextAction;

/*!
 * Keeps the user's keyboard shortcuts between runs, in the group "Shortcuts" of the user
 * settings store.
 *
 * The command registry on its own does not round-trip: it removes the key of a command whose
 * shortcut is empty, and when it reads, a command without a key gets an empty shortcut (or every
 * command its default when the group is empty). So a shortcut the user cleared would come back,
 * and a command added since the last save would lose its default. Here a cleared shortcut that
 * has a default is stored as an empty value, and a command the store does not mention keeps its
 * default.
 */
class SCENES_EXPORT ShortcutSettings
{
public:
    // Points the registry at the user store and gives every command its stored shortcut. Call it
    // once every command of the start-up is registered.
    static void load();
    // Gives one command registered after load() its stored shortcut, or its default.
    static void loadCommand(ContextAction *command);
    // Writes every command's shortcut to the user store and synchronises the store to disk.
    static void save();
};
