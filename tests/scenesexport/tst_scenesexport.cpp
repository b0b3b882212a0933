#include "actionmanager.h"
#include "browserpreview.h"
#include "contextaction.h"
#include "editormanager.h"
#include "html5exporter.h"
#include "ieditor.h"
#include "mainwindow.h"
#include "projectcommands.h"
#include "scenedocument.h"

#include "corefixture.h"
#include "filedialoganswerer.h"
#include "messageboxanswerer.h"
#include "testmain.h"
#include "urlrecorder.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

/*
 * The HTML5 export opened in a real web view, the browser previews and the export and preview
 * commands. Every run works in a temporary folder of its own (TMPDIR), so the core's temporary
 * folder, where previews go, is not shared with anything else.
 */
class TestScenesExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void playsScenes_data();
    void playsScenes();
    void layout_data();
    void layout();
    void folderHoldsOnlyThePage();
    void writeFailures_data();
    void writeFailures();
    void preview_data();
    void preview();
    void commands_data();
    void commands();

private:
    QTemporaryDir m_tempDir;
    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<MessageBoxAnswerer> m_answerer;
    std::unique_ptr<UrlRecorder> m_urls;
};

namespace {

const QString injection = QStringLiteral("<script>window.injected = true;</script>");

TextElement text(const QString &content, const QRectF &geometry,
                 TextElement::Entrance entrance = TextElement::Entrance::Fade,
                 int entranceDuration = 600, const QColor &color = Qt::white)
{
    TextElement element;
    element.text = content;
    element.geometry = geometry;
    element.entrance = entrance;
    element.entranceDuration = entranceDuration;
    element.color = color;
    return element;
}

Scene scene(const QString &name, const QList<TextElement> &elements)
{
    Scene result;
    result.name = name;
    result.duration = 400;
    result.elements = elements;
    return result;
}

// Two short scenes whose texts and names need escaping.
Project sampleProject()
{
    Project project;
    project.scenes = {scene(QStringLiteral("Intro"),
                            {text(QStringLiteral("Hello"), {100, 80, 600, 120}),
                             text(injection, {100, 300, 900, 100}, TextElement::Entrance::None)}),
                      scene(injection, {text(QStringLiteral("A & B <i>%1</i>\n\"second\" line"),
                                             {40, 40, 800, 200}, TextElement::Entrance::Zoom)})};
    return project;
}

// One scene with an element of each entrance type, in a stage of 1280 x 720.
Project entranceProject()
{
    using E = TextElement::Entrance;
    Scene shown = scene(
            QStringLiteral("Entrances"),
            {text(QStringLiteral("fade"), {100.5, 80, 600, 120}, E::Fade, 600),
             text(QStringLiteral("left"), {0, 200, 300, 50}, E::SlideLeft, 250),
             text(QStringLiteral("up"), {10, 300, 300, 50}, E::SlideUp, 1500),
             text(QStringLiteral("zoom"), {20, 400, 300, 50}, E::Zoom, 100, QColor(255, 0, 0, 128)),
             text(QStringLiteral("none"), {30, 500, 300, 50}, E::None, 600)});
    shown.background = QColor(0x20, 0x24, 0x2c);
    shown.duration = 60000;
    Project project;
    project.scenes = {shown};
    return project;
}

QVariant evaluate(QWebEngineView &view, const QString &script)
{
    auto result = std::make_shared<QVariant>();
    auto done = std::make_shared<bool>(false);
    view.page()->runJavaScript(script, [result, done](const QVariant &value) {
        *result = value;
        *done = true;
    });
    return QTest::qWaitFor([done] { return *done; }, 5000) ? *result : QVariant();
}

bool load(QWebEngineView &view, const QString &folder, const QSize &size = QSize(640, 480))
{
    view.resize(size);
    view.show();
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.load(QUrl::fromLocalFile(QDir(folder).filePath(QStringLiteral("index.html"))));
    return loaded.wait(15000) && loaded.first().first().toBool();
}

QString read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

void TestScenesExport::initTestCase()
{
    QVERIFY(m_tempDir.isValid());
    qputenv("TMPDIR", QFile::encodeName(m_tempDir.path()));
}

void TestScenesExport::init()
{
    m_fixture = std::make_unique<CoreFixture>();
    m_answerer = std::make_unique<MessageBoxAnswerer>(QMessageBox::Ok);
    m_urls = std::make_unique<UrlRecorder>();
}

void TestScenesExport::cleanup()
{
    m_fixture->mainWindow()->removeDefaultTempDir();
    m_fixture.reset();
    m_urls.reset();
    m_answerer.reset();
}

void TestScenesExport::playsScenes_data()
{
    QTest::addColumn<int>("exported"); // -1: the whole project
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("shownInTurn");

    const Project project = sampleProject();
    const QString first = QStringLiteral("Hello\n") + injection;
    const QString second = project.scenes.at(1).elements.first().text;
    QTest::newRow("project") << -1 << "Veldra" << QStringList{first, second};
    QTest::newRow("second scene") << 1 << injection << QStringList{second};
}

// Each scene is shown alone, all scenes come in turn, and no project text runs as script.
void TestScenesExport::playsScenes()
{
    QFETCH(int, exported);
    QFETCH(QString, title);
    QFETCH(QStringList, shownInTurn);
    const QString folder = m_fixture->filePath(QStringLiteral("page"));
    QString error;
    QVERIFY(exported < 0 ? Html5Exporter::exportProject(sampleProject(), folder, &error)
                         : Html5Exporter::exportScene(sampleProject(), exported, folder, &error));
    QVERIFY(error.isEmpty());

    QWebEngineView view;
    QVERIFY(load(view, folder));
    const QString shown = QStringLiteral("document.getElementById('stage').innerText");
    for (int round = 0; round < 2; ++round) {
        for (const QString &texts : shownInTurn)
            QTRY_COMPARE_WITH_TIMEOUT(evaluate(view, shown).toString(), texts, 5000);
    }
    QCOMPARE(evaluate(view, QStringLiteral("typeof window.injected")).toString(),
             QStringLiteral("undefined"));
    QCOMPARE(evaluate(view, QStringLiteral("document.title")).toString(), title);
    const QString all = QStringLiteral("document.getElementById('stage').textContent");
    QCOMPARE(evaluate(view, all).toString().contains(QStringLiteral("Hello")), exported != 1);
}

void TestScenesExport::layout_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QRectF>("stage");
    QTest::newRow("width decides") << QSize(640, 480) << QRectF(0, 60, 640, 360);
    QTest::newRow("height decides") << QSize(1000, 300) << QRectF(700 / 3.0, 0, 1600 / 3.0, 300);
}

