#include "actionmanager.h"
#include "atomicfile.h"
#include "browserpreview.h"
#include "contextaction.h"
#include "editormanager.h"
#include "helpcommands.h"
#include "html5exporter.h"
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

namespace {

using Entrance = TextElement::Entrance;
const QString injection = QStringLiteral("<script>window.injected = true;</script>");

// A stage of 1280 x 720. The first scene has an element of each entrance type, the second one a
// name and a text that need escaping.
Project sampleProject()
{
    const QColor white(Qt::white);
    const QColor background(0x20, 0x24, 0x2c);
    Project project;
    project.scenes = {
            {"Intro",
             background,
             300,
             {{"fade", {100.5, 80, 600, 120}, white, 48, Entrance::Fade, 600},
              {"left", {0, 200, 300, 50}, white, 48, Entrance::SlideLeft, 250},
              {"up", {10, 300, 300, 50}, white, 48, Entrance::SlideUp, 1500},
              {"zoom", {20, 400, 300, 50}, QColor(255, 0, 0, 128), 48, Entrance::Zoom, 100},
              {injection, {30, 500, 900, 50}, white, 48, Entrance::None, 600}}},
            {injection,
             background,
             500,
             {{"A & B <i>%1</i>\n\"2nd\" line", {0, 0, 9, 9}, white, 48, Entrance::Fade, 600}}}};
    return project;
}

QVariant evaluate(QWebEngineView &view, const QString &script)
{
    // Shared: a result that comes after the wait must not write into a finished call.
    auto result = std::make_shared<QVariant>();
    view.page()->runJavaScript(script, [result](const QVariant &value) { *result = value; });
    // Without an answer in time the invalid result fails the caller's comparison.
    if (!QTest::qWaitFor([result] { return result->isValid(); }, 15000))
        qWarning("The page gave no answer to: %s", qPrintable(script));
    return *result;
}

QString read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

// The previews go to the core's temporary folder, under a TMPDIR of the run's own.
class TestScenesExport : public QObject
{
    Q_OBJECT

    struct Env
    {
        CoreFixture fixture;
        ProjectCommands projectCommands;
        MessageBoxAnswerer answerer;
        UrlRecorder urls;
    };
    QTemporaryDir m_tempDir;
    std::unique_ptr<Env> m_env;

private slots:
    void initTestCase()
    {
        QVERIFY(m_tempDir.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_tempDir.path()));
    }

    void init() { m_env = std::make_unique<Env>(); }

    void cleanup()
    {
        m_env->fixture.mainWindow()->removeDefaultTempDir();
        m_env.reset();
        QCoreApplication::setApplicationVersion(QString());
    }

    // The stage fits the window with its aspect ratio kept; elements keep their stage geometry,
    // colours and entrance animations, and no project text runs.
    void layout()
    {
        const QString folder = m_env->fixture.filePath(QStringLiteral("new/page"));
        QVERIFY(Html5Exporter::exportProject(sampleProject(), folder, nullptr));
        QWebEngineView view;
        view.resize(1000, 300); // the height decides
        view.show();
        QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
        view.load(QUrl::fromLocalFile(folder + "/index.html"));
        QVERIFY(loaded.wait(15000) && loaded.first().first().toBool());
        QCOMPARE(evaluate(view, QStringLiteral("var r = document.getElementById('stage')"
                                               ".getBoundingClientRect();"
                                               "[r.x, r.y, r.width, r.height].map(Math.floor)"))
                         .toList(),
                 QVariantList({233, 0, 533, 300}));
        const QString styles = QStringLiteral(
                "[getComputedStyle(document.querySelector('.scene')).backgroundColor,"
                " typeof window.injected].concat(Array.from(document.querySelector('.scene')"
                ".querySelectorAll('.element')).map(function (e) { var s = getComputedStyle(e);"
                " return [s.left, s.top, s.width, s.height, s.color, s.fontSize, s.animationName,"
                " s.animationDuration].join(' '); }))");
        QCOMPARE(evaluate(view, styles).toStringList(),
                 QStringList({"rgb(32, 36, 44)", "undefined",
                              "100.5px 80px 600px 120px rgb(255, 255, 255) 48px enter-fade 0.6s",
                              "0px 200px 300px 50px rgb(255, 255, 255) 48px enter-slide-left 0.25s",
                              "10px 300px 300px 50px rgb(255, 255, 255) 48px enter-slide-up 1.5s",
                              "20px 400px 300px 50px rgba(255, 0, 0, 0.5) 48px enter-zoom 0.1s",
                              "30px 500px 900px 50px rgb(255, 255, 255) 48px none 0.6s"}));
    }

