#include "vdhtmlexposingwelcome.h"

#include "icore.h"
#include "imainmdiarea.h"
#include "mainwindow.h"

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
    if (m_pArea)
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

void VDHTMLExposingWelcome::callbackTunnelAsync(QString cmd)
{
    if (m_pArea)
        m_pArea->callbackTunnelAsync(cmd);
}

QString VDHTMLExposingWelcome::callbackAsyncfromJS(QString cmd, QString str)
{
    return m_pArea ? m_pArea->callbackAsyncfromJS(cmd, str) : QString();
}

void VDHTMLExposingWelcome::openURL(QString strURL)
{
    if (m_pArea)
        m_pArea->openURL(strURL);
}

void VDHTMLExposingWelcome::openFile(QString strFile)
{
    if (m_pArea)
        m_pArea->openFile(strFile);
}
