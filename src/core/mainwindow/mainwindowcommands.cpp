// The main window's command set: menus, the File tool bar, the Language menu, the command
// palette, Preferences and Help Contents. Every command is the window's own action registered for
// the window's context; menus and the tool bar show the commands' proxy actions.

#include "mainwindow.h"

#include "actioncontainer.h"
#include "actionmanager.h"
#include "commandids.h"
#include "contextaction.h"
#include "documentmanager.h"
#include "idocumentfactory.h"
#include "ilanguagemanager.h"
#include "imainmenuwidget.h"
#include "ioptionsdlg.h"
#include "iui.h"
#include "languageinfo.h"
#include "vdcommandpalette.h"

#include <extensionsystem/applicationdata.h>

#include <QActionGroup>
#include <QDebug>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolBar>
#include <QUndoGroup>
#include <QUrl>

namespace Ids = Veldra::Ids;

namespace {
ContextAction *command(const char *id)
{
    return ActionManager::getAction(QString::fromLatin1(id));
}

ActionContainer *container(const char *id)
{
    return ActionManager::getActionContainer(QString::fromLatin1(id));
}

void appendSeparator(const char *menuId)
{
    container(menuId)->getMenu()->addSeparator();
}

ActionContainer *appendMenu(const QString &title, const char *id, const char *parentId)
{
    ActionContainer *menu = ActionManager::createMenuContainer(title, QString::fromLatin1(id));
    container(parentId)->insertMenu(menu, nullptr);
    return menu;
}
} // namespace

QAction *MainWindow::newAction(const QString &text, const QString &iconName)
{
    auto *action = new QAction(text, this);
    if (!iconName.isEmpty())
        action->setIcon(IUi::getIcon(iconName, IUi::Size16));
    return action;
}

// Registers the window's action under the id, for the window's context, and appends the
// command to the menu container.
QAction *MainWindow::addCommand(const char *id, QAction *action, const QString &menuId)
{
    ContextAction *registered = ActionManager::registerAction(action, QString::fromLatin1(id),
                                                              this, false);
    m_commandActions.insert(QString::fromLatin1(id), action);
    if (menuId.isEmpty())
        addAction(registered->getAction()); // no menu shows it, so the window carries its key
    else
        ActionManager::getActionContainer(menuId)->insertAction(registered, nullptr);
    return action;
}

