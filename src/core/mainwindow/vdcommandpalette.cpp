#include "vdcommandpalette.h"

#include "actionmanager.h"
#include "commandids.h"
#include "contextaction.h"
#include "icore.h"
#include "menupaths.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QSettings>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
enum Column { TextColumn, MenuColumn, ShortcutColumn };
const int idRole = Qt::UserRole;
const int maxRecentCommands = 8;
const int maxWidth = 640;
const int maxHeight = 400;
const int margin = 8;

QString recentCommandsKey()
{
    return QStringLiteral("Veldra/RecentCommands");
}

bool isInside(const QWidget *widget, const QWidget *ancestor)
{
    return widget && (widget == ancestor || ancestor->isAncestorOf(widget));
}
} // namespace

VDCommandPalette::VDCommandPalette(QWidget *parent)
    : QFrame(parent)
    , m_pSearchEdit(new QLineEdit(this))
    , m_pCommandList(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("commandPalette"));
    setAccessibleName(tr("Command Palette"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    setAutoFillBackground(true);
    hide();

    m_pSearchEdit->setObjectName(QStringLiteral("commandEdit"));
    m_pSearchEdit->setAccessibleName(tr("Command to run"));
    m_pSearchEdit->setPlaceholderText(tr("Type the name of a command"));
    m_pCommandList->setObjectName(QStringLiteral("commandList"));
    m_pCommandList->setAccessibleName(tr("Matching commands"));
    m_pCommandList->setColumnCount(3);
    m_pCommandList->setHeaderHidden(true);
    m_pCommandList->setRootIsDecorated(false);
    m_pCommandList->setUniformRowHeights(true);
    // The typing stays in the line edit, which hands the list its arrow keys.
    m_pCommandList->setFocusPolicy(Qt::NoFocus);
    m_pCommandList->header()->setStretchLastSection(false);
    m_pCommandList->header()->setSectionResizeMode(TextColumn, QHeaderView::Stretch);
    m_pCommandList->header()->setSectionResizeMode(MenuColumn, QHeaderView::ResizeToContents);
    m_pCommandList->header()->setSectionResizeMode(ShortcutColumn, QHeaderView::ResizeToContents);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(m_pSearchEdit);
    layout->addWidget(m_pCommandList, 1);

    connect(m_pSearchEdit, &QLineEdit::textChanged, this, &VDCommandPalette::showMatches);
    connect(m_pCommandList, &QTreeWidget::itemActivated, this,
            &VDCommandPalette::runCurrentCommand);
    connect(qApp, &QApplication::focusChanged, this, &VDCommandPalette::onFocusChanged);
    m_pSearchEdit->installEventFilter(this);
    if (parent)
        parent->installEventFilter(this);
}

VDCommandPalette::~VDCommandPalette() = default;

void VDCommandPalette::showPalette()
{
    if (!isHidden())
        return;
    // Taken before the palette has the focus: the commands of where the user works.
    m_pReturnFocus = QApplication::focusWidget();
    collectCommands();
    {
        const QSignalBlocker blocker(m_pSearchEdit);
        m_pSearchEdit->clear();
    }
    showMatches();
    placeOverParent();
    show();
    raise();
    m_pSearchEdit->setFocus(Qt::ShortcutFocusReason);
}

bool VDCommandPalette::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Resize && !isHidden()) {
        placeOverParent();
    } else if (watched == m_pSearchEdit && event->type() == QEvent::KeyPress) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        switch (keyEvent->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(m_pCommandList, event);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            runCurrentCommand();
            return true;
        case Qt::Key_Escape:
            closePalette();
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return true; // the focus stays in the palette until it closes
        default:
            break;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void VDCommandPalette::collectCommands()
{
    const QHash<QString, QStringList> paths = MenuPaths::ofCommands();
    const QString ownId = QLatin1String(Veldra::Ids::CommandPalette);
    m_candidates.clear();
    for (const ContextAction *command : ActionManager::getActions()) {
        // Active: enabled, visible and not a separator where the user works.
        if (!command->isActive() || command->getId() == ownId)
            continue;
        const QString text = MenuPaths::withoutMnemonic(command->getAction()->text());
        if (!text.isEmpty())
            m_candidates.append(
                    {command->getId(), text, MenuPaths::joined(paths.value(command->getId()))});
    }
}

void VDCommandPalette::showMatches()
{
    m_pCommandList->clear();
    const QList<CommandMatcher::Candidate> matches =
            CommandMatcher::rank(m_pSearchEdit->text(), m_candidates, recentCommands());
    for (const CommandMatcher::Candidate &match : matches) {
        const ContextAction *command = ActionManager::getAction(match.id);
        const QString shortcut =
                command ? command->getKeySequence().toString(QKeySequence::NativeText) : QString();
        auto *item = new QTreeWidgetItem(m_pCommandList, {match.text, match.menuPath, shortcut});
        item->setData(TextColumn, idRole, match.id);
    }
    m_pCommandList->setCurrentItem(m_pCommandList->topLevelItem(0));
}

void VDCommandPalette::placeOverParent()
{
    const QWidget *area = parentWidget();
    if (!area)
        return;
    QRect bounds = area->rect();
    // Over the working area, below the title bar, menus and tool bars.
    if (const auto *window = qobject_cast<const QMainWindow *>(area);
        window && window->centralWidget())
        bounds = window->centralWidget()->geometry();
    const int width = qMin(maxWidth, bounds.width() - 2 * margin);
    const int height = qMin(maxHeight, bounds.height() - 2 * margin);
    setGeometry(bounds.left() + (bounds.width() - width) / 2, bounds.top() + margin, width, height);
}

void VDCommandPalette::runCurrentCommand()
{
    const QTreeWidgetItem *item = m_pCommandList->currentItem();
    if (!item)
        return;
    const QString id = item->data(TextColumn, idRole).toString();
    rememberCommand(id);
    closePalette();
    // From the event loop, once the focus is back where the user works: the command acts there,
    // and the dialogs it opens are not opened from inside the palette's key handling.
    QTimer::singleShot(0, this, [id] {
        if (ContextAction *command = ActionManager::getAction(id))
            command->getAction()->trigger();
    });
}

void VDCommandPalette::closePalette()
{
    if (isHidden())
        return;
    hide();
    if (m_pReturnFocus)
        m_pReturnFocus->setFocus(Qt::OtherFocusReason);
}

// A click or a window elsewhere takes the focus: the palette closes and leaves it there.
void VDCommandPalette::onFocusChanged(QWidget *, QWidget *now)
{
    if (!isHidden() && !isInside(now, this))
        hide();
}

QStringList VDCommandPalette::recentCommands() const
{
    const QSettings *settings = ICore::settings();
    return settings ? settings->value(recentCommandsKey()).toStringList().mid(0, maxRecentCommands)
                    : QStringList();
}

void VDCommandPalette::rememberCommand(const QString &strId)
{
    QSettings *settings = ICore::settings();
    if (!settings)
        return;
    QStringList recent = recentCommands();
    recent.removeAll(strId);
    recent.prepend(strId);
    settings->setValue(recentCommandsKey(), QStringList(recent.mid(0, maxRecentCommands)));
}
