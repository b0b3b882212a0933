#include "mainwindow.h"

#include "actionmanager.h"
#include "contextmanager.h"
#include "documentmanager.h"
#include "editormanager.h"
#include "icore.h"

#include <extensionsystem/pluginmanager.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QNetworkProxyFactory>
#include <QStatusBar>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent, Qt::WindowFlags())
{
    setAcceptDrops(true);
    QNetworkProxyFactory::setUseSystemConfiguration(true);

    statusBar()->setSizeGripEnabled(false);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/app/images/app_icon.ico")));

    m_pCore = new ICore(this);
    m_pDocumentManager = new DocumentManager;
    m_pEditorManager = new EditorManager;
    m_pActionManager = new ActionManager;
    m_pContextManager = new ContextManager;
    ActionManager::initialize();
    DocumentManager::setSettings(ExtensionSystem::PluginManager::settings());
    DocumentManager::readSettings();

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
    disconnect(qApp, &QApplication::focusChanged, this, &MainWindow::updateFocusWidget);
}

bool MainWindow::init(QString *errorString)
{
    Q_UNUSED(errorString)
    return true;
}

void MainWindow::extensionsInitialized()
{}

void MainWindow::aboutToShutdown()
{}

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
