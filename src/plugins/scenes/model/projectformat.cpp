#include "projectformat.h"

#include "jsonfieldreader_p.h"
#include "projectjsonwriter_p.h"

#include <QCborArray>
#include <QCborMap>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>
#include <QtEndian>

#include <climits>
#include <memory>
#include <zlib.h>

namespace {

bool entranceFromName(const QString &strName, TextElement::Entrance *pEntrance)
{
    using Entrance = TextElement::Entrance;
    for (Entrance entrance :
         {Entrance::None, Entrance::Fade, Entrance::SlideLeft, Entrance::SlideUp, Entrance::Zoom}) {
        if (strName == QLatin1String(ProjectJsonWriter::entranceName(entrance))) {
            *pEntrance = entrance;
            return true;
        }
    }
    return false;
}

QString colorName(const QColor &color)
{
    return QString::fromLatin1(ProjectJsonWriter::colorName(color));
}

int mebibytes(qint64 nBytes)
{
    return static_cast<int>(nBytes / (1024 * 1024));
}

QJsonObject elementToJson(const TextElement &element)
{
    const QJsonObject entrance{{"type", ProjectJsonWriter::entranceName(element.entrance)},
                               {"duration", element.entranceDuration}};
    return {{"type", "text"},
            {"text", element.text},
            {"x", element.geometry.x()},
            {"y", element.geometry.y()},
            {"width", element.geometry.width()},
            {"height", element.geometry.height()},
            {"color", colorName(element.color)},
            {"fontSize", element.fontSize},
            {"entrance", entrance}};
}

QJsonObject sceneToJson(const Scene &scene)
{
    QJsonArray elements;
    for (const TextElement &element : scene.elements)
        elements.append(elementToJson(element));
    return {{"name", scene.name},
            {"background", colorName(scene.background)},
            {"duration", scene.duration},
            {"elements", elements}};
}

} // namespace

