// The project commands of the main window: New, Open, open by path, Save, Save As, Close, Exit,
// the Recent Projects submenu and the bookkeeping that keeps Save, Save As, the title bar, the
// welcome widget and the undo group in step with the open projects.

#include "mainwindow.h"

#include "actioncontainer.h"
#include "actionmanager.h"
#include "commandids.h"
#include "contextaction.h"
#include "documentmanager.h"
#include "editormanager.h"
#include "icreatedocumentdlg.h"
#include "idocument.h"
#include "idocumentfactory.h"
#include "ieditor.h"
#include "imainmdiarea.h"
#include "irecentfilesmanager.h"
#include "iui.h"

#include <extensionsystem/pluginmanager.h>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QReadLocker>
#include <QUndoGroup>
#include <QUndoStack>

namespace Ids = Veldra::Ids;

namespace {
const QString &recentProjectIdPrefix()
{
    static const QString prefix = QLatin1String(Ids::FileRecentProjectPrefix);
    return prefix;
}

IRecentFilesManager *recentFiles()
{
    return IRecentFilesManager::getInstance();
}

QString lowerSuffix(const QString &strFileName)
{
    return QFileInfo(strFileName).suffix().toLower();
}
} // namespace

QList<IDocumentFactory *> MainWindow::documentFactories()
{
    QList<IDocumentFactory *> factories;
    QReadLocker locker(ExtensionSystem::PluginManager::listLock());
    const QList<QObject *> objects = ExtensionSystem::PluginManager::allObjects();
    for (QObject *object : objects) {
        if (auto *factory = qobject_cast<IDocumentFactory *>(object))
            factories.append(factory);
    }
    return factories;
}

IDocumentFactory *MainWindow::factoryForSuffix(const QString &strFileName)
{
    const QString suffix = lowerSuffix(strFileName);
    const QList<IDocumentFactory *> factories = documentFactories();
    for (IDocumentFactory *factory : factories) {
        if (factory->getSupportedSuffixes().contains(suffix))
            return factory;
    }
    return nullptr;
}

IDocumentFactory *MainWindow::selectDocumentFactory()
{
    const QList<IDocumentFactory *> factories = documentFactories();
    return factories.isEmpty() ? nullptr : factories.first();
}

IDocument *MainWindow::activeDocument() const
{
    IEditor *editor = EditorManager::activeEditor();
    return editor ? editor->getDocument() : nullptr;
}

void MainWindow::syncWelcomeWidget()
{
    setVisibleWelcomeWidget(EditorManager::getEditors().size() < 1);
}

void MainWindow::enableSaveAsMenuForActiveEditor()
{
    if (m_pSaveAsMenu)
        m_pSaveAsMenu->setEnabled(activeDocument() != nullptr);
}

void MainWindow::fileNew()
{
    IDocumentFactory *factory = selectDocumentFactory();
    if (!factory)
        return;
    IDocument *document = factory->createDocument();
    ICreateDocumentDlg *dialog = factory->createDocumentDlg();
    if (!document || !dialog) {
        delete document;
        delete dialog;
        return;
    }
    if (dialog->exec() != QDialog::Accepted) {
        delete document;
        delete dialog;
        return;
    }
    const int parameter1 = dialog->getParameter1();
    const int parameter2 = dialog->getParameter2();
    const int parameter3 = dialog->getParameter3();
    const QString path = dialog->getFileName();
    if (path.isEmpty()) {
        delete document;
        delete dialog;
        return;
    }

    recentFiles()->addRecentFile(path);
    document->setFileName(path);
    const bool created = document->create(parameter1, parameter2, parameter3);
    if (created) {
        IEditor *editor = factory->createEditor();
        if (editor)
            editor->setDocument(document);
        DocumentManager::addDocument(document);
        EditorManager::addEditor(editor);
        m_pSaveAction->setEnabled(true);
        DocumentManager::getUndoGroup()->addStack(document->getUndoStack());
        DocumentManager::getUndoGroup()->setActiveStack(document->getUndoStack());
        connect(document, &IDocument::requestClosing, this, &MainWindow::onDocumentRequestClosing);
        connect(document, &IDocument::statusChanged, this, &MainWindow::onDocStatusChanged);
        EditorManager::activateEditor(editor);
        emit document->aboutToOpen();
        document->save();
        if (DocumentManager::isAutobackupEnabled())
            DocumentManager::startWaitingBackup(document);
    } else {
        delete document;
    }
    syncWelcomeWidget();
    delete dialog;
    // The group's clean state arrived while the new editor was not active yet; a new project
    // can always be saved.
    if (created)
        m_pSaveAction->setEnabled(true);
}

