#include "coreplugin.h"

#include "ilanguagemanager.h"
#include "ithemesmanager.h"
#include "mainwindow.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

CorePlugin::CorePlugin()
{
    if (!ILanguageManager::getInstance().initialize())
        qWarning("There was error while loading one of the language catalogues. %s will use "
                 "English in some parts.",
                 "Veldra");
    if (!IThemesManager::getInstance().initialize())
        qWarning("There was error while loading one of the theme catalogues. %s will use "
                 "English in some parts.",
                 "Veldra");
    m_pMainWindow = new MainWindow(nullptr);
    QApplication::setActiveWindow(m_pMainWindow);
}

CorePlugin::~CorePlugin()
{
    delete m_pMainWindow;
    m_pMainWindow = nullptr;
}

bool CorePlugin::initialize(const QStringList &arguments, QString *errorString)
{
    Q_UNUSED(arguments)
    // Plug-ins may still use qrand(); seed it once per run.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    qsrand(static_cast<uint>(QDateTime::currentDateTime().toSecsSinceEpoch()));
    QT_WARNING_POP
    return m_pMainWindow->init(errorString);
}

void CorePlugin::extensionsInitialized()
{
    m_pMainWindow->extensionsInitialized();
}

bool CorePlugin::lateInitialize()
{
    return true;
}

ExtensionSystem::IPlugin::ShutdownFlag CorePlugin::aboutToShutdown()
{
    m_pMainWindow->aboutToShutdown();
    return SynchronousShutdown;
}

QObject *CorePlugin::processArguments(const QStringList &options, const QString &workingDirectory,
                                      const QStringList &arguments)
{
    Q_UNUSED(options)
    m_pMainWindow->raiseUp();
    const QDir base(workingDirectory.isEmpty() ? QDir::currentPath() : workingDirectory);
    for (const QString &argument : arguments)
        m_pMainWindow->loadFile(QFileInfo(base, argument).absoluteFilePath());
    return nullptr;
}

void CorePlugin::fileOpenRequest(const QString &strFile)
{
    processArguments(QStringList(), QString(), QStringList(strFile));
}
