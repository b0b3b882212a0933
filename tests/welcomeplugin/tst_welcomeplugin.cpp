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
        QFile file(dir.filePath(relativePath));
        if (relativePath == "old")
            QVERIFY(file.open(QIODevice::WriteOnly) &&
                    file.setPermissions(file.permissions() | QFile::ReadOther));
        file.close();
        if (!written)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("port"));
        const QString secret("00112233445566778899aabbccddeeff");
        QCOMPARE(PortFile::write(file.fileName(), quint16(port), secret), written);
        if (!written)
            return;
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray::number(port) + '\n' + secret.toLatin1() + '\n');
        QCOMPARE(file.permissions() & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList(relativePath));
    }

    // Started with a project on the command line, the plug-in makes no page while it is hidden.
    // Once the project closes: the page in a view over the MDI area, answered over the channel;
    // made again if destroyed.
    void pluginInMainWindow()
    {
        CoreFixture fixture;
        const QString existing = fixture.touch("here.veldra");
        const QString missing = fixture.filePath("gone.veldra");
        fixture.userSettings()->setValue("Veldra/RecentProjects",
                                         QStringList{missing, existing, fixture.path()});
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
        QTRY_COMPARE(factory.editors().size(), 1);
        QTest::qWait(500);
        QVERIFY(!plugin.view());
        // Scripts may talk to the bridge before any page does.
        const quint16 port = window->getServer()->serverPort();
        quint16 writtenPort = 0;
        QString secret;
        QVERIFY(WebChannelClient::readPortFile(portFile, &writtenPort, &secret));
        QCOMPARE(writtenPort, port);
        QCOMPARE(secret, window->getSecret());

        ActionManager::getAction("File.Close")->getAction()->trigger();
        QTRY_VERIFY(plugin.view());
        QTRY_COMPARE(plugin.view()->url(),
                     WelcomeView::pageUrl(WelcomeView::pageFilePath(), port,
                                          WelcomeInfo().getThemeId(), secret));
        QTRY_COMPARE(plugin.view()->geometry(), window->getMdiArea()->viewport()->rect());
        // The page from disk in the application's own view passes both walls: the web view sends
        // "file://" as its origin, and the secret comes with the page's address.
        QTRY_COMPARE_WITH_TIMEOUT(plugin.view()->title(), QString("answered"), 20000);
        // Its helper object lists the recent projects that are no longer files.
        WebChannelClient client;
        QVERIFY(client.open(port, secret) && client.initialize());
        QCOMPARE(client.invoke(WelcomeInfo::channelName, "getMissingRecentFiles"),
                 QJsonValue(QJsonArray{missing, fixture.path()}));
        delete plugin.view();
        QTRY_VERIFY(plugin.view());
        ExtensionSystem::PluginManager::removeObject(&factory);
    }
};

VELDRA_TEST_MAIN(TestWelcomePlugin)
#include "tst_welcomeplugin.moc"