void MainWindow::fileOpen()
{
    IDocumentFactory *factory = selectDocumentFactory();
    if (!factory)
        return;
    const QString path = factory->getOpenFileName();
    if (!path.isEmpty())
        loadFile(path);
}

bool MainWindow::loadFile(QString strFileName)
{
    const QString path = QDir::fromNativeSeparators(strFileName);
    const QFileInfo info(path);
    const QString canonicalPath = info.canonicalFilePath();
    if (!canonicalPath.isEmpty()) {
        const QList<IEditor *> editors = EditorManager::getEditors();
        for (IEditor *editor : editors) {
            IDocument *document = editor->getDocument();
            if (document
                && QFileInfo(document->getFileName()).canonicalFilePath() == canonicalPath) {
                EditorManager::activateEditor(editor);
                return true;
            }
        }
    }

    // A named pipe, a device or a folder would block or confuse the reader: refuse it before
    // any plug-in opens it. A missing path is left to the document, which reports it itself.
    if (info.exists() && !info.isFile()) {
        IUi::warning(this, QStringLiteral("Veldra"),
                     tr("Cannot open %1: it is not a regular file.").arg(path), QMessageBox::Ok,
                     QMessageBox::Ok);
        return false;
    }

    IDocumentFactory *factory = factoryForSuffix(path);
    if (!factory) {
        IUi::information(this, QStringLiteral("Veldra"), tr("Cannot open this file type"),
                         QMessageBox::Ok, QMessageBox::Ok);
        return false;
    }
    IDocument *document = factory->createDocument();
    if (!document)
        return false;
    document->setFileName(path);
    if (!document->open()) {
        delete document;
        syncWelcomeWidget();
        return false;
    }
    return loadOpenedDocument(document, true);
}

bool MainWindow::loadOpenedDocument(IDocument *pDoc, bool bAddToRecentFile)
{
    if (!pDoc)
        return false;
    IDocumentFactory *factory = factoryForSuffix(pDoc->getFileName());
    if (bAddToRecentFile)
        recentFiles()->addRecentFile(pDoc->getFileName());
    if (!factory)
        return false;

    IEditor *editor = factory->createEditor();
    if (editor)
        editor->setDocument(pDoc);
    DocumentManager::addDocument(pDoc);
    EditorManager::addEditor(editor);
    DocumentManager::getUndoGroup()->addStack(pDoc->getUndoStack());
    EditorManager::activateEditor(editor);
    DocumentManager::getUndoGroup()->setActiveStack(pDoc->getUndoStack());
    connect(pDoc, &IDocument::statusChanged, this, &MainWindow::onDocStatusChanged);
    connect(pDoc, &IDocument::requestClosing, this, &MainWindow::onDocumentRequestClosing);
    emit pDoc->aboutToOpen();
    if (DocumentManager::isAutobackupEnabled())
        DocumentManager::startWaitingBackup(pDoc);
    syncWelcomeWidget();
    return true;
}

void MainWindow::fileSave()
{
    IDocument *document = activeDocument();
    if (!document)
        return;
    if (document->isTempDocument()) {
        fileSaveAs();
        return;
    }
    if (document->save())
        m_pSaveAction->setEnabled(false);
}

void MainWindow::fileSaveAs()
{
    IDocument *document = activeDocument();
    if (!document)
        return;
    const QString oldFileName = document->getFileName();
    const bool wasTemporary = document->isTempDocument();
    if (document->saveAs()) {
        if (wasTemporary)
            recentFiles()->removeRecentFile(oldFileName);
        recentFiles()->addRecentFile(document->getFileName());
        m_pSaveAction->setEnabled(false);
    } else if (wasTemporary) {
        m_pSaveAction->setEnabled(true);
    }
}

void MainWindow::onEnabledSaveActionChanged(bool bDisabled)
{
    IDocument *document = activeDocument();
    const bool enabled = document
            && (document->isTempDocument() || document->isOpenAsBackup() || !bDisabled);
    m_pSaveAction->setEnabled(enabled);
}

