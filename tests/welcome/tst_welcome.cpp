#include "actioncontainer.h"
#include "actionmanager.h"
#include "contextaction.h"
#include "documentmanager.h"
#include "ilanguagemanager.h"
#include "imainmdiarea.h"
#include "irecentfilesmanager.h"
#include "mainwindow.h"
#include "vdhtmlexposingwelcome.h"

#include "appdirfolder.h"
#include "corefixture.h"
#include "messageboxanswerer.h"
#include "messagerecorder.h"
#include "testdocument.h"
#include "testdocumentfactory.h"
#include "testmain.h"
#include "urlrecorder.h"
#include "webchannelclient.h"

#include <extensionsystem/pluginmanager.h>

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QWebChannel>
#include <QWebSocketServer>

#include <memory>

namespace {

const QString welcomeName = QStringLiteral("vdwelcome");
const QString recentKey = QStringLiteral("Veldra/RecentProjects");

// The project paths the Recent Projects menu shows, in menu order.
QStringList recentMenuEntries()
{
    ActionContainer *container =
            ActionManager::getActionContainer(QStringLiteral("File.Recent_Projects"));
    QStringList entries;
    if (!container || !container->getMenu())
        return entries;
    const QList<QAction *> actions = container->getMenu()->actions();
    for (QAction *action : actions) {
        if (action->isVisible() && !action->isSeparator())
            entries << action->data().toString();
    }
    return entries;
}

bool touch(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

} // namespace

class TestWelcome : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void thePageSeesTheOperationsInOrder();
    void operationsThroughTheWebChannel();
    void foreignPagesCannotConnect();
    void withoutMainWindowNothingIsReported();
    void removeFileRebuildsAndNotifies_data();
    void removeFileRebuildsAndNotifies();
    void showInExplorer_data();
    void showInExplorer();
    void openFile_data();
    void openFile();
    void openURL_data();
    void openURL();
    void callbackTunnelAsyncRunsCommands();
    void callbackAsyncfromJS_data();
    void callbackAsyncfromJS();

private:
    IMainMdiArea *area() const { return m_fixture->mainWindow()->getMdiArea(); }
    void storeRecent(const QStringList &paths)
    {
        m_fixture->userSettings()->setValue(recentKey, paths);
    }
    QStringList storedRecent() const
    {
        return m_fixture->userSettings()->value(recentKey).toStringList();
    }

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<TestDocumentFactory> m_factory;
};

void TestWelcome::init()
{
    m_fixture = std::make_unique<CoreFixture>();
    m_factory = std::make_unique<TestDocumentFactory>();
    ExtensionSystem::PluginManager::addObject(m_factory.get());
}

void TestWelcome::cleanup()
{
    // Projects a test opened are taken away as the window's close handling does it.
    const QList<IDocument *> documents = DocumentManager::getDocuments();
    for (IDocument *document : documents)
        emit document->requestClosing(false);
    ExtensionSystem::PluginManager::removeObject(m_factory.get());
    m_fixture.reset();
    m_factory.reset();
}

void TestWelcome::thePageSeesTheOperationsInOrder()
{
    const QStringList expected{"void resetRecentFiles()",
                               "void showInExplorer(QString)",
                               "void removeFile(QString)",
                               "QStringList getRecentFileList()",
                               "void callbackTunnelAsync(QString)",
                               "QString callbackAsyncfromJS(QString,QString)",
                               "void openURL(QString)",
                               "void openFile(QString)"};
    for (const QMetaObject *metaObject :
         {&VDHTMLExposingWelcome::staticMetaObject, &IMainMdiArea::staticMetaObject}) {
        QStringList declared;
        for (int i = metaObject->methodOffset(); i < metaObject->methodCount(); ++i) {
            const QMetaMethod method = metaObject->method(i);
            QCOMPARE(method.access(), QMetaMethod::Public);
            declared << QString::fromLatin1(method.typeName() + QByteArray(" ") +
                                            method.methodSignature());
        }
        QCOMPARE(declared, expected);
    }
}

