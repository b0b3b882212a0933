#include "welcomeinfo.h"

#include "irecentfilesmanager.h"
#include "ithemesmanager.h"

#include <QFileInfo>

const char *const WelcomeInfo::channelName = "vdwelcomeinfo";

WelcomeInfo::WelcomeInfo(QObject *parent)
    : QObject(parent)
{}

QStringList WelcomeInfo::getMissingRecentFiles()
{
    QStringList missing;
    const QStringList recent = IRecentFilesManager::getInstance()->getRecentFiles();
    for (const QString &path : recent) {
        if (!QFileInfo(path).isFile())
            missing.append(path);
    }
    return missing;
}

QString WelcomeInfo::getThemeId()
{
    return IThemesManager::getInstance().getCurrentThemeId();
}
