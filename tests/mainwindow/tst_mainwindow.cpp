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
#include "testdocument.h"
#include "testdocumentfactory.h"
#include "testeditor.h"
#include "testmain.h"

#include <extensionsystem/pluginmanager.h>

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QUndoGroup>
#include <QUndoStack>

#include <memory>

using ExtensionSystem::PluginManager;

namespace {

bool giveFocus(QWidget *widget)
{
    widget->window()->show();
    if (!QTest::qWaitForWindowExposed(widget->window()))
        return false;
    QApplication::setActiveWindow(widget->window());
    widget->setFocus();
    return QTest::qWaitFor([widget] { return widget->hasFocus(); });
}

QList<IShadowBorderFrame *> shadowFrames(MainWindow *window)
{
    return window->findChildren<IShadowBorderFrame *>();
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

} // namespace

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

    // Creates an empty file in the fixture's folder and returns its path (empty on failure).
    QString touch(const QString &name) const { return m_fixture->touch(name); }

    TestDocument *openProject(const QString &name, TestDocumentFactory *factory)
    {
        return window()->loadFile(touch(name)) ? factory->lastDocument() : nullptr;
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
        QTest::newRow("another group") << "Other/Width" << true;
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
        QTest::addColumn<bool>("restoreButton");
        QTest::newRow("normal") << QList<Qt::WindowState>{Qt::WindowNoState} << true << false;
        QTest::newRow("maximised") << QList<Qt::WindowState>{Qt::WindowMaximized} << false << true;
        QTest::newRow("full screen")
                << QList<Qt::WindowState>{Qt::WindowFullScreen} << false << false;
        QTest::newRow("restored") << QList<Qt::WindowState>{Qt::WindowMaximized, Qt::WindowNoState}
                                  << true << false;
    }

    void shadowFramesFollowWindowState()
    {
        QFETCH(QList<Qt::WindowState>, states);
        QFETCH(bool, framesVisible);
        QFETCH(bool, restoreButton);
        m_fixture->userSettings()->setValue(QStringLiteral("Designer/Width"), 1);
        QVERIFY(shadowFrames(window()).isEmpty());
        window()->extensionsInitialized();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        for (Qt::WindowState state : states) {
            window()->setWindowState(state);
            QTRY_COMPARE(window()->windowState(), Qt::WindowStates(state));
        }
        // Without a window manager nothing resizes the window; stand in for that resize.
        window()->updateShadowBorderFrame(true);
        QCOMPARE(shadowFrames(window()).size(), 4);
        for (IShadowBorderFrame *frame : shadowFrames(window()))
            QCOMPARE(frame->isVisible(), framesVisible);
        QStringList toolTips;
        for (QPushButton *button : window()->menuWidget()->findChildren<QPushButton *>())
            toolTips << button->toolTip();
        QCOMPARE(toolTips.contains(QStringLiteral("Restore Down")), restoreButton);
    }

    void temporaryFolderIsRemovedRecursively()
    {
        const QString path = window()->getDefaultTempPath();
        QCOMPARE(path, QDir::temp().absoluteFilePath(QStringLiteral("Veldra")));
        QVERIFY(QFileInfo(path).isDir());
        // Hidden entries, nested folders, and a link that leads out of the folder.
        const QString outside = m_fixture->filePath(QStringLiteral("outside"));
        QVERIFY(QDir().mkpath(outside) && QDir(path).mkpath(QStringLiteral("sub/.hidden/deeper")));
        for (const char *name : {".hidden", "sub/.hidden/deeper/file", "../../outside/keep"})
            QVERIFY(QFile(QDir(path).filePath(name)).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(outside, QDir(path).filePath(QStringLiteral("sub/link"))));
        window()->removeDefaultTempDir();
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(QFileInfo::exists(outside + QStringLiteral("/keep")));
    }