void TestWelcome::operationsThroughTheWebChannel()
{
    MessageBoxAnswerer answerer;
    UrlRecorder urls;
    const QString project = m_fixture->filePath(QStringLiteral("page.veldra"));
    QVERIFY(touch(project));
    storeRecent({"/p/a.veldra", "/p/b.veldra"});

    auto *welcome = m_fixture->mainWindow()->getChannel()->registeredObjects().value(welcomeName);
    QVERIFY(qobject_cast<VDHTMLExposingWelcome *>(welcome));
    QCOMPARE(welcome->parent(), area());

    WebChannelClient page;
    QVERIFY(page.open(m_fixture->mainWindow()->getServer()->serverPort()));
    QVERIFY(page.initialize());
    QVERIFY(page.connectToSignal(welcomeName, QStringLiteral("resetRecentFiles")));

    QCOMPARE(page.invoke(welcomeName, QStringLiteral("getRecentFileList")),
             QJsonValue(QJsonArray{"/p/a.veldra", "/p/b.veldra"}));
    QCOMPARE(page.invoke(welcomeName, QStringLiteral("callbackAsyncfromJS"),
                         {"WelcomeScreen.getBuildNumber", ""}),
             QJsonValue("1.1.0"));

    bool answered = false;
    page.invoke(welcomeName, QStringLiteral("removeFile"), {"/p/a.veldra"}, &answered);
    QVERIFY(answered);
    QCOMPARE(storedRecent(), QStringList("/p/b.veldra"));
    QVERIFY(page.waitForSignal(welcomeName, QStringLiteral("resetRecentFiles"), 1));
    emit area()->resetRecentFiles();
    QVERIFY(page.waitForSignal(welcomeName, QStringLiteral("resetRecentFiles"), 2));

    page.invoke(welcomeName, QStringLiteral("openURL"), {"https://example.org/"}, &answered);
    QVERIFY(answered);
    QCOMPARE(urls.urls(), QList<QUrl>({QUrl("https://example.org/")}));

    page.invoke(welcomeName, QStringLiteral("openFile"), {project}, &answered);
    QVERIFY(answered);
    QVERIFY(m_factory->lastDocument());
    QCOMPARE(m_factory->lastDocument()->getFileName(), project);
    QCOMPARE(answerer.count(), 0);
}

void TestWelcome::foreignPagesCannotConnect()
{
    const quint16 port = m_fixture->mainWindow()->getServer()->serverPort();
    WebChannelClient foreign(QStringLiteral("https://attacker.example"));
    QVERIFY(!foreign.open(port));
    WebChannelClient local(QStringLiteral("http://localhost:8000"));
    QVERIFY(local.open(port));
    QVERIFY(local.initialize());
    QVERIFY(local.objectNames().contains(welcomeName));
}

void TestWelcome::withoutMainWindowNothingIsReported()
{
    m_fixture->destroyMainWindow();
    MessageRecorder log;

    IMainMdiArea standalone(nullptr);

    auto *welcome = standalone.findChild<VDHTMLExposingWelcome *>();
    QVERIFY(welcome);
    QCOMPARE(welcome->callbackAsyncfromJS(QStringLiteral("WelcomeScreen.getBuildNumber"), {}),
             QStringLiteral("1.1.0"));
    QSignalSpy notified(welcome, &VDHTMLExposingWelcome::resetRecentFiles);
    emit standalone.resetRecentFiles();
    QCOMPARE(notified.count(), 1);
    QCOMPARE(log.warnings(), QStringList());
}

void TestWelcome::removeFileRebuildsAndNotifies_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("listed") << "/p/b.veldra" << QStringList({"/p/a.veldra", "/p/c.veldra"});
    QTest::newRow("not listed") << "/p/x.veldra"
                                << QStringList({"/p/a.veldra", "/p/b.veldra", "/p/c.veldra"});
}

void TestWelcome::removeFileRebuildsAndNotifies()
{
    QFETCH(QString, path);
    QFETCH(QStringList, after);

    // Stored behind the menu's back: only a rebuild makes the menu show it.
    storeRecent({"/p/a.veldra", "/p/b.veldra", "/p/c.veldra"});
    QSignalSpy notified(area(), &IMainMdiArea::resetRecentFiles);

    area()->removeFile(path);

    QCOMPARE(storedRecent(), after);
    QCOMPARE(recentMenuEntries(), after);
    QCOMPARE(notified.count(), 1);
}

