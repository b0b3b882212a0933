#include "keyboardoptionspage.h"

#include "actionmanager.h"
#include "commandids.h"
#include "contextaction.h"
#include "menupaths.h"
#include "shortcutconflicts.h"
#include "shortcutsettings.h"

#include <QAction>
#include <QBrush>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Ids = Veldra::Ids;

namespace {
enum Column { CommandColumn, ShortcutColumn };
const int keyRole = Qt::UserRole;
const int idRole = Qt::UserRole + 1;

// The entries of the recent projects menu change with every opened file; they are not commands
// the user would give a key.
bool isListed(const ContextAction *command)
{
    static const QString recentProjectPrefix = QLatin1String(Ids::FileRecentProjectPrefix);
    return !command->isSeparator() && !command->getId().startsWith(recentProjectPrefix);
}

// What the user knows a command by: its place in the menus ("File ▸ Save As ▸ Other Project"),
// else its text, else its id.
QHash<QString, QString> commandNames()
{
    const QHash<QString, QStringList> paths = MenuPaths::ofCommands();
    QHash<QString, QString> names;
    for (const ContextAction *command : ActionManager::getActions()) {
        const QString text = MenuPaths::withoutMnemonic(command->getAction()->text());
        const auto path = paths.constFind(command->getId());
        const QString name =
                path == paths.cend() ? text : MenuPaths::joined(*path + QStringList(text));
        names.insert(command->getId(), name.isEmpty() ? command->getId() : name);
    }
    return names;
}

QString idOf(const QTreeWidgetItem *item)
{
    return item->data(CommandColumn, idRole).toString();
}

void showKey(QTreeWidgetItem *item, const QKeySequence &key)
{
    item->setData(ShortcutColumn, keyRole, QVariant::fromValue(key));
    item->setText(ShortcutColumn, key.toString(QKeySequence::NativeText));
}

QKeySequence keyOf(const QTreeWidgetItem *item)
{
    return item->data(ShortcutColumn, keyRole).value<QKeySequence>();
}
} // namespace

KeyboardOptionsPage::KeyboardOptionsPage(QWidget *parent)
    : IOptionPage(parent)
    , m_pFilterEdit(new QLineEdit(this))
    , m_pCommandTree(new QTreeWidget(this))
    , m_pKeySequenceEdit(new QKeySequenceEdit(this))
    , m_pClearButton(new QPushButton(tr("Clear"), this))
    , m_pResetAllButton(new QPushButton(tr("Reset All"), this))
    , m_pConflictIcon(new QLabel(this))
    , m_pConflictLabel(new QLabel(this))
{
    setWindowTitle(tr("Keyboard"));
    m_pFilterEdit->setObjectName(QStringLiteral("filterEdit"));
    m_pFilterEdit->setPlaceholderText(tr("Filter by command, menu or shortcut"));
    m_pFilterEdit->setClearButtonEnabled(true);
    m_pCommandTree->setObjectName(QStringLiteral("commandTree"));
    m_pKeySequenceEdit->setObjectName(QStringLiteral("keySequenceEdit"));
    m_pClearButton->setObjectName(QStringLiteral("clearButton"));
    m_pResetAllButton->setObjectName(QStringLiteral("resetAllButton"));
    m_pConflictLabel->setObjectName(QStringLiteral("conflictLabel"));

    m_pCommandTree->setColumnCount(2);
    m_pCommandTree->setHeaderLabels({tr("Command"), tr("Shortcut")});
    m_pCommandTree->setRootIsDecorated(false);
    m_pCommandTree->setUniformRowHeights(true);
    m_pCommandTree->setSortingEnabled(true);
    m_pCommandTree->sortByColumn(CommandColumn, Qt::AscendingOrder);
    // The command takes the width the shortcut leaves; the description is in the tool tip.
    m_pCommandTree->header()->setStretchLastSection(false);
    m_pCommandTree->header()->setSectionResizeMode(CommandColumn, QHeaderView::Stretch);
    m_pCommandTree->header()->setSectionResizeMode(ShortcutColumn, QHeaderView::ResizeToContents);
    m_pConflictIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16));
    m_pConflictLabel->setWordWrap(true);
    m_pConflictLabel->setStyleSheet(QStringLiteral("color: #d03030;"));

    auto *editRow = new QHBoxLayout;
    editRow->addWidget(new QLabel(tr("Shortcut:"), this));
    editRow->addWidget(m_pKeySequenceEdit, 1);
    editRow->addWidget(m_pClearButton);
    editRow->addStretch();
    editRow->addWidget(m_pResetAllButton);
    auto *warningRow = new QHBoxLayout;
    warningRow->addWidget(m_pConflictIcon, 0, Qt::AlignTop);
    warningRow->addWidget(m_pConflictLabel, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pFilterEdit);
    layout->addWidget(m_pCommandTree, 1);
    layout->addLayout(editRow);
    layout->addLayout(warningRow);

    connect(m_pFilterEdit, &QLineEdit::textChanged, this, &KeyboardOptionsPage::applyFilter);
    connect(m_pCommandTree, &QTreeWidget::itemSelectionChanged, this,
            &KeyboardOptionsPage::showSelectedShortcut);
    connect(m_pKeySequenceEdit, &QKeySequenceEdit::keySequenceChanged, this,
            &KeyboardOptionsPage::setSelectedShortcut);
    connect(m_pClearButton, &QPushButton::clicked, this,
            [this] { setSelectedShortcut(QKeySequence()); });
    connect(m_pResetAllButton, &QPushButton::clicked, this, &KeyboardOptionsPage::resetAll);
    showSelectedShortcut();
    updateConflicts();
}

