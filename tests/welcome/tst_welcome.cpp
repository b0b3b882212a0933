#include "actioncontainer.h"
#include "actionmanager.h"
#include "contextaction.h"
#include "documentmanager.h"
#include "ilanguagemanager.h"
#include "imainmdiarea.h"
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
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QMenu>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QWebChannel>
#include <QWebSocketServer>

#include <memory>

Q_DECLARE_METATYPE(QMessageBox::StandardButton)

namespace {

const QString welcomeName = QStringLiteral("vdwelcome");
const QString recentKey = QStringLiteral("Veldra/RecentProjects");

// The project paths the Recent Projects menu shows, in menu order.
QStringList recentMenuEntries()
{
    QStringList entries;
    const QList<QAction *> actions =
            ActionManager::getActionContainer("File.Recent_Projects")->getMenu()->actions();
    for (QAction *action : actions) {
        if (action->isVisible() && !action->isSeparator())
            entries << action->data().toString();
    }
    return entries;
}

bool touch(const QString &path)
{
    return QFile(path).open(QIODevice::WriteOnly);
}

} // namespace

class TestWelcome : public QObject
{
    Q_OBJECT

    IMainMdiArea *area() const { return m_fixture->mainWindow()->getMdiArea(); }
    VDHTMLExposingWelcome *welcome() const
    {
        return area()->findChild<VDHTMLExposingWelcome *>(QString(), Qt::FindDirectChildrenOnly);
    }
    QSettings *settings() const { return m_fixture->userSettings(); }
    void storeRecent(const QStringList &paths) { settings()->setValue(recentKey, paths); }
    QStringList storedRecent() const { return settings()->value(recentKey).toStringList(); }

