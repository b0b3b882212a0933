#include "backupstore.h"
#include "corefixture.h"
#include "createprojectdialog.h"
#include "filedialoganswerer.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "projectchange.h"
#include "projectformat.h"
#include "scenedocument.h"
#include "testmain.h"

#include <QDialogButtonBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QUndoStack>
#include <QtEndian>

#include <functional>
#include <memory>

#include <signal.h>
#include <sys/resource.h>

using Edit = std::function<void(SceneDocument &)>;
using Expect = std::function<void(Project &)>;
Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(Expect)

namespace {

// A project where every field differs from its default, with every entrance, alpha colours,
// fractional and negative geometry, and text that needs escaping.
Project sampleProject()
{
    Project project;
    project.width = 1920;
    project.height = 1080;
    project.frameRate = 60;
    Scene intro;
    intro.name = QStringLiteral("Intro \u00e9\u2713");
    intro.background = QColor(0x10, 0x20, 0x30);
    intro.duration = 2500;
    for (int i = 0; i < 5; ++i) {
        TextElement element;
        element.text = QStringLiteral("Line %1\n\"quoted\" \u00fc").arg(i);
        element.geometry = QRectF(10.5 * i, i - 20, 300.25, 80 + i);
        element.color = QColor(0x11 * i, 0x22, 0x33, i == 2 ? 0x80 : 0xff);
        element.fontSize = 12 + i;
        element.entrance = TextElement::Entrance(i);
        element.entranceDuration = 100 * i;
        intro.elements.append(element);
    }
    Scene empty;
    empty.background = QColor(0, 0, 0, 10);
    empty.duration = 1;
    project.scenes = {intro, empty};
    return project;
}

QJsonValue replaced(const QJsonValue &root, const QStringList &path, const QJsonValue &value)
{
    if (path.isEmpty())
        return value;
    if (root.isArray()) {
        QJsonArray array = root.toArray();
        const int index = path.first().toInt();
        array[index] = replaced(array.at(index), path.mid(1), value);
        return array;
    }
    QJsonObject object = root.toObject();
    object.insert(path.first(), replaced(object.value(path.first()), path.mid(1), value));
    return object;
}

// The sample project's JSON with one value replaced; Undefined removes the key.
QByteArray sampleWith(const QString &strPath, const QJsonValue &value)
{
    const QJsonValue root = ProjectFormat::toJson(sampleProject());
    return QJsonDocument(replaced(root, strPath.split('/'), value).toObject()).toJson();
}

QByteArray packedWithClaim(quint32 claimedSize)
{
    QByteArray packed = qCompress(ProjectFormat::write(sampleProject()));
    qToBigEndian(claimedSize, packed.data());
    return packed;
}

QByteArray readAll(const QString &strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &strPath, const QByteArray &bytes)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Names, sizes and times of a folder's entries, to see that nothing was written there.
QStringList folderState(const QString &strFolder)
{
    QStringList state;
    const auto entries =
            QDir(strFolder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &info : entries)
        state << QStringLiteral("%1 %2 %3")
                         .arg(info.fileName())
                         .arg(info.size())
                         .arg(info.lastModified().toMSecsSinceEpoch());
    return state;
}

} // namespace

class TestScenesDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void roundTrip_data();
    void roundTrip();
    void readsTheDocumentedLayout();
    void corruptInput_data();
    void corruptInput();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void undoRedo_data();
    void undoRedo();
    void refusedEdits_data();
    void refusedEdits();
    void movesMergeUntilSaved();
    void saveAs_data();
    void saveAs();
    void revert();
    void backups();
    void create_data();
    void create();
    void dialogValidation_data();
    void dialogValidation();

private:
    // A document opened from a fresh sample project file.
    std::unique_ptr<SceneDocument>
    openSample(const QString &strName = QStringLiteral("sample.veldra"));

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestScenesDocument::initTestCase()
{
    m_fixture = std::make_unique<CoreFixture>();
}

void TestScenesDocument::cleanupTestCase()
{
    m_fixture.reset();
}

void TestScenesDocument::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

