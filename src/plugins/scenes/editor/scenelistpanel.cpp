#include "scenelistpanel.h"

#include "colorbutton.h"

#include <QAction>
#include <QFormLayout>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QPushButton *newButton(const QString &text, const QString &objectName)
{
    auto *button = new QPushButton(text);
    button->setObjectName(objectName);
    return button;
}
} // namespace

SceneListPanel::SceneListPanel(QWidget *parent)
    : QWidget(parent)
    , m_pList(new QListWidget)
    , m_pAddButton(newButton(tr("Add"), QStringLiteral("addSceneButton")))
    , m_pRemoveButton(newButton(tr("Remove"), QStringLiteral("removeSceneButton")))
    , m_pUpButton(newButton(tr("Up"), QStringLiteral("moveSceneUpButton")))
    , m_pDownButton(newButton(tr("Down"), QStringLiteral("moveSceneDownButton")))
    , m_pBackgroundButton(new ColorButton)
    , m_pDurationSpin(new QSpinBox)
{
    setObjectName(QStringLiteral("sceneListPanel"));
    m_pList->setObjectName(QStringLiteral("sceneList"));
    m_pList->setAccessibleName(tr("Scenes"));
    // The key that starts a rename is the command's; the list does not keep one of its own.
    m_pList->setEditTriggers(QAbstractItemView::DoubleClicked);
    m_pList->setDragDropMode(QAbstractItemView::InternalMove);
    m_pBackgroundButton->setObjectName(QStringLiteral("sceneBackgroundButton"));
    m_pBackgroundButton->setAccessibleName(tr("Scene background"));
    m_pDurationSpin->setObjectName(QStringLiteral("sceneDurationSpin"));
    m_pDurationSpin->setAccessibleName(tr("Scene duration"));
    m_pDurationSpin->setRange(100, 600000);
    m_pDurationSpin->setSingleStep(500);
    m_pDurationSpin->setSuffix(tr(" ms"));
    m_pDurationSpin->setKeyboardTracking(false);

    auto *buttons = new QGridLayout;
    buttons->addWidget(m_pAddButton, 0, 0);
    buttons->addWidget(m_pRemoveButton, 0, 1);
    buttons->addWidget(m_pUpButton, 1, 0);
    buttons->addWidget(m_pDownButton, 1, 1);
    auto *properties = new QFormLayout;
    properties->addRow(tr("Background:"), m_pBackgroundButton);
    properties->addRow(tr("Duration:"), m_pDurationSpin);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pList);
    layout->addLayout(buttons);
    layout->addLayout(properties);

    connect(m_pList, &QListWidget::currentRowChanged, this, [this](int nRow) {
        updateButtons();
        if (!m_bShowing)
            emit currentSceneChanged(nRow);
    });
    connect(m_pList, &QListWidget::itemChanged, this, &SceneListPanel::onItemChanged);
    connect(m_pList->model(), &QAbstractItemModel::rowsMoved, this, &SceneListPanel::onRowsMoved);
    using Command = SceneEditorCommands;
    addCommand(Command::AddScene, m_pAddButton, [this] { emit addSceneRequested(); });
    addCommand(Command::RemoveScene, m_pRemoveButton,
               [this] { emit removeSceneRequested(currentScene()); });
    addCommand(Command::MoveSceneUp, m_pUpButton, [this] { moveCurrentBy(-1); });
    addCommand(Command::MoveSceneDown, m_pDownButton, [this] { moveCurrentBy(1); });
    addCommand(Command::RenameScene, nullptr, [this] {
        if (QListWidgetItem *item = m_pList->currentItem())
            m_pList->editItem(item);
    });
    connect(m_pBackgroundButton, &ColorButton::colorChosen, this,
            &SceneListPanel::reportSceneProperties);
    connect(m_pDurationSpin, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &SceneListPanel::reportSceneProperties);
    showProject(nullptr, -1);
}