// The stage is scaled to fit the window; the elements keep their stage geometry, colours and
// entrance animations.
void TestScenesExport::layout()
{
    QFETCH(QSize, window);
    QFETCH(QRectF, stage);
    const QString folder = m_fixture->filePath(QStringLiteral("page"));
    QString error;
    QVERIFY(Html5Exporter::exportProject(entranceProject(), folder, &error));
    QWebEngineView view;
    QVERIFY(load(view, folder, window));

    const QVariantList stageBox =
            evaluate(view,
                     QStringLiteral("var r = document.getElementById('stage')"
                                    ".getBoundingClientRect(); [r.x, r.y, r.width, r.height]"))
                    .toList();
    QCOMPARE(stageBox.size(), 4);
    const QRectF shownStage(stageBox[0].toDouble(), stageBox[1].toDouble(), stageBox[2].toDouble(),
                            stageBox[3].toDouble());
    QVERIFY2(qAbs(shownStage.x() - stage.x()) < 1 && qAbs(shownStage.y() - stage.y()) < 1 &&
                     qAbs(shownStage.width() - stage.width()) < 1 &&
                     qAbs(shownStage.height() - stage.height()) < 1,
             qPrintable(QStringLiteral("%1 %2 %3 %4")
                                .arg(shownStage.x())
                                .arg(shownStage.y())
                                .arg(shownStage.width())
                                .arg(shownStage.height())));

    const QString styles = QStringLiteral(
            "Array.from(document.querySelectorAll('.scene.active .element')).map(function (e) {"
            " var s = getComputedStyle(e); return [s.left, s.top, s.width, s.height, s.color,"
            " s.fontSize, s.animationName, s.animationDuration].join(' '); })");
    QCOMPARE(evaluate(view, styles).toStringList(),
             QStringList({"100.5px 80px 600px 120px rgb(255, 255, 255) 48px enter-fade 0.6s",
                          "0px 200px 300px 50px rgb(255, 255, 255) 48px enter-slide-left 0.25s",
                          "10px 300px 300px 50px rgb(255, 255, 255) 48px enter-slide-up 1.5s",
                          "20px 400px 300px 50px rgba(255, 0, 0, 0.5) 48px enter-zoom 0.1s",
                          "30px 500px 300px 50px rgb(255, 255, 255) 48px none 0.6s"}));
    const QString background =
            QStringLiteral("getComputedStyle(document.querySelector('.scene.active'))"
                           ".backgroundColor");
    QCOMPARE(evaluate(view, background).toString(), QStringLiteral("rgb(32, 36, 44)"));
}

