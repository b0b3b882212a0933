#include "mainwindow.h"

#include "actionmanager.h"
#include "contextmanager.h"
#include "documentmanager.h"
#include "editormanager.h"
#include "eventfilter.h"
#include "icore.h"
#include "idocument.h"
#include "imainmdiarea.h"
#include "imainmenuwidget.h"
#include "ioptionsdlg.h"
#include "ishadowborderframe.h"
#include "iui.h"
#include "sharedtempfolder_p.h"
#include "websocketclientwrapper.h"
#include "websockettransport.h"

#include <extensionsystem/pluginmanager.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QNetworkProxyFactory>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QWebChannel>
#include <QWebSocketServer>

namespace {
const char *const s_tempFolderName = "Veldra";

bool isProjectFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(QLatin1String("veldrapack"), Qt::CaseInsensitive) == 0
            || suffix.compare(QLatin1String("veldra"), Qt::CaseInsensitive) == 0;
}
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent, Qt::WindowFlags())
{
    setAcceptDrops(true);
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    m_pOptionsDlg = nullptr;

    createWebChannel();
    statusBar()->setSizeGripEnabled(false);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/app/images/app_icon.ico")));

    createRegistries();
    connect(EditorManager::getInstance(), &EditorManager::editorActivated, this,
            &MainWindow::updateSaveAsMenu);

    createMdiArea();
    createTitleBar();

    initActions();
    createToolBars();
    statusBar()->showMessage(tr("Ready"), 0);

    m_pEventFilter = new EventFilter(this);
    connect(m_pEventFilter, &EventFilter::activationChangeFiltered, this,
            &MainWindow::activationChangeFiltered);
    QCoreApplication::instance()->installEventFilter(m_pEventFilter);
    ActionManager::installContextSwitchFilter();

    connect(qApp, &QApplication::focusChanged, this, &MainWindow::updateFocusWidget);
}

MainWindow::~MainWindow()
{
    delete m_pDocumentManager;
    m_pDocumentManager = nullptr;
    delete m_pEditorManager;
    m_pEditorManager = nullptr;
    delete m_pCore;
    m_pCore = nullptr;

    disconnect(m_pEventFilter, &EventFilter::activationChangeFiltered, this,
               &MainWindow::activationChangeFiltered);
    delete m_pEventFilter;
    m_pEventFilter = nullptr;

    disconnect(qApp, &QApplication::focusChanged, this, &MainWindow::updateFocusWidget);
    disconnect(m_pClientWrapper, &WebSocketClientWrapper::clientConnected, m_pChannel,
               &QWebChannel::connectTo);
    const QHash<QString, QObject *> published = m_pChannel->registeredObjects();
    for (QObject *object : published)
        m_pChannel->deregisterObject(object);

    m_pServer->close();
    delete m_pClientWrapper;
    m_pClientWrapper = nullptr;
    delete m_pChannel;
    m_pChannel = nullptr;
    delete m_pServer;
    m_pServer = nullptr;
    delete m_pMdiArea;
    m_pMdiArea = nullptr;
    // The options dialog belongs to the plug-in that made it, which deletes it.
}

void MainWindow::createWebChannel()
{
    m_pServer = new QWebSocketServer(QStringLiteral("VDServer"), QWebSocketServer::NonSecureMode,
                                     this);
    if (!m_pServer->listen(QHostAddress::LocalHost, 0))
        qFatal("Failed to open web socket server.");
    m_pClientWrapper = new WebSocketClientWrapper(m_pServer, nullptr);
    m_pChannel = new QWebChannel(nullptr);
    connect(m_pClientWrapper, &WebSocketClientWrapper::clientConnected, m_pChannel,
            &QWebChannel::connectTo);
}

void MainWindow::createRegistries()
{
    m_pCore = new ICore(this);
    m_pDocumentManager = new DocumentManager;
    m_pEditorManager = new EditorManager;
    m_pActionManager = new ActionManager;
    m_pContextManager = new ContextManager;
    ActionManager::initialize();
    DocumentManager::setSettings(ExtensionSystem::PluginManager::settings());
    DocumentManager::readSettings();
}

void MainWindow::createMdiArea()
{
    m_pMdiArea = new IMainMdiArea(this);
    m_pMdiArea->setViewMode(QMdiArea::TabbedView);
    m_pMdiArea->setDocumentMode(true);
    m_pMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMdiArea->setWindowIcon(QIcon(QStringLiteral(":/app/images/project_icon.ico")));
    m_pMdiArea->setFocusPolicy(Qt::ClickFocus);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this,
            &MainWindow::updateActivatedMdiSubFilePath);
    setCentralWidget(m_pMdiArea);

    if (QTabBar *tabBar = m_pMdiArea->findChild<QTabBar *>()) {
        tabBar->setExpanding(false);
        tabBar->setTabsClosable(true);
        QFont font = tabBar->font();
        font.setBold(true);
        tabBar->setFont(font);
        tabBar->setDrawBase(false);
    }
}

