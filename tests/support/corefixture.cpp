#include "corefixture.h"

#include "mainwindow.h"

#include <extensionsystem/pluginmanager.h>

#include <QtTest>

CoreFixture::CoreFixture(bool createWindow)
    : m_pluginManager(std::make_unique<ExtensionSystem::PluginManager>())
{
    if (!m_dir.isValid())
        qFatal("CoreFixture: cannot create a temporary folder");
    m_userSettings = new QSettings(filePath(QStringLiteral("user.ini")), QSettings::IniFormat);
    ExtensionSystem::PluginManager::setSettings(m_userSettings);
    ExtensionSystem::PluginManager::setGlobalSettings(
            new QSettings(filePath(QStringLiteral("global.ini")), QSettings::IniFormat));
    if (createWindow)
        createMainWindow();
}

CoreFixture::~CoreFixture()
{
    destroyMainWindow();
    m_pluginManager.reset();
}

MainWindow *CoreFixture::createMainWindow()
{
    if (!m_mainWindow)
        m_mainWindow = new MainWindow(nullptr);
    return m_mainWindow;
}

void CoreFixture::destroyMainWindow()
{
    delete m_mainWindow;
    m_mainWindow = nullptr;
    // Objects scheduled with deleteLater() by the window's children go now, not in the next test.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The copy goes to a new folder: QSettings objects of one process share a cache per file.
void CoreFixture::restartFromDisk(std::unique_ptr<CoreFixture> &fixture)
{
    const QTemporaryDir disk;
    const QString copy = disk.filePath(QStringLiteral("user.ini"));
    if (!QFile::copy(fixture->filePath(QStringLiteral("user.ini")), copy))
        qWarning("CoreFixture: the settings file was never written");
    fixture.reset();
    fixture = std::make_unique<CoreFixture>(false);
    QFile::copy(copy, fixture->filePath(QStringLiteral("user.ini")));
    fixture->userSettings()->sync();
    fixture->createMainWindow();
}

QString CoreFixture::touch(const QString &name) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::WriteOnly) ? file.fileName() : QString();
}
