#include "welcomeplugin.h"

#include "editormanager.h"
#include "icore.h"
#include "imainmdiarea.h"
#include "mainwindow.h"
#include "portfile.h"
#include "welcomeinfo.h"
#include "welcomeview.h"
#include "welcomewidget.h"

#include <QWebChannel>
#include <QWebSocketServer>

WelcomePlugin::WelcomePlugin() = default;

WelcomePlugin::~WelcomePlugin()
{
    unpublishInfo();
    delete m_pInfo;
    delete m_pWidget;
}

bool WelcomePlugin::initialize(const QStringList &arguments, QString *errorString)
{
    Q_UNUSED(arguments)
    Q_UNUSED(errorString)
    return true;
}

void WelcomePlugin::extensionsInitialized()
{
    MainWindow *mainWindow = ICore::getMainWindow();
    if (!mainWindow || !mainWindow->getChannel() || !mainWindow->getServer()) {
        qWarning("The welcome page needs the core's main window and its web channel");
        return;
    }
    m_pInfo = new WelcomeInfo;
    mainWindow->getChannel()->registerObject(QString::fromLatin1(WelcomeInfo::channelName),
                                             m_pInfo);

    const quint16 port = mainWindow->getServer()->serverPort();
    m_pWidget = new WelcomeWidget(mainWindow->getMdiArea(), port, mainWindow->getSecret());
    mainWindow->setWelcomeWidget(m_pWidget);
    // Another plug-in may have opened a project already.
    mainWindow->setVisibleWelcomeWidget(EditorManager::getEditors().isEmpty());

    // The core's server listens from the start, so its clients need not wait for the page.
    PortFile::writeFromEnvironment(port, mainWindow->getSecret());
}

ExtensionSystem::IPlugin::ShutdownFlag WelcomePlugin::aboutToShutdown()
{
    unpublishInfo();
    return SynchronousShutdown;
}

WelcomeView *WelcomePlugin::view() const
{
    return m_pWidget ? m_pWidget->view() : nullptr;
}

void WelcomePlugin::unpublishInfo()
{
    MainWindow *mainWindow = ICore::getMainWindow();
    QWebChannel *channel = mainWindow ? mainWindow->getChannel() : nullptr;
    if (channel && m_pInfo && channel->registeredObjects().values().contains(m_pInfo))
        channel->deregisterObject(m_pInfo);
}