KeyboardOptionsPage::~KeyboardOptionsPage() = default;

void KeyboardOptionsPage::initValues()
{
    m_savedShortcuts = registryShortcuts();
    fillTable();
    IOptionPage::initValues();
}

void KeyboardOptionsPage::saveChanges()
{
    applyToRegistry(tableShortcuts());
    ShortcutSettings::save();
    m_savedShortcuts = registryShortcuts();
    IOptionPage::saveChanges();
}

void KeyboardOptionsPage::discardChanges()
{
    applyToRegistry(m_savedShortcuts);
    fillTable();
    IOptionPage::discardChanges();
}

KeyboardOptionsPage::Shortcuts KeyboardOptionsPage::registryShortcuts()
{
    Shortcuts shortcuts;
    for (const ContextAction *command : ActionManager::getActions()) {
        if (isListed(command))
            shortcuts.insert(command->getId(), command->getKeySequence());
    }
    return shortcuts;
}

void KeyboardOptionsPage::applyToRegistry(const Shortcuts &shortcuts)
{
    for (auto it = shortcuts.cbegin(); it != shortcuts.cend(); ++it) {
        ContextAction *command = ActionManager::getAction(it.key());
        if (command && command->getKeySequence() != it.value())
            command->setKeySequence(it.value());
    }
}

void KeyboardOptionsPage::fillTable()
{
    const QString selectedId = selectedItem() ? idOf(selectedItem()) : QString();
    const QSignalBlocker blocker(m_pCommandTree);
    m_pCommandTree->clear();
    m_names = commandNames();
    for (const ContextAction *command : ActionManager::getActions()) {
        if (!isListed(command))
            continue;
        auto *item = new QTreeWidgetItem(m_pCommandTree, {m_names.value(command->getId())});
        item->setData(CommandColumn, idRole, command->getId());
        const QString description = command->getDescription();
        item->setToolTip(CommandColumn, description.isEmpty() ? command->getId()
                                                              : description + QLatin1Char('\n') +
                                                                        command->getId());
        showKey(item, command->getKeySequence());
        item->setSelected(command->getId() == selectedId);
    }
    applyFilter();
    showSelectedShortcut();
    updateConflicts();
}

KeyboardOptionsPage::Shortcuts KeyboardOptionsPage::tableShortcuts() const
{
    Shortcuts shortcuts;
    for (int i = 0; i < m_pCommandTree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = m_pCommandTree->topLevelItem(i);
        shortcuts.insert(idOf(item), keyOf(item));
    }
    return shortcuts;
}

QTreeWidgetItem *KeyboardOptionsPage::selectedItem() const
{
    const QList<QTreeWidgetItem *> selected = m_pCommandTree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void KeyboardOptionsPage::showSelectedShortcut()
{
    const QTreeWidgetItem *item = selectedItem();
    m_pKeySequenceEdit->setEnabled(item != nullptr);
    m_pClearButton->setEnabled(item != nullptr);
    m_pKeySequenceEdit->setKeySequence(item ? keyOf(item) : QKeySequence());
}

void KeyboardOptionsPage::setSelectedShortcut(const QKeySequence &key)
{
    QTreeWidgetItem *item = selectedItem();
    if (!item || keyOf(item) == key)
        return;
    showKey(item, key);
    if (m_pKeySequenceEdit->keySequence() != key)
        m_pKeySequenceEdit->setKeySequence(key);
    updateConflicts();
    emit dataChanged();
}

void KeyboardOptionsPage::resetAll()
{
    ActionManager::resetToDefault();
    fillTable();
    emit dataChanged();
}

void KeyboardOptionsPage::updateConflicts()
{
    const QList<ShortcutConflicts::Conflict> conflicts = ShortcutConflicts::find(tableShortcuts());
    QSet<QString> conflicting;
    QStringList lines;
    for (const ShortcutConflicts::Conflict &conflict : conflicts) {
        conflicting << conflict.firstId << conflict.secondId;
        lines << tr("\"%1\" and \"%2\" share the shortcut %3.")
                         .arg(m_names.value(conflict.firstId, conflict.firstId),
                              m_names.value(conflict.secondId, conflict.secondId),
                              conflict.key.toString(QKeySequence::NativeText));
    }
    for (int i = 0; i < m_pCommandTree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_pCommandTree->topLevelItem(i);
        item->setForeground(ShortcutColumn, conflicting.contains(idOf(item))
                                                    ? QBrush(QColor(0xd0, 0x30, 0x30))
                                                    : QBrush());
    }
    m_pConflictLabel->setText(lines.join(QLatin1Char('\n')));
    m_pConflictLabel->setVisible(!lines.isEmpty());
    m_pConflictIcon->setVisible(!lines.isEmpty());
}

void KeyboardOptionsPage::applyFilter()
{
    const QString filter = m_pFilterEdit->text().trimmed();
    for (int i = 0; i < m_pCommandTree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_pCommandTree->topLevelItem(i);
        const bool shown = item->text(CommandColumn).contains(filter, Qt::CaseInsensitive) ||
                           item->text(ShortcutColumn).contains(filter, Qt::CaseInsensitive);
        item->setHidden(!shown);
    }
}
