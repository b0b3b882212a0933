#pragma once

#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class MainWindow;
namespace ExtensionSystem {
class PluginManager;
}

/*!
 * A fresh core for one test function: a temporary folder holding a user and a global INI
 * settings store, a PluginManager with both stores, and (unless asked not to) a MainWindow that
 * is not shown. Construct with false to seed the stores before the window reads them, then call
 * createMainWindow(). The destructor deletes the window, then the plug-in manager.
 */
class CoreFixture
{
public:
    explicit CoreFixture(bool createWindow = true);
    ~CoreFixture();

    CoreFixture(const CoreFixture &) = delete;
    CoreFixture &operator=(const CoreFixture &) = delete;

    MainWindow *createMainWindow();
    void destroyMainWindow();

    // The next run: replaces the fixture by a fresh one, with its window, that reads a copy of
    // the user settings file as the last one left it on disk.
    static void restartFromDisk(std::unique_ptr<CoreFixture> &fixture);

    MainWindow *mainWindow() const { return m_mainWindow; }
    QSettings *userSettings() const { return m_userSettings; }

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    // Creates an empty file in the temporary folder; its path, or an empty string on failure.
    QString touch(const QString &name) const;

private:
    QTemporaryDir m_dir;
    QSettings *m_userSettings = nullptr; // owned by the plug-in manager
    std::unique_ptr<ExtensionSystem::PluginManager> m_pluginManager;
    MainWindow *m_mainWindow = nullptr;
};
