#pragma once

#include "commandmatcher.h"
#include "core_global.h"

#include <QFrame>
#include <QList>
#include <QPointer>
#include <QStringList>

QT_BEGIN_NAMESPACE
class QLineEdit;
class QTreeWidget;
QT_END_NAMESPACE

/*!
 * The command palette: a box over the main window that runs a command found by its name. It
 * lists every command that was enabled where the user worked when it opened, by its menu text,
 * its menus and its shortcut, and narrows and ranks them as the user types (CommandMatcher).
 * Up and Down choose, Enter closes the palette and then runs the chosen command where the user
 * worked, Escape or a click elsewhere closes it. Commands run from it rank earlier next time:
 * the latest few are kept in the user settings under "Veldra/RecentCommands".
 */
class CORE_EXPORT VDCommandPalette : public QFrame
{
    Q_OBJECT

public:
    explicit VDCommandPalette(QWidget *parent);
    ~VDCommandPalette() override;

    // Opens the palette over its parent with the commands enabled now; the focus goes to it.
    void showPalette();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void collectCommands();
    void showMatches();
    void placeOverParent();
    void runCurrentCommand();
    void closePalette();
    void onFocusChanged(QWidget *old, QWidget *now);
    QStringList recentCommands() const;
    void rememberCommand(const QString &strId);

    QLineEdit *m_pSearchEdit;    // child
    QTreeWidget *m_pCommandList; // child
    QList<CommandMatcher::Candidate> m_candidates;
    QPointer<QWidget> m_pReturnFocus; // where the user worked when the palette opened
};