    void titleBarAloneShowsPathAndModifiedMark()
    {
        QWidget *titleBar = window()->menuWidget();
        window()->setWindowFilePath(QStringLiteral("/p/a.veldra"));
        window()->setWindowModified(true);
        QCOMPARE(titleBar->windowTitle(), QStringLiteral("/p/a.veldra - Veldra"));
        QVERIFY(titleBar->isWindowModified());
        QVERIFY(window()->windowFilePath().isEmpty() && !window()->isWindowModified());
        // An activated sub-window hands on its modified mark, then its path.
        QObject receiver;
        QStringList emitted;
        connect(window(), &MainWindow::updateModified, &receiver,
                [&](bool modified) { emitted << QStringLiteral("modified %1").arg(modified); });
        connect(window(), &MainWindow::updateWindowFilePath, &receiver,
                [&](const QString &path) { emitted << QStringLiteral("path ") + path; });
        QMdiSubWindow subWindow;
        subWindow.setWindowFilePath(QStringLiteral("/p/b.veldra"));
        emit window()->getMdiArea()->subWindowActivated(nullptr);
        emit window()->getMdiArea()->subWindowActivated(&subWindow);
        QCOMPARE(emitted, QStringList({"modified 0", "path /p/b.veldra"}));
        QCOMPARE(titleBar->windowTitle(), QStringLiteral("/p/b.veldra - Veldra"));
        QVERIFY(!titleBar->isWindowModified());
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
        QVERIFY(giveFocus(now.startsWith("menu") ? widgets["plain"] : widgets[now]));
        ActionManager::setContext(widgets["current"]);
        QVERIFY(QMetaObject::invokeMethod(window(), "updateFocusWidget", Q_ARG(QWidget *, nullptr),
                                          Q_ARG(QWidget *, widgets[now])));
        command(QStringLiteral("Test.Probe"))->trigger();
        QCOMPARE(triggered, now == "other" ? "other" : "current");
    }

    void drops_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("consumed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QStringList>("opened");
        const QStringList none;
        const int drop = QEvent::Drop;
        QTest::newRow("drag enter")
                << int(QEvent::DragEnter) << QStringList{"a.veldra"} << true << true << none;
        QTest::newRow("drag leave") << int(QEvent::DragLeave) << none << false << true << none;
        QTest::newRow("two project files") << drop << QStringList{"a.veldra", "b.veldrapack"}
                                           << true << true << QStringList{"a.veldra"};
        QTest::newRow("capital suffix")
                << drop << QStringList{"C.VELDRA"} << true << true << QStringList{"C.VELDRA"};
        QTest::newRow("text file") << drop << QStringList{"notes.txt"} << true << false << none;
        QTest::newRow("no urls") << drop << none << false << false << none;
    }

    void drops()
    {
        QFETCH(int, type);
        QFETCH(QStringList, files);
        QFETCH(bool, consumed);
        QFETCH(bool, accepted);
        QFETCH(QStringList, opened);
        // The factory would open text files too: only the window's suffix check keeps them out.
        addFactory({QStringLiteral("veldra"), QStringLiteral("veldrapack"), QStringLiteral("txt")});
        MessageBoxAnswerer answerer;
        QList<QUrl> urls;
        for (const QString &name : qAsConst(files))
            urls << QUrl::fromLocalFile(touch(name));
        QMimeData mimeData;
        mimeData.setUrls(urls);
        const QPoint pos(5, 5);
        std::unique_ptr<QEvent> event;
        if (type == QEvent::DragEnter)
            event.reset(new QDragEnterEvent(pos, Qt::CopyAction, &mimeData, Qt::LeftButton, {}));
        else if (type == QEvent::DragLeave)
            event.reset(new QDragLeaveEvent);
        else
            event.reset(new QDropEvent(pos, Qt::CopyAction, &mimeData, Qt::LeftButton, {}));
        event->ignore();
        QObject *filter = window();
        QCOMPARE(filter->eventFilter(window()->getMdiArea(), event.get()), consumed);
        QCOMPARE(event->isAccepted(), accepted);
        QCOMPARE(openFileNames(), opened);
        QCOMPARE(answerer.count(), 0);
    }

    void closeStopsAtFirstRefusalAfterSavingSettings()
    {
        TestDocumentFactory *factory = addFactory();
        QList<QPointer<TestDocument>> documents;
        for (const QString &name : QStringList{"a.veldra", "b.veldra", "c.veldra"}) {
            documents << openProject(name, factory);
            QVERIFY(documents.last());
            documents.last()->makeModified();
        }
        QObject listener;
        connect(ICore::getInstance(), &ICore::aboutToSaveSettings, &listener,
                [this] { m_fixture->userSettings()->setValue(QStringLiteral("Probe/Saved"), 42); });
        // The last project is closed without saving; the user cancels the one before it.
        MessageBoxAnswerer answerer(QMessageBox::No);
        answerer.enqueue(QMessageBox::No);
        answerer.enqueue(QMessageBox::Cancel);
        window()->show();
        command(QStringLiteral("File.Exit"))->trigger();
        QVERIFY(window()->isVisible());
        QCOMPARE(answerer.count(), 2);
        QCOMPARE(answerer.boxes().at(0).text, QStringLiteral("Save changes made to c?"));
        QCOMPARE(answerer.boxes().at(1).text, QStringLiteral("Save changes made to b?"));
        QVERIFY(!documents.at(2));
        QCOMPARE(openFileNames(), QStringList({"a.veldra", "b.veldra"}));
        QCOMPARE(EditorManager::getEditors().size(), 2);
        QCOMPARE(valueOnDisk(m_fixture->userSettings()->fileName(), "Probe/Saved").toInt(), 42);
    }