    void preview()
    {
        const QString tempPath = m_env->fixture.mainWindow()->getDefaultTempPath();
        QVERIFY(tempPath.startsWith(m_tempDir.path()));
        QVERIFY(BrowserPreview::showScene(sampleProject(), 0));
        QCOMPARE(m_env->urls.urls().size(), 1);
        const QString page = m_env->urls.urls().first().toLocalFile();
        QVERIFY2(page.startsWith(tempPath + '/') && page.endsWith("/index.html"), qPrintable(page));
        QVERIFY(read(page).contains("<title>Intro</title>"));

        QTest::ignoreMessage(QtWarningMsg, "Html5Exporter: there is no scene 5 to export");
        QVERIFY(!BrowserPreview::showScene(sampleProject(), 5));
        QCOMPARE(m_env->urls.urls().size(), 1);
        QCOMPARE(m_env->answerer.count(), 1);
        QCOMPARE(m_env->answerer.last().title, QStringLiteral("Veldra"));
        QCOMPARE(m_env->answerer.last().parent.data(), m_env->fixture.mainWindow());
        QVERIFY2(m_env->answerer.last().text.startsWith("The project has no scene 6."),
                 qPrintable(m_env->answerer.last().text));
    }

    void exportCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("boxText"); // part of the one box shown: "out" holds another page
        QTest::addColumn<bool>("exported");
        const auto row = [](const char *tag, const char *command, int answer, const char *text,
                            bool exported) {
            QTest::newRow(tag) << QString(command) << answer << QString(text) << exported;
        };
        const char *exportId = "File.Export_To_HTML5";
        const char *replace = "holds a web page that was not exported";
        row("export", exportId, QMessageBox::Ok, "", true);
        row("over another page, kept", exportId, QMessageBox::No, replace, false);
        row("over another page, replaced", exportId, QMessageBox::Yes, replace, true);
        row("preview", "File.Preview_Project_In_Browser", QMessageBox::Ok, "", false);
    }

    void exportCommands()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(QString, boxText);
        QFETCH(bool, exported);
        const bool otherPage = !boxText.isEmpty();
        const QString index = m_env->fixture.filePath(QStringLiteral("out/index.html"));
        QVERIFY(QDir(m_env->fixture.path()).mkpath(QStringLiteral("out")));
        QVERIFY(!otherPage || AtomicFile::write(index, "other", nullptr));
        SceneDocument document;
        document.setFileName(m_env->fixture.filePath(QStringLiteral("My Show.veldra")));
        for (const Scene &scene : sampleProject().scenes)
            document.addScene(scene);
        IEditor editor;
        editor.setDocument(&document);
        EditorManager::activateEditor(&editor);
        FileDialogAnswerer dialogs;
        dialogs.enqueue(m_env->fixture.filePath(QStringLiteral("out")));
        m_env->answerer.setDefaultAnswer(QMessageBox::StandardButton(answer));

        ActionManager::getAction(command)->getAction()->trigger();
        EditorManager::activateEditor(nullptr);
        QVERIFY(!ActionManager::getAction(command)->getAction()->isEnabled()); // no project

        const bool exporting = command == QLatin1String("File.Export_To_HTML5");
        QCOMPARE(dialogs.count(), exporting ? 1 : 0);
        QCOMPARE(m_env->answerer.count(), boxText.isEmpty() ? 0 : 1);
        QVERIFY(m_env->answerer.last().text.contains(boxText));
        QCOMPARE(read(index).contains(QLatin1String("<title>My Show</title>")), exported);
        QCOMPARE(read(index) == QLatin1String("other"), otherPage && !exported);
        const QList<QUrl> opened = m_env->urls.urls();
        QCOMPARE(opened.size(), !exporting ? 1 : 0);
        QVERIFY(opened.isEmpty() ||
                read(opened.first().toLocalFile()).contains(injection.toHtmlEscaped()));
        if (!exported)
            return;
        auto *bar = m_env->fixture.mainWindow()->getNotificationBar();
        QVERIFY(bar->findChild<QLabel *>(QStringLiteral("m_pMessageLabel"))
                        ->text()
                        .startsWith(QLatin1String("The project was exported to")));
        bar->findChild<QPushButton *>(QStringLiteral("m_pButton"))->click();
        QCOMPARE(m_env->urls.urls(), QList<QUrl>{QUrl::fromLocalFile(index)});
    }

    // Commands that open a web address are enabled exactly when the address is set; the title
    // bar's link goes where the account commands go.
    void helpCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("address"); // empty: not set
        QTest::addColumn<QString>("opened");  // empty: nothing
        QTest::addColumn<QString>("boxText"); // part of the one box shown; empty: none
        const auto row = [](const char *tag, const char *command, const char *key,
                            const char *address, const char *opened, const char *boxText = "") {
            QTest::newRow(tag) << QString(command) << QString(key) << QString(address)
                               << QString(opened) << QString(boxText);
        };
        const char *web = "https://veldra.example.org/";
        row("about", "Help.About", "", "", "", "Veldra 2.7.1");
        row("check, no address", "Help.CheckUpdates", "", "", "",
            "does not know where to look for updates");
        row("check, not a web address", "Help.CheckUpdates", "Veldra/AppcastUrl",
            "ftp://127.0.0.1/appcast.json", "", "is not an http or https address");
        row("community", "Help.Community", "Veldra/CommunityUrl", web, web);
        row("community, none", "Help.Community", "Veldra/CommunityUrl", "", "");
        row("account", "Help.UserAccount", "Veldra/AccountUrl", web, web);
        row("sign in, not web", "Help.SignInOut", "Veldra/AccountUrl", "file:///x", "");
    }

    void helpCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, key);
        QFETCH(QString, address);
        QFETCH(QString, opened);
        QFETCH(QString, boxText);
        if (!address.isEmpty())
            m_env->fixture.userSettings()->setValue(key, address);
        QCoreApplication::setApplicationVersion("2.7.1");
        HelpCommands helpCommands; // reads the settings

        QAction *action = ActionManager::getAction(command)->getAction();
        QCOMPARE(action->isEnabled(), !opened.isEmpty() || !boxText.isEmpty());
        action->trigger();
        QTRY_COMPARE(m_env->answerer.count(), boxText.isEmpty() ? 0 : 1);
        QVERIFY2(m_env->answerer.last().text.contains(boxText),
                 qPrintable(m_env->answerer.last().text));
        QList<QUrl> expected;
        if (!opened.isEmpty())
            expected.append(QUrl(opened));
        if (key.endsWith(QLatin1String("AccountUrl"))) {
            MainWindow *window = m_env->fixture.mainWindow();
            QCOMPARE(window->getUserAccountLink()->isVisibleTo(window), !opened.isEmpty());
            emit window->userAccountLinkActivated(QString());
            expected += expected;
        }
        QCOMPARE(m_env->urls.urls(), expected);
    }
};

VELDRA_TEST_MAIN(TestScenesExport)
#include "tst_scenesexport.moc"
