#include "corefixture.h"
#include "createprojectdialog.h"
#include "filedialoganswerer.h"
#include "icore.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "projectformat.h"
#include "scenedocument.h"
#include "testmain.h"

#include <QDialogButtonBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUndoStack>
#include <QtEndian>

#include <functional>
#include <memory>

#include <sys/stat.h>

using Edit = std::function<void(SceneDocument &)>;
using Expect = std::function<void(Project &)>;
Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(Expect)

namespace {

// Every field differs from its default: all entrances, alpha colours, fractional and negative
// geometry, and text that needs escaping or is beyond the first 64K characters.
Project sampleProject()
{
    Project project{1920, 1080, 60, {{"Intro \u00e9\u2713", QColor(0x10, 0x20, 0x30), 2500, {}}}};
    for (int i = 0; i < 5; ++i)
        project.scenes[0].elements
                << TextElement{QStringLiteral("Line %1\n\"q\" \u00fc\\\t\x01\U0001F600").arg(i),
                               QRectF(10.5 * i, i - 20, 300.25, 80 + i),
                               QColor(0x11 * i, 0x22, 0x33, i == 2 ? 0x80 : 255),
                               12 + i,
                               TextElement::Entrance(i),
                               100 * i};
    project.scenes << Scene{QString(), QColor(0, 0, 0, 10), 1, {}};
    return project;
}

QJsonValue replaced(const QJsonValue &root, const QStringList &path, const QJsonValue &value)
{
    if (path.isEmpty())
        return value;
    if (root.isArray()) {
        QJsonArray array = root.toArray();
        array[path[0].toInt()] = replaced(array.at(path[0].toInt()), path.mid(1), value);
        return array;
    }
    QJsonObject object = root.toObject();
    object.insert(path[0], replaced(object.value(path[0]), path.mid(1), value));
    return object;
}

// The sample project's JSON with one value replaced; Undefined removes the key.
QByteArray sampleWith(const QString &strPath, const QJsonValue &value)
{
    const QJsonValue root = ProjectFormat::toJson(sampleProject());
    return QJsonDocument(replaced(root, strPath.split('/'), value).toObject()).toJson();
}

// A project of `count` scenes, each with its own duration (from 1); the listed ones have none.
Project manyScenes(int count, const QList<int> &withoutDuration = {})
{
    Project project = sampleProject();
    while (project.scenes.size() < count)
        project.scenes << project.scenes.at(project.scenes.size() % 2);
    for (int i = 0; i < count; ++i)
        project.scenes[i].duration = withoutDuration.contains(i) ? 0 : i + 1;
    return project;
}

bool writeAll(const QString &strPath, const QByteArray &bytes)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestScenesDocument : public QObject
{
    Q_OBJECT

    CoreFixture m_fixture;
    std::unique_ptr<QTemporaryDir> m_dir;

    // A document opened from a fresh sample project file.
    std::unique_ptr<SceneDocument> openSample(const QString &strName = "sample.veldra")
    {
        const QString path = m_dir->filePath(strName);
        writeAll(path, ProjectFormat::write(sampleProject(), ProjectFormat::isPackedPath(path)));
        auto document = std::make_unique<SceneDocument>();
        document->setFileName(path);
        return document->open() ? std::move(document) : nullptr;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void readsTheDocumentedLayout()
    {
        const QByteArray json = R"({"format": "veldra-project", "version": 1,
            "stage": {"width": 1280, "height": 720, "frameRate": 30},
            "scenes": [{"name": "Intro", "background": "#20242c", "duration": 4000,
                "elements": [{"type": "text", "text": "Hello", "x": 100, "y": 80, "width": 600,
                    "height": 120, "color": "#ffffff", "fontSize": 48,
                    "entrance": {"type": "slide-up", "duration": 600}}]}]})";
        const TextElement hello{"Hello", QRectF(100, 80, 600, 120),      Qt::white,
                                48,      TextElement::Entrance::SlideUp, 600};
        const Project expected{1280, 720, 30, {{"Intro", QColor(0x20, 0x24, 0x2c), 4000, {hello}}}};
        Project project;
        QString error;
        QVERIFY2(ProjectFormat::read(json, false, &project, &error), qPrintable(error));
        QCOMPARE(project, expected);
        // A large project is read in two halves at once; both come back, in order.
        QVERIFY2(ProjectFormat::read(ProjectFormat::write(manyScenes(100)), false, &project, &error),
                 qPrintable(error));
        QCOMPARE(project, manyScenes(100));
    }

