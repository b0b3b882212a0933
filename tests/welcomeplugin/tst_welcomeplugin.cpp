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
    // Port and secret, readable by the owner only, even over a file anybody could read: another
    // user must not learn the secret. Without its folder nothing is written.
    void portFile()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("port"));
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.setPermissions(file.permissions() | QFile::ReadOther));
        file.close();
        const QString secret("00112233445566778899aabbccddeeff");
        QVERIFY(PortFile::write(file.fileName(), 40123, secret));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "40123\n" + secret.toLatin1() + '\n');
        QCOMPARE(file.permissions() & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList("port"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("port"));
        QVERIFY(!PortFile::write(dir.filePath("no/such/folder/port"), 40123, secret));
    }

    // Started with a project on the command line, the plug-in makes no page while it is hidden.
    // Once the project closes: the page in a view over the MDI area, its helper object on the
    // channel; made again if destroyed.
    void pluginInMainWindow()
    {
        CoreFixture fixture;
        const QString existing = fixture.touch("here.veldra");
        const QString missing = fixture.filePath("gone.veldra");
        fixture.userSettings()->setValue("Veldra/RecentProjects",
                                         QStringList{missing, existing, fixture.path()});
        const QString portFile = fixture.filePath("port");
        qputenv(PortFile::environmentVariable, portFile.toLocal8Bit());
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