    QString loadedProject() const
    {
        return m_factory->lastDocument() ? m_factory->lastDocument()->getFileName() : QString();
    }
    // The one box a test expects, none for an empty text.
    void compareBox(const MessageBoxAnswerer &answerer, const QString &text, QWidget *parent,
                    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
    {
        const MessageBoxAnswerer::Box box = answerer.last();
        QCOMPARE(answerer.count(), int(!text.isEmpty()));
        QCOMPARE(box.title + box.text, text.isEmpty() ? QString() : "Veldra" + text);
        QCOMPARE(box.parent.data(), text.isEmpty() ? nullptr : parent);
        QCOMPARE(box.buttons, text.isEmpty() ? QMessageBox::NoButton : buttons);
        QCOMPARE(box.defaultButton, text.isEmpty() ? QMessageBox::NoButton : defaultButton);
    }

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<TestDocumentFactory> m_factory;

private slots:
    void init()
    {
        m_fixture = std::make_unique<CoreFixture>();
        m_factory = std::make_unique<TestDocumentFactory>();
        ExtensionSystem::PluginManager::addObject(m_factory.get());
    }

    void cleanup()
    {
        // Projects a test opened are taken away as the window's close handling does it.
        for (IDocument *document : DocumentManager::getDocuments())
            emit document->requestClosing(false);
        ExtensionSystem::PluginManager::removeObject(m_factory.get());
        m_fixture.reset();
        m_factory.reset();
    }

    void thePageSeesTheOperationsInOrder()
    {
        const QString expected("void resetRecentFiles(), void showInExplorer(QString), "
                               "void removeFile(QString), QStringList getRecentFileList(), "
                               "void callbackTunnelAsync(QString), "
                               "QString callbackAsyncfromJS(QString,QString), "
                               "void openURL(QString), void openFile(QString)");
        for (const QMetaObject *metaObject :
             {&VDHTMLExposingWelcome::staticMetaObject, &IMainMdiArea::staticMetaObject}) {
            QStringList declared;
            for (int i = metaObject->methodOffset(); i < metaObject->methodCount(); ++i) {
                const QMetaMethod method = metaObject->method(i);
                QCOMPARE(method.access(), QMetaMethod::Public);
                declared << QString(method.typeName()) + ' ' + method.methodSignature();
            }
            QCOMPARE(declared.join(", "), expected);
        }
    }

    void operationsThroughTheWebChannel()
    {
        MessageBoxAnswerer answerer;
        UrlRecorder urls;
        const QString project = m_fixture->filePath(QStringLiteral("page.veldra"));
        QVERIFY(touch(project));
        storeRecent({"/p/a.veldra", "/p/b.veldra"});
        auto *welcome =
                m_fixture->mainWindow()->getChannel()->registeredObjects().value(welcomeName);
        QVERIFY(qobject_cast<VDHTMLExposingWelcome *>(welcome));
        QCOMPARE(welcome->parent(), area());

        const quint16 port = m_fixture->mainWindow()->getServer()->serverPort();
        const QString secret = m_fixture->mainWindow()->getSecret();
        QVERIFY(!WebChannelClient("https://attacker.example").open(port, secret));
        WebChannelClient page;
        QVERIFY(page.open(port, secret));
        QVERIFY(page.initialize());
        QVERIFY(page.connectToSignal(welcomeName, "resetRecentFiles"));
        QCOMPARE(page.invoke(welcomeName, "getRecentFileList"),
                 QJsonValue(QJsonArray{"/p/a.veldra", "/p/b.veldra"}));
        QCOMPARE(page.invoke(welcomeName, "callbackAsyncfromJS",
                             {"WelcomeScreen.getBuildNumber", ""}),
                 QJsonValue("1.1.0"));

        // Each call waits for its answer, so its effects are there when it returns. The list was
        // stored behind the menu's back: only a rebuild makes the menu show it.
        page.invoke(welcomeName, "removeFile", {"/p/unlisted.veldra"});
        QCOMPARE(recentMenuEntries(), QStringList({"/p/a.veldra", "/p/b.veldra"}));
        QVERIFY(page.waitForSignal(welcomeName, "resetRecentFiles", 1));
        page.invoke(welcomeName, "removeFile", {"/p/a.veldra"});
        QCOMPARE(storedRecent(), QStringList("/p/b.veldra"));
        QCOMPARE(recentMenuEntries(), QStringList("/p/b.veldra"));
        QVERIFY(page.waitForSignal(welcomeName, "resetRecentFiles", 2));
        emit area()->resetRecentFiles();
        QVERIFY(page.waitForSignal(welcomeName, "resetRecentFiles", 3));
        page.invoke(welcomeName, "openURL", {"https://example.org/"});
        QCOMPARE(urls.urls(), QList<QUrl>({QUrl("https://example.org/")}));
        page.invoke(welcomeName, "openFile", {project});
        QCOMPARE(loadedProject(), project);
        QCOMPARE(answerer.count(), 0);
    }

    void withoutMainWindowNothingIsReported()
    {
        m_fixture->destroyMainWindow();
        MessageRecorder log;

        IMainMdiArea standalone(nullptr);
        auto *welcome = standalone.findChild<VDHTMLExposingWelcome *>();
        QVERIFY(welcome);
        QCOMPARE(welcome->callbackAsyncfromJS("WelcomeScreen.getBuildNumber", {}),
                 QStringLiteral("1.1.0"));
        QSignalSpy notified(welcome, &VDHTMLExposingWelcome::resetRecentFiles);
        emit standalone.resetRecentFiles();
        QCOMPARE(notified.count(), 1);
        QCOMPARE(log.warnings(), QStringList());
    }

    void showInExplorer_data()
    {
        QTest::addColumn<QString>("name"); // in the fixture's folder; empty for an empty path
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("fileManager");

        QTest::newRow("existing") << "shown.veldra" << true << QMessageBox::NoButton << true;
        QTest::newRow("no file manager") << "shown.veldra" << true << QMessageBox::Ok << false;
        QTest::newRow("missing, remove") << "gone.veldra" << false << QMessageBox::Yes << true;
        QTest::newRow("missing, keep") << "gone.veldra" << false << QMessageBox::No << true;
        QTest::newRow("missing, box closed")
                << "gone.veldra" << false << QMessageBox::NoButton << true;
        QTest::newRow("empty path") << QString() << false << QMessageBox::NoButton << true;
    }

    void showInExplorer()
    {
        QFETCH(QString, name);
        QFETCH(bool, exists);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, fileManager);

        const QString path = name.isEmpty() ? QString() : m_fixture->filePath(name);
        QVERIFY(!exists || touch(path));
        const QStringList before{"/p/a.veldra", path};
        storeRecent(before);
        MessageBoxAnswerer answerer(answer);
        UrlRecorder urls;
        // A handler that cannot be called makes openUrl fail, as it does without a file manager.
        if (!fileManager) {
            QDesktopServices::setUrlHandler("file", &urls, "noSuchSlot");
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("No such method"));
        }
        QSignalSpy notified(area(), &IMainMdiArea::resetRecentFiles);

