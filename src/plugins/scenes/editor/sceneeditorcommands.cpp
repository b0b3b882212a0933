#include "sceneeditorcommands.h"

#include "actionmanager.h"
#include "contextaction.h"
#include "icore.h"
#include "mainwindow.h"
#include "shortcutsettings.h"

#include <QAction>
#include <QKeySequence>

namespace {
struct CommandInfo
{
    const char *id;
    const char *text;
    const char *description;
    QKeySequence key;
};

const CommandInfo &info(SceneEditorCommands::Command command)
{
    static const CommandInfo commands[] = {
            {"Scenes.AddScene", QT_TRANSLATE_NOOP("SceneEditorCommands", "Add Scene"),
             QT_TRANSLATE_NOOP("SceneEditorCommands", "Add a scene after the current one"),
             QKeySequence()},
            {"Scenes.RemoveScene", QT_TRANSLATE_NOOP("SceneEditorCommands", "Remove Scene"),
             QT_TRANSLATE_NOOP("SceneEditorCommands", "Remove the current scene"), QKeySequence()},
            {"Scenes.RenameScene", QT_TRANSLATE_NOOP("SceneEditorCommands", "Rename Scene"),
             QT_TRANSLATE_NOOP("SceneEditorCommands", "Rename the current scene"),
             QKeySequence(Qt::Key_F2)},
            {"Scenes.MoveSceneUp", QT_TRANSLATE_NOOP("SceneEditorCommands", "Move Scene Up"),
             QT_TRANSLATE_NOOP("SceneEditorCommands", "Play the current scene one earlier"),
             QKeySequence()},
            {"Scenes.MoveSceneDown", QT_TRANSLATE_NOOP("SceneEditorCommands", "Move Scene Down"),
             QT_TRANSLATE_NOOP("SceneEditorCommands", "Play the current scene one later"),
             QKeySequence()},
            {"Scenes.AddText", QT_TRANSLATE_NOOP("SceneEditorCommands", "Add Text"),
             QT_TRANSLATE_NOOP("SceneEditorCommands", "Add a text to the current scene"),
             QKeySequence()},
            {"Scenes.DeleteText", QT_TRANSLATE_NOOP("SceneEditorCommands", "Delete Text"),
             QT_TRANSLATE_NOOP("SceneEditorCommands", "Delete the selected texts"),
             QKeySequence(Qt::Key_Delete)},
    };
    return commands[command];
}

QString translated(const char *text)
{
    return SceneEditorCommands::tr(text);
}

QList<SceneEditorCommands::Command> allCommands()
{
    using C = SceneEditorCommands;
    return {C::AddScene,      C::RemoveScene, C::RenameScene, C::MoveSceneUp,
            C::MoveSceneDown, C::AddText,     C::DeleteText};
}

void registerAction(QAction *action, QWidget *context)
{
    const QString id = action->objectName();
    const bool isNew = !ActionManager::getAction(id);
    ContextAction *command = ActionManager::registerAction(action, id, context);
    if (!command || !isNew)
        return;
    for (SceneEditorCommands::Command known : allCommands()) {
        if (SceneEditorCommands::id(known) == id) {
            command->setDescription(translated(info(known).description));
            command->setDefaultKeySequence(info(known).key);
        }
    }
    ShortcutSettings::loadCommand(command);
}
} // namespace

SceneEditorCommands::SceneEditorCommands(QObject *parent)
    : QObject(parent)
{
    QWidget *mainWindow = ICore::getMainWindow();
    if (!mainWindow) {
        qWarning("SceneEditorCommands: there is no main window to register the commands for");
        return;
    }
    for (Command command : allCommands()) {
        QAction *standIn = createAction(command, this);
        standIn->setEnabled(false);
        m_standIns.append(standIn);
    }
    registerActions(m_standIns, mainWindow);
}

SceneEditorCommands::~SceneEditorCommands()
{
    unregisterActions(m_standIns);
}

QString SceneEditorCommands::id(Command command)
{
    return QString::fromLatin1(info(command).id);
}

QAction *SceneEditorCommands::createAction(Command command, QObject *parent)
{
    auto *action = new QAction(translated(info(command).text), parent);
    action->setObjectName(id(command));
    return action;
}

void SceneEditorCommands::registerActions(const QList<QAction *> &actions, QWidget *context)
{
    for (QAction *action : actions)
        registerAction(action, context);
}

void SceneEditorCommands::unregisterActions(const QList<QAction *> &actions)
{
    for (QAction *action : actions)
        ActionManager::unregisterAction(action, action->objectName());
}