// A folder that does not exist yet is created; it then holds the page and its style sheet, and
// neither refers to anything outside it.
void TestScenesExport::folderHoldsOnlyThePage()
{
    const QString folder = m_fixture->filePath(QStringLiteral("new/nested"));
    QString error;
    QVERIFY(Html5Exporter::exportProject(sampleProject(), folder, &error));
    const QDir dir(folder);
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList({"index.html", "style.css"}));
    for (const QString &name : dir.entryList(QDir::Files)) {
        const QString content = read(dir.filePath(name));
        for (const char *reference : {"http:", "https:", "url(", "@import", " src="})
            QVERIFY2(!content.contains(QLatin1String(reference)), reference);
    }
    QVERIFY(!Html5Exporter::holdsOtherPage(folder));
}

void TestScenesExport::writeFailures_data()
{
    QTest::addColumn<QString>("folder"); // inside the fixture's folder; "" for none
    QTest::addColumn<int>("exported");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("warning");

    QTest::newRow("folder below a file")
            << "file/page" << -1 << "Cannot create the folder" << QString();
    QTest::newRow("index.html is a folder") << "blocked" << -1 << "Cannot write" << QString();
    QTest::newRow("no folder") << "" << -1 << "No folder was given"
                               << "Html5Exporter: no folder to export to";
    QTest::newRow("no such scene") << "page" << 2 << "The project has no scene 3."
                                   << "Html5Exporter: there is no scene 2 to export";
    QTest::newRow("negative scene") << "page" << -2 << "The project has no scene -1."
                                    << "Html5Exporter: there is no scene -2 to export";
}

void TestScenesExport::writeFailures()
{
    QFETCH(QString, folder);
    QFETCH(int, exported);
    QFETCH(QString, error);
    QFETCH(QString, warning);
    m_fixture->touch(QStringLiteral("file"));
    QVERIFY(QDir(m_fixture->path()).mkpath(QStringLiteral("blocked/index.html")));
    if (!folder.isEmpty())
        folder = m_fixture->filePath(folder);
    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));

    QString shown;
    QVERIFY(exported == -1
                    ? !Html5Exporter::exportProject(sampleProject(), folder, &shown)
                    : !Html5Exporter::exportScene(sampleProject(), exported, folder, &shown));
    QVERIFY2(shown.startsWith(error), qPrintable(shown));
}

void TestScenesExport::preview_data()
{
    QTest::addColumn<int>("previewed"); // -1: the whole project
    QTest::addColumn<bool>("blocked");  // a file stands where the previews go
    QTest::addColumn<QString>("pageText");
    QTest::addColumn<QString>("warning"); // the start of the box's text, or "" for no box

    QTest::newRow("project") << -1 << false << "<title>Veldra</title>" << QString();
    QTest::newRow("scene") << 0 << false << "<title>Intro</title>" << QString();
    QTest::newRow("unwritable") << -1 << true << QString() << "Cannot create the folder";
    QTest::newRow("no such scene") << 5 << false << QString() << "The project has no scene 6.";
}

void TestScenesExport::preview()
{
    QFETCH(int, previewed);
    QFETCH(bool, blocked);
    QFETCH(QString, pageText);
    QFETCH(QString, warning);
    const QString tempPath = m_fixture->mainWindow()->getDefaultTempPath();
    QVERIFY(tempPath.startsWith(m_tempDir.path()));
    if (blocked)
        QVERIFY(QFile(QDir(tempPath).filePath(QStringLiteral("preview"))).open(QFile::WriteOnly));
    if (previewed > 0)
        QTest::ignoreMessage(QtWarningMsg, "Html5Exporter: there is no scene 5 to export");

    const bool shown = previewed < 0 ? BrowserPreview::showProject(sampleProject())
                                     : BrowserPreview::showScene(sampleProject(), previewed);

    QCOMPARE(shown, warning.isEmpty());
    if (!shown) {
        QCOMPARE(m_urls->urls().size(), 0);
        QCOMPARE(m_answerer->count(), 1);
        QCOMPARE(m_answerer->last().title, QStringLiteral("Veldra"));
        QCOMPARE(m_answerer->last().parent.data(), m_fixture->mainWindow());
        QVERIFY2(m_answerer->last().text.startsWith(warning), qPrintable(m_answerer->last().text));
        return;
    }
    QCOMPARE(m_answerer->count(), 0);
    QCOMPARE(m_urls->urls().size(), 1);
    const QUrl url = m_urls->urls().first();
    QVERIFY(url.isLocalFile());
    QVERIFY2(url.toLocalFile().startsWith(tempPath + QLatin1Char('/')), qPrintable(url.toString()));
    QVERIFY(read(url.toLocalFile()).contains(pageText));
}

