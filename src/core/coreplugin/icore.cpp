#include "icore.h"

#include <extensionsystem/pluginmanager.h>

namespace {
ICore *s_instance = nullptr;
MainWindow *s_mainWindow = nullptr;
} // namespace

ICore::ICore(MainWindow *mainWindow)
{
    s_instance = this;
    s_mainWindow = mainWindow;
}

ICore::~ICore()
{
    if (s_instance == this) {
        s_instance = nullptr;
        s_mainWindow = nullptr;
    }
}

ICore *ICore::getInstance()
{
    return s_instance;
}

MainWindow *ICore::getMainWindow()
{
    return s_mainWindow;
}

QSettings *ICore::settings(QSettings::Scope scope)
{
    if (scope == QSettings::UserScope)
        return ExtensionSystem::PluginManager::settings();
    return ExtensionSystem::PluginManager::globalSettings();
}

void ICore::saveSettings()
{
    if (s_instance)
        emit s_instance->aboutToSaveSettings();
    if (QSettings *userStore = ExtensionSystem::PluginManager::settings())
        userStore->sync();
    if (QSettings *globalStore = ExtensionSystem::PluginManager::globalSettings())
        globalStore->sync();
}
