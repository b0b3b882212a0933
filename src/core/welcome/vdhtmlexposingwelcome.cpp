#include "vdhtmlexposingwelcome.h"

#include "actionmanager.h"
#include "contextaction.h"
#include "icore.h"
#include "imainmdiarea.h"
#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QWebChannel>

VDHTMLExposingWelcome::VDHTMLExposingWelcome(IMainMdiArea *area)
    : QObject(area)
    , m_pArea(area)
{
    if (!m_pArea) {
        qWarning("VDHTMLExposingWelcome: no MDI area to forward to");
        return;
    }
    connect(m_pArea, &IMainMdiArea::resetRecentFiles, this,
            &VDHTMLExposingWelcome::resetRecentFiles);
    MainWindow *mainWindow = ICore::getMainWindow();
    if (mainWindow && mainWindow->getChannel())
        mainWindow->getChannel()->registerObject(QStringLiteral("vdwelcome"), this);
}

VDHTMLExposingWelcome::~VDHTMLExposingWelcome()
{
    if (m_pArea)
        disconnect(m_pArea, &IMainMdiArea::resetRecentFiles, this,
                   &VDHTMLExposingWelcome::resetRecentFiles);
}

void VDHTMLExposingWelcome::showInExplorer(QString strFileName)
{
    if (m_pArea && noModalWidgetOpen())
        m_pArea->showInExplorer(strFileName);
}

void VDHTMLExposingWelcome::removeFile(QString strFile)
{
    if (m_pArea)
        m_pArea->removeFile(strFile);
}

QStringList VDHTMLExposingWelcome::getRecentFileList()
{
    return m_pArea ? m_pArea->getRecentFileList() : QStringList();
}

// Unlike the menus' way in, the page may only run what the user could run right now: a
// disabled command stays disabled for it.
void VDHTMLExposingWelcome::callbackTunnelAsync(QString cmd)
{
    if (!m_pArea || !noModalWidgetOpen())
        return;
    ContextAction *command = ActionManager::getAction(cmd);
    QAction *action = command ? command->getAction() : nullptr;
    if (action && !action->isEnabled()) {
        qInfo("The welcome page asked for a disabled command; ignored");
        return;
    }
    m_pArea->callbackTunnelAsync(cmd);
}

QString VDHTMLExposingWelcome::callbackAsyncfromJS(QString cmd, QString str)
{
    return m_pArea ? m_pArea->callbackAsyncfromJS(cmd, str) : QString();
}

void VDHTMLExposingWelcome::openURL(QString strURL)
{
    if (m_pArea && noModalWidgetOpen())
        m_pArea->openURL(strURL);
}

void VDHTMLExposingWelcome::openFile(QString strFile)
{
    if (m_pArea && noModalWidgetOpen())
        m_pArea->openFile(strFile);
}

// A modal box runs its own event loop, which goes on serving the page. A request that may open
// another box would nest one more loop on the stack for every call, so while one is open such
// requests are dropped, and logged once per box.
bool VDHTMLExposingWelcome::noModalWidgetOpen()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal)
        return true;
    if (m_pReportedModal != modal) {
        m_pReportedModal = modal;
        qInfo("A dialog is open; the welcome page's requests are ignored until it closes");
    }
    return false;
}
