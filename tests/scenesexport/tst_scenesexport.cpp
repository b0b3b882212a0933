#include "actionmanager.h"
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
    auto result = std::make_shared<QVariant>();
    auto done = std::make_shared<bool>(false);
    view.page()->runJavaScript(script, [result, done](const QVariant &value) {
        *result = value;
        *done = true;
    });
    return QTest::qWaitFor([done] { return *done; }, 5000) ? *result : QVariant();
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

    QTemporaryDir m_tempDir;
    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<ProjectCommands> m_projectCommands;
    std::unique_ptr<HelpCommands> m_helpCommands;
    std::unique_ptr<MessageBoxAnswerer> m_answerer;
    std::unique_ptr<UrlRecorder> m_urls;

private slots:
    void initTestCase()
    {
        QVERIFY(m_tempDir.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_tempDir.path()));
    }

    void init()
    {
        m_fixture = std::make_unique<CoreFixture>();
        m_projectCommands = std::make_unique<ProjectCommands>();
        m_helpCommands = std::make_unique<HelpCommands>();
        m_answerer = std::make_unique<MessageBoxAnswerer>(QMessageBox::Ok);
        m_urls = std::make_unique<UrlRecorder>();
    }

    void cleanup()
    {
        m_fixture->mainWindow()->removeDefaultTempDir();
        m_projectCommands.reset();
        m_helpCommands.reset();
        m_fixture.reset();
        m_urls.reset();
        m_answerer.reset();
        QCoreApplication::setApplicationVersion(QString());
    }

    // The stage fits the window with its aspect ratio kept; elements keep their stage geometry,
    // colours and entrance animations, and no project text runs.
    void layout()
    {
        const QString folder = m_fixture->filePath(QStringLiteral("new/page"));
        QString error;
        QVERIFY(Html5Exporter::exportProject(sampleProject(), folder, &error));
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
                "Array.from(document.querySelector('.scene').querySelectorAll('.element'))"
                ".map(function (e) { var s = getComputedStyle(e); return [s.left, s.top,"
                " s.width, s.height, s.color, s.fontSize, s.animationName,"
                " s.animationDuration].join(' '); })");
        QCOMPARE(evaluate(view, styles).toStringList(),
                 QStringList({"100.5px 80px 600px 120px rgb(255, 255, 255) 48px enter-fade 0.6s",
                              "0px 200px 300px 50px rgb(255, 255, 255) 48px enter-slide-left 0.25s",
                              "10px 300px 300px 50px rgb(255, 255, 255) 48px enter-slide-up 1.5s",
                              "20px 400px 300px 50px rgba(255, 0, 0, 0.5) 48px enter-zoom 0.1s",
                              "30px 500px 900px 50px rgb(255, 255, 255) 48px none 0.6s"}));
        QCOMPARE(evaluate(view, "getComputedStyle(document.querySelector('.scene'))"
                                ".backgroundColor")
                         .toString(),
                 QStringLiteral("rgb(32, 36, 44)"));
        QCOMPARE(evaluate(view, QStringLiteral("typeof window.injected")).toString(), "undefined");
    }

    void preview_data()
    {
        QTest::addColumn<int>("scene");
        QTest::addColumn<QString>("shown"); // in the page, or at the start of the warning box
        QTest::newRow("scene") << 0 << "<title>Intro</title>";
        QTest::newRow("no such scene") << 5 << "The project has no scene 6.";
    }

    void preview()
    {
        QFETCH(int, scene);
        QFETCH(QString, shown);
        const QString tempPath = m_fixture->mainWindow()->getDefaultTempPath();
        QVERIFY(tempPath.startsWith(m_tempDir.path()));
        const bool fails = scene > 0;
        if (fails)
            QTest::ignoreMessage(QtWarningMsg, "Html5Exporter: there is no scene 5 to export");

        QCOMPARE(BrowserPreview::showScene(sampleProject(), scene), !fails);
        QCOMPARE(m_answerer->count(), fails ? 1 : 0);
        QCOMPARE(m_urls->urls().size(), fails ? 0 : 1);
        if (fails) {
            QCOMPARE(m_answerer->last().title, QStringLiteral("Veldra"));
            QCOMPARE(m_answerer->last().parent.data(), m_fixture->mainWindow());
            QVERIFY2(m_answerer->last().text.startsWith(shown),
                     qPrintable(m_answerer->last().text));
            return;
        }
        const QString page = m_urls->urls().first().toLocalFile();
        QVERIFY2(page.startsWith(tempPath + '/') && page.endsWith("/index.html"), qPrintable(page));
        QVERIFY(read(page).contains(shown));
    }

    void exportCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("boxText"); // part of the one box shown: "out" holds another page
        QTest::addColumn<bool>("exported");

        const QString exportId = QStringLiteral("File.Export_To_HTML5");
        const QString previewId = QStringLiteral("File.Preview_Project_In_Browser");
        const QString replace = QStringLiteral("holds a web page that was not exported");
        const int ok = QMessageBox::Ok;
        QTest::newRow("export") << exportId << ok << "" << true;
        QTest::newRow("over another page, kept")
                << exportId << int(QMessageBox::No) << replace << false;
        QTest::newRow("over another page, replaced")
                << exportId << int(QMessageBox::Yes) << replace << true;
        QTest::newRow("preview") << previewId << ok << "" << false;
    }

    void exportCommands()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(QString, boxText);
        QFETCH(bool, exported);
        const bool otherPage = !boxText.isEmpty();
        const QString index = m_fixture->filePath(QStringLiteral("out/index.html"));
        QVERIFY(QDir(m_fixture->path()).mkpath(QStringLiteral("out")));
        QFile page(index);
        QVERIFY(!otherPage || (page.open(QFile::WriteOnly) && page.write("other") > 0));
        page.close();
        SceneDocument document;
        document.setFileName(m_fixture->filePath(QStringLiteral("My Show.veldra")));
        for (const Scene &scene : sampleProject().scenes)
            document.addScene(scene);
        IEditor editor;
        editor.setDocument(&document);
        EditorManager::activateEditor(&editor);
        FileDialogAnswerer dialogs;
        dialogs.enqueue(m_fixture->filePath(QStringLiteral("out")));
        m_answerer->setDefaultAnswer(QMessageBox::StandardButton(answer));

        ActionManager::getAction(command)->getAction()->trigger();
        EditorManager::activateEditor(nullptr);
        QVERIFY(!ActionManager::getAction(command)->getAction()->isEnabled()); // no project

        const bool exporting = command == QLatin1String("File.Export_To_HTML5");
        QCOMPARE(dialogs.count(), exporting ? 1 : 0);
        QCOMPARE(m_answerer->count(), boxText.isEmpty() ? 0 : 1);
        QVERIFY(m_answerer->last().text.contains(boxText));
        QCOMPARE(read(index).contains(QLatin1String("<title>My Show</title>")), exported);
        QCOMPARE(read(index) == QLatin1String("other"), otherPage && !exported);
        const QList<QUrl> opened = m_urls->urls();
        QCOMPARE(opened.size(), !exporting ? 1 : 0);
        QVERIFY(opened.isEmpty() ||
                read(opened.first().toLocalFile()).contains(injection.toHtmlEscaped()));
        if (!exported)
            return;
        auto *bar = m_fixture->mainWindow()->getNotificationBar();
        QVERIFY(bar->findChild<QLabel *>(QStringLiteral("m_pMessageLabel"))
                        ->text()
                        .startsWith(QLatin1String("The project was exported to")));
        bar->findChild<QPushButton *>(QStringLiteral("m_pButton"))->click();
        QCOMPARE(m_urls->urls(), QList<QUrl>{QUrl::fromLocalFile(index)});
    }

    void helpCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("appcastUrl"); // empty: not set
        QTest::addColumn<QString>("boxText");    // part of the one box shown
        const QString check("Help.CheckUpdates");
        QTest::newRow("about") << "Help.About"
                               << ""
                               << "Veldra 2.7.1";
        QTest::newRow("check, no address") << check << ""
                                           << "does not know where to look for updates";
        QTest::newRow("check, not a web address") << check << "ftp://127.0.0.1/appcast.json"
                                                  << "is not an http or https address";
    }

    void helpCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, appcastUrl);
        QFETCH(QString, boxText);
        if (!appcastUrl.isEmpty())
            m_fixture->userSettings()->setValue("Veldra/AppcastUrl", appcastUrl);
        QCoreApplication::setApplicationVersion("2.7.1");
        ActionManager::getAction(command)->getAction()->trigger();
        QTRY_COMPARE(m_answerer->count(), 1);
        QVERIFY2(m_answerer->last().text.contains(boxText), qPrintable(m_answerer->last().text));
    }

    // Commands that open a web address are enabled exactly when the address is set.
    void webAddressCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("address");
        const QString account = QStringLiteral("Veldra/AccountUrl");
        const QString community = QStringLiteral("Veldra/CommunityUrl");
        const QVariant web(QStringLiteral("https://veldra.example.org/"));
        QTest::newRow("community") << "Help.Community" << community << web;
        QTest::newRow("community, none") << "Help.Community" << community << QVariant();
        QTest::newRow("account") << "Help.UserAccount" << account << web;
        QTest::newRow("sign in, not web") << "Help.SignInOut" << account << QVariant("file:///x");
    }

    void webAddressCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, key);
        QFETCH(QVariant, address);
        if (address.isValid())
            m_fixture->userSettings()->setValue(key, address);
        m_helpCommands = std::make_unique<HelpCommands>(); // reads the settings
        const bool enabled = address == QVariant(QStringLiteral("https://veldra.example.org/"));
        const bool account = key.endsWith(QLatin1String("AccountUrl"));

        QAction *action = ActionManager::getAction(command)->getAction();
        QCOMPARE(action->isEnabled(), enabled);
        action->trigger();
        QList<QUrl> expected;
        if (enabled)
            expected.append(address.toUrl());
        if (account) { // the title bar's link goes where the account commands go
            MainWindow *window = m_fixture->mainWindow();
            QCOMPARE(window->getUserAccountLink()->isVisibleTo(window), enabled);
            emit window->userAccountLinkActivated(QString());
            expected += expected;
        }
        QCOMPARE(m_urls->urls(), expected);
    }
};

VELDRA_TEST_MAIN(TestScenesExport)
#include "tst_scenesexport.moc"