void MainWindow::createTitleBar()
{
    m_pTitleBar = new IMainMenuWidget(this, QStringLiteral("Veldra"),
                                      IUi::getIcon(QStringLiteral("icon"), 0));
    connect(this, &MainWindow::updateWindowFilePath, m_pTitleBar,
            &IMainMenuWidget::updateWindowFilePath);
    connect(this, &MainWindow::updateModified, m_pTitleBar, &IMainMenuWidget::updateModified);
    connect(m_pTitleBar->getUserAccountLink(), &QLabel::linkActivated, this,
            &MainWindow::userAccountLinkActivated);
    setMenuWidget(m_pTitleBar);
}

bool MainWindow::init(QString *errorString)
{
    Q_UNUSED(errorString)
    return true;
}

void MainWindow::extensionsInitialized()
{
    createBorders();
    show();
    if (IsFirstRun())
        setWindowState(Qt::WindowMaximized);
    QTimer::singleShot(0, this, &MainWindow::openFilesPassedAsArguments);
}

void MainWindow::aboutToShutdown()
{
}

bool MainWindow::IsFirstRun()
{
    QSettings *settings = ExtensionSystem::PluginManager::settings();
    if (!settings)
        return true;
    const QStringList groups = settings->childGroups();
    return !groups.contains(QStringLiteral("Designer"), Qt::CaseInsensitive);
}

QString MainWindow::getDefaultTempPath() const
{
    const QString path = QDir::temp().absoluteFilePath(QString::fromLatin1(s_tempFolderName));
    SharedTempFolder(path).join();
    return path;
}

// Other running instances may still use the folder: it goes only when the last one leaves.
void MainWindow::removeDefaultTempDir()
{
    SharedTempFolder(QDir::temp().absoluteFilePath(QString::fromLatin1(s_tempFolderName))).leave();
}

QWebChannel *MainWindow::getChannel()
{
    return m_pChannel;
}

QWebSocketServer *MainWindow::getServer()
{
    return m_pServer;
}

QString MainWindow::getSecret() const
{
    return m_pClientWrapper ? m_pClientWrapper->secret() : QString();
}

IMainMdiArea *MainWindow::getMdiArea()
{
    return m_pMdiArea;
}

QToolBar *MainWindow::getFileToolbar() const
{
    return m_pFileToolbar;
}

VDNotificationBar *MainWindow::getNotificationBar()
{
    return m_pTitleBar->getNotificationBar();
}

QLabel *MainWindow::getUserAccountLink()
{
    return m_pTitleBar->getUserAccountLink();
}

void MainWindow::showNotification(const QString &message, VDNotificationBar::Type type,
                                  const QString &buttonText, bool bShowClose)
{
    getNotificationBar()->show(message, type, buttonText, bShowClose);
}

void MainWindow::hideNotification()
{
    getNotificationBar()->hide();
}

void MainWindow::updateUserAccountLink(const QString &text)
{
    m_pTitleBar->setUserAccountLink(text);
}

void MainWindow::setWelcomeWidget(QWidget *widget)
{
    m_pMdiArea->setWelcomeWidget(widget);
}

void MainWindow::setWindowFilePath(const QString &path)
{
    emit updateWindowFilePath(path);
}

void MainWindow::setWindowModified(bool modified)
{
    emit updateModified(modified);
}

void MainWindow::setVisibleWelcomeWidget(bool bVisible)
{
    QWidget *welcome = m_pMdiArea->getWelcomeWidget();
    if (!welcome)
        return;
    if (welcome->isVisible() != bVisible)
        welcome->setVisible(bVisible);
    if (bVisible)
        emit m_pMdiArea->resetRecentFiles();
}

void MainWindow::updateFocusWidget(QWidget *old, QWidget *now)
{
    Q_UNUSED(old)
    if (qobject_cast<QMenuBar *>(now) || qobject_cast<QMenu *>(now))
        return;
    QWidget *focusWidget = QApplication::focusWidget();
    if (!focusWidget)
        return;
    const Context context = ContextManager::getActiveContext(focusWidget);
    if (!context.id.isEmpty())
        ActionManager::setContext(context.widget);
}

void MainWindow::updateActivatedMdiSubFilePath(QMdiSubWindow *mdiSubWindow)
{
    if (!mdiSubWindow)
        return;
    emit updateModified(mdiSubWindow->isWindowModified());
    emit updateWindowFilePath(mdiSubWindow->windowFilePath());
}

void MainWindow::onDocStatusChanged(QString strStatusTip)
{
    IDocument *document = activeDocument();
    if (document && sender() == document)
        statusBar()->showMessage(strStatusTip, 0);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        static_cast<QDropEvent *>(event)->acceptProposedAction();
        return true;
    case QEvent::DragLeave:
        event->accept();
        return QMainWindow::eventFilter(watched, event);
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QList<QUrl> urls = drop->mimeData() ? drop->mimeData()->urls() : QList<QUrl>();
        if (urls.isEmpty())
            return false;
        const QString path = urls.first().toLocalFile();
        if (isProjectFile(path) && loadFile(path))
            drop->acceptProposedAction();
        return true;
    }
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    ICore::saveSettings();
    if (!closeDocuments()) {
        event->ignore();
        return;
    }
    removeBorders();
    removeDefaultTempDir();
    event->accept();
}