void MainWindow::updateSaveAsMenu()
{
    enableSaveAsMenuForActiveEditor();
}

void MainWindow::fileClose()
{
    IEditor *editor = EditorManager::activeEditor();
    if (!editor)
        return;
    IDocument *document = editor->getDocument();
    if (document && document->close())
        emit document->requestClosing(true);
}

void MainWindow::fileExit()
{
    close();
}

void MainWindow::onDocumentRequestClosing(bool bDeleteLater)
{
    auto *document = qobject_cast<IDocument *>(sender());
    if (!document)
        return;
    IEditor *editor = EditorManager::getEditorOfDocument(document);
    EditorManager::removeEditor(editor);
    DocumentManager::removeDocument(document);
    if (editor) {
        if (bDeleteLater)
            editor->deleteLater();
        else
            delete editor;
    }
    if (document->isTempDocument())
        document->cleanTempDir();
    delete document;

    emit updateWindowFilePath(QString());
    syncWelcomeWidget();
    enableSaveAsMenuForActiveEditor();
    showActiveProjectInTitleBar();
}

// The bare product name is right once the last project is gone; while another one stays open,
// the title bar shows that one's path and modified mark again, since the MDI area reports no
// new activation when a tab other than the current one closes.
void MainWindow::showActiveProjectInTitleBar()
{
    if (EditorManager::activeEditor())
        updateActivatedMdiSubFilePath(m_pMdiArea->currentSubWindow());
    else
        emit updateModified(false);
}

void MainWindow::openFilesPassedAsArguments()
{
    const QStringList arguments = ExtensionSystem::PluginManager::arguments();
    for (const QString &argument : arguments)
        loadFile(argument);
}

void MainWindow::raiseUp()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void MainWindow::createRecentProjectsMenu()
{
    ActionContainer *recentMenu = ActionManager::createMenuContainer(
            tr("Recent Projects"), QLatin1String(Ids::RecentProjectsMenu));
    const int maxRecentFiles = recentFiles()->getMaxRecentFiles();
    for (int i = 1; i <= maxRecentFiles; ++i) {
        auto *action = new QAction(this);
        action->setVisible(false);
        ContextAction *command = ActionManager::registerAction(
                action, recentProjectIdPrefix() + QString::number(i), this, false);
        connect(action, &QAction::triggered, this, &MainWindow::recentFileOpen);
        m_recentFileActions.append(action);
        recentMenu->insertAction(command, nullptr);
    }
    ActionManager::getActionContainer(QLatin1String(Ids::FileMenu))
            ->insertMenu(recentMenu, nullptr);
    updateRecentFileActions();
    ActionManager::getActionContainer(QLatin1String(Ids::FileMenu))->getMenu()->addSeparator();
}

void MainWindow::updateRecentFileActions()
{
    const QStringList files = recentFiles()->getRecentFiles();
    const int count = files.size();
    if (ActionContainer *recentMenu =
                ActionManager::getActionContainer(QLatin1String(Ids::RecentProjectsMenu))) {
        if (recentMenu->getMenu())
            recentMenu->getMenu()->setEnabled(count != 0);
    }
    for (int i = 0; i < m_recentFileActions.size(); ++i) {
        QAction *own = m_recentFileActions.at(i);
        if (i >= count) {
            own->setVisible(false);
            continue;
        }
        const QString text = QStringLiteral("%1. %2").arg(i + 1).arg(files.at(i));
        const QVariant data(files.at(i));
        if (ContextAction *command =
                    ActionManager::getAction(recentProjectIdPrefix() + QString::number(i + 1))) {
            command->getAction()->setText(text);
            command->getAction()->setData(data);
            command->getAction()->setVisible(true);
        }
        own->setText(text);
        own->setData(data);
        own->setVisible(true);
    }
}

void MainWindow::recentFileOpen()
{
    auto *action = qobject_cast<QAction *>(sender());
    if (!action)
        return;
    const QString path = action->data().toString();
    if (QFileInfo::exists(path)) {
        loadFile(path);
        return;
    }
    const QMessageBox::StandardButton answer = IUi::question(
            this, QStringLiteral("Veldra"),
            tr("The project %1 no longer exist.\nDo you want remove this entry from history?").arg(path),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        m_pMdiArea->removeFile(path);
}