    void acceptedCloseRemovesProjectsFramesAndTempFolder()
    {
        TestDocumentFactory *factory = addFactory();
        m_fixture->userSettings()->setValue(QStringLiteral("Designer/Width"), 1);
        PluginManager::setArguments({touch("a.veldra"), touch("b.veldra")});
        window()->extensionsInitialized();
        QVERIFY(openFileNames().isEmpty()); // the command line waits for the event loop
        QTRY_COMPARE(openFileNames(), QStringList({"a.veldra", "b.veldra"}));
        const QString tempPath = window()->getDefaultTempPath();
        QVERIFY(QFile(tempPath + QStringLiteral("/file")).open(QIODevice::WriteOnly));
        QVERIFY(window()->close());
        QVERIFY(openFileNames().isEmpty());
        QVERIFY(factory->editors().isEmpty()); // deleted at once, not later
        QVERIFY(!QFileInfo::exists(tempPath));
        // The frames are gone for good: nothing shows them again.
        window()->updateShadowBorderFrame(true);
        QCOMPARE(shadowFrames(window()).size(), 4);
        for (IShadowBorderFrame *frame : shadowFrames(window()))
            QVERIFY(!frame->isVisible());
    }

    void newProject_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("failCreate");
        QTest::addColumn<QStringList>("calls");
        const QStringList asked{"Factory::createDocument", "Factory::createDocumentDlg",
                                "Dlg::exec"};
        const QStringList read{"Dlg::getParameter1", "Dlg::getParameter2", "Dlg::getParameter3",
                               "Dlg::getFileName"};
        const QStringList deleted{"Document::~TestDocument", "Dlg::~TestCreateDocumentDlg"};
        const QStringList created{"Document::create",        "Factory::createEditor",
                                  "Editor::aboutToActivate", "Editor::documentLoaded",
                                  "Document::save",          "Dlg::~TestCreateDocumentDlg"};
        QTest::newRow("created") << true << "new.veldra" << false << asked + read + created;
        QTest::newRow("dialog cancelled") << false << "new.veldra" << false << asked + deleted;
        QTest::newRow("no file name") << true << QString() << false << asked + read + deleted;
        QTest::newRow("create fails") << true << "new.veldra" << true
                                      << asked + read + QStringList{"Document::create"} + deleted;
    }

    void newProject()
    {
        QFETCH(bool, accept);
        QFETCH(QString, fileName);
        QFETCH(bool, failCreate);
        QFETCH(QStringList, calls);
        TestDocumentFactory *factory = addFactory();
        const QString path = fileName.isEmpty() ? QString() : m_fixture->filePath(fileName);
        factory->setDialogValues({accept, path, 1, 2, 3});
        factory->setFailCreate(failCreate);
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
        QCOMPARE(document->createParameters(), QList<int>({1, 2, 3}));
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
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("firstSuffixes");
        QTest::addColumn<QStringList>("secondSuffixes");
        QTest::addColumn<int>("chosen");
        const QStringList veldra{"veldra"};
        QTest::newRow("capital suffix") << "p.VELDRA" << QStringList{"x"} << veldra << 1;
        QTest::newRow("pool order decides") << "p.veldra" << veldra << veldra << 0;
        QTest::newRow("mixed case") << "p.VeldraPack" << veldra << QStringList{"veldrapack"} << 1;
        QTest::newRow("after the last dot") << "p.veldra.bak" << veldra << QStringList{"bak"} << 1;
        QTest::newRow("unknown suffix") << "p.txt" << veldra << QStringList{"veldrapack"} << -1;
        QTest::newRow("no suffix") << "veldra" << veldra << veldra << -1;
    }

    void openChoosesFactoryBySuffix()
    {
        QFETCH(QString, fileName);
        QFETCH(QStringList, firstSuffixes);
        QFETCH(QStringList, secondSuffixes);
        QFETCH(int, chosen);
        const QList<TestDocumentFactory *> factories{addFactory(firstSuffixes),
                                                     addFactory(secondSuffixes)};
        MessageBoxAnswerer answerer;
        const QString path = touch(fileName);
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

    void failedOpenDeletesDocument()
    {
        TestDocumentFactory *factory = addFactory();
        factory->setFailOpen(true);
        QWidget welcome;
        window()->setWelcomeWidget(&welcome);
        QSignalSpy resetSpy(window()->getMdiArea(), &IMainMdiArea::resetRecentFiles);
        QVERIFY(!window()->loadFile(touch(QStringLiteral("a.veldra"))));
        QCOMPARE(factory->callLog()->count("TestDocument::open"), 1);
        QVERIFY(factory->documents().isEmpty());
        QVERIFY(DocumentManager::getDocuments().isEmpty() && recentFiles().isEmpty());
        QVERIFY(welcome.isVisible()); // the welcome widget stays in step
        QCOMPARE(resetSpy.count(), 1);
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
        QTest::addColumn<QString>("commandId"); // empty: only the undo group changes
        QTest::addColumn<QString>("kind");      // "temporary", "backup" or "saved"
        QTest::addColumn<bool>("modified");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<bool>("saveEnabled");
        QTest::addColumn<QStringList>("recent");
        const QString none, save = "File.Save", saveAs = "File.SaveAs.Project";
        const QStringList old{"old.veldra"}, renamed{"new.veldra", "old.veldra"};
        QTest::newRow("clean") << none << "saved" << false << true << false << old;
        QTest::newRow("modified") << none << "saved" << true << true << true << old;
        QTest::newRow("temporary, clean") << none << "temporary" << false << true << true << old;
        QTest::newRow("backup, clean") << none << "backup" << false << true << true << old;
        QTest::newRow("save") << save << "saved" << true << true << false << old;
        QTest::newRow("failed save") << save << "saved" << true << false << true << old;
        QTest::newRow("save on a temporary project runs save as")
                << save << "temporary" << false << true << false << QStringList{"new.veldra"};
        QTest::newRow("save as") << saveAs << "saved" << true << true << false << renamed;
        QTest::newRow("failed save as, temporary")
                << saveAs << "temporary" << false << false << true << old;
        QTest::newRow("failed save as, clean")
                << saveAs << "saved" << false << false << false << old;
    }

    void saveEnabling()
    {
        QFETCH(QString, commandId);
        QFETCH(QString, kind);
        QFETCH(bool, modified);
        QFETCH(bool, succeeds);
        QFETCH(bool, saveEnabled);
        QFETCH(QStringList, recent);
        TestDocumentFactory *factory = addFactory();
        const QString newPath = m_fixture->filePath(QStringLiteral("new.veldra"));
        factory->setDocumentSetup([=](TestDocument *document) {
            document->setIsTempDocument(kind == "temporary");
            document->setOpenAsBackup(kind == "backup");
            document->setSaveResult(succeeds);
            document->setSaveAsResult(succeeds, newPath);
        });
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
            QCOMPARE(factory->callLog()->callsOf(document),
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

    void recentProjectsMenu_data()
    {
        QTest::addColumn<int>("stored");
        QTest::newRow("none") << 0;
        QTest::newRow("three") << 3;
        QTest::newRow("ten") << 10;
    }

    void recentProjectsMenu()
    {
        QFETCH(int, stored);
        // The menu is built with the window, from what is stored then.
        m_fixture->destroyMainWindow();
        QStringList paths;
        for (int i = 1; i <= stored; ++i)
            paths << QStringLiteral("/projects/p%1.veldra").arg(i);
        m_fixture->userSettings()->setValue(QStringLiteral("Veldra/RecentProjects"), paths);
        m_fixture->createMainWindow();
        const QString menuId = QStringLiteral("File.Recent_Projects");
        QCOMPARE(ActionManager::getActionContainer(menuId)->getMenu()->isEnabled(), stored > 0);
        for (int slot = 1; slot <= 10; ++slot) {
            QAction *action = command(recentSlotId(slot));
            QCOMPARE(action->isVisible(), slot <= stored);
            if (slot > stored)
                continue;
            QCOMPARE(action->text(), QStringLiteral("%1. %2").arg(slot).arg(paths.at(slot - 1)));
            QCOMPARE(action->data().toString(), paths.at(slot - 1));
        }
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
        const QString target = exists ? touch(QStringLiteral("p.veldra"))
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
