#pragma once

#include "project.h"
#include "scenes_global.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

/*!
 * Reads and writes project files. A ".veldra" file is the project as UTF-8 JSON; a
 * ".veldrapack" file is the same JSON compressed with qCompress (a 4-byte big-endian size
 * followed by a zlib stream).
 *
 * Files come from anywhere, so reading trusts nothing: sizes, counts, numbers, colours and types
 * are checked against the limits below, and every refusal comes with a sentence that says what
 * is wrong and where, for the user to read.
 */
class SCENES_EXPORT ProjectFormat
{
    Q_DECLARE_TR_FUNCTIONS(ProjectFormat)

public:
    static constexpr int Version = 1;
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024; // packed and unpacked
    static constexpr int MaxScenes = 1000;
    static constexpr int MaxElements = 1000; // per scene
    static constexpr int MaxTextLength = 10000;
    static constexpr int MaxNameLength = 200;
    static constexpr int MinStageSize = 16;
    static constexpr int MaxStageSize = 8192;
    static constexpr int MinFrameRate = 1;
    static constexpr int MaxFrameRate = 240;
    static constexpr int MinDuration = 1;
    static constexpr int MaxDuration = 3600000; // one hour, in milliseconds
    static constexpr int MinFontSize = 1;
    static constexpr int MaxFontSize = 1000;
    static constexpr double MaxCoordinate = 65536; // stage pixels, either direction

    static QString formatName();
    // True when the path's suffix is the packed one ("veldrapack", any case).
    static bool isPackedPath(const QString &strPath);

    static QByteArray write(const Project &project, bool bPacked = false);
    static bool read(const QByteArray &bytes, bool bPacked, Project *pProject, QString *pError);
    // Reads the file at strPath, packed or not by its suffix.
    static bool readFile(const QString &strPath, Project *pProject, QString *pError);

    // The JSON layer, for files that carry more than the project (backups).
    static QJsonObject toJson(const Project &project);
    static bool fromJson(const QJsonObject &object, Project *pProject, QString *pError);
    static QByteArray encode(const QJsonObject &object, bool bPacked);
    static bool decode(const QByteArray &bytes, bool bPacked, QJsonObject *pObject,
                       QString *pError);
    static bool readFileObject(const QString &strPath, QJsonObject *pObject, QString *pError);

    // Why a scene or an element could not be stored and read back; empty when it can.
    static QString sceneProblem(const Scene &scene);
    static QString elementProblem(const TextElement &element);
};
