#pragma once

#include "scenes_global.h"

#include <QObject>
#include <QPointer>
#include <QString>

QT_BEGIN_NAMESPACE
class QAction;
class QKeySequence;
QT_END_NAMESPACE

/*!
 * "Edit.Undo" and "Edit.Redo": the undo group's actions, which follow the active project's
 * undo stack, registered for the main window and placed at the top of the Edit menu, followed
 * by a separator. The menu shows what would be undone or redone ("Undo Move Text").
 */
class SCENES_EXPORT EditCommands : public QObject
{
    Q_OBJECT

public:
    explicit EditCommands(QObject *parent = nullptr);
    ~EditCommands() override;

    QAction *undoAction() const;
    QAction *redoAction() const;

private:
    void registerCommand(QAction *action, const QString &id, const QString &description,
                         const QKeySequence &keys);
    void placeInEditMenu();

    QAction *m_pUndoAction = nullptr; // child
    QAction *m_pRedoAction = nullptr; // child
    QPointer<QAction> m_pSeparator;   // owned by the Edit menu's container
    QString m_separatorId;
};