void SceneListPanel::showProject(const Project *pProject, int nCurrentScene)
{
    m_bShowing = true;
    QStringList names;
    if (pProject) {
        for (const Scene &scene : pProject->scenes)
            names.append(scene.name);
    }
    setNames(names);
    const bool hasCurrent = nCurrentScene >= 0 && nCurrentScene < names.size();
    m_pList->setCurrentRow(hasCurrent ? nCurrentScene : -1);
    const Scene current = hasCurrent ? pProject->scenes.at(nCurrentScene) : Scene();
    m_pBackgroundButton->setColor(hasCurrent ? current.background : QColor());
    m_pDurationSpin->setValue(current.duration);
    m_pBackgroundButton->setEnabled(hasCurrent);
    m_pDurationSpin->setEnabled(hasCurrent);
    m_commands.value(SceneEditorCommands::AddScene)->setEnabled(pProject != nullptr);
    updateButtons();
    m_bShowing = false;
}

int SceneListPanel::currentScene() const
{
    return m_pList->currentRow();
}

void SceneListPanel::addCommand(SceneEditorCommands::Command command, QPushButton *button,
                                const std::function<void()> &handler)
{
    QAction *action = SceneEditorCommands::createAction(command, this);
    addAction(action);
    m_commands.insert(command, action);
    connect(action, &QAction::triggered, this, [action, handler] {
        if (action->isEnabled())
            handler();
    });
    if (!button)
        return;
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::changed, button,
            [action, button] { button->setEnabled(action->isEnabled()); });
}

void SceneListPanel::setNames(const QStringList &names)
{
    // Items are reused, so a rename committed from an item's editor updates that same item.
    const QSignalBlocker blocker(m_pList);
    while (m_pList->count() > names.size())
        delete m_pList->takeItem(m_pList->count() - 1);
    while (m_pList->count() < names.size()) {
        auto *item = new QListWidgetItem(m_pList);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    for (int i = 0; i < names.size(); ++i)
        m_pList->item(i)->setText(names.at(i));
    m_names = names;
}

void SceneListPanel::updateButtons()
{
    const int current = currentScene();
    using Command = SceneEditorCommands;
    m_commands.value(Command::RemoveScene)->setEnabled(current >= 0);
    m_commands.value(Command::RenameScene)->setEnabled(current >= 0);
    m_commands.value(Command::MoveSceneUp)->setEnabled(current > 0);
    m_commands.value(Command::MoveSceneDown)
            ->setEnabled(current >= 0 && current < m_pList->count() - 1);
}

void SceneListPanel::onItemChanged(QListWidgetItem *item)
{
    if (m_bShowing)
        return;
    const int row = m_pList->row(item);
    const QString name = item->text().trimmed();
    if (row < 0 || row >= m_names.size() || name == m_names.at(row))
        return;
    if (name.isEmpty()) {
        const QSignalBlocker blocker(m_pList);
        item->setText(m_names.at(row));
        return;
    }
    emit renameSceneRequested(row, name);
}

void SceneListPanel::onRowsMoved(const QModelIndex &, int nStart, int, const QModelIndex &,
                                 int nRow)
{
    if (m_bShowing)
        return;
    // nRow is where the item went before it was taken out of the list.
    const int to = nRow > nStart ? nRow - 1 : nRow;
    // The list is inside its drop handling; the request is made once that is over.
    QTimer::singleShot(0, this, [this, nStart, to] { emit moveSceneRequested(nStart, to); });
}

void SceneListPanel::moveCurrentBy(int nOffset)
{
    const int from = currentScene();
    const int to = from + nOffset;
    if (from >= 0 && to >= 0 && to < m_pList->count())
        emit moveSceneRequested(from, to);
}

void SceneListPanel::reportSceneProperties()
{
    if (!m_bShowing && currentScene() >= 0)
        emit scenePropertiesRequested(currentScene(), m_pBackgroundButton->color(),
                                      m_pDurationSpin->value());
}