// Reading is spread over a few steps that all report through the same error text; they live
// here so that the public class stays a list of entry points.
namespace {

using PF = ProjectFormat; // for the limits; texts use ProjectFormat::tr so they keep their context

QString elementPlace(int nScene, int nElement)
{
    return ProjectFormat::tr("scene %1, element %2").arg(nScene + 1).arg(nElement + 1);
}

bool readEntrance(JsonFieldReader &elementReader, int nScene, int nElement, TextElement *pElement,
                  QString *pError)
{
    QCborMap object;
    if (!elementReader.object(QLatin1String("entrance"), &object))
        return false;
    const auto place = [nScene, nElement] {
        return elementPlace(nScene, nElement) + ProjectFormat::tr(", entrance");
    };
    JsonFieldReader reader(object, place, pError);
    QString type;
    if (!reader.text(QLatin1String("type"), PF::MaxNameLength, &type))
        return false;
    if (!entranceFromName(type, &pElement->entrance))
        return reader.fail(ProjectFormat::tr("the entrance \"%1\" is not known.").arg(type));
    return reader.integer(QLatin1String("duration"), 0, PF::MaxDuration,
                          &pElement->entranceDuration);
}

bool readElement(const QCborValue &value, int nScene, int nElement, TextElement *pElement,
                 QString *pError)
{
    const auto place = [nScene, nElement] { return elementPlace(nScene, nElement); };
    JsonFieldReader reader(value.toMap(), place, pError);
    if (!value.isMap())
        return reader.fail(ProjectFormat::tr("an element must be an object."));
    QString type;
    if (!reader.text(QLatin1String("type"), PF::MaxNameLength, &type))
        return false;
    if (type != QLatin1String("text"))
        return reader.fail(ProjectFormat::tr("the element type \"%1\" is not known.").arg(type));
    double x = 0, y = 0, width = 0, height = 0;
    const bool ok = reader.text(QLatin1String("text"), PF::MaxTextLength, &pElement->text) &&
                    reader.number(QLatin1String("x"), -PF::MaxCoordinate, PF::MaxCoordinate, &x) &&
                    reader.number(QLatin1String("y"), -PF::MaxCoordinate, PF::MaxCoordinate, &y) &&
                    reader.number(QLatin1String("width"), 0, PF::MaxCoordinate, &width) &&
                    reader.number(QLatin1String("height"), 0, PF::MaxCoordinate, &height) &&
                    reader.color(QLatin1String("color"), &pElement->color) &&
                    reader.integer(QLatin1String("fontSize"), PF::MinFontSize, PF::MaxFontSize,
                                   &pElement->fontSize) &&
                    readEntrance(reader, nScene, nElement, pElement, pError);
    pElement->geometry = QRectF(x, y, width, height);
    return ok;
}

bool readScene(const QCborValue &value, int nScene, Scene *pScene, QString *pError)
{
    const auto place = [nScene] { return ProjectFormat::tr("scene %1").arg(nScene + 1); };
    JsonFieldReader reader(value.toMap(), place, pError);
    if (!value.isMap())
        return reader.fail(ProjectFormat::tr("a scene must be an object."));
    QCborArray elements;
    if (!reader.text(QLatin1String("name"), PF::MaxNameLength, &pScene->name) ||
        !reader.color(QLatin1String("background"), &pScene->background) ||
        !reader.integer(QLatin1String("duration"), PF::MinDuration, PF::MaxDuration,
                        &pScene->duration) ||
        !reader.array(QLatin1String("elements"), PF::MaxElements, &elements))
        return false;
    pScene->elements.clear();
    pScene->elements.reserve(elements.size());
    for (int i = 0; i < elements.size(); ++i) {
        pScene->elements.append(TextElement());
        if (!readElement(elements.at(i), nScene, i, &pScene->elements.last(), pError))
            return false;
    }
    return true;
}

// Reads the scenes from first up to last into their places, stopping at the first problem.
bool readSceneRange(const QCborArray &scenes, int first, int last, QList<Scene> *pScenes,
                    QString *pError)
{
    for (int i = first; i < last; ++i) {
        if (!readScene(scenes.at(i), i, &(*pScenes)[i], pError))
            return false;
    }
    return true;
}

// From this many scenes on, reading half of them takes well over the cost of starting a thread.
const int ScenesWorthASecondThread = 64;

// Scenes are read independently of each other, so a large project's second half is read on a
// thread of its own meanwhile. A problem in the first half is reported before one in the second,
// as reading them in order would find it.
bool readScenes(const QCborArray &scenes, QList<Scene> *pScenes, QString *pError)
{
    const int count = scenes.size();
    if (count < ScenesWorthASecondThread || QThread::idealThreadCount() < 2)
        return readSceneRange(scenes, 0, count, pScenes, pError);
    const int half = count / 2;
    QString secondProblem;
    bool secondRead = false;
    std::unique_ptr<QThread> second(QThread::create([&] {
        secondRead = readSceneRange(scenes, half, count, pScenes, &secondProblem);
    }));
    second->start();
    const bool firstRead = readSceneRange(scenes, 0, half, pScenes, pError);
    second->wait();
    if (firstRead && !secondRead)
        *pError = secondProblem;
    return firstRead && secondRead;
}

bool readStage(JsonFieldReader &top, Project *pProject, QString *pError)
{
    QCborMap stage;
    if (!top.object(QLatin1String("stage"), &stage))
        return false;
    JsonFieldReader reader(
            stage, [] { return ProjectFormat::tr("stage"); }, pError);
    return reader.integer(QLatin1String("width"), PF::MinStageSize, PF::MaxStageSize,
                          &pProject->width) &&
           reader.integer(QLatin1String("height"), PF::MinStageSize, PF::MaxStageSize,
                          &pProject->height) &&
           reader.integer(QLatin1String("frameRate"), PF::MinFrameRate, PF::MaxFrameRate,
                          &pProject->frameRate);
}

// Inflates qCompress output without trusting its size header further than the limit: the
// buffer is exactly the claimed size and a stream that wants more is refused.
bool unpack(const QByteArray &packed, QByteArray *pJson, QString *pError)
{
    if (packed.size() < 4) {
        *pError = ProjectFormat::tr("The packed data is cut short.");
        return false;
    }
    const quint32 claimed = qFromBigEndian<quint32>(packed.constData());
    if (claimed > PF::MaxFileSize) {
        *pError = ProjectFormat::tr(
                          "The packed data claims to unpack to %1 MiB, more than the limit of %2 "
                          "MiB.")
                          .arg(mebibytes(claimed))
                          .arg(mebibytes(PF::MaxFileSize));
        return false;
    }
    QByteArray json(static_cast<int>(claimed), Qt::Uninitialized);
    uLongf length = claimed;
    const int result = uncompress(reinterpret_cast<Bytef *>(json.data()), &length,
                                  reinterpret_cast<const Bytef *>(packed.constData() + 4),
                                  static_cast<uLong>(packed.size() - 4));
    if (result == Z_OK) {
        json.resize(static_cast<int>(length));
        *pJson = json;
        return true;
    }
    if (result == Z_BUF_ERROR)
        *pError = ProjectFormat::tr("The packed data unpacks to more than it claims.");
    else if (result == Z_MEM_ERROR)
        *pError = ProjectFormat::tr("There is not enough memory to unpack the file.");
    else
        *pError = ProjectFormat::tr("The packed data is damaged or cut short.");
    return false;
}

// What the parser stumbled over, in words a user can follow. The parser's own texts ("illegal
// value", "unterminated string") are meant for programmers.
QString parseErrorSentence(QJsonParseError::ParseError error)
{
    switch (error) {
    case QJsonParseError::UnterminatedObject:
        return ProjectFormat::tr("A group of values is not closed with \"}\".");
    case QJsonParseError::MissingNameSeparator:
        return ProjectFormat::tr("A \":\" is missing after a name.");
    case QJsonParseError::UnterminatedArray:
        return ProjectFormat::tr("A list is not closed with \"]\".");
    case QJsonParseError::MissingValueSeparator:
        return ProjectFormat::tr("A \",\" is missing between two values.");
    case QJsonParseError::IllegalNumber:
        return ProjectFormat::tr("A number is not written correctly.");
    case QJsonParseError::IllegalEscapeSequence:
        return ProjectFormat::tr("A text holds a backslash that starts no known sequence.");
    case QJsonParseError::IllegalUTF8String:
        return ProjectFormat::tr("A text holds characters that are not valid UTF-8.");
    case QJsonParseError::UnterminatedString:
        return ProjectFormat::tr("A text is not closed.");
    case QJsonParseError::MissingObject:
        return ProjectFormat::tr("It does not begin with \"{\".");
    case QJsonParseError::DeepNesting:
        return ProjectFormat::tr("Values are nested too deeply.");
    case QJsonParseError::GarbageAtEnd:
        return ProjectFormat::tr("Something follows the end of the project.");
    default:
        return ProjectFormat::tr("Something other than a value was found.");
    }
}

// Reads the file in one buffer of the size it has now, plus one byte that tells whether it grew
// since; a file that grows while it is read is read on, but never past nLimit bytes.
bool readAtMost(QFile &file, qint64 nLimit, QByteArray *pBytes)
{
    QByteArray bytes;
    qint64 capacity = qMin(file.size() + 1, nLimit);
    qint64 filled = 0;
    for (;;) {
        bytes.resize(static_cast<int>(capacity));
        const qint64 read = file.read(bytes.data() + filled, capacity - filled);
        if (read < 0)
            return false;
        filled += read;
        if (filled < capacity || capacity == nLimit)
            break;
        capacity = qMin(2 * capacity, nLimit);
    }
    bytes.resize(static_cast<int>(filled));
    *pBytes = bytes;
    return true;
}

struct TextPosition
{
    int line;
    int column;
};

// The line and column (both from 1, the column in characters) of a byte offset in UTF-8 text.
TextPosition textPosition(const QByteArray &utf8, int nOffset)
{
    const QByteArray before = utf8.left(nOffset);
    const int lineStart = before.lastIndexOf('\n') + 1;
    int column = 1;
    for (int i = lineStart; i < before.size(); ++i) {
        if ((static_cast<uchar>(before.at(i)) & 0xc0) != 0x80) // not a continuation byte
            ++column;
    }
    return {before.count('\n') + 1, column};
}

QString parseProblem(const QByteArray &json, const QJsonParseError &error)
{
    const TextPosition position = textPosition(json, error.offset);
    // Whatever the parser expected, running out of text means the file was cut off.
    const bool cutShort =
            error.offset >= json.size() && error.error != QJsonParseError::GarbageAtEnd;
    return ProjectFormat::tr("Its text is damaged at line %1, column %2. %3")
            .arg(position.line)
            .arg(position.column)
            .arg(cutShort ? ProjectFormat::tr("The file is cut short.")
                          : parseErrorSentence(error.error));
}

} // namespace