std::unique_ptr<SceneDocument> TestScenesDocument::openSample(const QString &strName)
{
    const QString path = m_dir->filePath(strName);
    writeAll(path, ProjectFormat::write(sampleProject(), ProjectFormat::isPackedPath(path)));
    auto document = std::make_unique<SceneDocument>();
    document->setFileName(path);
    return document->open() ? std::move(document) : nullptr;
}

void TestScenesDocument::roundTrip_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    const auto row = [](const char *from, const char *to) {
        QTest::newRow(qPrintable(QStringLiteral("%1 to %2").arg(from, to))) << from << to;
    };
    row("a.veldra", "b.veldrapack");
    row("a.veldrapack", "b.VELDRA");
    row("a.veldra", "b.VeldraPack");
}

void TestScenesDocument::roundTrip()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    std::unique_ptr<SceneDocument> first = openSample(from);
    QVERIFY(first);
    QCOMPARE(first->project(), sampleProject());

    const QString target = m_dir->filePath(to);
    QVERIFY(first->save(target));
    const QByteArray bytes = readAll(target);
    const bool packed = to.endsWith(QLatin1String("pack"), Qt::CaseInsensitive);
    QCOMPARE(bytes.startsWith('{'), !packed);
    QCOMPARE(packed ? qUncompress(bytes) : bytes, ProjectFormat::write(sampleProject()));

    SceneDocument second;
    second.setFileName(target);
    QVERIFY(second.open());
    QCOMPARE(second.project(), sampleProject());
}

void TestScenesDocument::readsTheDocumentedLayout()
{
    const QByteArray json = R"({"format": "veldra-project", "version": 1,
        "stage": {"width": 1280, "height": 720, "frameRate": 30},
        "scenes": [{"name": "Intro", "background": "#20242c", "duration": 4000,
            "elements": [{"type": "text", "text": "Hello", "x": 100, "y": 80, "width": 600,
                "height": 120, "color": "#ffffff", "fontSize": 48,
                "entrance": {"type": "slide-up", "duration": 600}}]}]})";
    TextElement hello;
    hello.text = QStringLiteral("Hello");
    hello.geometry = QRectF(100, 80, 600, 120);
    hello.entrance = TextElement::Entrance::SlideUp;
    Project expected;
    expected.scenes = {Scene()};
    expected.scenes[0].name = QStringLiteral("Intro");
    expected.scenes[0].elements = {hello};
    Project project;
    QString error;
    QVERIFY2(ProjectFormat::read(json, false, &project, &error), qPrintable(error));
    QCOMPARE(project, expected);
}

