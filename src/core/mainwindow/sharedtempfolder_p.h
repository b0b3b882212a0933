#pragma once

#include <QString>

/*
 * The core's temporary folder, shared by every running instance of the application. An instance
 * that uses the folder holds a lock file in its ".instances" sub-folder; one that leaves removes
 * the folder with everything in it only when no other running instance holds such a lock. Locks
 * of instances that crashed do not count, their process is gone. A short-lived guard lock keeps
 * an instance from joining while another one is removing the folder.
 */
class SharedTempFolder
{
public:
    explicit SharedTempFolder(const QString &strPath);

    // Creates the folder, private to the user, when it is missing and registers this process as
    // one of its users, again when the folder was removed since.
    void join() const;
    // Ends this process's use of the folder and removes the folder when no other instance uses
    // it. A folder that is a symbolic link is never entered.
    void leave() const;

private:
    // The sub-folder holding one lock file per running instance.
    QString instancesPath() const;
    bool isUsedByOthers() const;
    bool removeContents() const;

    QString m_path;
};