        area()->showInExplorer(path);

        const bool asked = !exists && !path.isEmpty();
        const bool removed = answer == QMessageBox::Yes;
        QCOMPARE(storedRecent(), removed ? QStringList("/p/a.veldra") : before);
        QCOMPARE(notified.count(), removed ? 1 : 0);
        QCOMPARE(urls.urls(), exists && fileManager
                                      ? QList<QUrl>{QUrl("file://" + m_fixture->path())}
                                      : QList<QUrl>());
        QString text;
        if (asked)
            text = QString("The project [%1] no longer exists.\nRemove this entry from history?")
                           .arg(path);
        else if (!fileManager)
            text = QString("Could not open file %1.\nNo file manager is available to show the "
                           "folder %2.")
                           .arg(path, m_fixture->path());
        compareBox(answerer, text, area(),
                   asked ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                   asked ? QMessageBox::Yes : QMessageBox::Ok);
    }

    void openFile_data()
    {
        QTest::addColumn<QString>("requested"); // relative: looked up next to the executable
        QTest::addColumn<QString>("createdAt"); // "app", "cwd" or "" (nowhere)
        QTest::addColumn<bool>("asProject");
        const auto row = [](const char *name, const char *requested, const char *createdAt,
                            bool asProject) {
            QTest::newRow(name) << QString(requested) << QString(createdAt) << asProject;
        };

        row("capital suffix", "welcome-files/b.VELDRA", "app", true);
        row("pack, mixed case", "welcome-files/c.VeldraPack", "app", true);
        row("other file", "welcome-files/manual.pdf", "app", false);
        row("only in the current directory", "welcome-files/d.veldra", "cwd", false);
        row("missing", "welcome-files/e.veldra", "", false);
    }

    void openFile()
    {
        QFETCH(QString, requested);
        QFETCH(QString, createdAt);
        QFETCH(bool, asProject);

        AppDirFolder appFolder(QStringLiteral("welcome-files"));
        const QString resolved = QDir(QCoreApplication::applicationDirPath()).filePath(requested);
        const QString previousCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_fixture->path()));
        QVERIFY(QDir().mkpath(QStringLiteral("welcome-files")));
        QVERIFY(createdAt.isEmpty() || touch(createdAt == "app" ? resolved : requested));
        storeRecent({"/p/a.veldra"});
        MessageBoxAnswerer answerer;
        UrlRecorder urls;

        area()->openFile(requested);
        QDir::setCurrent(previousCurrent);

        const bool found = createdAt == "app";
        QCOMPARE(loadedProject(), asProject ? resolved : QString());
        QCOMPARE(urls.urls(),
                 found && !asProject ? QList<QUrl>{QUrl::fromLocalFile(resolved)} : QList<QUrl>());
        compareBox(answerer, found ? QString() : "Couldn't find the requested file.\n" + resolved,
                   m_fixture->mainWindow(), QMessageBox::Ok, QMessageBox::Ok);
        if (!found)
            QCOMPARE(storedRecent(), QStringList("/p/a.veldra"));
    }

    void openURL_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("opened");

        QTest::newRow("http") << "http://example.org/a?b=c" << true;
        QTest::newRow("https") << "https://example.org/" << true;
        QTest::newRow("capital scheme") << "HTTP://example.org/" << false;
        QTest::newRow("file") << "file:///etc/passwd" << false;
    }

    void openURL()
    {
        QFETCH(QString, address);
        QFETCH(bool, opened);

        MessageBoxAnswerer answerer;
        UrlRecorder urls;
        area()->openURL(address);
        QCOMPARE(urls.urls(), opened ? QList<QUrl>{QUrl(address)} : QList<QUrl>());
        compareBox(answerer, opened ? QString() : "URL: " + address, m_fixture->mainWindow(),
                   QMessageBox::Ok, QMessageBox::Ok);
    }

    // The menus' way in runs a command whatever its state; the page's runs only enabled ones.
    void callbackTunnelAsyncRunsDisabledCommandsOnlyForTheMenus()
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

        welcome()->callbackTunnelAsync(id);
        welcome()->callbackTunnelAsync(QStringLiteral("Test.NoSuchCommand"));
        QCOMPARE(triggered.count(), 1);
        command.setEnabled(true);
        welcome()->callbackTunnelAsync(id);
        QCOMPARE(triggered.count(), 2);
        ActionManager::unregisterAction(&command, id, QString());
    }

    void pageRequestsDoNotNestDialogs_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("argument");

        QTest::newRow("openURL") << "openURL"
                                 << "x";
        QTest::newRow("openFile") << "openFile"
                                  << "/no/such/file.veldra";
        QTest::newRow("showInExplorer") << "showInExplorer"
                                        << "/no/such/file.veldra";
        QTest::newRow("callbackTunnelAsync") << "callbackTunnelAsync"
                                             << "Test.WelcomeCommand";
    }

    // Every operation here opens a box, or runs a command, when nothing else is open. While a
    // modal dialog is open it does nothing.
    void pageRequestsDoNotNestDialogs()
    {
        QFETCH(QString, operation);
        QFETCH(QString, argument);

        QAction command(QStringLiteral("Test command"));
        ActionManager::registerAction(&command, "Test.WelcomeCommand", m_fixture->mainWindow(),
                                      false);
        QSignalSpy triggered(&command, &QAction::triggered);
        MessageBoxAnswerer answerer;
        const auto request = [&] {
            QVERIFY(QMetaObject::invokeMethod(welcome(), qPrintable(operation),
                                              Q_ARG(QString, argument)));
        };

        QDialog dialog(m_fixture->mainWindow());
        dialog.setModal(true);
        dialog.show();
        QCOMPARE(QApplication::activeModalWidget(), &dialog);
        MessageRecorder log;
        request();
        request();
        QCOMPARE(answerer.count() + triggered.count(), 0);
        QCOMPARE(log.messages(QtInfoMsg).size(), 1); // once per dialog, not once per request

        dialog.close();
        request();
        QCOMPARE(answerer.count() + triggered.count(), 1);
        ActionManager::unregisterAction(&command, "Test.WelcomeCommand", QString());
    }

    void callbackAsyncfromJS_data()
    {
        QTest::addColumn<QString>("cmd");
        QTest::addColumn<QString>("answer");

        for (const char *cmd :
             {"welcomescreen.getbuildnumber", "WelcomeScreen.GetLocale", "WelcomeScreen.getUser"})
            QTest::newRow(cmd) << QString(cmd) << QString();
        QTest::newRow("build number") << "WelcomeScreen.getBuildNumber"
                                      << "1.1.0";
        QTest::newRow("locale") << "WelcomeScreen.getLocale"
                                << "de_DE";
    }

    void callbackAsyncfromJS()
    {
        QFETCH(QString, cmd);
        QFETCH(QString, answer);

        settings()->setValue(QStringLiteral("Veldra/Language"), "de_DE");
        ILanguageManager::getInstance().initialize();
        QCOMPARE(area()->callbackAsyncfromJS(cmd, QStringLiteral("ignored")), answer);
    }
};

VELDRA_TEST_MAIN(TestWelcome)
#include "tst_welcome.moc"