void TestScenesDocument::corruptInput_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // null: no file at all
    QTest::addColumn<qint64>("size");      // above 0: a sparse file of this size instead
    QTest::addColumn<QString>("problem");

    const QByteArray valid = ProjectFormat::write(sampleProject());
    const QByteArray packed = qCompress(valid);
    const auto row = [](const char *tag, const char *name, const QByteArray &bytes,
                        const QString &problem) {
        QTest::newRow(tag) << name << bytes << qint64(0) << problem;
    };
    row("empty file", "p.veldra", QByteArray(""), "The file is empty.");
    row("not JSON", "p.veldra", "hello, world", "not a project file");
    row("truncated JSON", "p.veldra", valid.left(valid.size() / 2), "broken at character");
    row("JSON array", "p.veldra", "[1, 2]", "JSON list");
    row("wrong format name", "p.veldra", sampleWith("format", "other"), "not a Veldra project");
    row("future version", "p.veldra", sampleWith("version", 2), "newer version of Veldra");
    row("width as text", "p.veldra", sampleWith("stage/width", "1280"), "stage: \"width\" must");
    row("fractional frame rate", "p.veldra", sampleWith("stage/frameRate", 29.97),
        "\"frameRate\" must be a whole number from 1 to 240");
    row("stage too small", "p.veldra", sampleWith("stage/height", 15),
        "\"height\" must be a whole number from 16 to 8192");
    row("scene duration 0", "p.veldra", sampleWith("scenes/1/duration", 0),
        "scene 2: \"duration\" must be a whole number from 1 to 3600000");
    row("entrance over an hour", "p.veldra",
        sampleWith("scenes/0/elements/3/entrance/duration", 3600001),
        "scene 1, element 4, entrance: \"duration\"");
    row("bad colour", "p.veldra", sampleWith("scenes/1/background", "#12345g"),
        "scene 2: \"background\" must be a colour");
    row("unknown element type", "p.veldra", sampleWith("scenes/0/elements/1/type", "image"),
        "scene 1, element 2: the element type \"image\" is not known");
    row("unknown entrance", "p.veldra", sampleWith("scenes/0/elements/0/entrance/type", "spin"),
        "the entrance \"spin\" is not known");
    row("missing text", "p.veldra", sampleWith("scenes/0/elements/0/text", QJsonValue::Undefined),
        "scene 1, element 1: \"text\" is missing");
    row("text too long", "p.veldra", sampleWith("scenes/0/elements/0/text", QString(10001, 'x')),
        "at most 10000 characters");
    row("scenes not a list", "p.veldra", sampleWith("scenes", QJsonObject()),
        "\"scenes\" must be a list");
    row("scene not an object", "p.veldra", sampleWith("scenes/0", 5),
        "scene 1: a scene must be an object");
    row("too many scenes", "p.veldra",
        sampleWith("scenes", QJsonArray::fromVariantList(QVector<QVariant>(1001).toList())),
        "more than 1000 entries");
    row("plain JSON named packed", "p.veldrapack", valid, "more than the limit");
    row("truncated pack", "p.veldrapack", packed.left(packed.size() - 10), "damaged or cut short");
    row("garbage pack", "p.veldrapack", QByteArray("\0\0\0\x10garbage!garbage!", 20), "damaged");
    row("pack shorter than its header", "p.veldrapack", "ab", "cut short");
    row("oversized claim", "p.veldrapack", packedWithClaim(0xfffffff0u),
        "more than the limit of 64 MiB");
    row("pack longer than it claims", "p.veldrapack", packedWithClaim(16), "more than it claims");
    QTest::newRow("oversized file") << "p.veldra" << QByteArray("")
                                    << ProjectFormat::MaxFileSize + 1 << "larger than 64 MiB";
    QTest::newRow("missing file") << "p.veldra" << QByteArray() << qint64(0) << "does not exist";
}

void TestScenesDocument::corruptInput()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, size);
    QFETCH(QString, problem);
    const QString path = m_dir->filePath(name);
    if (!bytes.isNull())
        QVERIFY(writeAll(path, bytes));
    if (size > 0)
        QVERIFY(QFile::resize(path, size));
    const QStringList before = folderState(m_dir->path());

    MessageBoxAnswerer answerer;
    SceneDocument document;
    document.setFileName(path);
    QVERIFY(!document.open());

    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().title, QStringLiteral("Veldra"));
    QCOMPARE(answerer.last().parent.data(), static_cast<QWidget *>(m_fixture->mainWindow()));
    QVERIFY2(answerer.last().text.contains(QDir::toNativeSeparators(path)),
             qPrintable(answerer.last().text));
    QVERIFY2(answerer.last().text.contains(problem), qPrintable(answerer.last().text));
    QCOMPARE(document.project(), Project());
    QCOMPARE(folderState(m_dir->path()), before);
}

void TestScenesDocument::failedSaveKeepsTheOldFile_data()
{
    QTest::addColumn<bool>("readOnlyFolder"); // else: a file size limit below the project's size
    QTest::newRow("read-only folder") << true;
    QTest::newRow("file size limit") << false;
}