void TestWelcome::showInExplorer_data()
{
    QTest::addColumn<QString>("name"); // in the fixture's folder; empty for an empty path
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("answer"); // QMessageBox::StandardButton
    QTest::addColumn<bool>("removed");

    QTest::newRow("existing") << "shown.veldra" << true << int(QMessageBox::NoButton) << false;
    QTest::newRow("missing, remove") << "gone.veldra" << false << int(QMessageBox::Yes) << true;
    QTest::newRow("missing, keep") << "gone.veldra" << false << int(QMessageBox::No) << false;
    QTest::newRow("missing, box closed")
            << "gone.veldra" << false << int(QMessageBox::NoButton) << false;
    QTest::newRow("empty path") << QString() << false << int(QMessageBox::NoButton) << false;
}

void TestWelcome::showInExplorer()
{
    QFETCH(QString, name);
    QFETCH(bool, exists);
    QFETCH(int, answer);
    QFETCH(bool, removed);

    const QString path = name.isEmpty() ? QString() : m_fixture->filePath(name);
    if (exists)
        QVERIFY(touch(path));
    const QStringList before{"/p/a.veldra", path};
    storeRecent(before);
    MessageBoxAnswerer answerer{QMessageBox::StandardButton(answer)};
    UrlRecorder urls;
    QSignalSpy notified(area(), &IMainMdiArea::resetRecentFiles);

    area()->showInExplorer(path);

    QCOMPARE(storedRecent(), removed ? QStringList("/p/a.veldra") : before);
    QCOMPARE(notified.count(), removed ? 1 : 0);
    if (exists) {
        QCOMPARE(answerer.count(), 0);
        QCOMPARE(urls.urls(), QList<QUrl>({QUrl("file:///" + m_fixture->path())}));
        QCOMPARE(QDir::cleanPath(urls.urls().value(0).toLocalFile()), m_fixture->path());
        return;
    }
    QCOMPARE(urls.urls(), QList<QUrl>());
    QCOMPARE(answerer.count(), path.isEmpty() ? 0 : 1);
    if (path.isEmpty())
        return;
    const MessageBoxAnswerer::Box box = answerer.last();
    QCOMPARE(box.title, QStringLiteral("Veldra"));
    QCOMPARE(box.text, QStringLiteral("The project [%1] no longer exists.\n"
                                      "Remove this entry from history?")
                               .arg(path));
    QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.defaultButton, QMessageBox::Yes);
    QCOMPARE(box.parent.data(), area());
}

void TestWelcome::openFile_data()
{
    QTest::addColumn<QString>("requested"); // relative ones are looked up next to the executable
    QTest::addColumn<QString>("createdAt"); // "app", "cwd" or "" (nowhere)
    QTest::addColumn<bool>("asProject");

    QTest::newRow("project next to the executable") << "welcome-files/a.veldra"
                                                    << "app" << true;
    QTest::newRow("capital suffix") << "welcome-files/b.VELDRA"
                                    << "app" << true;
    QTest::newRow("pack, mixed case") << "welcome-files/c.VeldraPack"
                                      << "app" << true;
    QTest::newRow("other file") << "welcome-files/manual.pdf"
                                << "app" << false;
    QTest::newRow("only in the current directory") << "welcome-files/d.veldra"
                                                   << "cwd" << false;
    QTest::newRow("missing") << "welcome-files/e.veldra"
                             << "" << false;
}

