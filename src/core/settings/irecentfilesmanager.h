#pragma once

#include "core_global.h"
#include "isingleton.h"

#include <QString>
#include <QStringList>

/*!
 * The recent-projects list, most recent first, at most 10 entries. It lives only in the user
 * settings store under "Veldra/RecentProjects": every operation reads the stored list, changes
 * it and writes it back at once. Paths are kept exactly as given.
 */
class CORE_EXPORT IRecentFilesManager : public ISingleton<IRecentFilesManager>
{
    friend class ISingleton<IRecentFilesManager>;

public:
    void addRecentFile(const QString &strFile);
    void removeRecentFile(const QString &strFile);
    QStringList getRecentFiles();
    int getMaxRecentFiles();
    int getRecentFilesCount();

private:
    IRecentFilesManager() = default;

    int m_maxRecentFiles = 10;
    int m_recentFilesCount = 0;
};
