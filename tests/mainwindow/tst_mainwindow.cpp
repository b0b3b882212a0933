#include "actionmanager.h"
#include "contextaction.h"
#include "documentmanager.h"
#include "editormanager.h"
#include "icore.h"
#include "imainmdiarea.h"
#include "irecentfilesmanager.h"
#include "mainwindow.h"

#include "corefixture.h"
#include "messageboxanswerer.h"
#include "settingsondisk.h"
#include "testdocumentfactory.h"
#include "testmain.h"

#include <extensionsystem/pluginmanager.h>

#include <QMimeData>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>

#include <memory>
#include <sys/stat.h>

using ExtensionSystem::PluginManager;

namespace {

QStringList openFileNames()
{
    QStringList names;
    for (IDocument *document : DocumentManager::getDocuments())
        names << QFileInfo(document->getFileName()).fileName();
    return names;
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

    // A first run (no "Designer" settings yet) opens maximised. A normal window that fills the
    // screen is shortened by one pixel once; a window manager that puts the full size back has
    // the last word.
    void screenFillingWindowIsShortenedOnce()
    {
        window()->extensionsInitialized();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        QTRY_VERIFY(window()->isMaximized());
        const QRect screen = window()->screen()->availableGeometry();
        window()->setGeometry(screen.adjusted(0, 0, 0, -20));
        window()->setWindowState(Qt::WindowNoState);
        window()->setGeometry(screen); // under no window manager nothing else fills the screen
        window()->setWindowState(Qt::WindowNoState);
        QTRY_COMPARE(window()->size(), QSize(screen.width(), screen.height() - 1));
        window()->resize(screen.size());
        QTest::qWait(100);
        QCOMPARE(window()->size(), screen.size());
    }

    // Closing saves the settings first, then asks the projects from the last one opened on.
    void closeStopsAtFirstRefusalThenRemovesProjectsAndTempFolder()
    {
        TestDocumentFactory *factory = addFactory();
        m_fixture->userSettings()->setValue(QStringLiteral("Designer/Width"), 1);
        PluginManager::setArguments({m_fixture->touch("a.veldra"), m_fixture->touch("b.veldra")});
        window()->extensionsInitialized();
        QVERIFY(openFileNames().isEmpty()); // the command line waits for the event loop
        QTRY_COMPARE(openFileNames(), QStringList({"a.veldra", "b.veldra"}));
        // A drop opens its first file only; a project's suffix counts in any letter case.
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(m_fixture->touch("C.VELDRA")),
                         QUrl::fromLocalFile(m_fixture->touch("d.veldra"))});
        QDropEvent drop({5, 5}, Qt::CopyAction, &dropped, Qt::LeftButton, {});
        QVERIFY(static_cast<QObject *>(window())->eventFilter(window()->getMdiArea(), &drop));
        QCOMPARE(openFileNames(), QStringList({"a.veldra", "b.veldra", "C.VELDRA"}));
        QList<QPointer<TestDocument>> documents;
        for (TestDocument *document : factory->documents()) {
            documents << document;
            document->makeModified();
        }
        // Only the active project's status reaches the status bar.
        emit documents.first()->statusChanged(QStringLiteral("from a"));
        QCOMPARE(window()->statusBar()->currentMessage(), QStringLiteral("Ready"));
        emit documents.last()->statusChanged(QStringLiteral("from c"));
        QCOMPARE(window()->statusBar()->currentMessage(), QStringLiteral("from c"));
        // Opening a project that is open, under another spelling, activates it again.
        QVERIFY(window()->loadFile(m_fixture->path() + QStringLiteral("//./a.veldra")));
        QCOMPARE(EditorManager::activeEditor()->getDocument(), documents.first().data());
        QCOMPARE(factory->documents().size(), 3);
        documents.first()->setIsTempDocument(true); // Save on a never-saved project runs Save As
        ActionManager::getAction(QStringLiteral("File.Save"))->getAction()->trigger();
        QCOMPARE(factory->callLog()->calls().filter("::save"), QStringList{"TestDocument::saveAs"});
        QObject listener;
        connect(ICore::getInstance(), &ICore::aboutToSaveSettings, &listener,
                [this] { m_fixture->userSettings()->setValue(QStringLiteral("Probe/Saved"), 42); });
        MessageBoxAnswerer answerer(QMessageBox::No);
        answerer.enqueue(QMessageBox::No);
        answerer.enqueue(QMessageBox::Cancel);
        ActionManager::getAction(QStringLiteral("File.Exit"))->getAction()->trigger();
        QVERIFY(window()->isVisible());
        QCOMPARE(answerer.count(), 2);
        QCOMPARE(answerer.boxes().at(0).text, QStringLiteral("Save changes made to C?"));
        QCOMPARE(answerer.boxes().at(1).text, QStringLiteral("Save changes made to b?"));
        QVERIFY(!documents.at(2));
        QCOMPARE(openFileNames(), QStringList({"a.veldra", "b.veldra"}));
        QCOMPARE(EditorManager::getEditors().size(), 2);
        QCOMPARE(valueOnDisk(m_fixture->userSettings()->fileName(), "Probe/Saved").toInt(), 42);
        const QString path = window()->getDefaultTempPath();
        QCOMPARE(path, QDir::temp().absoluteFilePath(QStringLiteral("Veldra")));
        // A hidden nested entry, and a link that leads out of the folder.
        const QString outside = m_fixture->filePath(QStringLiteral("outside"));
        QVERIFY(QDir().mkpath(outside) && QDir(path).mkpath(QStringLiteral("sub/.hidden")));
        for (const char *name : {"sub/.hidden/file", "../../outside/keep"})
            QVERIFY(QFile(QDir(path).filePath(name)).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(outside, QDir(path).filePath(QStringLiteral("sub/link"))));
        TestDocument loose; // registered without an editor: asked too
        DocumentManager::addDocument(&loose);
        QVERIFY(window()->close());
        QCOMPARE(loose.callLog()->calls(), QStringList{"TestDocument::close"});
        QCOMPARE(DocumentManager::getDocuments(), QList<IDocument *>{&loose});
        QVERIFY(factory->editors().isEmpty()); // deleted at once, not later
        QVERIFY(!QFileInfo::exists(path) && QFileInfo::exists(outside + QStringLiteral("/keep")));
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
        QVERIFY(DocumentManager::getDocuments().isEmpty() &&
                IRecentFilesManager::getInstance()->getRecentFiles().isEmpty());
        QCOMPARE(answerer.count(), int(kind != "file"));
        if (kind == "file") // the welcome widget stays in step
            QVERIFY(welcome.isVisible() && resetSpy.count() == 1);
        else
            QCOMPARE(answerer.last().text,
                     QStringLiteral("Cannot open %1: it is not a regular file.").arg(path));
    }
};

VELDRA_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
