#include "tst_updater.h"

#include "downloader.h"
#include "mainwindow.h"
#include "qsimpleupdater.h"
#include "updater.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

namespace {

QSimpleUpdater *registry()
{
    return QSimpleUpdater::getInstance();
}

// Neither notification is on, so an available update is only recorded: no dialog.
void prepareQuietCheck(const QString &url, const QString &moduleVersion)
{
    registry()->setNotifyOnUpdate(url, false);
    registry()->setNotifyOnFinish(url, false);
    registry()->setModuleVersion(url, moduleVersion);
}

// Every getter of the registry for one address, in a fixed order.
QVariantList stateOf(const QString &url)
{
    QSimpleUpdater *r = registry();
    return {r->getModuleName(url),      r->getModuleVersion(url),
            r->getUserAgentString(url), r->getPlatformKey(url),
            r->getOpenUrl(url),         r->getChangelog(url),
            r->getDownloadUrl(url),     r->getLatestVersion(url),
            r->getNotifyOnUpdate(url),  r->getNotifyOnFinish(url),
            r->getUpdateAvailable(url), r->getDownloaderEnabled(url),
            r->usesCustomAppcast(url),  r->usesCustomInstallProcedures(url)};
}

void addCompareRow(const char *x, const char *y, bool newer)
{
    QTest::addRow("%s vs %s", x, y) << QString(x) << QString(y) << newer;
}

} // namespace

void TestUpdater::compare_data()
{
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<bool>("newer");
    addCompareRow("1.2.10", "1.2.9", true); // numbers, not text
    addCompareRow("1.9", "1.10", false);
    addCompareRow("2.0.0", "1.9.9", true);
    addCompareRow("1.2.0", "1.2", true); // an extra part wins only when the rest is equal
    addCompareRow("1.2", "1.2.0", false);
    addCompareRow("1.2", "1.2", false);
    addCompareRow("2.0beta", "2.0", false); // a part that is not a number counts 0
    addCompareRow("2.beta", "2.1", false);
    addCompareRow("1..3", "1.0.2", true);
    addCompareRow("", "1.0", false);
    addCompareRow("1.0", "", true);
}

void TestUpdater::compare()
{
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(bool, newer);
    QCOMPARE(Updater::compare(x, y), newer);
}

void TestUpdater::registryDefaultsAndSetters()
{
    const QString url = uniqueUrl(QStringLiteral("/appcast.json"));
    const QVariantList defaults{"VeldraTests",
                                "1.4.2",
                                "VeldraTests/1.4.2 (Updater)",
                                "windows",
                                "",
                                "",
                                "",
                                "",
                                true,
                                false,
                                false,
                                true,
                                false,
                                false};
    QCOMPARE(stateOf(url), defaults);

    registry()->setModuleName(url, QStringLiteral("Studio"));
    registry()->setModuleVersion(url, QStringLiteral("3.0"));
    registry()->setUserAgentString(url, QStringLiteral("Agent/1"));
    registry()->setPlatformKey(url, QStringLiteral("linux"));
    registry()->setNotifyOnUpdate(url, false);
    registry()->setNotifyOnFinish(url, true);
    registry()->setDownloaderEnabled(url, false);
    registry()->setUseCustomAppcast(url, true);
    registry()->setUseCustomInstallProcedures(url, true);
    const QVariantList changed{"Studio", "3.0", "Agent/1", "linux", "",    "",   "",
                               "",       false, true,      false,   false, true, true};
    QCOMPARE(stateOf(url), changed);

    // Addresses are told apart exactly, case included.
    QCOMPARE(stateOf(url.toUpper()), defaults);
    QCOMPARE(stateOf(url), changed);
}

void TestUpdater::checkReadsPlatformEntry_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("moduleVersion");
    QTest::addColumn<QStringList>("expected"); // "$" stands for the server's address
    const QString notes = QStringLiteral("<ul><li>Faster export</li></ul>");
    QTest::newRow("newer") << "windows"
                           << "2.0" << QStringList{"true", "2.1.0", "$/files/setup.bin", "", notes};
    QTest::newRow("same") << "windows"
                          << "2.1.0"
                          << QStringList{"false", "2.1.0", "$/files/setup.bin", "", notes};
    QTest::newRow("no open-url") << "linux"
                                 << "2.1.9"
                                 << QStringList{"true", "2.2.0", "$/files/veldra-linux.bin", "",
                                                "$/notes.html"};
    QTest::newRow("open-url") << "osx"
                              << "1.0"
                              << QStringList{"true", "2.1.0", "$/files/setup.dmg",
                                             "$/download-page", notes};
    QTest::newRow("missing platform") << "solaris"
                                      << "0.1" << QStringList{"false", "", "", "", ""};
}

void TestUpdater::checkReadsPlatformEntry()
{
    QFETCH(QString, platform);
    QFETCH(QString, moduleVersion);
    QFETCH(QStringList, expected);
    expected.replaceInStrings(QStringLiteral("$"), m_server->url(QString()));

    const QString url = uniqueUrl(QStringLiteral("/appcast.json"));
    prepareQuietCheck(url, moduleVersion);
    registry()->setPlatformKey(url, platform);
    QCOMPARE(checkAndWait(url, true), QStringList{url});

    const QStringList read{registry()->getUpdateAvailable(url) ? "true" : "false",
                           registry()->getLatestVersion(url), registry()->getDownloadUrl(url),
                           registry()->getOpenUrl(url), registry()->getChangelog(url)};
    QCOMPARE(read, expected);
    QCOMPARE(m_answerer->count(), 0);
}

void TestUpdater::redirectsAreFollowed_data()
{
    QTest::addColumn<int>("redirects");
    QTest::newRow("one") << 1;
    QTest::newRow("ten, the most allowed") << 10;
}