QString ProjectFormat::formatName()
{
    return QStringLiteral("veldra-project");
}

bool ProjectFormat::isPackedPath(const QString &strPath)
{
    return QFileInfo(strPath).suffix().compare(QLatin1String("veldrapack"), Qt::CaseInsensitive) ==
           0;
}

QByteArray ProjectFormat::write(const Project &project, bool bPacked)
{
    const QByteArray json = ProjectJsonWriter::write(project);
    return bPacked ? qCompress(json) : json;
}

bool ProjectFormat::read(const QByteArray &bytes, bool bPacked, Project *pProject, QString *pError)
{
    QJsonObject object;
    return decode(bytes, bPacked, &object, pError) && fromJson(object, pProject, pError);
}

bool ProjectFormat::readFile(const QString &strPath, Project *pProject, QString *pError)
{
    QJsonObject object;
    return readFileObject(strPath, &object, pError) && fromJson(object, pProject, pError);
}

QJsonObject ProjectFormat::toJson(const Project &project)
{
    QJsonArray scenes;
    for (const Scene &scene : project.scenes)
        scenes.append(sceneToJson(scene));
    const QJsonObject stage{
            {"width", project.width}, {"height", project.height}, {"frameRate", project.frameRate}};
    return {{"format", formatName()}, {"version", Version}, {"stage", stage}, {"scenes", scenes}};
}

