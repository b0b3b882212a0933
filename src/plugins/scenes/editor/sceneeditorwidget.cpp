#include "sceneeditorwidget.h"

#include "actionmanager.h"
#include "browserpreview.h"
#include "commandids.h"
#include "contextmanager.h"
#include "elementpropertiespanel.h"
#include "projectchange.h"
#include "scenedocument.h"
#include "sceneeditorcommands.h"
#include "scenelistpanel.h"
#include "stagebounds.h"

#include <QAction>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSplitter>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace Ids = Veldra::Ids;

namespace {

// A new text box: half the stage wide, tall enough for one line, in the middle of the stage.
// Further texts of the scene go one box lower each, four in a row before starting over, so a new
// text never hides the one added before it.
TextElement newTextElement(const QSize &stage, const QString &text, int nExisting)
{
    TextElement element;
    element.text = text;
    const QSizeF size(stage.width() / 2.0, element.fontSize * 1.5);
    const QPointF topLeft((stage.width() - size.width()) / 2, (stage.height() - size.height()) / 2);
    const QPointF placed = topLeft + QPointF(0, size.height() * (nExisting % 4));
    element.geometry = QRectF(StageBounds::keptOnStage(placed, size, stage), size);
    return element;
}
} // namespace

const char SceneEditorWidget::contextId[] = "Scenes.Editor";

SceneEditorWidget::SceneEditorWidget(QWidget *parent)
    : QWidget(parent)
    , m_pSceneList(new SceneListPanel)
    , m_pStageView(new StageView)
    , m_pAddTextButton(new QPushButton(tr("Add Text")))
    , m_pProperties(new ElementPropertiesPanel)
    , m_pPreviewAction(new QAction(tr("Preview Current Scene In Browser"), this))
    , m_pAddTextAction(SceneEditorCommands::createAction(SceneEditorCommands::AddText, this))
    , m_pDeleteTextAction(SceneEditorCommands::createAction(SceneEditorCommands::DeleteText, this))
{
    setObjectName(QStringLiteral("sceneEditorWidget"));
    m_pAddTextButton->setObjectName(QStringLiteral("addTextButton"));

    auto *canvas = new QWidget;
    auto *canvasLayout = new QVBoxLayout(canvas);
    canvasLayout->setContentsMargins(0, 0, 0, 0);
    auto *tools = new QHBoxLayout;
    tools->addWidget(m_pAddTextButton);
    tools->addStretch();
    canvasLayout->addLayout(tools);
    canvasLayout->addWidget(m_pStageView, 1);

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(m_pSceneList);
    splitter->addWidget(canvas);
    splitter->addWidget(m_pProperties);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 760, 280}); // the canvas takes what the window gains
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    connect(m_pSceneList, &SceneListPanel::currentSceneChanged, this,
            [this](int nScene) { showScene(nScene, -1); });
    connect(m_pSceneList, &SceneListPanel::addSceneRequested, this, &SceneEditorWidget::addScene);
    connect(m_pSceneList, &SceneListPanel::removeSceneRequested, this, [this](int nScene) {
        if (m_pDocument)
            m_pDocument->removeScene(nScene);
    });
    connect(m_pSceneList, &SceneListPanel::renameSceneRequested, this,
            [this](int nScene, const QString &name) {
                if (m_pDocument)
                    m_pDocument->renameScene(nScene, name);
            });
    connect(m_pSceneList, &SceneListPanel::moveSceneRequested, this, [this](int nFrom, int nTo) {
        if (m_pDocument)
            m_pDocument->moveScene(nFrom, nTo);
    });
    connect(m_pSceneList, &SceneListPanel::scenePropertiesRequested, this,
            [this](int nScene, const QColor &background, int nDuration) {
                if (m_pDocument)
                    m_pDocument->setSceneProperties(nScene, background, nDuration);
            });
    connect(m_pStageView, &StageView::elementsMoved, this, &SceneEditorWidget::moveElements);
    connect(m_pStageView, &StageView::selectedElementChanged, this,
            &SceneEditorWidget::showSelectedElement);
    connect(m_pStageView, &StageView::selectedElementChanged, m_pDeleteTextAction,
            [this](int nElement) { m_pDeleteTextAction->setEnabled(nElement >= 0); });
    connect(m_pStageView, &StageView::elementDoubleClicked, m_pProperties,
            &ElementPropertiesPanel::editText);
    connect(m_pProperties, &ElementPropertiesPanel::elementEdited, this,
            &SceneEditorWidget::editSelectedElement);
    connect(m_pAddTextButton, &QPushButton::clicked, m_pAddTextAction, &QAction::trigger);
    connect(m_pAddTextAction, &QAction::changed, m_pAddTextButton,
            [this] { m_pAddTextButton->setEnabled(m_pAddTextAction->isEnabled()); });
    connect(m_pAddTextAction, &QAction::triggered, this, &SceneEditorWidget::addText);
    connect(m_pDeleteTextAction, &QAction::triggered, this,
            &SceneEditorWidget::deleteSelectedTexts);
    connect(m_pPreviewAction, &QAction::triggered, this, &SceneEditorWidget::previewCurrentScene);

    ContextManager::registerContext(this, QLatin1String(contextId), tr("Scene Editor"));
    ActionManager::registerAction(m_pPreviewAction, QLatin1String(Ids::FilePreviewScene), this);
    SceneEditorCommands::registerActions(commandActions(), this);
    setDocument(nullptr);
}