    void corruptInput_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // null: no file at all
        QTest::addColumn<QString>("problem");
        const QByteArray valid = ProjectFormat::write(sampleProject());
        const QByteArray packed = qCompress(valid);
        const auto packedWithClaim = [packed](quint32 claimedSize) {
            QByteArray claiming = packed;
            qToBigEndian(claimedSize, claiming.data());
            return claiming;
        };
        const auto row = [](const char *tag, const QByteArray &bytes, const char *problem,
                            const char *name = "p.veldra") {
            QTest::newRow(tag) << name << bytes << problem;
        };
        const char *pack = "p.veldrapack";
        row("empty file", "", "The file is empty.");
        row("cut short", "{\"format\": \"veldra-project\",\n  \"stage\": {\"wid",
            "damaged at line 2, column 17. The file is cut short.");
        row("bad value after a two-byte letter", "{\"a\": 1,\n  \"\xc3\xa4\": tru}",
            "damaged at line 2, column 9. Something other than a value was found.");
        row("JSON array", "[1, 2]", "JSON list");
        row("wrong format name", sampleWith("format", "other"), "not a Veldra project");
        row("future version", sampleWith("version", 2), "newer version of Veldra");
        row("stage too small", sampleWith("stage/height", 15),
            "\"height\" must be a whole number from 16 to 8192");
        row("scene duration 0", sampleWith("scenes/1/duration", 0),
            "scene 2: \"duration\" must be a whole number from 1 to 3600000");
        row("entrance over an hour", sampleWith("scenes/0/elements/3/entrance/duration", 3600001),
            "scene 1, element 4, entrance: \"duration\"");
        row("bad colour", sampleWith("scenes/1/background", "#12345g"),
            "scene 2: \"background\" must be a colour");
        row("unknown element type", sampleWith("scenes/0/elements/1/type", "image"),
            "scene 1, element 2: the element type \"image\" is not known");
        row("unknown entrance", sampleWith("scenes/0/elements/0/entrance/type", "spin"),
            "the entrance \"spin\" is not known");
        row("missing text", sampleWith("scenes/0/elements/0/text", QJsonValue::Undefined),
            "scene 1, element 1: \"text\" is missing");
        row("text too long", sampleWith("scenes/0/elements/0/text", QString(10001, 'x')),
            "at most 10000 characters");
        row("scenes not a list", sampleWith("scenes", QJsonObject()), "\"scenes\" must be a list");
        row("scene not an object", sampleWith("scenes/0", 5), "scene 1: a scene must be an object");
        // A large project's halves are read at once; the first problem in list order is named.
        row("bad scene in a large project's second half",
            ProjectFormat::write(manyScenes(100, {80})), "scene 81: \"duration\"");
        row("bad scenes in both halves", ProjectFormat::write(manyScenes(100, {80, 30})),
            "scene 31: \"duration\"");
        row("too many scenes",
            sampleWith("scenes", QJsonArray::fromVariantList(QVector<QVariant>(1001).toList())),
            "more than 1000 entries");
        row("missing file", QByteArray(), "does not exist");
        row("plain JSON named packed", valid, "more than the limit of 64 MiB", pack);
        row("truncated pack", packed.left(packed.size() - 10), "damaged or cut short", pack);
        row("pack shorter than its header", "ab", "cut short", pack);
        row("oversized claim", packedWithClaim(0xfffffff0u), "more than the limit of 64 MiB", pack);
        row("pack longer than it claims", packedWithClaim(16), "more than it claims", pack);
        row("oversized file", {}, "larger than 64 MiB", "big.veldra"); // sparse: its size is read
        row("named pipe", {}, "not a regular file", "pipe.veldra"); // reading it would wait forever
    }

    void corruptInput()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        const QString path = m_dir->filePath(name);
        if (!bytes.isNull())
            QVERIFY(writeAll(path, bytes));
        if (name == QLatin1String("big.veldra"))
            QVERIFY(writeAll(path, "") && QFile::resize(path, ProjectFormat::MaxFileSize + 1));
        if (name == QLatin1String("pipe.veldra"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        const QStringList before = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden);

        MessageBoxAnswerer answerer;
        SceneDocument document;
        document.setFileName(path);
        QVERIFY(!document.open());
        QCOMPARE(answerer.count(), 1);
        const MessageBoxAnswerer::Box box = answerer.last();
        QCOMPARE(box.title, QStringLiteral("Veldra"));
        QCOMPARE(box.parent.data(), static_cast<QWidget *>(m_fixture.mainWindow()));
        QVERIFY2(box.text.contains(QDir::toNativeSeparators(path)), qPrintable(box.text));
        QVERIFY2(box.text.contains(problem), qPrintable(box.text));
        QCOMPARE(document.project(), Project());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    }

    // Every edit is one undo step that announces what changed; edits the project cannot hold
    // change nothing.
    void undoRedo_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<Expect>("expect"); // null: refused
        const Scene added{"Added", Qt::black, 20, {}};
        TextElement changed{"Changed", QRectF(10.5, -19, 10, 20)};
        changed.entrance = TextElement::Entrance::Zoom;
        TextElement tiny = changed;
        tiny.fontSize = 0;
        const auto row = [](const Edit &edit, const Expect &expect, const char *tag) {
            QTest::newRow(tag) << edit << expect;
        };
        using D = SceneDocument &;
        using P = Project &;
        row([=](D d) { d.addScene(added); }, [=](P p) { p.scenes.append(added); },
            "add scene at the end");
        row([](D d) { d.setSceneProperties(0, Qt::red, 9000); },
            [](P p) { p.scenes[0].background = Qt::red, p.scenes[0].duration = 9000; },
            "scene properties");
        row([=](D d) { d.addElement(1, changed); }, [=](P p) { p.scenes[1].elements << changed; },
            "add element");
        const QPointF to(5, -6);
        row([=](D d) { d.moveElement(0, 2, to); },
            [=](P p) { p.scenes[0].elements[2].geometry.moveTopLeft(to); }, "move element");

        row([](D d) { d.renameScene(0, QString(201, 'n')); }, {}, "name too long");
        row([](D d) { d.setSceneProperties(0, Qt::red, 0); }, {}, "duration 0");
        row([](D d) { d.setSceneProperties(1, QColor(0, 0, 0, 10), 1); }, {}, "same properties");
        row([=](D d) { d.addElement(0, tiny); }, {}, "font size 0");
    }

    void undoRedo()
    {
        QFETCH(Edit, edit);
        QFETCH(Expect, expect);
        std::unique_ptr<SceneDocument> document = openSample();
        QVERIFY(document);
        QSignalSpy changes(document.get(), &IDocument::dataChanged);
        QSignalSpy modified(document.get(), &IDocument::modifyChanged);
        Project expected = sampleProject();
        if (expect)
            expect(expected);

        edit(*document);
        QCOMPARE(document->project(), expected);
        QCOMPARE(document->getUndoStack()->count(), expect ? 1 : 0);
        QCOMPARE(changes.size(), expect ? 1 : 0);
        QCOMPARE(document->isModified(), bool(expect));
        if (!expect)
            return;
        document->getUndoStack()->undo();
        QCOMPARE(document->project(), sampleProject());
        QVERIFY(!document->isModified());
        document->getUndoStack()->redo();
        QCOMPARE(document->project(), expected);
        QCOMPARE(changes.size(), 3);
        QCOMPARE(QList<QVariantList>(modified), QList<QVariantList>({{true}, {false}, {true}}));
        QVERIFY(document->revert());
        QCOMPARE(document->project(), sampleProject());
        QCOMPARE(document->getUndoStack()->count(), 0);
        QVERIFY(!document->isModified());
    }

    void saveAs_data()
    {
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("typed"); // empty: cancel
        QTest::addColumn<QString>("saved");
        const auto row = [](const char *tag, const char *opened, const char *typed,
                            const char *saved) {
            QTest::newRow(tag) << QString(opened) << QString(typed) << QString(saved);
        };
        row("plain to packed", "a.veldra", "b.VeldraPack", "b.VeldraPack");
        row("packed to plain, suffix added", "a.veldrapack", "b.v2", "b.v2.veldra");
        row("cancel", "a.veldra", "", "");
    }

    void saveAs()
    {
        QFETCH(QString, opened);
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        std::unique_ptr<SceneDocument> document = openSample(opened);
        QVERIFY(document);
        QCOMPARE(document->project(), sampleProject());
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
        // Written straight from the model, byte for byte what Qt makes of the JSON objects.
        QFile file(document->getFileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const bool packed = saved.endsWith(QLatin1String("pack"), Qt::CaseInsensitive);
        QCOMPARE(bytes.startsWith('{'), !packed);
        QCOMPARE(packed ? qUncompress(bytes) : bytes,
                 QJsonDocument(ProjectFormat::toJson(document->project())).toJson());
        SceneDocument reopened;
        reopened.setFileName(document->getFileName());
        QVERIFY(reopened.open());
        QCOMPARE(reopened.project(), document->project());
    }

    void dialogValidation_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder"); // relative to the test folder
        QTest::addColumn<QString>("shown");  // part of the line under the fields
        QTest::addColumn<bool>("accepted");  // OK is enabled and accepts
        const auto row = [](const char *tag, const char *name, const char *folder,
                            const char *shown, bool accepted = false) {
            QTest::newRow(tag) << name << folder << shown << accepted;
        };
        row("valid", "My Show", "", "", true);
        row("spaces around the name", "  Show ", "", "", true);
        row("empty name", "   ", "", "Enter a name");
        for (const char *bad : {"a/b", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"})
            row(bad, bad, "", "cannot contain");
        row("missing folders are made", "Show", "missing/deeper", "OK creates it", true);
        row("a file, not a folder", "Show", "file.txt", "is a file");
        row("project exists", "taken", "", "already exists");
    }

    // The dialog starts in an existing folder: the documents folder (made when missing) until a
    // project was made, then the folder of the last one.
    void dialogValidation()
    {
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QFETCH(QString, shown);
        QFETCH(bool, accepted);
        QVERIFY(writeAll(m_dir->filePath("file.txt"), "x"));
        QVERIFY(writeAll(m_dir->filePath("taken.veldra"), "x"));
        const QString documents =
                QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QDir(documents).removeRecursively();
        ICore::settings()->remove("Designer");
        CreateProjectDialog dialog;
        auto *nameEdit = dialog.findChild<QLineEdit *>("nameEdit");
        auto *folderEdit = dialog.findChild<QLineEdit *>("folderEdit");
        const auto *buttons = dialog.findChild<QDialogButtonBox *>();
        QVERIFY(nameEdit && folderEdit && buttons);
        QCOMPARE(folderEdit->text(), documents);
        QVERIFY(QFileInfo(documents).isDir());
        QCOMPARE(QSize(dialog.getParameter1(), dialog.getParameter2()), QSize(1280, 720));
        QCOMPARE(dialog.getParameter3(), 30);

        nameEdit->setText("x"); // every edit of the name, and then of the folder, is checked
        QVERIFY(buttons->button(QDialogButtonBox::Ok)->isEnabled());
        const QString folderPath = QDir::cleanPath(m_dir->filePath(folder));
        nameEdit->setText(name);
        folderEdit->setText(folderPath);
        const QString text = dialog.findChild<QLabel *>("problemLabel")->text();
        QVERIFY2(shown.isEmpty() ? text.isEmpty() : text.contains(shown), qPrintable(text));
        QCOMPARE(buttons->button(QDialogButtonBox::Ok)->isEnabled(), accepted);
        QCOMPARE(dialog.getFileName(),
                 accepted ? QDir(folderPath).filePath(name.trimmed() + ".veldra") : QString());
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Return);
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        QCOMPARE(QFileInfo(folderPath).isDir(), accepted || folder.isEmpty());
        QCOMPARE(CreateProjectDialog().findChild<QLineEdit *>("folderEdit")->text(),
                 accepted ? folderPath : documents);
    }
};

VELDRA_TEST_MAIN(TestScenesDocument)
#include "tst_scenesdocument.moc"