void TestScenesDocument::failedSaveKeepsTheOldFile()
{
    QFETCH(bool, readOnlyFolder);
    std::unique_ptr<SceneDocument> document = openSample();
    QVERIFY(document);
    const QString path = document->getFileName();
    const QByteArray original = readAll(path);
    document->addScene(Scene());
    const QStringList before = folderState(m_dir->path());

    rlimit oldLimit{};
    getrlimit(RLIMIT_FSIZE, &oldLimit);
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(m_dir->path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setrlimit(RLIMIT_FSIZE, &oldLimit);
    });
    if (readOnlyFolder) {
        QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(m_dir->filePath(QStringLiteral("probe")));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QSKIP("Folder permissions do not stop this user (root) from writing.");
        }
    } else {
        signal(SIGXFSZ, SIG_IGN); // a write past the limit fails with EFBIG instead
        rlimit small = oldLimit;
        small.rlim_cur = 64;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    }

    MessageBoxAnswerer answerer;
    QVERIFY(!document->save());
    QCOMPARE(answerer.count(), 1);
    QVERIFY(answerer.last().text.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(readAll(path), original);
    QCOMPARE(folderState(m_dir->path()), before);
    QVERIFY(document->isModified());
}

void TestScenesDocument::undoRedo_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<Expect>("expect");
    QTest::addColumn<QString>("change"); // kind, scene, element as announced

    Scene added;
    added.name = QStringLiteral("Added");
    TextElement changed = sampleProject().scenes.at(0).elements.at(1);
    changed.text = QStringLiteral("Changed");
    changed.geometry.setSize(QSizeF(10, 20));
    changed.entrance = TextElement::Entrance::Zoom;
    const auto row = [](const Edit &edit, const Expect &expect, const char *change,
                        const char *tag) { QTest::newRow(tag) << edit << expect << change; };

    row([=](SceneDocument &d) { d.addScene(added); }, [=](Project &p) { p.scenes.append(added); },
        "SceneList 2 -1", "add scene at the end");
    row([=](SceneDocument &d) { d.addScene(added, 0); },
        [=](Project &p) { p.scenes.prepend(added); }, "SceneList 0 -1", "add scene first");
    row([](SceneDocument &d) { d.removeScene(0); }, [](Project &p) { p.scenes.removeFirst(); },
        "SceneList 0 -1", "remove scene");
    row([](SceneDocument &d) { d.renameScene(1, "Outro"); },
        [](Project &p) { p.scenes[1].name = "Outro"; }, "SceneProperties 1 -1", "rename scene");
    row([](SceneDocument &d) { d.moveScene(0, 1); }, [](Project &p) { p.scenes.move(0, 1); },
        "SceneList 1 -1", "move scene");
    row([](SceneDocument &d) { d.setSceneProperties(0, Qt::red, 9000); },
        [](Project &p) { p.scenes[0].background = Qt::red, p.scenes[0].duration = 9000; },
        "SceneProperties 0 -1", "scene properties");
    row([=](SceneDocument &d) { d.addElement(1, changed); },
        [=](Project &p) { p.scenes[1].elements << changed; }, "Elements 1 0", "add element");
    row(
            [](SceneDocument &d) {
                d.moveElement(0, 2, {5, -6});
            },
            [](Project &p) {
                p.scenes[0].elements[2].geometry.moveTopLeft({5, -6});
            },
            "Elements 0 2", "move element");
    row([=](SceneDocument &d) { d.editElement(0, 1, changed); },
        [=](Project &p) { p.scenes[0].elements[1] = changed; }, "Elements 0 1", "edit element");
    row([](SceneDocument &d) { d.removeElement(0, 3); },
        [](Project &p) { p.scenes[0].elements.removeAt(3); }, "Elements 0 -1", "remove element");
}

void TestScenesDocument::undoRedo()
{
    QFETCH(Edit, edit);
    QFETCH(Expect, expect);
    QFETCH(QString, change);
    std::unique_ptr<SceneDocument> document = openSample();
    QVERIFY(document);
    QStringList changes;
    connect(document.get(), &IDocument::dataChanged, this, [&changes](QObject *object) {
        const auto *c = qobject_cast<ProjectChange *>(object);
        const char *kind = QMetaEnum::fromType<ProjectChange::Kind>().valueToKey(c->kind());
        changes << QStringLiteral("%1 %2 %3").arg(kind).arg(c->scene()).arg(c->element());
    });
    QSignalSpy modified(document.get(), &IDocument::modifyChanged);
    Project expected = sampleProject();
    expect(expected);

    edit(*document);
    QCOMPARE(document->getUndoStack()->count(), 1);
    QCOMPARE(document->project(), expected);
    QCOMPARE(changes, QStringList{change});
    QVERIFY(document->isModified());
    document->getUndoStack()->undo();
    QCOMPARE(document->project(), sampleProject());
    QVERIFY(!document->isModified());
    document->getUndoStack()->redo();
    QCOMPARE(document->project(), expected);
    QCOMPARE(changes.size(), 3);
    QCOMPARE(modified.size(), 3);
    QCOMPARE(modified.at(0).at(0).toBool(), true);
    QCOMPARE(modified.at(1).at(0).toBool(), false);
}

