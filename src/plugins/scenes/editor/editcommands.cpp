#include "editcommands.h"

#include "actioncontainer.h"
#include "actionmanager.h"
#include "commandids.h"
#include "contextaction.h"
#include "documentmanager.h"
#include "icore.h"
#include "mainwindow.h"

#include <QAction>
#include <QKeySequence>
#include <QUndoGroup>

namespace Ids = Veldra::Ids;

namespace {
const char undoId[] = "Edit.Undo";
const char redoId[] = "Edit.Redo";
} // namespace

EditCommands::EditCommands(QObject *parent)
    : QObject(parent)
{
    QUndoGroup *group = DocumentManager::getInstance() ? DocumentManager::getUndoGroup() : nullptr;
    if (!group || !ICore::getMainWindow()) {
        qWarning("EditCommands: Undo and Redo need the main window and its undo group");
        return;
    }
    m_pUndoAction = group->createUndoAction(this);
    m_pRedoAction = group->createRedoAction(this);
    registerCommand(m_pUndoAction, QLatin1String(undoId), tr("Undo the last change"),
                    QKeySequence::Undo);
    registerCommand(m_pRedoAction, QLatin1String(redoId), tr("Redo the last undone change"),
                    QKeySequence::Redo);
    placeInEditMenu();
}

EditCommands::~EditCommands()
{
    if (m_pUndoAction)
        ActionManager::unregisterAction(m_pUndoAction, QLatin1String(undoId));
    if (m_pRedoAction)
        ActionManager::unregisterAction(m_pRedoAction, QLatin1String(redoId));
    if (m_pSeparator)
        ActionManager::unregisterAction(m_pSeparator, m_separatorId);
}

QAction *EditCommands::undoAction() const
{
    return m_pUndoAction;
}

QAction *EditCommands::redoAction() const
{
    return m_pRedoAction;
}

void EditCommands::registerCommand(QAction *action, const QString &id, const QString &description,
                                   const QKeySequence &keys)
{
    // The command's proxy carries the keys, so they can be changed like every other shortcut.
    action->setShortcuts(QList<QKeySequence>());
    ContextAction *command = ActionManager::registerAction(action, id, ICore::getMainWindow());
    if (!command)
        return;
    command->setAttribute(ContextAction::UpdateText);
    command->setDefaultKeySequence(keys);
    command->setDescription(description);
}

void EditCommands::placeInEditMenu()
{
    ActionContainer *editMenu = ActionManager::getActionContainer(QLatin1String(Ids::EditMenu));
    ContextAction *preferences = ActionManager::getAction(QLatin1String(Ids::EditPreferences));
    ContextAction *undo = ActionManager::getAction(QLatin1String(undoId));
    ContextAction *redo = ActionManager::getAction(QLatin1String(redoId));
    if (!editMenu || !preferences || !undo || !redo) {
        qWarning("EditCommands: the Edit menu is missing; Undo and Redo are not in a menu");
        return;
    }
    editMenu->insertAction(undo, preferences);
    editMenu->insertAction(redo, preferences);
    QAction *separatorAction = nullptr;
    if (ContextAction *separator = editMenu->insertSeparator(preferences, &separatorAction)) {
        m_pSeparator = separatorAction;
        m_separatorId = separator->getId();
    }
}