// checkingFinished() names the target; the registry still knows the address it was given.
void TestUpdater::redirectsAreFollowed()
{
    QFETCH(int, redirects);
    const QString hops = QStringLiteral("/redirect/%1").arg(redirects);
    const QString url = uniqueUrl(hops + QStringLiteral("/appcast.json"));
    prepareQuietCheck(url, QStringLiteral("2.0"));

    QCOMPARE(checkAndWait(url, true), QStringList{QString(url).remove(hops)});
    QCOMPARE(registry()->getLatestVersion(url), QStringLiteral("2.1.0"));
    QVERIFY(registry()->getUpdateAvailable(url));
}

void TestUpdater::failedCheckMeansNoUpdate_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("not found") << "/status/404";
    QTest::newRow("server error") << "/status/500";
    QTest::newRow("not JSON") << "/notjson";
    QTest::newRow("more than 1 MiB") << "/huge-appcast.json";
    QTest::newRow("eleven redirects") << "/redirect/11/appcast.json";
}

// None of these is read as an appcast (the last two would announce 2.1.0): the check reports
// no update, and says so when asked to.
void TestUpdater::failedCheckMeansNoUpdate()
{
    QFETCH(QString, path);
    const QString url = uniqueUrl(path);
    prepareQuietCheck(url, QStringLiteral("1.0"));
    registry()->setNotifyOnFinish(url, true);

    QCOMPARE(checkAndWait(url, false).size(), 1);
    QVERIFY(!registry()->getUpdateAvailable(url));
    QVERIFY(registry()->getLatestVersion(url).isEmpty());
    QCOMPARE(m_answerer->count(), 1);
    QVERIFY(m_answerer->last().text.contains(QLatin1String("Congratulations!")));
}

// The raw appcast goes to the caller before checkingFinished(); nothing is compared.
void TestUpdater::customAppcastHandsOverRawBytes()
{
    const QString url = uniqueUrl(QStringLiteral("/appcast.json"));
    prepareQuietCheck(url, QStringLiteral("1.0"));
    checkAndWait(url, true);
    QVERIFY(registry()->getUpdateAvailable(url));

    registry()->setUseCustomAppcast(url, true);
    registry()->setModuleVersion(url, QStringLiteral("9.0")); // no update, if it were compared
    QStringList order;
    QByteArray data;
    QObject receiver;
    connect(registry(), &QSimpleUpdater::appcastDownloaded, &receiver,
            [&](const QString &, const QByteArray &bytes) {
                order.append(QStringLiteral("appcast"));
                data = bytes;
            });
    connect(registry(), &QSimpleUpdater::checkingFinished, &receiver,
            [&] { order.append(QStringLiteral("finished")); });

    checkAndWait(url, false);
    QCOMPARE(order, (QStringList{QStringLiteral("appcast"), QStringLiteral("finished")}));
    const QJsonObject updates = QJsonDocument::fromJson(data).object().value("updates").toObject();
    QCOMPARE(updates.value("windows").toObject().value("latest-version").toString(),
             QStringLiteral("2.1.0"));
    QVERIFY(registry()->getUpdateAvailable(url));
}

void TestUpdater::noUpdateMessage_data()
{
    QTest::addColumn<bool>("silent");
    QTest::addColumn<bool>("notifyOnFinish");
    QTest::addColumn<bool>("box");
    QTest::newRow("silent wins") << true << true << false;
    QTest::newRow("asked for") << false << true << true;
    QTest::newRow("not asked for") << false << false << false;
}

void TestUpdater::noUpdateMessage()
{
    QFETCH(bool, silent);
    QFETCH(bool, notifyOnFinish);
    QFETCH(bool, box);
    const QString url = uniqueUrl(QStringLiteral("/appcast.json"));
    registry()->setModuleVersion(url, QStringLiteral("2.1.0"));
    registry()->setModuleName(url, QStringLiteral("Veldra Test"));
    registry()->setNotifyOnFinish(url, notifyOnFinish);

    QCOMPARE(checkAndWait(url, silent).size(), 1);
    QCOMPARE(m_answerer->count(), box ? 1 : 0);
    if (box) {
        QCOMPARE(boxFields(m_answerer->last()),
                 expectedBox("<h3>Congratulations! You are running the latest version of Veldra "
                             "Test</h3>",
                             QMessageBox::Close, m_fixture->mainWindow()));
    }
}

void TestUpdater::userAgentIsSent()
{
    const QString url = uniqueUrl(QStringLiteral("/echo"));
    registry()->setUseCustomAppcast(url, true);
    QSignalSpy appcast(registry(), &QSimpleUpdater::appcastDownloaded);
    checkAndWait(url, true);
    registry()->setUserAgentString(url, QStringLiteral("Veldra-Agent/7"));
    checkAndWait(url, true);
    QCOMPARE(appcast.count(), 2);
    QVERIFY(appcast.at(0).at(1).toByteArray().contains("User-Agent: VeldraTests/1.4.2 (Updater)"));
    QVERIFY(appcast.at(1).at(1).toByteArray().contains("User-Agent: Veldra-Agent/7"));

    Downloader downloader;
    downloader.setUseCustomInstallProcedures(true);
    downloader.setFileName(QStringLiteral("echo.txt"));
    downloader.setUserAgentString(QStringLiteral("Veldra-Agent/8"));
    QFile echoed(downloadAndWait(downloader, QStringLiteral("/echo")));
    QVERIFY(echoed.open(QIODevice::ReadOnly));
    QVERIFY(echoed.readAll().contains("User-Agent: Veldra-Agent/8"));
}
