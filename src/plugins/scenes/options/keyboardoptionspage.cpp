#include "keyboardoptionspage.h"

#include "actionmanager.h"
#include "contextaction.h"
#include "shortcutconflicts.h"
#include "shortcutsettings.h"

#include <QAction>
#include <QBrush>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
enum Column { IdColumn, DescriptionColumn, ShortcutColumn };
const int keyRole = Qt::UserRole;

// The entries of the recent projects menu change with every opened file; they are not commands
// the user would give a key.
bool isListed(const ContextAction *command)
{
    static const QString recentProjectPrefix = QStringLiteral("File.Recent_Projects.Project_");
    return !command->isSeparator() && !command->getId().startsWith(recentProjectPrefix);
}

// A menu text without its mnemonic markers: "&&" stands for "&", a lone "&" is dropped.
QString withoutMnemonic(const QString &text)
{
    QString result;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && ++i == text.size())
            break;
        result.append(text.at(i));
    }
    return result;
}

QString descriptionOf(const ContextAction *command)
{
    const QString description = command->getDescription();
    return description.isEmpty() ? withoutMnemonic(command->getAction()->text()) : description;
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
    , m_pCommandTree(new QTreeWidget(this))
    , m_pKeySequenceEdit(new QKeySequenceEdit(this))
    , m_pClearButton(new QPushButton(tr("Clear"), this))
    , m_pResetAllButton(new QPushButton(tr("Reset All"), this))
    , m_pConflictIcon(new QLabel(this))
    , m_pConflictLabel(new QLabel(this))
{
    setWindowTitle(tr("Keyboard"));
    m_pCommandTree->setObjectName(QStringLiteral("commandTree"));
    m_pKeySequenceEdit->setObjectName(QStringLiteral("keySequenceEdit"));
    m_pClearButton->setObjectName(QStringLiteral("clearButton"));
    m_pResetAllButton->setObjectName(QStringLiteral("resetAllButton"));
    m_pConflictLabel->setObjectName(QStringLiteral("conflictLabel"));

    m_pCommandTree->setColumnCount(3);
    m_pCommandTree->setHeaderLabels({tr("Command"), tr("Description"), tr("Shortcut")});
    m_pCommandTree->setRootIsDecorated(false);
    m_pCommandTree->setUniformRowHeights(true);
    m_pCommandTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
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
    layout->addWidget(m_pCommandTree, 1);
    layout->addLayout(editRow);
    layout->addLayout(warningRow);

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
    const QString selectedId = selectedItem() ? selectedItem()->text(IdColumn) : QString();
    const QSignalBlocker blocker(m_pCommandTree);
    m_pCommandTree->clear();
    for (const ContextAction *command : ActionManager::getActions()) {
        if (!isListed(command))
            continue;
        auto *item =
                new QTreeWidgetItem(m_pCommandTree, {command->getId(), descriptionOf(command)});
        showKey(item, command->getKeySequence());
        item->setSelected(item->text(IdColumn) == selectedId);
    }
    showSelectedShortcut();
    updateConflicts();
}

KeyboardOptionsPage::Shortcuts KeyboardOptionsPage::tableShortcuts() const
{
    Shortcuts shortcuts;
    for (int i = 0; i < m_pCommandTree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = m_pCommandTree->topLevelItem(i);
        shortcuts.insert(item->text(IdColumn), keyOf(item));
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
                         .arg(conflict.firstId, conflict.secondId,
                              conflict.key.toString(QKeySequence::NativeText));
    }
    for (int i = 0; i < m_pCommandTree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_pCommandTree->topLevelItem(i);
        item->setForeground(ShortcutColumn, conflicting.contains(item->text(IdColumn))
                                                    ? QBrush(QColor(0xd0, 0x30, 0x30))
                                                    : QBrush());
    }
    m_pConflictLabel->setText(lines.join(QLatin1Char('\n')));
    m_pConflictLabel->setVisible(!lines.isEmpty());
    m_pConflictIcon->setVisible(!lines.isEmpty());
}