void TestWelcome::openFile()
{
    QFETCH(QString, requested);
    QFETCH(QString, createdAt);
    QFETCH(bool, asProject);

    AppDirFolder appFolder(QStringLiteral("welcome-files"));
    const QString resolved = QDir(QCoreApplication::applicationDirPath()).filePath(requested);
    const QString previousCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_fixture->path()));
    QVERIFY(QDir().mkpath(QStringLiteral("welcome-files")));
    if (!createdAt.isEmpty())
        QVERIFY(touch(createdAt == QLatin1String("app") ? resolved : requested));
    const QStringList recent{"/p/a.veldra"};
    storeRecent(recent);
    MessageBoxAnswerer answerer;
    UrlRecorder urls;

    area()->openFile(requested);
    QDir::setCurrent(previousCurrent);

    QCOMPARE(m_factory->lastDocument() != nullptr, asProject);
    if (asProject)
        QCOMPARE(m_factory->lastDocument()->getFileName(), resolved);
    const bool toSystem = createdAt == QLatin1String("app") && !asProject;
    QCOMPARE(urls.urls(), toSystem ? QList<QUrl>({QUrl::fromLocalFile(resolved)}) : QList<QUrl>());
    const bool missing = createdAt != QLatin1String("app");
    QCOMPARE(answerer.count(), missing ? 1 : 0);
    if (missing) {
        QCOMPARE(answerer.last().text, "Couldn't find the requested file.\n" + resolved);
        QCOMPARE(answerer.last().title, QStringLiteral("Veldra"));
        QCOMPARE(answerer.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(answerer.last().parent.data(), m_fixture->mainWindow());
        QCOMPARE(storedRecent(), recent);
    }
}

void TestWelcome::openURL_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("opened");

    QTest::newRow("http") << "http://example.org/a?b=c" << true;
    QTest::newRow("https") << "https://example.org/" << true;
    QTest::newRow("capital scheme") << "HTTP://example.org/" << false;
    QTest::newRow("file") << "file:///etc/passwd" << false;
    QTest::newRow("no scheme") << "example.org" << false;
    QTest::newRow("empty") << "" << false;
}

void TestWelcome::openURL()
{
    QFETCH(QString, address);
    QFETCH(bool, opened);

    MessageBoxAnswerer answerer;
    UrlRecorder urls;

    area()->openURL(address);

    QCOMPARE(urls.urls(), opened ? QList<QUrl>({QUrl(address)}) : QList<QUrl>());
    QCOMPARE(answerer.count(), opened ? 0 : 1);
    if (!opened) {
        QCOMPARE(answerer.last().text, "URL: " + address);
        QCOMPARE(answerer.last().title, QStringLiteral("Veldra"));
        QCOMPARE(answerer.last().defaultButton, QMessageBox::Ok);
        QCOMPARE(answerer.last().parent.data(), m_fixture->mainWindow());
    }
}

void TestWelcome::callbackTunnelAsyncRunsCommands()
{
    QAction command(QStringLiteral("Test command"));
    command.setCheckable(true);
    command.setEnabled(false);
    const QString id = QStringLiteral("Test.WelcomeCommand");
    ActionManager::registerAction(&command, id, m_fixture->mainWindow(), false);
    QSignalSpy triggered(&command, &QAction::triggered);

    area()->callbackTunnelAsync(id);
    area()->callbackTunnelAsync(QStringLiteral("Test.NoSuchCommand"));
    area()->callbackTunnelAsync(QString());

    QCOMPARE(triggered.count(), 1);
    QCOMPARE(triggered.at(0).at(0).toBool(), true);
    QVERIFY(!command.isChecked());
    ActionManager::unregisterAction(&command, id, QString());
}

void TestWelcome::callbackAsyncfromJS_data()
{
    QTest::addColumn<QString>("cmd");
    QTest::addColumn<QString>("answer");

    QTest::newRow("build number") << "WelcomeScreen.getBuildNumber"
                                  << "1.1.0";
    QTest::newRow("build number, other case") << "welcomescreen.getbuildnumber"
                                              << "";
    QTest::newRow("locale") << "WelcomeScreen.getLocale"
                            << "de_DE";
    QTest::newRow("locale, other case") << "WelcomeScreen.GetLocale"
                                        << "";
    QTest::newRow("locale, padded") << " WelcomeScreen.getLocale"
                                    << "";
    QTest::newRow("unknown") << "WelcomeScreen.getUser"
                             << "";
}

void TestWelcome::callbackAsyncfromJS()
{
    QFETCH(QString, cmd);
    QFETCH(QString, answer);

    m_fixture->userSettings()->setValue(QStringLiteral("Veldra/Language"), "de_DE");
    ILanguageManager::getInstance().initialize();

    QCOMPARE(area()->callbackAsyncfromJS(cmd, QStringLiteral("ignored")), answer);
}

VELDRA_TEST_MAIN(TestWelcome)
#include "tst_welcome.moc"
