#include "imainmdiarea.h"

#include "actionmanager.h"
#include "contextaction.h"
#include "icore.h"
#include "ilanguagemanager.h"
#include "irecentfilesmanager.h"
#include "iui.h"
#include "mainwindow.h"
#include "vdhtmlexposingwelcome.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QWebChannel>

namespace {

QString boxTitle()
{
    return QStringLiteral("Veldra");
}

bool isProjectSuffix(const QString &suffix)
{
    return suffix.compare(QLatin1String("veldrapack"), Qt::CaseInsensitive) == 0 ||
           suffix.compare(QLatin1String("veldra"), Qt::CaseInsensitive) == 0;
}

} // namespace

IMainMdiArea::IMainMdiArea(QWidget *parent)
    : QMdiArea(parent)
{
    if (MainWindow *mainWindow = ICore::getMainWindow())
        installEventFilter(mainWindow);
    setAcceptDrops(true);
    new VDHTMLExposingWelcome(this);
}

IMainMdiArea::~IMainMdiArea()
{
    MainWindow *mainWindow = ICore::getMainWindow();
    QWebChannel *channel = mainWindow ? mainWindow->getChannel() : nullptr;
    if (!channel)
        return;
    const QList<QObject *> published = channel->registeredObjects().values();
    for (QObject *object : published) {
        if (qobject_cast<VDHTMLExposingWelcome *>(object) && object->parent() == this)
            channel->deregisterObject(object);
    }
}

void IMainMdiArea::setWelcomeWidget(QWidget *widget)
{
    m_pWelcomeWidget = widget;
    MainWindow *mainWindow = ICore::getMainWindow();
    if (widget && mainWindow)
        widget->installEventFilter(mainWindow);
}

QWidget *IMainMdiArea::getWelcomeWidget() const
{
    return m_pWelcomeWidget;
}

void IMainMdiArea::showInExplorer(QString strFileName)
{
    const QString folder = QFileInfo(strFileName).path();
    if (folder.isEmpty())
        return;
    if (!QFileInfo::exists(strFileName)) {
        const QMessageBox::StandardButton answer = IUi::question(
                this, boxTitle(),
                tr("The project [%1] no longer exists.\nRemove this entry from history?")
                        .arg(strFileName),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer == QMessageBox::Yes)
            removeFile(strFileName);
        return;
    }
    // Pasting "file:///" before an absolute path would give four slashes and another folder.
    const QString absoluteFolder = QFileInfo(strFileName).absolutePath();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(absoluteFolder)))
        IUi::warning(this, boxTitle(),
                     tr("Could not open file %1.").arg(strFileName) + QLatin1Char('\n') +
                             tr("No file manager is available to show the folder %1.")
                                     .arg(QDir::toNativeSeparators(absoluteFolder)),
                     QMessageBox::Ok, QMessageBox::Ok);
}

void IMainMdiArea::removeFile(QString strFile)
{
    IRecentFilesManager::getInstance()->removeRecentFile(strFile);
    if (MainWindow *mainWindow = ICore::getMainWindow())
        mainWindow->updateRecentFileActions();
    emit resetRecentFiles();
}

QStringList IMainMdiArea::getRecentFileList()
{
    return IRecentFilesManager::getInstance()->getRecentFiles();
}

void IMainMdiArea::callbackTunnelAsync(QString cmd)
{
    ContextAction *command = ActionManager::getAction(cmd);
    QAction *action = command ? command->getAction() : nullptr;
    if (!action)
        return;
    // Emitted directly: the page may run a command that is disabled in the menus.
    emit action->triggered(true);
}

QString IMainMdiArea::callbackAsyncfromJS(QString cmd, QString str)
{
    Q_UNUSED(str)
    if (cmd == QLatin1String("WelcomeScreen.getLocale"))
        return ILanguageManager::getInstance().getCurrentLangId();
    if (cmd == QLatin1String("WelcomeScreen.getBuildNumber"))
        return QStringLiteral("1.1.0");
    return QString();
}

void IMainMdiArea::openURL(QString strURL)
{
    if (strURL.startsWith(QLatin1String("http://")) ||
        strURL.startsWith(QLatin1String("https://"))) {
        QDesktopServices::openUrl(QUrl(strURL, QUrl::TolerantMode));
        return;
    }
    IUi::information(ICore::getMainWindow(), boxTitle(), QStringLiteral("URL: ") + strURL,
                     QMessageBox::Ok, QMessageBox::Ok);
}

void IMainMdiArea::openFile(QString strFile)
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(strFile);
    MainWindow *mainWindow = ICore::getMainWindow();
    if (!QFile::exists(path)) {
        IUi::information(mainWindow, boxTitle(),
                         tr("Couldn't find the requested file.") + QLatin1Char('\n') + path,
                         QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    if (isProjectSuffix(QFileInfo(path).suffix())) {
        if (mainWindow)
            mainWindow->loadFile(path);
        return;
    }
    // The path is absolute and exists, so it is handed over as a file URL: a URL without a
    // scheme would not reach the system's file handler.
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