void TestScenesExport::commands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("withProject");
    QTest::addColumn<QString>("existingPage"); // the index.html already in the chosen folder
    QTest::addColumn<QString>("chosenFolder"); // for the export; "" cancels the folder dialog
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("boxText"); // the start of the one box shown, if any
    QTest::addColumn<bool>("exported");

    const QString exportId = QStringLiteral("File.Export_To_HTML5");
    const QString previewId = QStringLiteral("File.Preview_Project_In_Browser");
    const QString openFirst = QStringLiteral("Open or create a project first.");
    const QString otherPage = QStringLiteral("someone's page");
    const QString replace = QStringLiteral("holds a web page that was not exported");
    const int ok = QMessageBox::Ok;

    QTest::newRow("export, no project") << exportId << false << ""
                                        << "out" << ok << openFirst << false;
    QTest::newRow("preview, no project") << previewId << false << ""
                                         << "" << ok << openFirst << false;
    QTest::newRow("export") << exportId << true << ""
                            << "out" << ok << "" << true;
    QTest::newRow("export, cancelled") << exportId << true << ""
                                       << "" << ok << "" << false;
    QTest::newRow("export over another page, kept")
            << exportId << true << otherPage << "out" << int(QMessageBox::No) << replace << false;
    QTest::newRow("export over another page, replaced")
            << exportId << true << otherPage << "out" << int(QMessageBox::Yes) << replace << true;
    QTest::newRow("preview") << previewId << true << ""
                             << "" << ok << "" << false;
}

void TestScenesExport::commands()
{
    QFETCH(QString, command);
    QFETCH(bool, withProject);
    QFETCH(QString, existingPage);
    QFETCH(QString, chosenFolder);
    QFETCH(int, answer);
    QFETCH(QString, boxText);
    QFETCH(bool, exported);
    const QString folder = m_fixture->filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(folder));
    const QString index = QDir(folder).filePath(QStringLiteral("index.html"));
    if (!existingPage.isEmpty()) {
        QFile page(index);
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write(existingPage.toUtf8());
    }
    ProjectCommands commands;
    SceneDocument document;
    document.setFileName(m_fixture->filePath(QStringLiteral("My Show.veldra")));
    for (const Scene &shown : sampleProject().scenes)
        document.addScene(shown);
    IEditor editor;
    editor.setDocument(&document);
    if (withProject)
        EditorManager::activateEditor(&editor);
    FileDialogAnswerer folderDialog;
    folderDialog.enqueue(chosenFolder.isEmpty() ? QString() : m_fixture->filePath(chosenFolder));
    m_answerer->setDefaultAnswer(QMessageBox::StandardButton(answer));

    ActionManager::getAction(command)->getAction()->trigger();
    EditorManager::activateEditor(nullptr);

    const bool exporting = command == QLatin1String("File.Export_To_HTML5");
    QCOMPARE(folderDialog.count(), exporting && withProject ? 1 : 0);
    QCOMPARE(m_answerer->count(), boxText.isEmpty() ? 0 : 1);
    if (!boxText.isEmpty())
        QVERIFY2(m_answerer->last().text.contains(boxText), qPrintable(m_answerer->last().text));
    const QString page = read(index);
    QCOMPARE(page.contains(QLatin1String("<title>My Show</title>")), exported);
    if (!existingPage.isEmpty())
        QCOMPARE(page.contains(existingPage), !exported);
    if (exporting || !withProject) {
        QCOMPARE(m_urls->urls().size(), 0);
    } else {
        QCOMPARE(m_urls->urls().size(), 1);
        QVERIFY(read(m_urls->urls().first().toLocalFile()).contains(QLatin1String("Hello")));
    }
    if (!exported)
        return;
    QVERIFY(page.contains(QLatin1String("Hello")));
    auto *bar = m_fixture->mainWindow()->getNotificationBar();
    QVERIFY(bar->findChild<QLabel *>(QStringLiteral("m_pMessageLabel"))
                    ->text()
                    .startsWith(QLatin1String("The project was exported to")));
    bar->findChild<QPushButton *>(QStringLiteral("m_pButton"))->click();
    QCOMPARE(m_urls->urls(), QList<QUrl>{QUrl::fromLocalFile(index)});
}

VELDRA_TEST_MAIN(TestScenesExport)
#include "tst_scenesexport.moc"
