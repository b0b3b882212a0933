#pragma once

#include "ioptionpage.h"
#include "scenes_global.h"

#include <QHash>
#include <QKeySequence>
#include <QMap>

QT_BEGIN_NAMESPACE
class QKeySequenceEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
QT_END_NAMESPACE

/*!
 * The options page "Keyboard": every command of the registry, named by its place in the menus
 * (its id and description in the tool tip), with its shortcut; a filter narrows the list by
 * name or shortcut. Shortcuts are edited in the table and reach the commands when the page is
 * saved; a warning names the commands that would share a shortcut in one context. "Reset All" gives
 * every command its default shortcut at once; discarding the page undoes that too.
 */
class SCENES_EXPORT KeyboardOptionsPage : public IOptionPage
{
    Q_OBJECT

public:
    explicit KeyboardOptionsPage(QWidget *parent = nullptr);
    ~KeyboardOptionsPage() override;

    void initValues() override;
    void saveChanges() override;
    void discardChanges() override;

private:
    using Shortcuts = QMap<QString, QKeySequence>;

    static Shortcuts registryShortcuts();
    static void applyToRegistry(const Shortcuts &shortcuts);

    void fillTable();
    Shortcuts tableShortcuts() const;
    QTreeWidgetItem *selectedItem() const;
    void showSelectedShortcut();
    void setSelectedShortcut(const QKeySequence &key);
    void resetAll();
    void updateConflicts();
    void applyFilter();

    QLineEdit *m_pFilterEdit;             // child
    QTreeWidget *m_pCommandTree;          // child
    QKeySequenceEdit *m_pKeySequenceEdit; // child
    QPushButton *m_pClearButton;          // child
    QPushButton *m_pResetAllButton;       // child
    QLabel *m_pConflictIcon;              // child
    QLabel *m_pConflictLabel;             // child
    // The registry's shortcuts when the page was last filled or saved.
    Shortcuts m_savedShortcuts;
    // What the user knows each command by, by id, as the table was last filled.
    QHash<QString, QString> m_names;
};
