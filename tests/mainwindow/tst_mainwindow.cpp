#include "actioncontainer.h"
#include "actionmanager.h"
#include "contextaction.h"
#include "contextmanager.h"
#include "documentmanager.h"
#include "editormanager.h"
#include "icore.h"
#include "imainmdiarea.h"
#include "irecentfilesmanager.h"
#include "ishadowborderframe.h"
#include "mainwindow.h"

#include "corefixture.h"
#include "messageboxanswerer.h"
#include "settingsondisk.h"
#include "testdocumentfactory.h"
#include "testmain.h"

#include <extensionsystem/pluginmanager.h>

#include <QLineEdit>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QUndoGroup>
#include <QUndoStack>

#include <memory>
#include <sys/stat.h>

using ExtensionSystem::PluginManager;

namespace {

// The number of shadow frames the window has, and how many of them are visible.
QPair<int, int> shadowFrames(MainWindow *window)
{
    const QList<IShadowBorderFrame *> frames = window->findChildren<IShadowBorderFrame *>();
    return {frames.size(), int(std::count_if(frames.begin(), frames.end(),
                                             [](QWidget *frame) { return frame->isVisible(); }))};
}

QStringList openFileNames()
{
    QStringList names;
    for (IDocument *document : DocumentManager::getDocuments())
        names << QFileInfo(document->getFileName()).fileName();
    return names;
}

QStringList recentFiles()
{
    return IRecentFilesManager::getInstance()->getRecentFiles();
}

QAction *command(const QString &id)
{
    return ActionManager::getAction(id)->getAction();
}

QMenu *saveAsMenu()
{
    return ActionManager::getActionContainer(QStringLiteral("File.SaveAs"))->getMenu();
}

QString recentSlotId(int slot)
{
    return QStringLiteral("File.Recent_Projects.Project_") + QString::number(slot);
}

struct DropRow
{
    int type;
    QStringList files;
    bool consumed, accepted;
    QStringList opened;
};

struct NewRow
{
    bool accept;
    QString fileName;
    bool failCreate;
    QStringList calls;
};

struct SuffixRow
{
    QString fileName;
    QStringList firstSuffixes, secondSuffixes;
    int chosen; // index of the factory that opens the file, -1 for none
};

struct SaveRow
{
    QString commandId; // empty: only the undo group changes
    QString kind;      // "temporary", "backup" or "saved"
    bool modified, succeeds, saveEnabled;
    QStringList recent;
};

} // namespace

Q_DECLARE_METATYPE(DropRow)
Q_DECLARE_METATYPE(NewRow)
Q_DECLARE_METATYPE(SuffixRow)
Q_DECLARE_METATYPE(SaveRow)

class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<CoreFixture> m_fixture;
    QList<TestDocumentFactory *> m_factories;
    QByteArray m_savedTmpDir;

    MainWindow *window() const { return m_fixture->mainWindow(); }

    TestDocumentFactory *addFactory(const QStringList &suffixes = {"veldra", "veldrapack"})
    {
        m_factories.append(new TestDocumentFactory(suffixes));
        PluginManager::addObject(m_factories.last());
        return m_factories.last();
    }

    TestDocument *openProject(const QString &name, TestDocumentFactory *factory)
    {
        return window()->loadFile(m_fixture->touch(name)) ? factory->lastDocument() : nullptr;
    }

