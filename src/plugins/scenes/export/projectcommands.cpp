#include "projectcommands.h"

#include "actionmanager.h"
#include "browserpreview.h"
#include "commandids.h"
#include "contextaction.h"
#include "editormanager.h"
#include "html5exporter.h"
#include "icore.h"
#include "iui.h"
#include "mainwindow.h"
#include "mainwindowcommand.h"
#include "scenedocument.h"
#include "sceneeditor.h"
#include "sceneeditorwidget.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QUrl>

namespace Ids = Veldra::Ids;

namespace {

const QString s_title = QStringLiteral("Veldra");

// The commands that act on the active project: the window's own implementations are enabled
// exactly while there is one.
const char *const projectCommandIds[] = {
        Ids::FileSaveAsProject,  Ids::FileClose,         Ids::FilePreviewScene,
        Ids::FilePreviewProject, Ids::FileExportToHtml5,
};

QString openProjectFirst()
{
    return ProjectCommands::tr("Open or create a project first.");
}

SceneDocument *projectOrHint()
{
    SceneDocument *document = ProjectCommands::activeProject();
    if (!document)
        IUi::information(ICore::getMainWindow(), s_title, openProjectFirst());
    return document;
}

} // namespace

ProjectCommands::ProjectCommands(QObject *parent)
    : QObject(parent)
{
    connectMainWindowCommand(Ids::FileExportToHtml5, this, &ProjectCommands::exportToHtml5);
    connectMainWindowCommand(Ids::FilePreviewProject, this, &ProjectCommands::previewProject);
    // The editor's canvas previews its scene itself; elsewhere the window's command asks it to.
    connectMainWindowCommand(Ids::FilePreviewScene, this, &ProjectCommands::previewScene);
    giveSaveAsItsUsualKeys();
    followActiveEditor();
}

ProjectCommands::~ProjectCommands() = default;

SceneDocument *ProjectCommands::activeProject()
{
    IEditor *editor = EditorManager::activeEditor();
    return editor ? qobject_cast<SceneDocument *>(editor->getDocument()) : nullptr;
}

// The platform's Save As keys, which the core uses, are none on desktops without a binding of
// their own; there the command gets the keys users know from elsewhere.
void ProjectCommands::giveSaveAsItsUsualKeys()
{
    ContextAction *saveAs = ActionManager::getAction(QLatin1String(Ids::FileSaveAsProject));
    if (saveAs && saveAs->getDefaultKeySequence().isEmpty())
        saveAs->setDefaultKeySequence(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
}

void ProjectCommands::followActiveEditor()
{
    EditorManager *editors = EditorManager::getInstance();
    if (!editors) {
        qWarning("ProjectCommands: there is no editor registry to follow");
        return;
    }
    // Deactivation comes while the leaving editor is still the active one; an activation that
    // follows enables the commands again.
    connect(editors, &EditorManager::editorDeactivated, this, [] { enableProjectCommands(false); });
    connect(editors, &EditorManager::editorActivated, this,
            [] { enableProjectCommands(activeProject() != nullptr); });
    for (const char *id : projectCommandIds) {
        // The menus and the tool bar show the tool tip of the implementation they follow.
        if (ContextAction *command = ActionManager::getAction(QLatin1String(id)))
            command->setAttribute(ContextAction::UpdateText);
    }
    enableProjectCommands(activeProject() != nullptr);
}

void ProjectCommands::enableProjectCommands(bool bEnabled)
{
    for (const char *id : projectCommandIds) {
        QAction *action = mainWindowCommand(id);
        if (!action)
            continue;
        action->setEnabled(bEnabled);
        // An empty tool tip is the command's text again.
        action->setToolTip(bEnabled ? QString() : openProjectFirst());
    }
}

void ProjectCommands::exportToHtml5()
{
    SceneDocument *document = projectOrHint();
    if (!document)
        return;
    MainWindow *window = ICore::getMainWindow();
    const QFileInfo projectFile(document->getFileName());
    const QString folder = QFileDialog::getExistingDirectory(
            window, tr("Export to HTML5"), projectFile.absolutePath(),
            QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (folder.isEmpty())
        return;
    if (Html5Exporter::holdsOtherPage(folder) &&
        IUi::question(window, s_title,
                      tr("%1 holds a web page that was not exported from Veldra. Replace its "
                         "index.html and style.css?")
                              .arg(QDir::toNativeSeparators(folder))) != QMessageBox::Yes)
        return;

    QString error;
    if (!Html5Exporter::exportProject(document->project(), folder, &error,
                                      projectFile.completeBaseName())) {
        IUi::warning(window, s_title, error);
        return;
    }
    window->showNotification(
            tr("The project was exported to %1.").arg(QDir::toNativeSeparators(folder)),
            VDNotificationBar::Info, tr("Open in Browser"), true);
    const QUrl page = QUrl::fromLocalFile(QDir(folder).filePath(Html5Exporter::indexFileName()));
    connect(window->getNotificationBar(), &VDNotificationBar::buttonClicked, this,
            [page] { QDesktopServices::openUrl(page); });
}

void ProjectCommands::previewProject()
{
    if (SceneDocument *document = projectOrHint())
        BrowserPreview::showProject(document->project());
}

void ProjectCommands::previewScene()
{
    auto *editor = qobject_cast<SceneEditor *>(EditorManager::activeEditor());
    if (editor && editor->widget())
        editor->widget()->previewSceneAction()->trigger();
}
