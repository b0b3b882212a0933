#pragma once

#include "core_global.h"
#include "vdnotificationbar.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>

QT_BEGIN_NAMESPACE
class QAction;
class QLabel;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QWebChannel;
class QWebSocketServer;
QT_END_NAMESPACE

class ActionManager;
class ContextManager;
class DocumentManager;
class EditorManager;
class EventFilter;
class ICore;
class IDocument;
class IDocumentFactory;
class IMainMdiArea;
class IMainMenuWidget;
class IOptionsDlg;
class IShadowBorderFrame;
class WebSocketClientWrapper;

/*!
 * The application's only top-level window and the owner of the core's run-time objects.
 *
 * It is frameless: its title bar is an IMainMenuWidget, four IShadowBorderFrame strips draw its
 * shadow and resize it, and its central widget is the MDI area that holds the projects' editors
 * and the welcome widget. It owns the local WebSocket server and the web channel the welcome
 * page talks over, creates the core's registries, turns the project commands (New, Open, Save,
 * Save As, Close, Exit, recent projects) into calls on other plug-ins' factories, documents and
 * editors, and maps the keyboard focus to the command context.
 */
class CORE_EXPORT MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    bool init(QString *errorString);
    void extensionsInitialized();
    void aboutToShutdown();
    bool IsFirstRun();

    QString getDefaultTempPath() const;
    void removeDefaultTempDir();

    QWebChannel *getChannel();
    QWebSocketServer *getServer();
    // The secret every connection to the server must present (see WebSocketClientWrapper).
    QString getSecret() const;
    IMainMdiArea *getMdiArea();
    QToolBar *getFileToolbar() const;
    VDNotificationBar *getNotificationBar();
    QLabel *getUserAccountLink();
    IOptionsDlg *getOptionsDialog();
    // The window's own implementation of one of its commands, the action registered under the
    // id for the window's context; null for an id the window does not implement. Plug-ins that
    // know when a command can act enable it here.
    QAction *getCommandAction(const QString &strId) const;

    void showNotification(const QString &message, VDNotificationBar::Type type,
                          const QString &buttonText, bool bShowClose);
    void hideNotification();
    void updateUserAccountLink(const QString &text);
    void setWelcomeWidget(QWidget *widget);

    // Only the title bar shows the path and the modified mark; the window's own properties
    // stay untouched.
    void setWindowFilePath(const QString &path);
    void setWindowModified(bool modified);

    void updateShadowBorderFrame(bool active);

signals:
    void updateWindowFilePath(QString fileName);
    void updateModified(bool isModified);
    void userAccountLinkActivated(QString strLink);

public slots:
    void setVisibleWelcomeWidget(bool bVisible);
    bool loadFile(QString strFileName);
    bool loadOpenedDocument(IDocument *pDoc, bool bAddToRecentFile = true);
    void updateRecentFileActions();
    void raiseUp();

private slots:
    void openFilesPassedAsArguments();
    void fileNew();
    void fileOpen();
    void fileSaveAs();
    void fileClose();
    void recentFileOpen();
    void fileSave();
    void fileExit();
    void languageChanged(QAction *pAction);
    void updateFocusWidget(QWidget *old, QWidget *now);
    void onPreferences();
    void onHelpContents();
    void updateSaveAsMenu();
    void onEnabledSaveActionChanged(bool bDisabled);
    void updateActivatedMdiSubFilePath(QMdiSubWindow *mdiSubWindow);
    void activationChangeFiltered();
    void onDocStatusChanged(QString strStatusTip);
    void onDocumentRequestClosing(bool bDeleteLater);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, long *result) override;
    void changeEvent(QEvent *event) override;

private:
    // Construction
    void createWebChannel();
    void createRegistries();
    void createMdiArea();
    void createTitleBar();
    void initActions();
    void createToolBars();
    void createLanguageMenu(QMenu *parent);
    void createRecentProjectsMenu();
    // Registers the window's action under the id and appends it to the menu; an empty menu id
    // keeps the command out of the menus and lets the window carry its shortcut.
    QAction *addCommand(const char *id, QAction *action, const QString &menuId);
    QAction *newAction(const QString &text, const QString &iconName = QString());

    // Projects
    static QList<IDocumentFactory *> documentFactories();
    static IDocumentFactory *factoryForSuffix(const QString &strFileName);
    IDocumentFactory *selectDocumentFactory();
    IDocument *activeDocument() const;
    void bindDocument(IDocument *pDoc);
    void syncWelcomeWidget();
    void enableSaveAsMenuForActiveEditor();
    void showActiveProjectInTitleBar();
    bool closeDocuments();

    // Window chrome
    void createBorders();
    void removeBorders();
    void fixAutoHideTaskbar();
    bool fillsAvailableScreen() const;
    bool isShortOfScreen() const;

    QWebSocketServer *m_pServer = nullptr;                 // child
    QWebChannel *m_pChannel = nullptr;                     // owned
    WebSocketClientWrapper *m_pClientWrapper = nullptr;    // owned
    IMainMdiArea *m_pMdiArea = nullptr;                    // owned (central widget)
    IMainMenuWidget *m_pTitleBar = nullptr;                // child (menu widget)
    QToolBar *m_pFileToolbar = nullptr;                    // child

    QAction *m_pNewAction = nullptr;
    QAction *m_pOpenAction = nullptr;
    QAction *m_pCloseAction = nullptr;
    QAction *m_pSaveAction = nullptr;
    QAction *m_pSaveAsProjectAction = nullptr;
    QAction *m_pExitAction = nullptr;
    QAction *m_pPreviewProjectAction = nullptr;
    QAction *m_pPreviewSceneAction = nullptr;
    QAction *m_pExportAction = nullptr;
    QAction *m_pHelpContentsAction = nullptr;
    QMenu *m_pSaveAsMenu = nullptr;                        // owned by its container's registry
    QAction *m_pPreferencesAction = nullptr;
    QAction *m_pCurrentLanguageAction = nullptr;
    QList<QAction *> m_recentFileActions;
    QHash<QString, QAction *> m_commandActions; // children, by command id

    DocumentManager *m_pDocumentManager = nullptr;         // owned
    EditorManager *m_pEditorManager = nullptr;             // owned
    ActionManager *m_pActionManager = nullptr;             // lives to the end of the process
    ContextManager *m_pContextManager = nullptr;           // lives to the end of the process
    ICore *m_pCore = nullptr;                              // owned

    IShadowBorderFrame *m_pTopBorder = nullptr;
    IShadowBorderFrame *m_pLeftBorder = nullptr;
    IShadowBorderFrame *m_pRightBorder = nullptr;
    IShadowBorderFrame *m_pBottomBorder = nullptr;
    EventFilter *m_pEventFilter = nullptr;                 // child
    QPointer<IOptionsDlg> m_pOptionsDlg; // owned by the plug-in that made it; asked for once
    bool m_bOptionsDlgCreated = false;
    bool m_bShortenedForTaskbar = false; // once per stretch of covering the screen
};