bool ProjectFormat::fromJson(const QJsonObject &object, Project *pProject, QString *pError)
{
    JsonFieldReader top(QCborMap::fromJsonObject(object), nullptr, pError);
    if (object.value(QStringLiteral("format")).toString() != formatName())
        return top.fail(
                tr("It is not a Veldra project: \"format\" is not \"%1\".").arg(formatName()));
    int version = 0;
    if (!top.integer(QLatin1String("version"), 1, INT_MAX, &version))
        return false;
    if (version > Version)
        return top.fail(tr("It was made by a newer version of Veldra (file format %1; this "
                           "version reads up to %2).")
                                .arg(version)
                                .arg(Version));
    Project project;
    QCborArray scenes;
    if (!readStage(top, &project, pError) ||
        !top.array(QLatin1String("scenes"), MaxScenes, &scenes))
        return false;
    project.scenes.reserve(scenes.size());
    for (int i = 0; i < scenes.size(); ++i)
        project.scenes.append(Scene());
    if (!readScenes(scenes, &project.scenes, pError))
        return false;
    *pProject = project;
    return true;
}

QByteArray ProjectFormat::encode(const QJsonObject &object, bool bPacked)
{
    const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Indented);
    return bPacked ? qCompress(json) : json;
}

bool ProjectFormat::decode(const QByteArray &bytes, bool bPacked, QJsonObject *pObject,
                           QString *pError)
{
    if (bytes.isEmpty()) {
        *pError = tr("The file is empty.");
        return false;
    }
    if (bytes.size() > MaxFileSize) {
        *pError = tr("The file is larger than %1 MiB.").arg(mebibytes(MaxFileSize));
        return false;
    }
    QByteArray json = bytes;
    if (bPacked && !unpack(bytes, &json, pError))
        return false;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *pError = parseProblem(json, parseError);
        return false;
    }
    if (!document.isObject()) {
        *pError = tr("It is not a project file: it holds a JSON list, not an object.");
        return false;
    }
    *pObject = document.object();
    return true;
}

bool ProjectFormat::readFileObject(const QString &strPath, QJsonObject *pObject, QString *pError)
{
    QFile file(strPath);
    if (!file.exists()) {
        *pError = tr("The file does not exist.");
        return false;
    }
    if (!QFileInfo(strPath).isFile()) {
        *pError = tr("It is not a regular file.");
        return false;
    }
    if (file.size() > MaxFileSize) {
        *pError = tr("The file is larger than %1 MiB.").arg(mebibytes(MaxFileSize));
        return false;
    }
    QByteArray bytes;
    if (!file.open(QIODevice::ReadOnly) || !readAtMost(file, MaxFileSize + 1, &bytes)) {
        *pError = tr("The file cannot be read: %1.").arg(file.errorString());
        return false;
    }
    return decode(bytes, isPackedPath(strPath), pObject, pError);
}

QString ProjectFormat::sceneProblem(const Scene &scene)
{
    QString problem;
    Scene readBack;
    readScene(QCborMap::fromJsonObject(sceneToJson(scene)), 0, &readBack, &problem);
    return problem;
}

QString ProjectFormat::elementProblem(const TextElement &element)
{
    QString problem;
    TextElement readBack;
    readElement(QCborMap::fromJsonObject(elementToJson(element)), 0, 0, &readBack, &problem);
    return problem;
}
