#include "appdirfolder.h"
#include "corefixture.h"
#include "testdocumentfactory.h"
#include "testmain.h"
#include "webchannelclient.h"

#include "actionmanager.h"
#include "contextaction.h"
#include "imainmdiarea.h"
#include "mainwindow.h"
#include "portfile.h"
#include "welcomeinfo.h"
#include "welcomeplugin.h"
#include "welcomeview.h"

#include <extensionsystem/pluginmanager.h>

#include <QDir>
#include <QFile>
#include <QUrlQuery>
#include <QWebSocketServer>

class TestWelcomePlugin : public QObject
{
    Q_OBJECT

private slots:
    void portFile_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<int>("port");
        QTest::addColumn<bool>("written");
        QTest::newRow("port") << "port" << 40123 << true;
        QTest::newRow("replacing a file anybody could read") << "old" << 40123 << true;
        QTest::newRow("folder missing") << "no/such/folder/port" << 40123 << false;
        QTest::newRow("not listening") << "port" << 0 << false;
    }

    // Port and secret, readable by the owner only: another user must not learn the secret.
    void portFile()
    {
        QFETCH(QString, relativePath);
        QFETCH(int, port);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QString path = dir.filePath(relativePath);
        QFile file(path);
        if (relativePath == "old") {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.close();
            QVERIFY(file.setPermissions(file.permissions() | QFile::ReadOther));
        }
        if (!written)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("port"));
        const QString secret("00112233445566778899aabbccddeeff");
        QCOMPARE(PortFile::write(path, quint16(port), secret), written);
        QCOMPARE(file.open(QIODevice::ReadOnly), written);
        if (!written)
            return;
        QCOMPARE(file.readAll(), QByteArray::number(port) + '\n' + secret.toLatin1() + '\n');
        QCOMPARE(file.permissions() & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList(relativePath));
    }

    void pageUrl_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("theme");
        QTest::newRow("awkward folder") << "/home/a b/#1 100%/index.html"
                                        << "Blue_night";
        QTest::newRow("no theme") << "/opt/index.html"
                                  << "";
    }

    // The page must find the file it was loaded from and read the port and theme back from the
    // query, whatever characters the installation folder holds. The secret travels in the
    // fragment, which never leaves the browser.
    void pageUrl()
    {
        QFETCH(QString, page);
        QFETCH(QString, theme);
        const QUrl url = WelcomeView::pageUrl(page, 40123, theme, "0f3a");
        QVERIFY(url.isLocalFile());
        QCOMPARE(url.toLocalFile(), page);
        const QUrlQuery query(url);
        QCOMPARE(query.queryItemValue("port"), QString("40123"));
        QCOMPARE(query.hasQueryItem("theme"), !theme.isEmpty());
        QCOMPARE(query.queryItemValue("theme"), theme);
        QCOMPARE(url.fragment(), QString("token=0f3a"));
    }

    // The plug-in in a real main window started with a project named on the command line: the
    // web engine does not start for the hidden page. Once the project closes, the page in a view
    // over the MDI area, its helper object answering over the channel; made again if destroyed.
    void pluginInMainWindow()
    {
        CoreFixture fixture;
        const QString existing = fixture.touch("here.veldra");
        const QString missing = fixture.filePath("gone.veldra");
        const QString folder = fixture.path();
        fixture.userSettings()->setValue("Veldra/RecentProjects",
                                         QStringList{missing, existing, folder});
        const QString portFile = fixture.filePath("port");
        qputenv(PortFile::environmentVariable, portFile.toLocal8Bit());

        AppDirFolder pageFolder("resources/welcome");
        // A page that asks the bridge for its objects, the way the welcome page connects.
        QVERIFY(pageFolder.writeFile(
                "index.html",
                "<script>const port = new URLSearchParams(location.search).get('port');"
                "const socket = new WebSocket(`ws://127.0.0.1:${port}/?${location.hash.slice(1)}`);"
                "socket.onopen = () => socket.send('{\"type\":3,\"id\":0}');"
                "socket.onmessage = () => { document.title = 'answered'; };</script>"));
        TestDocumentFactory factory;
        ExtensionSystem::PluginManager::addObject(&factory);
        ExtensionSystem::PluginManager::setArguments({existing});
        WelcomePlugin plugin;
        plugin.extensionsInitialized();
        qunsetenv(PortFile::environmentVariable);

        MainWindow *window = fixture.mainWindow();
        window->resize(900, 700);
        window->extensionsInitialized(); // shows the window, then opens the arguments
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_COMPARE(factory.editors().size(), 1);
        QTest::qWait(500);
        QVERIFY(!plugin.view());
        QCOMPARE(webEngineHelperCount(), 0);
        // Scripts may talk to the bridge before any page does.
        const quint16 port = window->getServer()->serverPort();
        quint16 writtenPort = 0;
        QString secret;
        QVERIFY(WebChannelClient::readPortFile(portFile, &writtenPort, &secret));
        QCOMPARE(writtenPort, port);
        QCOMPARE(secret, window->getSecret());

        ActionManager::getAction("File.Close")->getAction()->trigger();
        IMainMdiArea *area = window->getMdiArea();
        QTRY_VERIFY(plugin.view());
        QTRY_COMPARE(plugin.view()->url(),
                     WelcomeView::pageUrl(WelcomeView::pageFilePath(), port,
                                          WelcomeInfo().getThemeId(), secret));
        QTRY_COMPARE(plugin.view()->geometry(), area->viewport()->rect());
        // The page from disk in the application's own view passes both walls: the web view
        // sends "file://" as its origin, and the secret comes with the page's address.
        QTRY_COMPARE_WITH_TIMEOUT(plugin.view()->title(), QString("answered"), 20000);

        WebChannelClient client;
        QVERIFY(client.open(port, secret));
        QVERIFY(client.initialize());
        QCOMPARE(client.invoke(WelcomeInfo::channelName, "getMissingRecentFiles"),
                 QJsonValue(QJsonArray{missing, folder}));

        delete plugin.view();
        QTRY_VERIFY(plugin.view());
        ExtensionSystem::PluginManager::removeObject(&factory);
    }

private:
    // QtWebEngineProcess helpers started by this process (/proc cuts names to 15 characters).
    static int webEngineHelperCount()
    {
        int count = 0;
        const QByteArray parent =
                "PPid:\t" + QByteArray::number(QCoreApplication::applicationPid()) + '\n';
        for (const QString &pid : QDir("/proc").entryList(QDir::Dirs)) {
            QFile status("/proc/" + pid + "/status");
            if (status.open(QIODevice::ReadOnly)) {
                const QByteArray text = status.readAll();
                count += text.startsWith("Name:\tQtWebEngineProc\n") && text.contains(parent);
            }
        }
        return count;
    }
};

VELDRA_TEST_MAIN(TestWelcomePlugin)
#include "tst_welcomeplugin.moc"