void TestScenesDocument::refusedEdits_data()
{
    QTest::addColumn<Edit>("edit");
    TextElement tiny = sampleProject().scenes.at(0).elements.at(0);
    tiny.fontSize = 0;
    const auto row = [](const char *tag, const Edit &edit) { QTest::newRow(tag) << edit; };
    row("remove missing scene", [](SceneDocument &d) { d.removeScene(2); });
    row("rename to the same name", [](SceneDocument &d) { d.renameScene(1, QString()); });
    row("name too long", [](SceneDocument &d) { d.renameScene(0, QString(201, 'n')); });
    row("move scene past the end", [](SceneDocument &d) { d.moveScene(0, 2); });
    row("add scene past the end", [](SceneDocument &d) { d.addScene(Scene(), 3); });
    row("duration 0", [](SceneDocument &d) { d.setSceneProperties(0, Qt::red, 0); });
    row("invalid colour", [](SceneDocument &d) { d.setSceneProperties(0, QColor(), 100); });
    row("unchanged properties",
        [](SceneDocument &d) { d.setSceneProperties(1, QColor(0, 0, 0, 10), 1); });
    row("element in a missing scene", [](SceneDocument &d) { d.moveElement(9, 0, {1, 1}); });
    row("missing element", [](SceneDocument &d) { d.removeElement(1, 0); });
    row("font size 0", [=](SceneDocument &d) { d.addElement(0, tiny); });
    row("edit to font size 0", [=](SceneDocument &d) { d.editElement(0, 0, tiny); });
    row("move off the limits", [](SceneDocument &d) { d.moveElement(0, 0, {1e9, 0}); });
    row("move to the same place", [](SceneDocument &d) { d.moveElement(0, 1, {10.5, -19}); });
    row("null command", [](SceneDocument &d) { d.submitCommand(nullptr); });
}

void TestScenesDocument::refusedEdits()
{
    QFETCH(Edit, edit);
    std::unique_ptr<SceneDocument> document = openSample();
    QVERIFY(document);
    edit(*document);
    QCOMPARE(document->getUndoStack()->count(), 0);
    QCOMPARE(document->project(), sampleProject());
}

void TestScenesDocument::movesMergeUntilSaved()
{
    std::unique_ptr<SceneDocument> document = openSample();
    QVERIFY(document);
    QUndoStack *stack = document->getUndoStack();
    const auto topLeft = [&] {
        return document->project().scenes.at(0).elements.at(1).geometry.topLeft();
    };
    const QPointF start = topLeft();
    document->moveElement(0, 1, {1, 1});
    document->moveElement(0, 1, {2, 2});
    QCOMPARE(stack->count(), 1);
    document->moveElement(0, 2, {3, 3}); // another element: a step of its own
    QCOMPARE(stack->count(), 2);
    stack->undo();
    stack->undo();
    QCOMPARE(topLeft(), start);
    stack->redo();
    QCOMPARE(topLeft(), QPointF(2, 2));

    QVERIFY(document->save());
    QVERIFY(!document->isModified());
    document->moveElement(0, 1, {4, 4}); // the saved state stays reachable
    QCOMPARE(stack->count(), 2);
    stack->undo();
    QCOMPARE(topLeft(), QPointF(2, 2));
    QVERIFY(!document->isModified());
}

