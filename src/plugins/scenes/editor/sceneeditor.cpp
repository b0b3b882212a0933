#include "sceneeditor.h"

#include "editormanager.h"
#include "icore.h"
#include "imainmdiarea.h"
#include "mainwindow.h"
#include "scenedocument.h"
#include "sceneeditorwidget.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QUndoStack>

SceneEditor::SceneEditor(QObject *parent)
    : IEditor(parent)
{
    connect(this, &IEditor::documentLoaded, this, &SceneEditor::onDocumentLoaded);
    connect(this, &IEditor::documentUnloading, this, &SceneEditor::onDocumentUnloading);
    connect(this, &IEditor::aboutToActivate, this, &SceneEditor::onAboutToActivate);
    connect(this, &IEditor::documentTitleChanged, this, &SceneEditor::updateWindowState);
    connect(this, &IEditor::documentTitleChanged, this, &SceneEditor::updateRecentProjectsMenu);
    connect(this, &IEditor::documentModifyChanged, this, &SceneEditor::updateWindowState);
    connect(this, &IEditor::undoStackChanged, this, &SceneEditor::followUndoStack);
}

SceneEditor::~SceneEditor()
{
    if (m_pSubWindow)
        m_pSubWindow->removeEventFilter(this);
    delete m_pSubWindow;
    delete m_pWidget; // only left when there was no sub-window to hold it
}

QMdiSubWindow *SceneEditor::subWindow() const
{
    return m_pSubWindow;
}

SceneEditorWidget *SceneEditor::widget() const
{
    return m_pWidget;
}

bool SceneEditor::eventFilter(QObject *watched, QEvent *event)
{
    // The type is checked first: while the sub-window is being destroyed it still sends events
    // here, and it must not be looked at as a sub-window then.
    if (event->type() == QEvent::Close && watched == m_pSubWindow) {
        // The sub-window never closes by itself: the document decides, and when it goes the
        // editor goes with it and takes the sub-window along.
        event->ignore();
        closeRequestedByUser();
        return true;
    }
    return IEditor::eventFilter(watched, event);
}

void SceneEditor::onDocumentLoaded()
{
    auto *document = qobject_cast<SceneDocument *>(getDocument());
    if (!document) {
        qWarning("SceneEditor: the loaded document is not a scenes project");
        return;
    }
    if (!m_pWidget)
        createSubWindow();
    if (m_pWidget) {
        m_pWidget->setDocument(document);
        connect(this, &IEditor::documentDataChanged, m_pWidget, &SceneEditorWidget::applyChange,
                Qt::UniqueConnection);
    }
    // A file may hold texts off the stage, where no one could grab them; they come back as an
    // edit of their own, so the project shows as modified and the move can be undone.
    document->keepTextsOnStage();
    followUndoStack();
    updateWindowState();
    updateRecentProjectsMenu();
    if (isActiveEditor())
        onAboutToActivate();
}

void SceneEditor::onDocumentUnloading()
{
    if (m_pWidget)
        m_pWidget->setDocument(nullptr);
}

void SceneEditor::onAboutToActivate()
{
    MainWindow *mainWindow = ICore::getMainWindow();
    if (!m_pSubWindow || !mainWindow)
        return;
    mainWindow->getMdiArea()->setActiveSubWindow(m_pSubWindow);
    m_pWidget->stageView()->setFocus(Qt::OtherFocusReason);
    updateWindowState();
}

void SceneEditor::createSubWindow()
{
    MainWindow *mainWindow = ICore::getMainWindow();
    if (!mainWindow) {
        qWarning("SceneEditor: there is no main window to show the project in");
        return;
    }
    m_pWidget = new SceneEditorWidget;
    m_pSubWindow = new QMdiSubWindow;
    m_pSubWindow->setObjectName(QStringLiteral("sceneEditorSubWindow"));
    m_pSubWindow->setWidget(m_pWidget);
    m_pSubWindow->installEventFilter(this);
    IMainMdiArea *mdiArea = mainWindow->getMdiArea();
    mdiArea->addSubWindow(m_pSubWindow);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *pWindow) {
        if (pWindow && pWindow == m_pSubWindow)
            EditorManager::activateEditor(this);
    });
    m_pSubWindow->showMaximized();
}

void SceneEditor::followUndoStack()
{
    if (m_pFollowedStack)
        disconnect(m_pFollowedStack, nullptr, this, nullptr);
    m_pFollowedStack = getDocument() ? getDocument()->getUndoStack() : nullptr;
    if (m_pFollowedStack)
        connect(m_pFollowedStack, &QUndoStack::cleanChanged, this, &SceneEditor::updateWindowState);
}

void SceneEditor::updateWindowState()
{
    IDocument *document = getDocument();
    if (!m_pSubWindow || !document)
        return;
    const QString fileName = document->getFileName();
    const bool modified = document->isModified();
    m_pSubWindow->setWindowTitle(QFileInfo(fileName).fileName() + QLatin1String("[*]"));
    m_pSubWindow->setWindowFilePath(fileName);
    m_pSubWindow->setWindowModified(modified);
    // The core refreshes the title bar only when the active sub-window changes.
    MainWindow *mainWindow = ICore::getMainWindow();
    if (mainWindow && isActiveEditor()) {
        mainWindow->setWindowFilePath(fileName);
        mainWindow->setWindowModified(modified);
    }
}

void SceneEditor::updateRecentProjectsMenu()
{
    // Opening a project and saving it under a new name put its path at the head of the recent
    // list, but the core rebuilds the Recent Projects menu only when entries are removed. Save
    // As adds the new path after the document has announced it, hence the queued call.
    if (MainWindow *mainWindow = ICore::getMainWindow())
        QMetaObject::invokeMethod(mainWindow, &MainWindow::updateRecentFileActions,
                                  Qt::QueuedConnection);
}

bool SceneEditor::isActiveEditor() const
{
    return EditorManager::getInstance() && EditorManager::activeEditor() == this;
}

void SceneEditor::closeRequestedByUser()
{
    IDocument *document = getDocument();
    if (document && document->close())
        emit document->requestClosing(true);
}
