#pragma once

#include "scenes_global.h"

#include <QList>
#include <QObject>

QT_BEGIN_NAMESPACE
class QAction;
class QWidget;
QT_END_NAMESPACE

/*!
 * The commands of the scene editor ("Scenes.AddScene", "Scenes.DeleteText", ...): each editor
 * registers its own actions for its context, so the keys act on the editor that has the focus
 * and can be changed on the Keyboard page like every other shortcut.
 *
 * An instance keeps every command registered while no project is open: a disabled stand-in for
 * the main window, so the commands are listed, their stored keys are read at start-up, and
 * their proxies do nothing outside an editor.
 */
class SCENES_EXPORT SceneEditorCommands : public QObject
{
    Q_OBJECT

public:
    enum Command {
        AddScene,
        RemoveScene,
        RenameScene,
        MoveSceneUp,
        MoveSceneDown,
        AddText,
        DeleteText
    };

    explicit SceneEditorCommands(QObject *parent = nullptr);
    ~SceneEditorCommands() override;

    static QString id(Command command);
    // An action with the command's text and its id as object name.
    static QAction *createAction(Command command, QObject *parent);
    // Registers actions made by createAction() for the context widget, and takes them back.
    static void registerActions(const QList<QAction *> &actions, QWidget *context);
    static void unregisterActions(const QList<QAction *> &actions);

private:
    QList<QAction *> m_standIns; // children
};