void TestScenesDocument::saveAs_data()
{
    QTest::addColumn<QString>("typed"); // empty: cancel
    QTest::addColumn<QString>("saved");
    const auto row = [](const char *typed, const char *saved) {
        QTest::newRow(typed) << typed << saved;
    };
    row("copy", "copy.veldra");
    row("copy.veldrapack", "copy.veldrapack");
    row("copy.v2", "copy.v2.veldra");
    row("", "");
}

void TestScenesDocument::saveAs()
{
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    std::unique_ptr<SceneDocument> document = openSample();
    QVERIFY(document);
    const QString original = document->getFileName();
    document->removeScene(1);
    QSignalSpy titles(document.get(), &IDocument::titleChanged);
    FileDialogAnswerer answerer;
    answerer.enqueue(typed.isEmpty() ? QString() : m_dir->filePath(typed));

    QCOMPARE(document->saveAs(), !saved.isEmpty());
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.lastDirectory(), m_dir->path());
    QCOMPARE(titles.size(), saved.isEmpty() ? 0 : 1);
    QCOMPARE(document->getFileName(), saved.isEmpty() ? original : m_dir->filePath(saved));
    QCOMPARE(document->isModified(), saved.isEmpty());
    if (saved.isEmpty())
        return;
    Project onDisk;
    QString error;
    QVERIFY2(ProjectFormat::readFile(m_dir->filePath(saved), &onDisk, &error), qPrintable(error));
    QCOMPARE(onDisk, document->project());
}

void TestScenesDocument::revert()
{
    std::unique_ptr<SceneDocument> document = openSample();
    QVERIFY(document);
    document->removeScene(0);
    QVERIFY(document->revert());
    QCOMPARE(document->project(), sampleProject());
    QCOMPARE(document->getUndoStack()->count(), 0);
    QVERIFY(!document->isModified());

    document->removeScene(0);
    QFile::remove(document->getFileName());
    MessageBoxAnswerer answerer;
    QVERIFY(!document->revert());
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(document->project().scenes.size(), 1); // the edit is kept
}

void TestScenesDocument::backups()
{
    std::unique_ptr<SceneDocument> document = openSample();
    QVERIFY(document);
    QVERIFY(!document->saveBackup()); // nothing to keep
    document->removeScene(1);
    const QString backupPath = BackupStore::backupPathFor(document->getFileName());
    QCOMPARE(document->saveBackup(), !backupPath.isEmpty());

    // A backup as the store would hold it, whether or not the store is available here.
    QJsonObject backup = ProjectFormat::toJson(document->project());
    backup.insert(QStringLiteral("originalPath"), document->getFileName());
    const QString ownBackup = m_dir->filePath(QStringLiteral("own.backup"));
    QVERIFY(writeAll(ownBackup, QJsonDocument(backup).toJson()));
    for (const QString &path : {backupPath, ownBackup}) {
        if (path.isEmpty())
            continue;
        SceneDocument recovered;
        QVERIFY(recovered.openBackup(path));
        QCOMPARE(recovered.getFileName(), document->getFileName());
        QCOMPARE(recovered.project(), document->project());
        QVERIFY(recovered.isOpenAsBackup());
        QVERIFY(recovered.isModified());
    }

    backup.remove(QStringLiteral("originalPath"));
    QVERIFY(writeAll(ownBackup, QJsonDocument(backup).toJson()));
    MessageBoxAnswerer answerer;
    SceneDocument refused;
    QVERIFY(!refused.openBackup(ownBackup));
    QCOMPARE(answerer.count(), 1);
    QVERIFY(answerer.last().text.contains(QDir::toNativeSeparators(ownBackup)));
    QVERIFY(refused.getFileName().isEmpty());
    QVERIFY(!refused.isOpenAsBackup());

    if (backupPath.isEmpty())
        return;
    QVERIFY(document->save()); // saving drops this run's backup, and so does closing unsaved
    QVERIFY(!QFile::exists(backupPath));
    document->removeScene(0);
    QVERIFY(document->saveBackup());
    QVERIFY(QFile::exists(backupPath));
    answerer.setDefaultAnswer(QMessageBox::No);
    QVERIFY(document->close());
    QVERIFY(!QFile::exists(backupPath));
}