// Asks every open project to close, editors from the last to the first, then the documents
// without an editor; the first refusal stops and keeps the window open.
bool MainWindow::closeDocuments()
{
    const QList<IEditor *> editors = EditorManager::getEditors();
    for (int i = editors.size() - 1; i >= 0; --i) {
        IDocument *document = editors.at(i)->getDocument();
        if (!document)
            continue;
        if (!document->close())
            return false;
        emit document->requestClosing(false);
    }
    const QList<IDocument *> documents = DocumentManager::getDocuments();
    for (IDocument *document : documents) {
        if (!document->close())
            return false;
        emit document->requestClosing(false);
    }
    return true;
}

bool MainWindow::nativeEvent(const QByteArray &eventType, void *message, long *result)
{
    return QWidget::nativeEvent(eventType, message, result);
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        const auto *stateEvent = static_cast<QWindowStateChangeEvent *>(event);
        const bool maximized = windowState() & Qt::WindowMaximized;
        const bool wasMaximized = stateEvent->oldState() & Qt::WindowMaximized;
        if (maximized != wasMaximized && m_pTitleBar)
            m_pTitleBar->updateMaximized(maximized);
    }
    QWidget::changeEvent(event);
}

void MainWindow::moveEvent(QMoveEvent *event)
{
    Q_UNUSED(event)
    fixAutoHideTaskbar();
    updateShadowBorderFrame(true);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    Q_UNUSED(event)
    fixAutoHideTaskbar();
    updateShadowBorderFrame(true);
}

// A window that exactly covers a screen without reserved areas is kept one pixel short, so
// that the system still lets an auto-hiding task bar appear.
//
// The window manager has the last word. A maximised or full-screen window is left alone: resizing
// it makes Qt drop the state the manager still applies, so the manager sizes it back at once,
// round after round, and Restore no longer restores. And a manager that puts the full size back
// on a normal window has said no: the window is shortened once per stretch of covering the screen.
void MainWindow::fixAutoHideTaskbar()
{
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    if (!fillsAvailableScreen()) {
        if (!isShortOfScreen())
            m_bShortenedForTaskbar = false;
        return;
    }
    if (m_bShortenedForTaskbar)
        return;
    QTimer::singleShot(0, this, [this] {
        if (m_bShortenedForTaskbar || !fillsAvailableScreen()
            || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            return;
        m_bShortenedForTaskbar = true;
        const QRect available = screen()->availableGeometry();
        resize(available.width(), available.height() - 1);
    });
}

bool MainWindow::isShortOfScreen() const
{
    const QScreen *windowScreen = screen();
    return windowScreen
           && size() == windowScreen->availableGeometry().size() - QSize(0, 1);
}

bool MainWindow::fillsAvailableScreen() const
{
    const QScreen *windowScreen = screen();
    if (!windowScreen)
        return false;
    const QRect available = windowScreen->availableGeometry();
    return windowScreen->geometry() == available && rect() == available;
}

void MainWindow::createBorders()
{
    m_pTopBorder = new IShadowBorderFrame(this, IShadowBorderFrame::Top);
    m_pLeftBorder = new IShadowBorderFrame(this, IShadowBorderFrame::Left);
    m_pRightBorder = new IShadowBorderFrame(this, IShadowBorderFrame::Right);
    m_pBottomBorder = new IShadowBorderFrame(this, IShadowBorderFrame::Bottom);
    if (!m_pEventFilter)
        return;
    for (IShadowBorderFrame *border : {m_pTopBorder, m_pLeftBorder, m_pRightBorder, m_pBottomBorder})
        connect(m_pEventFilter, &EventFilter::activationChangeFiltered, border,
                &IShadowBorderFrame::activationChangeFiltered);
}

void MainWindow::removeBorders()
{
    for (IShadowBorderFrame **border :
         {&m_pTopBorder, &m_pLeftBorder, &m_pRightBorder, &m_pBottomBorder}) {
        if (!*border)
            continue;
        if (m_pEventFilter)
            disconnect(m_pEventFilter, &EventFilter::activationChangeFiltered, *border,
                       &IShadowBorderFrame::activationChangeFiltered);
        (*border)->close();
        *border = nullptr;
    }
}

void MainWindow::updateShadowBorderFrame(bool active)
{
    if (!m_pTopBorder || !m_pLeftBorder || !m_pRightBorder || !m_pBottomBorder)
        return;
    const bool visible = !isMaximized() && !isFullScreen();
    for (IShadowBorderFrame *border : {m_pTopBorder, m_pLeftBorder, m_pRightBorder, m_pBottomBorder})
        border->updateBorder(active);
    for (IShadowBorderFrame *border : {m_pTopBorder, m_pLeftBorder, m_pRightBorder, m_pBottomBorder})
        border->setVisible(visible);
}

void MainWindow::activationChangeFiltered()
{
    updateShadowBorderFrame(isActiveWindow());
}