SceneEditorWidget::~SceneEditorWidget()
{
    ActionManager::unregisterAction(m_pPreviewAction, QLatin1String(Ids::FilePreviewScene));
    SceneEditorCommands::unregisterActions(commandActions());
    ContextManager::unregisterContext(this, QLatin1String(contextId));
}

void SceneEditorWidget::setDocument(SceneDocument *pDocument)
{
    m_pDocument = pDocument;
    m_nCurrentScene = -1;
    reload();
}

SceneDocument *SceneEditorWidget::document() const
{
    return m_pDocument;
}

int SceneEditorWidget::currentScene() const
{
    return m_nCurrentScene;
}

StageView *SceneEditorWidget::stageView() const
{
    return m_pStageView;
}

QAction *SceneEditorWidget::previewSceneAction() const
{
    return m_pPreviewAction;
}

void SceneEditorWidget::reload()
{
    showScene(qMax(m_nCurrentScene, 0), -1);
}

void SceneEditorWidget::applyChange(QObject *pUpdateInfo)
{
    auto *change = qobject_cast<ProjectChange *>(pUpdateInfo);
    if (!change || change->kind() == ProjectChange::Reset) {
        reload();
        return;
    }
    const int scene = change->scene() >= 0 ? change->scene() : m_nCurrentScene;
    int element = -1;
    if (change->kind() == ProjectChange::Elements)
        element = change->element();
    else if (change->kind() == ProjectChange::SceneProperties && scene == m_nCurrentScene)
        element = m_pStageView->selectedElement();
    showScene(scene, element);
}

void SceneEditorWidget::showScene(int nScene, int nSelectedElement)
{
    const Project *project = m_pDocument ? &m_pDocument->project() : nullptr;
    const int sceneCount = project ? project->scenes.size() : 0;
    m_nCurrentScene = sceneCount > 0 ? qBound(0, nScene, sceneCount - 1) : -1;
    const Scene *scene = m_nCurrentScene >= 0 ? &project->scenes.at(m_nCurrentScene) : nullptr;
    m_pSceneList->showProject(project, m_nCurrentScene);
    m_pStageView->showScene(project ? QSize(project->width, project->height) : QSize(), scene,
                            nSelectedElement);
    m_pAddTextAction->setEnabled(scene != nullptr);
}

void SceneEditorWidget::showSelectedElement(int nElement)
{
    const Scene *scene = m_pDocument && m_nCurrentScene >= 0
                                 ? &m_pDocument->project().scenes.at(m_nCurrentScene)
                                 : nullptr;
    const bool valid = scene && nElement >= 0 && nElement < scene->elements.size();
    m_pProperties->showElement(valid ? &scene->elements.at(nElement) : nullptr);
}

void SceneEditorWidget::addScene()
{
    if (!m_pDocument)
        return;
    Scene scene;
    scene.name = tr("Scene %1").arg(m_pDocument->project().scenes.size() + 1);
    m_pDocument->addScene(scene, m_nCurrentScene + 1);
}

void SceneEditorWidget::addText()
{
    if (!m_pDocument || m_nCurrentScene < 0)
        return;
    const Project &project = m_pDocument->project();
    const int existing = project.scenes.at(m_nCurrentScene).elements.size();
    m_pDocument->addElement(m_nCurrentScene, newTextElement(QSize(project.width, project.height),
                                                            tr("Text"), existing));
}

void SceneEditorWidget::moveElements(const ElementMoves &moves)
{
    if (!m_pDocument)
        return;
    const int scene = m_nCurrentScene;
    inOneUndoStep(tr("Move Texts"), moves.size(), [&] {
        for (auto it = moves.cbegin(); it != moves.cend(); ++it)
            m_pDocument->moveElement(scene, it.key(), it.value());
    });
    // A move the document refused leaves its item where the mouse dropped it; show the truth.
    showScene(scene, moves.firstKey());
}

QList<QAction *> SceneEditorWidget::commandActions() const
{
    return m_pSceneList->actions() + QList<QAction *>{m_pAddTextAction, m_pDeleteTextAction};
}

void SceneEditorWidget::deleteSelectedTexts()
{
    QList<int> descending = m_pStageView->selectedElements();
    if (!m_pDocument || descending.isEmpty())
        return;
    std::sort(descending.begin(), descending.end(), std::greater<int>());
    const int scene = m_nCurrentScene;
    inOneUndoStep(tr("Delete Texts"), descending.size(), [&] {
        for (int element : qAsConst(descending))
            m_pDocument->removeElement(scene, element);
    });
}

void SceneEditorWidget::editSelectedElement(const TextElement &changed)
{
    const int element = m_pStageView->selectedElement();
    if (!m_pDocument || element < 0)
        return;
    const Project &project = m_pDocument->project();
    TextElement kept = changed;
    kept.geometry.moveTopLeft(StageBounds::keptOnStage(changed.geometry.topLeft(),
                                                       changed.geometry.size(),
                                                       QSizeF(project.width, project.height)));
    m_pDocument->editElement(m_nCurrentScene, element, kept);
    // Shows the element as the document has it, also when it refused the change.
    showSelectedElement(element);
}

void SceneEditorWidget::previewCurrentScene()
{
    if (m_pDocument && m_nCurrentScene >= 0)
        BrowserPreview::showScene(m_pDocument->project(), m_nCurrentScene);
}

template<typename Edit>
void SceneEditorWidget::inOneUndoStep(const QString &text, int nEdits, Edit edit)
{
    QUndoStack *stack = m_pDocument->getUndoStack();
    const bool grouped = stack && nEdits > 1;
    if (grouped)
        stack->beginMacro(text);
    edit();
    if (grouped)
        stack->endMacro();
}