void TestScenesDocument::create_data()
{
    QTest::addColumn<QVector<int>>("stage"); // width, height, frame rate
    QTest::addColumn<bool>("created");
    QTest::newRow("defaults") << QVector<int>{1280, 720, 30} << true;
    QTest::newRow("smallest") << QVector<int>{16, 16, 1} << true;
    QTest::newRow("largest") << QVector<int>{8192, 8192, 240} << true;
    QTest::newRow("too narrow") << QVector<int>{15, 720, 30} << false;
    QTest::newRow("too high") << QVector<int>{1280, 8193, 30} << false;
    QTest::newRow("no frames") << QVector<int>{1280, 720, 0} << false;
    QTest::newRow("too many frames") << QVector<int>{1280, 720, 241} << false;
}

void TestScenesDocument::create()
{
    QFETCH(QVector<int>, stage);
    QFETCH(bool, created);
    SceneDocument document;
    QCOMPARE(document.create(stage[0], stage[1], stage[2]), created);
    Project expected;
    if (created) {
        expected = {stage[0], stage[1], stage[2], {Scene()}};
        expected.scenes[0].name = QStringLiteral("Scene 1");
    }
    QCOMPARE(document.project(), expected);
}

void TestScenesDocument::dialogValidation_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");  // relative to the test folder
    QTest::addColumn<QString>("problem"); // empty: OK is enabled
    const auto row = [](const char *tag, const char *name, const char *folder,
                        const char *problem) { QTest::newRow(tag) << name << folder << problem; };
    row("valid", "My Show", "", "");
    row("spaces around the name", "  Show ", "", "");
    row("empty name", "   ", "", "Enter a name");
    for (const char *bad : {"a/b", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"})
        row(bad, bad, "", "cannot contain");
    row("missing folder", "Show", "missing", "does not exist");
    row("a file, not a folder", "Show", "file.txt", "does not exist");
    row("project exists", "taken", "", "already exists");
}

void TestScenesDocument::dialogValidation()
{
    QFETCH(QString, name);
    QFETCH(QString, folder);
    QFETCH(QString, problem);
    QVERIFY(writeAll(m_dir->filePath("file.txt"), "x"));
    QVERIFY(writeAll(m_dir->filePath("taken.veldra"), "x"));
    CreateProjectDialog dialog;
    auto *nameEdit = dialog.findChild<QLineEdit *>("nameEdit");
    auto *folderEdit = dialog.findChild<QLineEdit *>("folderEdit");
    const auto *buttons = dialog.findChild<QDialogButtonBox *>();
    QVERIFY(nameEdit && folderEdit && buttons);
    QCOMPARE(folderEdit->text(),
             QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    QCOMPARE(QVector<int>({dialog.getParameter1(), dialog.getParameter2(), dialog.getParameter3()}),
             QVector<int>({1280, 720, 30}));

    folderEdit->setText(m_dir->filePath(folder));
    nameEdit->setText(name);
    dialog.findChild<QSpinBox *>("widthSpin")->setValue(640);
    dialog.findChild<QSpinBox *>("frameRateSpin")->setValue(1000); // clamped to the limit
    const QString shown = dialog.findChild<QLabel *>("problemLabel")->text();
    QCOMPARE(buttons->button(QDialogButtonBox::Ok)->isEnabled(), problem.isEmpty());
    QVERIFY2(problem.isEmpty() ? shown.isEmpty() : shown.contains(problem), qPrintable(shown));
    QCOMPARE(dialog.getParameter1(), 640);
    QCOMPARE(dialog.getParameter3(), 240);
    const QString expectedFile =
            problem.isEmpty() ? m_dir->filePath(name.trimmed() + ".veldra") : QString();
    QCOMPARE(dialog.getFileName(), expectedFile);

    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(dialog.result(), problem.isEmpty() ? int(QDialog::Accepted) : int(QDialog::Rejected));
}

VELDRA_TEST_MAIN(TestScenesDocument)

#include "tst_scenesdocument.moc"