void MainWindow::initActions()
{
    const QString fileMenu = QLatin1String(Ids::FileMenu);
    const QString helpMenu = QLatin1String(Ids::HelpMenu);
    const auto setDefaults = [](const char *id, const QKeySequence &key,
                                const QString &description = QString()) {
        command(id)->setDefaultKeySequence(key);
        if (!description.isNull())
            command(id)->setDescription(description);
    };

    ActionContainer *menuBar = ActionManager::createMenuBarContainer(QLatin1String(Ids::MenuBar));
    m_pTitleBar->setMenuBar(menuBar->getMenuBar());
    appendMenu(tr("&File"), Ids::FileMenu, Ids::MenuBar);

    m_pNewAction = addCommand(Ids::FileNew, newAction(tr("&New"), QStringLiteral("new")), fileMenu);
    setDefaults(Ids::FileNew, QKeySequence::New, tr("Create a new project"));
    connect(m_pNewAction, &QAction::triggered, this, &MainWindow::fileNew);

    m_pOpenAction = addCommand(Ids::FileOpenProject,
                               newAction(tr("&Open Project"), QStringLiteral("open")), fileMenu);
    setDefaults(Ids::FileOpenProject, QKeySequence::Open, tr("Open an existing project"));
    connect(m_pOpenAction, &QAction::triggered, this, &MainWindow::fileOpen);

    createRecentProjectsMenu();

    m_pSaveAction = newAction(tr("&Save"), QStringLiteral("save"));
    m_pSaveAction->setEnabled(false);
    connect(DocumentManager::getUndoGroup(), &QUndoGroup::cleanChanged, this,
            &MainWindow::onEnabledSaveActionChanged);
    addCommand(Ids::FileSave, m_pSaveAction, fileMenu);
    setDefaults(Ids::FileSave, QKeySequence::Save, tr("Save current project"));
    connect(m_pSaveAction, &QAction::triggered, this, &MainWindow::fileSave);

    ActionContainer *saveAsMenu =
            ActionManager::createMenuContainer(tr("Save As"), QLatin1String(Ids::SaveAsMenu));
    m_pSaveAsMenu = saveAsMenu->getMenu();
    m_pSaveAsMenu->setEnabled(false);
    m_pSaveAsProjectAction = newAction(tr("Other Project"));
    m_pSaveAsProjectAction->setEnabled(false);
    addCommand(Ids::FileSaveAsProject, m_pSaveAsProjectAction, QLatin1String(Ids::SaveAsMenu));
    setDefaults(Ids::FileSaveAsProject, QKeySequence::SaveAs,
                tr("Save the current project as a new one"));
    connect(m_pSaveAsProjectAction, &QAction::triggered, this, &MainWindow::fileSaveAs);
    container(Ids::FileMenu)->insertMenu(saveAsMenu, nullptr);

    m_pCloseAction = newAction(tr("&Close"));
    m_pCloseAction->setEnabled(false);
    addCommand(Ids::FileClose, m_pCloseAction, fileMenu);
    setDefaults(Ids::FileClose, QKeySequence::Close, tr("Close current project"));
    connect(m_pCloseAction, &QAction::triggered, this, &MainWindow::fileClose);
    appendSeparator(Ids::FileMenu);

    m_pPreviewSceneAction = addCommand(Ids::FilePreviewScene,
                                       newAction(tr("Preview Current Scene In Browser")), fileMenu);
    setDefaults(Ids::FilePreviewScene, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    m_pPreviewProjectAction = addCommand(Ids::FilePreviewProject,
                                         newAction(tr("Preview Project In Browser")), fileMenu);
    setDefaults(Ids::FilePreviewProject, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
    m_pExportAction =
            addCommand(Ids::FileExportToHtml5, newAction(tr("Export to HTML5")), fileMenu);
    setDefaults(Ids::FileExportToHtml5, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E));
    appendSeparator(Ids::FileMenu);

    m_pExitAction = addCommand(Ids::FileExit, newAction(tr("E&xit")), fileMenu);
    setDefaults(Ids::FileExit, QKeySequence::Quit, tr("Quit the program"));
    connect(m_pExitAction, &QAction::triggered, this, &MainWindow::fileExit);

    appendMenu(tr("&Edit"), Ids::EditMenu, Ids::MenuBar);
    m_pPreferencesAction = addCommand(Ids::EditPreferences,
                                      newAction(tr("&Preferences"), QStringLiteral("preferences")),
                                      QLatin1String(Ids::EditMenu));
    setDefaults(Ids::EditPreferences, QKeySequence::Preferences);
    connect(m_pPreferencesAction, &QAction::triggered, this, &MainWindow::onPreferences);

    ActionContainer *viewMenu = appendMenu(tr("&View"), Ids::ViewMenu, Ids::MenuBar);
    createLanguageMenu(viewMenu->getMenu());
    // The palette stays out of the menus, whose entries are fixed; its key and the Keyboard page
    // make it known.
    auto *palette = new VDCommandPalette(this);
    QAction *paletteAction =
            addCommand(Ids::CommandPalette, newAction(tr("Command Palette...")), QString());
    setDefaults(Ids::CommandPalette, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                tr("Find a command by its name and run it"));
    connect(paletteAction, &QAction::triggered, palette, &VDCommandPalette::showPalette);

    appendMenu(tr("&Help"), Ids::HelpMenu, Ids::MenuBar);
    addCommand(Ids::HelpAbout, newAction(tr("About")), helpMenu);
    m_pHelpContentsAction = addCommand(Ids::HelpContents, newAction(tr("Help Contents")), helpMenu);
    setDefaults(Ids::HelpContents, QKeySequence(Qt::Key_F1));
    connect(m_pHelpContentsAction, &QAction::triggered, this, &MainWindow::onHelpContents);
    addCommand(Ids::HelpCommunity, newAction(tr("User Community")), helpMenu);
    addCommand(Ids::HelpCheckUpdates, newAction(tr("Check Updates...")), helpMenu);
    appendSeparator(Ids::HelpMenu);
    addCommand(Ids::HelpUserAccount, newAction(tr("My Account")), helpMenu);
    addCommand(Ids::HelpSignInOut, newAction(tr("Sign In")), helpMenu);
}

QAction *MainWindow::getCommandAction(const QString &strId) const
{
    return m_commandActions.value(strId);
}

void MainWindow::createToolBars()
{
    m_pFileToolbar = addToolBar(tr("File"));
    m_pFileToolbar->setObjectName(QStringLiteral("m_pFileToolbar"));
    for (const char *id : {Ids::FileNew, Ids::FileOpenProject, Ids::FileSave})
        m_pFileToolbar->addAction(command(id)->getAction());
    m_pFileToolbar->addSeparator();
    for (const char *id : {Ids::FilePreviewScene, Ids::FilePreviewProject, Ids::FileExportToHtml5})
        m_pFileToolbar->addAction(command(id)->getAction());
}

void MainWindow::createLanguageMenu(QMenu *parent)
{
    auto *languageMenu = new QMenu(tr("Language"), parent);
    languageMenu->setIcon(IUi::getIcon(QStringLiteral("language"), IUi::Size16));
    parent->addMenu(languageMenu);

    auto *group = new QActionGroup(this);
    group->setExclusive(true);
    ILanguageManager &languages = ILanguageManager::getInstance();
    const QString currentId = languages.getCurrentLangId();
    for (const LanguageInfo *language : languages.getLanguages()) {
        auto *action = new QAction(
                QStringLiteral("%1 (%2)").arg(language->nativeLanguage, language->country), this);
        action->setCheckable(true);
        action->setData(QVariant(language->id));
        languageMenu->addAction(action);
        group->addAction(action);
        if (language->id == currentId) {
            action->setChecked(true);
            m_pCurrentLanguageAction = action;
        }
    }
    // Without a stored choice, or with one that no catalogue offers, the interface speaks the
    // first entry's language, English: the mark goes there.
    if (!m_pCurrentLanguageAction && !group->actions().isEmpty()) {
        m_pCurrentLanguageAction = group->actions().constFirst();
        m_pCurrentLanguageAction->setChecked(true);
    }
    connect(group, &QActionGroup::triggered, this, &MainWindow::languageChanged);
}

void MainWindow::languageChanged(QAction *pAction)
{
    if (!pAction)
        return;
    ILanguageManager &languages = ILanguageManager::getInstance();
    const QString id = pAction->data().toString();
    if (id != languages.getCurrentLangId()) {
        const QString text = languages.saveLanguage(id)
                ? tr("The changed language will take effect from next run.")
                : tr("Failed to change language.");
        IUi::information(this, QStringLiteral("Veldra"), text, QMessageBox::Ok, QMessageBox::Ok);
    }
    pAction->setChecked(false);
    if (m_pCurrentLanguageAction)
        m_pCurrentLanguageAction->setChecked(true);
}

IOptionsDlg *MainWindow::getOptionsDialog()
{
    // Asked for once: a dialog its plug-in has deleted since is gone for the rest of the run.
    if (!m_bOptionsDlgCreated) {
        if (IDocumentFactory *factory = selectDocumentFactory()) {
            m_pOptionsDlg = factory->createOptionsDlg();
            m_bOptionsDlgCreated = m_pOptionsDlg != nullptr;
        }
    }
    return m_pOptionsDlg;
}

void MainWindow::onPreferences()
{
    if (IOptionsDlg *dialog = getOptionsDialog())
        dialog->showDialog();
}

void MainWindow::onHelpContents()
{
    const QString localeName = QLocale::system().name();
    const int underscore = localeName.indexOf(QLatin1Char('_'));
    const QString language = underscore < 0 ? localeName : localeName.left(underscore);
    const auto guide = [](const QString &language) {
        return QFileInfo(ExtensionSystem::applicationDataPath(
                QStringLiteral("veldra_help_%1.pdf").arg(language)));
    };

    QFileInfo helpFile = guide(language);
    if (!helpFile.exists()) {
        qInfo() << "Localized help file not found: " << helpFile.absoluteFilePath();
        helpFile = guide(QStringLiteral("en"));
        qInfo() << "Trying to open English help file instead: " << helpFile.absoluteFilePath();
    }

    QString error;
    if (helpFile.exists()) {
        if (QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile.absoluteFilePath())))
            return;
        error = tr("Couldn't open help file.");
        qInfo() << "Failed to open help file: " << helpFile.absoluteFilePath();
    } else {
        error = tr("Help document is missing.");
        qInfo() << "Help file not found: " << helpFile.absoluteFilePath();
    }
    QMessageBox box;
    box.setText(error);
    box.exec();
}
