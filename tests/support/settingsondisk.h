#pragma once

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariant>

/*
 * Reads a key of an INI settings file as another process would see it. The QSettings objects of
 * one process share a cache per file, so a second QSettings on the same file would also report
 * values that never reached the disk; reading a fresh copy of the file avoids that. A file that
 * does not exist gives an invalid value.
 */
inline QVariant valueOnDisk(const QString &fileName, const QString &key)
{
    const QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("copy.ini"));
    if (!dir.isValid() || !QFile::copy(fileName, copy))
        return QVariant();
    return QSettings(copy, QSettings::IniFormat).value(key);
}