private slots:
    void init()
    {
        m_fixture = std::make_unique<CoreFixture>();
        // The window's temporary folder lives in the system's; keep it inside the fixture.
        m_savedTmpDir = qgetenv("TMPDIR");
        QVERIFY(QDir().mkpath(m_fixture->filePath(QStringLiteral("tmp"))));
        qputenv("TMPDIR", QFile::encodeName(m_fixture->filePath(QStringLiteral("tmp"))));
    }

    void cleanup()
    {
        m_fixture->destroyMainWindow();
        // Projects still open when a test ends belong to the test.
        for (TestDocumentFactory *factory : qAsConst(m_factories)) {
            qDeleteAll(factory->editors());
            qDeleteAll(factory->documents());
            PluginManager::removeObject(factory);
            delete factory;
        }
        m_factories.clear();
        m_fixture.reset();
        qputenv("TMPDIR", m_savedTmpDir);
    }

    void firstRun_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("firstRun");
        QTest::newRow("empty store") << QString() << true;
        QTest::newRow("Designer group") << "Designer/Width" << false;
        QTest::newRow("other case") << "dESIGNER/Width" << false;
        QTest::newRow("Designer as a plain key") << "Designer" << true;
        QTest::newRow("no store") << "-" << true;
    }

    void firstRun()
    {
        QFETCH(QString, key);
        QFETCH(bool, firstRun);
        if (key == "-")
            PluginManager::setSettings(nullptr);
        else if (!key.isEmpty())
            m_fixture->userSettings()->setValue(key, 1);
        QCOMPARE(window()->IsFirstRun(), firstRun);
        window()->extensionsInitialized();
        PluginManager::setSettings(m_fixture->userSettings());
        QVERIFY(window()->isVisible());
        QTRY_COMPARE(window()->isMaximized(), firstRun);
    }

    void shadowFramesFollowWindowState_data()
    {
        QTest::addColumn<QList<Qt::WindowState>>("states");
        QTest::addColumn<bool>("framesVisible");
        QTest::newRow("normal") << QList<Qt::WindowState>{Qt::WindowNoState} << true;
        QTest::newRow("maximised") << QList<Qt::WindowState>{Qt::WindowMaximized} << false;
        QTest::newRow("full screen") << QList<Qt::WindowState>{Qt::WindowFullScreen} << false;
        QTest::newRow("restored") << QList<Qt::WindowState>{Qt::WindowMaximized, Qt::WindowNoState}
                                  << true;
    }

    void shadowFramesFollowWindowState()
    {
        QFETCH(QList<Qt::WindowState>, states);
        QFETCH(bool, framesVisible);
        m_fixture->userSettings()->setValue(QStringLiteral("Designer/Width"), 1);
        QCOMPARE(shadowFrames(window()).first, 0);
        window()->extensionsInitialized();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        for (Qt::WindowState state : states) {
            window()->setWindowState(state);
            QTRY_COMPARE(window()->windowState(), Qt::WindowStates(state));
        }
        // Without a window manager nothing resizes the window; stand in for that resize.
        window()->updateShadowBorderFrame(true);
        QCOMPARE(shadowFrames(window()), qMakePair(4, framesVisible ? 4 : 0));
    }

    void screenFillingWindowIsShortenedOnce_data()
    {
        QTest::addColumn<Qt::WindowState>("state");
        QTest::newRow("normal") << Qt::WindowNoState;
        QTest::newRow("maximised") << Qt::WindowMaximized; // the window manager's to size
    }

    void screenFillingWindowIsShortenedOnce()
    {
        QFETCH(Qt::WindowState, state);
        m_fixture->userSettings()->setValue(QStringLiteral("Designer/Width"), 1);
        window()->extensionsInitialized();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        const QRect screen = window()->screen()->availableGeometry();
        window()->setGeometry(screen.adjusted(0, 0, 0, -20));
        window()->setWindowState(state);
        window()->setGeometry(screen); // under no window manager nothing else fills the screen
        window()->setWindowState(state);
        const QSize shortened(screen.width(), screen.height() - int(state == Qt::WindowNoState));
        QTRY_COMPARE(window()->size(), shortened);
        // A window manager that puts the full size back has the last word: no tug of war.
        window()->resize(screen.size());
        QTest::qWait(100);
        QCOMPARE(window()->size(), screen.size());
        QCOMPARE(window()->windowState(), Qt::WindowStates(state));
    }

    void focusChangesCommandContext_data()
    {
        // Where the focus goes; only another registered context changes the command context.
        QTest::addColumn<QString>("now");
        for (const char *now : {"menu", "menu bar", "empty", "other"})
            QTest::newRow(now) << now;
    }

    void focusChangesCommandContext()
    {
        QFETCH(QString, now);
        // Each line edit is its own context, except "plain" (global); "empty" has an empty id.
        QMap<QString, QWidget *> widgets;
        auto *panel = new QWidget(window());
        for (const QString &name : QStringList{"current", "other", "empty", "plain"})
            widgets[name] = new QLineEdit(panel);
        widgets["menu"] = new QMenu(window());
        widgets["menu bar"] = new QMenuBar(panel);
        widgets["global"] = window();
        ContextManager::registerContext(widgets["current"], "Test.Current", "Current");
        ContextManager::registerContext(widgets["other"], "Test.Other", "Other");
        ContextManager::registerContext(widgets["empty"], QString(), "Empty");
        QObject receiver;
        QString triggered;
        for (const QString &name : QStringList{"current", "other", "global"}) {
            auto *action = new QAction(name, widgets[name]);
            connect(action, &QAction::triggered, &receiver,
                    [&triggered, name] { triggered = name; });
            ActionManager::registerAction(action, QStringLiteral("Test.Probe"), widgets[name]);
        }
        // The window looks up the application's focus widget, whatever "now" is.
        QWidget *focus = now.startsWith("menu") ? widgets["plain"] : widgets[now];
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        QApplication::setActiveWindow(window());
        focus->setFocus();
        QTRY_VERIFY(focus->hasFocus());
        ActionManager::setContext(widgets["current"]);
        QVERIFY(QMetaObject::invokeMethod(window(), "updateFocusWidget", Q_ARG(QWidget *, nullptr),
                                          Q_ARG(QWidget *, widgets[now])));
        command(QStringLiteral("Test.Probe"))->trigger();
        QCOMPARE(triggered, now == "other" ? "other" : "current");
    }

    void drops_data()
    {
        QTest::addColumn<DropRow>("row");
        const int drop = QEvent::Drop;
        QTest::newRow("drag enter") << DropRow{QEvent::DragEnter, {"a.veldra"}, true, true, {}};
        QTest::newRow("drag leave") << DropRow{QEvent::DragLeave, {}, false, true, {}};
        QTest::newRow("two project files")
                << DropRow{drop, {"a.veldra", "b.veldrapack"}, true, true, {"a.veldra"}};
        QTest::newRow("capital suffix") << DropRow{drop, {"C.VELDRA"}, true, true, {"C.VELDRA"}};
        QTest::newRow("text file") << DropRow{drop, {"notes.txt"}, true, false, {}};
        QTest::newRow("no urls") << DropRow{drop, {}, false, false, {}};
    }

    void drops()
    {
        QFETCH(DropRow, row);
        const auto &[type, files, consumed, accepted, opened] = row;
        // The factory would open text files too: only the window's suffix check keeps them out.
        addFactory({QStringLiteral("veldra"), QStringLiteral("veldrapack"), QStringLiteral("txt")});
        MessageBoxAnswerer answerer;
        QList<QUrl> urls;
        for (const QString &name : qAsConst(files))
            urls << QUrl::fromLocalFile(m_fixture->touch(name));
        QMimeData mimeData;
        mimeData.setUrls(urls);
        QDragEnterEvent enter({5, 5}, Qt::CopyAction, &mimeData, Qt::LeftButton, {});
        QDropEvent drop({5, 5}, Qt::CopyAction, &mimeData, Qt::LeftButton, {});
        QDragLeaveEvent leave;
        QEvent *event = QHash<int, QEvent *>{{QEvent::DragEnter, &enter},
                                             {QEvent::DragLeave, &leave},
                                             {QEvent::Drop, &drop}}[type];
        event->ignore();
        QCOMPARE(static_cast<QObject *>(window())->eventFilter(window()->getMdiArea(), event),
                 consumed);
        QCOMPARE(event->isAccepted(), accepted);
        QCOMPARE(openFileNames(), opened);
        QCOMPARE(answerer.count(), 0);
    }

    // Closing saves the settings first, then asks the projects from the last one opened on.
    void closeStopsAtFirstRefusalThenRemovesProjectsFramesAndTempFolder()
    {
        TestDocumentFactory *factory = addFactory();
        m_fixture->userSettings()->setValue(QStringLiteral("Designer/Width"), 1);
        PluginManager::setArguments({m_fixture->touch("a.veldra"), m_fixture->touch("b.veldra"),
                                     m_fixture->touch("c.veldra")});
        window()->extensionsInitialized();
        QVERIFY(openFileNames().isEmpty()); // the command line waits for the event loop
        QTRY_COMPARE(openFileNames(), QStringList({"a.veldra", "b.veldra", "c.veldra"}));
        QList<QPointer<TestDocument>> documents;
        for (TestDocument *document : factory->documents()) {
            documents << document;
            document->makeModified();
        }
        QObject listener;
        connect(ICore::getInstance(), &ICore::aboutToSaveSettings, &listener,
                [this] { m_fixture->userSettings()->setValue(QStringLiteral("Probe/Saved"), 42); });
        MessageBoxAnswerer answerer(QMessageBox::No);
        answerer.enqueue(QMessageBox::No);
        answerer.enqueue(QMessageBox::Cancel);
        command(QStringLiteral("File.Exit"))->trigger();
        QVERIFY(window()->isVisible());
        QCOMPARE(answerer.count(), 2);
        QCOMPARE(answerer.boxes().at(0).text, QStringLiteral("Save changes made to c?"));
        QCOMPARE(answerer.boxes().at(1).text, QStringLiteral("Save changes made to b?"));
        QVERIFY(!documents.at(2));
        QCOMPARE(openFileNames(), QStringList({"a.veldra", "b.veldra"}));
        QCOMPARE(EditorManager::getEditors().size(), 2);
        QCOMPARE(valueOnDisk(m_fixture->userSettings()->fileName(), "Probe/Saved").toInt(), 42);
        const QString path = window()->getDefaultTempPath();
        QCOMPARE(path, QDir::temp().absoluteFilePath(QStringLiteral("Veldra")));
        // Hidden entries, nested folders, and a link that leads out of the folder.
        const QString outside = m_fixture->filePath(QStringLiteral("outside"));
        QVERIFY(QDir().mkpath(outside) && QDir(path).mkpath(QStringLiteral("sub/.hidden/deeper")));
        for (const char *name : {".hidden", "sub/.hidden/deeper/file", "../../outside/keep"})
            QVERIFY(QFile(QDir(path).filePath(name)).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(outside, QDir(path).filePath(QStringLiteral("sub/link"))));
        TestDocument loose; // registered without an editor: asked too
        DocumentManager::addDocument(&loose);
        QVERIFY(window()->close());
        QCOMPARE(loose.callLog()->calls(), QStringList{"TestDocument::close"});
        QCOMPARE(DocumentManager::getDocuments(), QList<IDocument *>{&loose});
        QVERIFY(factory->editors().isEmpty()); // deleted at once, not later
        QVERIFY(!QFileInfo::exists(path) && QFileInfo::exists(outside + QStringLiteral("/keep")));
        // The frames are gone for good: nothing shows them again.
        window()->updateShadowBorderFrame(true);
        QCOMPARE(shadowFrames(window()), qMakePair(4, 0));
    }

    // Another instance using the temporary folder holds a lock in it; a crashed one left its
    // lock behind, naming a process that is gone.
    void tempFolderStaysWhileAnotherInstanceUsesIt_data()
    {
        QTest::addColumn<bool>("otherRuns");
        QTest::newRow("another instance runs") << true;
        QTest::newRow("another instance crashed") << false;
    }

    void tempFolderStaysWhileAnotherInstanceUsesIt()
    {
        QFETCH(bool, otherRuns);
        const QDir temp(window()->getDefaultTempPath());
        QVERIFY(QFile(temp.filePath(QStringLiteral("preview"))).open(QIODevice::WriteOnly));
        const QString otherLock = temp.filePath(QStringLiteral(".instances/other.lock"));
        QLockFile lock(otherLock);
        if (otherRuns) {
            QVERIFY(lock.tryLock(0));
        } else {
            QFile crashed(otherLock);
            QVERIFY(crashed.open(QIODevice::WriteOnly) && crashed.write("2147483646\nveldra\n\n"));
        }
        window()->removeDefaultTempDir();
        QCOMPARE(QFileInfo::exists(temp.filePath(QStringLiteral("preview"))), otherRuns);
        const QStringList instances =
                QDir(temp.filePath(QStringLiteral(".instances"))).entryList(QDir::Files);
        QCOMPARE(instances, otherRuns ? QStringList{QStringLiteral("other.lock")} : QStringList());
    }

    void newProject_data()
    {
        QTest::addColumn<NewRow>("row");
        const QStringList asked{"Factory::createDocument", "Factory::createDocumentDlg",
                                "Dlg::exec"};
        const QStringList read{"Dlg::getParameter1", "Dlg::getParameter2", "Dlg::getParameter3",
                               "Dlg::getFileName"};
        const QStringList deleted{"Document::~TestDocument", "Dlg::~TestCreateDocumentDlg"};
        const QStringList created{"Document::create",        "Factory::createEditor",
                                  "Editor::aboutToActivate", "Editor::documentLoaded",
                                  "Document::save",          "Dlg::~TestCreateDocumentDlg"};
        QTest::newRow("created") << NewRow{true, "new.veldra", false, asked + read + created};
        QTest::newRow("dialog cancelled") << NewRow{false, "new.veldra", false, asked + deleted};
        QTest::newRow("no file name") << NewRow{true, {}, false, asked + read + deleted};
        QTest::newRow("create fails") << NewRow{
                true, "new.veldra", true, asked + read + QStringList{"Document::create"} + deleted};
    }

    void newProject()
    {
        QFETCH(NewRow, row);
        const auto &[accept, fileName, failCreate, calls] = row;
        TestDocumentFactory *factory = addFactory();
        const QString path = fileName.isEmpty() ? QString() : m_fixture->filePath(fileName);
        factory->dialogValues = {accept, path, 1, 2, 3};
        factory->documentSetup = [&](TestDocument *document) {
            document->createResult = !failCreate;
        };
        TestDocumentFactory *second = addFactory(); // New takes the first factory of the pool
        command(QStringLiteral("File.New"))->trigger();
        QVERIFY(second->callLog()->calls().isEmpty());
        // "TestCreateDocumentDlg::exec" reads "Dlg::exec", "TestDocumentFactory::..." "Factory::".
        QStringList shortCalls = factory->callLog()->calls();
        shortCalls.replaceInStrings(QRegularExpression("^Test(DocumentFactory|CreateDocument)?"),
                                    "");
        shortCalls.replaceInStrings(QRegularExpression("^::"), "Factory::");
        QCOMPARE(shortCalls, calls);
        // The path enters the recent list before create() is tried.
        const bool created = calls.contains("Document::save");
        QCOMPARE(recentFiles(),
                 calls.contains("Document::create") ? QStringList{path} : QStringList());
        QCOMPARE(openFileNames(), created ? QStringList{fileName} : QStringList());
        QCOMPARE(command(QStringLiteral("File.Save"))->isEnabled(), created);
        if (!created)
            return;
        TestDocument *document = factory->lastDocument();
        QCOMPARE(document->createParameters, QList<int>({1, 2, 3}));
        QCOMPARE(EditorManager::activeEditor(), factory->lastEditor());
        QCOMPARE(DocumentManager::getUndoGroup()->activeStack(), document->getUndoStack());
        emit document->requestClosing(false);
        QVERIFY(openFileNames().isEmpty() && factory->editors().isEmpty());
    }

    void openFindsProjectAlreadyOpen_data()
    {
        QTest::addColumn<QString>("spelling");
        QTest::newRow("same path") << "%1/a.veldra";
        QTest::newRow("double slash") << "%1//a.veldra";
        QTest::newRow("dot segment") << "%1/./a.veldra";
        // The link has no project suffix: finding the open project comes before the suffix.
        QTest::newRow("symbolic link") << "%1/alias";
    }

    void openFindsProjectAlreadyOpen()
    {
        QFETCH(QString, spelling);
        TestDocumentFactory *factory = addFactory();
        TestDocument *first = openProject(QStringLiteral("a.veldra"), factory);
        QVERIFY(first && openProject(QStringLiteral("b.veldra"), factory));
        QVERIFY(QFile::link(first->getFileName(), m_fixture->filePath(QStringLiteral("alias"))));
        factory->callLog()->clear();
        MessageBoxAnswerer answerer;
        QVERIFY(window()->loadFile(spelling.arg(m_fixture->path())));
        QCOMPARE(answerer.count(), 0);
        QCOMPARE(EditorManager::activeEditor()->getDocument(), first);
        QCOMPARE(factory->callLog()->count("TestDocumentFactory::createDocument"), 0);
        QCOMPARE(openFileNames(), QStringList({"a.veldra", "b.veldra"}));
    }

    void openChoosesFactoryBySuffix_data()
    {
        QTest::addColumn<SuffixRow>("row");
        const QStringList veldra{"veldra"};
        QTest::newRow("capital suffix") << SuffixRow{"p.VELDRA", {"x"}, veldra, 1};
        QTest::newRow("pool order decides") << SuffixRow{"p.veldra", veldra, veldra, 0};
        QTest::newRow("mixed case") << SuffixRow{"p.VeldraPack", veldra, {"veldrapack"}, 1};
        QTest::newRow("after the last dot") << SuffixRow{"p.veldra.bak", veldra, {"bak"}, 1};
        QTest::newRow("unknown suffix") << SuffixRow{"p.txt", veldra, {"veldrapack"}, -1};
        QTest::newRow("no suffix") << SuffixRow{"veldra", veldra, veldra, -1};
    }

    void openChoosesFactoryBySuffix()
    {
        QFETCH(SuffixRow, row);
        const auto &[fileName, firstSuffixes, secondSuffixes, chosen] = row;
        const QList<TestDocumentFactory *> factories{addFactory(firstSuffixes),
                                                     addFactory(secondSuffixes)};
        MessageBoxAnswerer answerer;
        const QString path = m_fixture->touch(fileName);
        QCOMPARE(window()->loadFile(path), chosen >= 0);
        for (int i = 0; i < factories.size(); ++i)
            QCOMPARE(factories.at(i)->documents().size(), int(i == chosen));
        QCOMPARE(recentFiles(), chosen >= 0 ? QStringList{path} : QStringList());
        QCOMPARE(answerer.count(), int(chosen < 0));
        if (chosen >= 0)
            return;
        QCOMPARE(answerer.last().title, QStringLiteral("Veldra"));
        QCOMPARE(answerer.last().text, QStringLiteral("Cannot open this file type"));
        QCOMPARE(answerer.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void refusedOpen_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("named pipe") << "pipe";
        QTest::newRow("folder") << "folder";
        QTest::newRow("open fails") << "file";
    }

    void refusedOpen()
    {
        QFETCH(QString, kind);
        TestDocumentFactory *factory = addFactory();
        factory->documentSetup = [](TestDocument *document) { document->openResult = false; };
        const QString path = m_fixture->filePath(QStringLiteral("p.veldra"));
        QVERIFY(kind == "file"   ? !m_fixture->touch("p.veldra").isEmpty()
                : kind == "pipe" ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                                 : QDir().mkdir(path));
        QWidget welcome;
        window()->setWelcomeWidget(&welcome);
        QSignalSpy resetSpy(window()->getMdiArea(), &IMainMdiArea::resetRecentFiles);
        MessageBoxAnswerer answerer;
        QVERIFY(!window()->loadFile(path));
        QCOMPARE(factory->callLog()->count("TestDocument::open"), int(kind == "file"));
        QVERIFY(factory->documents().isEmpty());
        QVERIFY(DocumentManager::getDocuments().isEmpty() && recentFiles().isEmpty());
        QCOMPARE(answerer.count(), int(kind != "file"));
        if (kind == "file") // the welcome widget stays in step
            QVERIFY(welcome.isVisible() && resetSpy.count() == 1);
        else
            QCOMPARE(answerer.last().text,
                     QStringLiteral("Cannot open %1: it is not a regular file.").arg(path));
    }

    void loadOpenedDocument_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("addToRecent");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("added to the recent list") << "a.veldra" << true << true;
        QTest::newRow("kept out of the recent list") << "a.veldra" << false << true;
        QTest::newRow("unknown suffix") << "a.txt" << true << false;
    }

    void loadOpenedDocument()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, addToRecent);
        QFETCH(bool, loaded);
        TestDocumentFactory *factory = addFactory();
        QPointer<IDocument> document = factory->createDocument();
        document->setFileName(m_fixture->filePath(fileName));
        QSignalSpy aboutToOpen(document.data(), &IDocument::aboutToOpen);
        QCOMPARE(window()->loadOpenedDocument(document, addToRecent), loaded);
        QVERIFY(document); // a document that was not taken stays the caller's
        QCOMPARE(recentFiles(), addToRecent ? QStringList{document->getFileName()} : QStringList());
        QCOMPARE(aboutToOpen.count(), int(loaded));
        QCOMPARE(openFileNames(), loaded ? QStringList{fileName} : QStringList());
        QCOMPARE(factory->callLog()->count("TestDocument::save"), 0);
        QVERIFY(!command(QStringLiteral("File.Save"))->isEnabled());
        if (!loaded)
            return;
        QCOMPARE(EditorManager::activeEditor(), factory->lastEditor());
        QCOMPARE(factory->lastEditor()->getDocument(), document.data());
        QCOMPARE(DocumentManager::getUndoGroup()->activeStack(), document->getUndoStack());
    }

    void saveEnabling_data()
    {
        QTest::addColumn<SaveRow>("row");
        const QString none, save = "File.Save", saveAs = "File.SaveAs.Project";
        const QStringList old{"old.veldra"}, renamed{"new.veldra", "old.veldra"};
        QTest::newRow("clean") << SaveRow{none, "saved", false, true, false, old};
        QTest::newRow("modified") << SaveRow{none, "saved", true, true, true, old};
        QTest::newRow("temporary, clean") << SaveRow{none, "temporary", false, true, true, old};
        QTest::newRow("backup, clean") << SaveRow{none, "backup", false, true, true, old};
        QTest::newRow("save") << SaveRow{save, "saved", true, true, false, old};
        QTest::newRow("failed save") << SaveRow{save, "saved", true, false, true, old};
        QTest::newRow("save on a temporary project runs save as")
                << SaveRow{save, "temporary", false, true, false, {"new.veldra"}};
        QTest::newRow("save as") << SaveRow{saveAs, "saved", true, true, false, renamed};
        QTest::newRow("failed save as, temporary")
                << SaveRow{saveAs, "temporary", false, false, true, old};
        QTest::newRow("failed save as, clean")
                << SaveRow{saveAs, "saved", false, false, false, old};
    }

    void saveEnabling()
    {
        QFETCH(SaveRow, row);
        const auto &[commandId, kind, modified, succeeds, saveEnabled, recent] = row;
        TestDocumentFactory *factory = addFactory();
        const QString newPath = m_fixture->filePath(QStringLiteral("new.veldra"));
        factory->documentSetup = [&](TestDocument *document) {
            document->setIsTempDocument(kind == "temporary");
            document->setOpenAsBackup(kind == "backup");
            document->saveResult = document->saveAsResult = succeeds;
            document->saveAsFileName = newPath;
        };
        TestDocument *document = openProject(QStringLiteral("old.veldra"), factory);
        QVERIFY(document);
        // Through a modified state to the wanted one, so the undo group reports a change.
        document->makeModified();
        if (!modified)
            document->getUndoStack()->setClean();
        factory->callLog()->clear();
        if (!commandId.isEmpty()) {
            command(commandId)->trigger();
            const bool runsSaveAs = commandId.startsWith("File.SaveAs") || kind == "temporary";
            QCOMPARE(factory->callLog()->calls().filter("TestDocument::save"),
                     QStringList{runsSaveAs ? "TestDocument::saveAs" : "TestDocument::save"});
        }
        QCOMPARE(command(QStringLiteral("File.Save"))->isEnabled(), saveEnabled);
        QVERIFY(saveAsMenu()->isEnabled());
        QStringList recentNames;
        for (const QString &path : recentFiles())
            recentNames << QFileInfo(path).fileName();
        QCOMPARE(recentNames, recent);
    }

    void closeCommandKeepsWelcomeWidgetInStep()
    {
        TestDocumentFactory *factory = addFactory();
        QSignalSpy resetSpy(window()->getMdiArea(), &IMainMdiArea::resetRecentFiles);
        window()->setVisibleWelcomeWidget(true); // without a welcome widget: nothing at all
        QCOMPARE(resetSpy.count(), 0);
        QWidget welcome;
        welcome.show();
        window()->setWelcomeWidget(&welcome);
        TestDocument *first = openProject(QStringLiteral("a.veldra"), factory);
        TestDocument *active = openProject(QStringLiteral("b.veldra"), factory);
        QVERIFY(first && active);
        QVERIFY(!welcome.isVisible());
        window()->setWindowFilePath(active->getFileName());
        // Only the active project's status reaches the status bar.
        emit first->statusChanged(QStringLiteral("from a"));
        QCOMPARE(window()->statusBar()->currentMessage(), QStringLiteral("Ready"));
        emit active->statusChanged(QStringLiteral("from b"));
        QCOMPARE(window()->statusBar()->currentMessage(), QStringLiteral("from b"));
        // A project that refuses to close stays.
        active->makeModified();
        MessageBoxAnswerer answerer(QMessageBox::No);
        answerer.enqueue(QMessageBox::Cancel);
        command(QStringLiteral("File.Close"))->trigger();
        QCOMPARE(openFileNames(), QStringList({"a.veldra", "b.veldra"}));
        QPointer<TestEditor> editor = factory->lastEditor();
        command(QStringLiteral("File.Close"))->trigger();
        QCOMPARE(openFileNames(), QStringList{"a.veldra"});
        QVERIFY(editor); // deleted from the event loop
        QTRY_VERIFY(!editor);
        QVERIFY(!welcome.isVisible() && saveAsMenu()->isEnabled());
        QCOMPARE(resetSpy.count(), 0);
        command(QStringLiteral("File.Close"))->trigger();
        QVERIFY(openFileNames().isEmpty());
        QVERIFY(welcome.isVisible() && !saveAsMenu()->isEnabled());
        QCOMPARE(resetSpy.count(), 1);
        QCOMPARE(window()->menuWidget()->windowTitle(), QStringLiteral("Veldra"));
        window()->setVisibleWelcomeWidget(true); // already visible: the page still reloads
        QCOMPARE(resetSpy.count(), 2);
    }

    void recentProjectThatIsGone_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("kept");
        QTest::newRow("file exists") << true << int(QMessageBox::Yes) << true;
        QTest::newRow("gone, remove it") << false << int(QMessageBox::Yes) << false;
        QTest::newRow("gone, keep it") << false << int(QMessageBox::No) << true;
    }

    void recentProjectThatIsGone()
    {
        QFETCH(bool, exists);
        QFETCH(int, answer);
        QFETCH(bool, kept);
        addFactory();
        const QString other = m_fixture->filePath(QStringLiteral("other.veldra"));
        const QString target = exists ? m_fixture->touch(QStringLiteral("p.veldra"))
                                      : m_fixture->filePath(QStringLiteral("gone.veldra"));
        IRecentFilesManager::getInstance()->addRecentFile(other);
        IRecentFilesManager::getInstance()->addRecentFile(target);
        window()->updateRecentFileActions();
        MessageBoxAnswerer answerer{QMessageBox::StandardButton(answer)};
        command(recentSlotId(1))->trigger();
        QCOMPARE(openFileNames(), exists ? QStringList{"p.veldra"} : QStringList());
        const QStringList remaining = kept ? QStringList{target, other} : QStringList{other};
        QCOMPARE(recentFiles(), remaining);
        QCOMPARE(command(recentSlotId(1))->text(), QStringLiteral("1. ") + remaining.first());
        QCOMPARE(command(recentSlotId(2))->isVisible(), kept);
        QVERIFY(ActionManager::getActionContainer("File.Recent_Projects")->getMenu()->isEnabled());
        QCOMPARE(answerer.count(), int(!exists));
        if (exists)
            return;
        QCOMPARE(answerer.last().text, QStringLiteral("The project %1 no longer exist.\nDo you "
                                                      "want remove this entry from history?")
                                               .arg(target));
        QCOMPARE(answerer.last().buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(answerer.last().defaultButton, QMessageBox::Yes);
    }
};

VELDRA_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
