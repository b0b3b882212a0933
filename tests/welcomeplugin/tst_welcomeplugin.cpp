#include "appdirfolder.h"
#include "corefixture.h"
#include "testmain.h"
#include "webchannelclient.h"

#include "imainmdiarea.h"
#include "mainwindow.h"
#include "portfile.h"
#include "welcomeinfo.h"
#include "welcomeplugin.h"
#include "welcomeview.h"

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
        QTest::newRow("folder missing") << "no/such/folder/port" << 40123 << false;
        QTest::newRow("not listening") << "port" << 0 << false;
    }

    void portFile()
    {
        QFETCH(QString, relativePath);
        QFETCH(int, port);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QString path = dir.filePath(relativePath);
        if (!written)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("port"));
        QCOMPARE(PortFile::write(path, quint16(port)), written);
        QFile file(path);
        QCOMPARE(file.open(QIODevice::ReadOnly), written);
        if (written)
            QCOMPARE(file.readAll(), QByteArray::number(port) + '\n');
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
    // query, whatever characters the installation folder holds.
    void pageUrl()
    {
        QFETCH(QString, page);
        QFETCH(QString, theme);
        const QUrl url = WelcomeView::pageUrl(page, 40123, theme);
        QVERIFY(url.isLocalFile());
        QCOMPARE(url.toLocalFile(), page);
        const QUrlQuery query(url);
        QCOMPARE(query.queryItemValue("port"), QString("40123"));
        QCOMPARE(query.hasQueryItem("theme"), !theme.isEmpty());
        QCOMPARE(query.queryItemValue("theme"), theme);
    }

    // The plug-in in a real main window: the page in a view over the MDI area, its helper object
    // answering over the channel, and the port file.
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
        QVERIFY(pageFolder.writeFile("index.html", "<p>welcome</p>"));
        WelcomePlugin plugin;
        plugin.extensionsInitialized();
        qunsetenv(PortFile::environmentVariable);

        MainWindow *window = fixture.mainWindow();
        IMainMdiArea *area = window->getMdiArea();
        QVERIFY(plugin.view());
        QCOMPARE(area->getWelcomeWidget(), plugin.view());
        const quint16 port = window->getServer()->serverPort();
        QTRY_COMPARE(plugin.view()->url(), WelcomeView::pageUrl(WelcomeView::pageFilePath(), port,
                                                                WelcomeInfo().getThemeId()));
        QFile written(portFile);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().trimmed().toInt(), int(port));

        window->resize(900, 700);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_COMPARE(plugin.view()->geometry(), area->viewport()->rect());

        WebChannelClient client;
        QVERIFY(client.open(port));
        QVERIFY(client.initialize());
        QCOMPARE(client.invoke(WelcomeInfo::channelName, "getMissingRecentFiles"),
                 QJsonValue(QJsonArray{missing, folder}));
    }
};

VELDRA_TEST_MAIN(TestWelcomePlugin)
#include "tst_welcomeplugin.moc"
