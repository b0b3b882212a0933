#include "downloader.h"
#include "mainwindow.h"
#include "qsimpleupdater.h"
#include "updater.h"
#include "updateschedule.h"

#include "corefixture.h"
#include "localhttpserver.h"
#include "messageboxanswerer.h"
#include "messagerecorder.h"
#include "releasenotesanswerer.h"
#include "settingsondisk.h"
#include "testmain.h"
#include "urlrecorder.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

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

QVariantList boxFields(const MessageBoxAnswerer::Box &box)
{
    return {box.title, box.text, int(box.buttons),
            QVariant::fromValue(static_cast<QObject *>(box.parent.data()))};
}

QVariantList expectedBox(const QString &text, QMessageBox::StandardButtons buttons, QObject *parent)
{
    return {QStringLiteral("Veldra"), text, int(buttons), QVariant::fromValue(parent)};
}

QString downloadPath(const QString &name)
{
    return QDir::homePath() + QStringLiteral("/Downloads/") + name;
}

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

QString labelText(const Downloader &downloader, const char *name)
{
    return downloader.findChild<QLabel *>(QLatin1String(name))->text();
}

QPushButton *button(const Downloader &downloader, const char *name)
{
    return downloader.findChild<QPushButton *>(QLatin1String(name));
}

// The files of the home folder itself, where a name that climbs out of "Downloads" would land.
QStringList filesInHome()
{
    return QDir::home().entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// The path of an appcast whose entry is an ordinary one with the given members replaced.
QString feed(const QJsonObject &changes)
{
    QJsonObject entry{{"latest-version", "2.1.0"},
                      {"download-url", "$/files/setup.bin"},
                      {"changelog", "<p>Faster export</p>"}};
    for (auto it = changes.begin(); it != changes.end(); ++it)
        entry.insert(it.key(), it.value());
    return QStringLiteral("/feed?entry=") +
           QUrl::toPercentEncoding(QJsonDocument(entry).toJson(QJsonDocument::Compact));
}

// A server address that redirects to the location exactly as written.
QString redirectTo(const QString &location, const QString &name)
{
    return QStringLiteral("$/redirect-to/%1/%2").arg(QUrl::toPercentEncoding(location), name);
}

// Runs the signing tool; its output, or an empty string when it failed.
QString signUpdate(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(VELDRA_SIGN_UPDATE), arguments);
    const bool succeeded = tool.waitForFinished(10000) &&
                           tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    return succeeded ? QString::fromLatin1(tool.readAllStandardOutput()).trimmed() : QString();
}

qint64 now()
{
    return QDateTime::currentSecsSinceEpoch();
}

// Runs the action inside QCoreApplication::exec() and tells whether it asked the application to
// quit. Going through exec() also clears that request, which would otherwise end every later
// modal loop of the test at once.
bool quitRequested(const std::function<void()> &action)
{
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    timeout.start(5000);
    QTimer::singleShot(0, action);
    return QCoreApplication::exec() == 0;
}

} // namespace

// The update registry, the appcast check and the downloader against a local HTTP server. No
// release-notes dialog may open here: one that opens anyway is closed and fails the test.
class TestUpdater : public QObject
{
    Q_OBJECT

    std::unique_ptr<LocalHttpServer> m_server;
    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<MessageBoxAnswerer> m_answerer;
    std::unique_ptr<UrlRecorder> m_urls;
    std::unique_ptr<ReleaseNotesAnswerer> m_unexpectedDialogs;
    int m_urlCount = 0;
    QTemporaryDir m_keys;
    QString m_publicKey; // made by the signing tool, with the signatures below
    QString m_signature; // of the generated 100000 bytes
    QString m_otherKeySignature;
    QString m_changedFileSignature; // of the same bytes with one bit flipped

    // The registry keeps every address for good, so each use gets an address nobody used before.
    QString uniqueUrl(const QString &path)
    {
        const QChar separator = path.contains('?') ? '&' : '?';
        return m_server->url(path) + separator + QStringLiteral("case=%1").arg(++m_urlCount);
    }

    // Runs one check and returns the url of every checkingFinished() it caused.
    QStringList checkAndWait(const QString &url, bool bSilentIfNoUpdate)
    {
        QSignalSpy finished(registry(), &QSimpleUpdater::checkingFinished);
        registry()->checkForUpdates(url, bSilentIfNoUpdate);
        finished.wait(10000);
        QTest::qWait(50); // room for a second, wrong, emission
        QStringList urls;
        for (const QList<QVariant> &arguments : qAsConst(finished))
            urls.append(arguments.at(0).toString());
        return urls;
    }

    // Downloads a path of the server and returns the finished file's path, or empty.
    QString downloadAndWait(Downloader &downloader, const QString &path)
    {
        QSignalSpy finished(&downloader, &Downloader::downloadFinished);
        downloader.startDownload(QUrl(m_server->url(path)));
        return finished.wait(10000) ? finished.constFirst().at(1).toString() : QString();
    }

    // Signs the installer the server sends, and variants of it, with the real tool. The key file
    // is private, and is never overwritten.
    void makeSignatures()
    {
        const QString key = m_keys.filePath(QStringLiteral("secret.key"));
        const QString otherKey = m_keys.filePath(QStringLiteral("other.key"));
        const QString installer = m_keys.filePath(QStringLiteral("setup.bin"));
        const QString changed = m_keys.filePath(QStringLiteral("changed.bin"));
        QByteArray content = LocalHttpServer::generatedContent(100000);
        writeFile(installer, content);
        content[54321] = char(content.at(54321) ^ 1);
        writeFile(changed, content);

        m_publicKey = signUpdate({"keygen", key});
        QVERIFY(!signUpdate({"keygen", otherKey}).isEmpty());
        QCOMPARE(QFile(key).permissions(),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        const QByteArray keyContent = fileContent(key);
        QVERIFY(signUpdate({"keygen", key}).isEmpty());
        QCOMPARE(fileContent(key), keyContent);

        m_signature = signUpdate({"sign", key, installer});
        m_otherKeySignature = signUpdate({"sign", otherKey, installer});
        m_changedFileSignature = signUpdate({"sign", key, changed});
        QVERIFY(!m_publicKey.isEmpty() && !m_signature.isEmpty() &&
                !m_otherKeySignature.isEmpty() && !m_changedFileSignature.isEmpty());
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("VeldraTests"));
        QCoreApplication::setApplicationVersion(QStringLiteral("1.4.2"));
        m_server = std::make_unique<LocalHttpServer>();
        QVERIFY(m_server->isRunning());
        makeSignatures();
    }

    void cleanupTestCase() { m_server.reset(); }

    void init()
    {
        QDir(QDir::homePath() + QStringLiteral("/Downloads")).removeRecursively();
        m_fixture = std::make_unique<CoreFixture>();
        // Cancel rather than OK: an install box answered OK would quit the application.
        m_answerer = std::make_unique<MessageBoxAnswerer>(QMessageBox::Cancel);
        m_urls = std::make_unique<UrlRecorder>();
        m_unexpectedDialogs = std::make_unique<ReleaseNotesAnswerer>(false);
    }

    void cleanup()
    {
        qunsetenv("VELDRA_UPDATE_TIMEOUT_MS");
        if (m_unexpectedDialogs) // taken away by the tests that answer the dialog
            QCOMPARE(m_unexpectedDialogs->count(), 0);
        m_unexpectedDialogs.reset();
        m_fixture.reset();
        m_urls.reset();
        m_answerer.reset();
    }

    void compare_data()
    {
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::addColumn<bool>("newer");
        const auto row = [](const char *x, const char *y, bool newer) {
            QTest::addRow("%s vs %s", x, y) << QString(x) << QString(y) << newer;
        };
        row("1.2.10", "1.2.9", true); // numbers, not text
        row("1.9", "1.10", false);
        row("1.2.0", "1.2", true); // an extra part wins only when the rest is equal
        row("1.2", "1.2.0", false);
        row("1.2", "1.2", false);
        row("2.0beta", "2.0", false); // a part that is not a number counts 0
        row("1..3", "1.0.2", true);
        row("", "1.0", false);
        row("1.0", "", true);
    }

    void compare()
    {
        QFETCH(QString, x);
        QFETCH(QString, y);
        QFETCH(bool, newer);
        QCOMPARE(Updater::compare(x, y), newer);
    }

    void registryDefaultsAndSetters()
    {
        const QString url = uniqueUrl(QStringLiteral("/appcast.json"));
        const QString agent = QStringLiteral("VeldraTests/1.4.2 (Updater)");
        const QVariantList defaults{"VeldraTests", "1.4.2", agent, "windows", "",    "",   "", "",
                                    true,          false,   false, true,      false, false};
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
    }

    void checkReadsPlatformEntry_data()
    {
        QTest::addColumn<QString>("hops"); // redirects before the appcast
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("moduleVersion");
        QTest::addColumn<QStringList>("expected"); // "$" stands for the server's address
        const auto row = [](const char *name, const char *hops, const char *platform,
                            const char *version, const QStringList &expected) {
            QTest::newRow(name) << QString(hops) << QString(platform) << QString(version)
                                << expected;
        };
        const QString notes = QStringLiteral("<ul><li>Faster export</li></ul>");
        const QStringList newer{"true", "2.1.0", "$/files/setup.bin", "", notes};
        row("newer", "", "windows", "2.0", newer);
        row("same", "", "windows", "2.1.0", {"false", "2.1.0", "$/files/setup.bin", "", notes});
        row("no open-url", "", "linux", "2.1.9",
            {"true", "2.2.0", "$/files/veldra-linux.bin", "", "$/notes.html"});
        row("open-url", "", "osx", "1.0",
            {"true", "2.1.0", "$/files/setup.dmg", "$/download-page", notes});
        row("missing platform", "", "solaris", "0.1", {"false", "", "", "", ""});
        row("one redirect", "/redirect/1", "windows", "2.0", newer);
        row("ten redirects, the most allowed", "/redirect/10", "windows", "2.0", newer);
    }

    // checkingFinished() names the target; the registry still knows the address it was given.
    void checkReadsPlatformEntry()
    {
        QFETCH(QString, hops);
        QFETCH(QString, platform);
        QFETCH(QString, moduleVersion);
        QFETCH(QStringList, expected);
        expected.replaceInStrings(QStringLiteral("$"), m_server->url(QString()));

        const QString url = uniqueUrl(hops + QStringLiteral("/appcast.json"));
        prepareQuietCheck(url, moduleVersion);
        registry()->setPlatformKey(url, platform);
        QCOMPARE(checkAndWait(url, true), QStringList{QString(url).remove(hops)});

        const QStringList read{registry()->getUpdateAvailable(url) ? "true" : "false",
                               registry()->getLatestVersion(url), registry()->getDownloadUrl(url),
                               registry()->getOpenUrl(url), registry()->getChangelog(url)};
        QCOMPARE(read, expected);
        QCOMPARE(m_answerer->count(), 0);
    }

    // The raw appcast goes to the caller before checkingFinished(); nothing is compared.
    void customAppcastHandsOverRawBytes()
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
        const QJsonObject updates =
                QJsonDocument::fromJson(data).object().value("updates").toObject();
        QCOMPARE(updates.value("windows").toObject().value("latest-version").toString(),
                 QStringLiteral("2.1.0"));
        QVERIFY(registry()->getUpdateAvailable(url));
    }

    void noUpdateMessage_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<bool>("notifyOnFinish");
        QTest::addColumn<bool>("box");
        QTest::newRow("silent wins") << true << true << false;
        QTest::newRow("asked for") << false << true << true;
        QTest::newRow("not asked for") << false << false << false;
    }

    void noUpdateMessage()
    {
        QFETCH(bool, silent);
        QFETCH(bool, notifyOnFinish);
        QFETCH(bool, box);
        const QString url = uniqueUrl(QStringLiteral("/appcast.json"));
        prepareQuietCheck(url, QStringLiteral("2.1.0"));
        registry()->setModuleName(url, QStringLiteral("Veldra Test"));
        registry()->setNotifyOnFinish(url, notifyOnFinish);

        QCOMPARE(checkAndWait(url, silent).size(), 1);
        QVERIFY(!registry()->getUpdateAvailable(url));
        QCOMPARE(registry()->getLatestVersion(url), QStringLiteral("2.1.0"));
        QCOMPARE(m_answerer->count(), box ? 1 : 0);
        if (box) {
            QCOMPARE(boxFields(m_answerer->last()),
                     expectedBox("<h3>Congratulations! You are running the latest version of "
                                 "Veldra Test</h3>",
                                 QMessageBox::Close, m_fixture->mainWindow()));
        }
    }

    // The answers to an offer, through a restart that reads the settings file from disk. A
    // silent check is the kind that runs on its own.
    void skipAndRemindSurviveRestart()
    {
        m_unexpectedDialogs.reset();
        const QString url = uniqueUrl(QStringLiteral("/appcast.json"));
        registry()->setModuleName(url, QStringLiteral("Veldra Test"));
        registry()->setModuleVersion(url, QStringLiteral("1.0"));
        const QString released("<b>Veldra Test %1 has been released!</b>");
        // The heading of the offer the check showed and answered with the button, if any.
        const auto offer = [&](bool bSilent, const char *button) {
            ReleaseNotesAnswerer dialogs{QString::fromLatin1(button)};
            checkAndWait(url, bSilent);
            return dialogs.lastHeading();
        };

        QCOMPARE(offer(true, "m_pBtnClose"), released.arg("2.1.0")); // Remind Me Later
        QCOMPARE(offer(true, "m_pBtnSkip"), released.arg("2.1.0"));
        CoreFixture::restartFromDisk(m_fixture);

        QCOMPARE(offer(true, "m_pBtnClose"), QString());
        QVERIFY(registry()->getUpdateAvailable(url));
        QCOMPARE(offer(false, "m_pBtnSkip"),
                 released.arg("2.1.0") + "<br>You chose to skip this version.");
        registry()->setPlatformKey(url, QStringLiteral("linux")); // 2.2.0, newer than skipped
        QCOMPARE(offer(true, "m_pBtnClose"), released.arg("2.2.0"));
    }

    void automaticCheckIsDue_data()
    {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QVariant>("lastCheck"); // as stored
        QTest::addColumn<bool>("due");
        const QDateTime now(QDate(2026, 6, 15), QTime(12, 0), Qt::UTC);
        const auto ago = [&](qint64 hours) {
            return now.addSecs(-hours * 3600).toString(Qt::ISODate);
        };
        QTest::newRow("off") << int(UpdateSchedule::Never) << QVariant() << false;
        QTest::newRow("never checked") << int(UpdateSchedule::Daily) << QVariant() << true;
        QTest::newRow("just checked") << int(UpdateSchedule::Daily) << QVariant(ago(0)) << false;
        QTest::newRow("daily, 23 h ago")
                << int(UpdateSchedule::Daily) << QVariant(ago(23)) << false;
        QTest::newRow("daily, 25 h ago") << int(UpdateSchedule::Daily) << QVariant(ago(25)) << true;
        QTest::newRow("weekly, 6 days ago")
                << int(UpdateSchedule::Weekly) << QVariant(ago(6 * 24)) << false;
        QTest::newRow("weekly, 8 days ago")
                << int(UpdateSchedule::Weekly) << QVariant(ago(8 * 24)) << true;
        QTest::newRow("last check in the future")
                << int(UpdateSchedule::Weekly) << QVariant(ago(-2)) << true;
        QTest::newRow("corrupt") << int(UpdateSchedule::Daily) << QVariant("yesterday") << true;
    }

    void automaticCheckIsDue()
    {
        QFETCH(int, frequency);
        QFETCH(QVariant, lastCheck);
        QFETCH(bool, due);
        const QDateTime now(QDate(2026, 6, 15), QTime(12, 0), Qt::UTC);
        QCOMPARE(UpdateSchedule::isDue(UpdateSchedule::Frequency(frequency), lastCheck, now), due);
    }

    // Silent, only once the window is shown, and not again within the period.
    void automaticCheckWaitsForWindow()
    {
        const QString url = uniqueUrl(QStringLiteral("/appcast.json"));
        prepareQuietCheck(url, QStringLiteral("2.1.0"));
        registry()->setNotifyOnFinish(url, true); // a check that is not silent would say so
        UpdateSchedule::setFrequency(UpdateSchedule::Daily);
        QSignalSpy finished(registry(), &QSimpleUpdater::checkingFinished);
        UpdateSchedule schedule(url);
        QSignalSpy prepared(&schedule, &UpdateSchedule::aboutToCheck);
        QTest::qWait(200);
        QCOMPARE(finished.count(), 0);

        m_fixture->mainWindow()->show();
        QVERIFY(finished.wait(10000));
        QCOMPARE(prepared.count(), 1);
        const QDateTime stored = QDateTime::fromString(
                valueOnDisk(m_fixture->filePath("user.ini"), "Updater/LastCheck").toString(),
                Qt::ISODate);
        QVERIFY(qAbs(stored.secsTo(QDateTime::currentDateTimeUtc())) < 60);
        UpdateSchedule again(url);
        QTest::qWait(200);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(m_answerer->count(), 0);
    }

    void userAgentIsSent()
    {
        const QString url = uniqueUrl(QStringLiteral("/echo"));
        registry()->setUseCustomAppcast(url, true);
        QSignalSpy appcast(registry(), &QSimpleUpdater::appcastDownloaded);
        checkAndWait(url, true);
        QCOMPARE(appcast.count(), 1);
        QVERIFY(appcast.at(0).at(1).toByteArray().contains(
                "User-Agent: VeldraTests/1.4.2 (Updater)"));

        Downloader downloader;
        downloader.setUseCustomInstallProcedures(true);
        downloader.setFileName(QStringLiteral("echo.txt"));
        downloader.setUserAgentString(QStringLiteral("Veldra-Agent/8"));
        const QString echoed = downloadAndWait(downloader, QStringLiteral("/echo"));
        QVERIFY(fileContent(echoed).contains("User-Agent: Veldra-Agent/8"));
    }

    void sizeLabel_data()
    {
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("sizes");
        QTest::newRow("bytes") << qint64(0) << qint64(1023) << "0 bytes of 1023 bytes";
        QTest::newRow("KB limits") << qint64(1024) << qint64(1048575) << "1 KB of 1023 KB";
        QTest::newRow("MB rounded down") << qint64(1048576) << qint64(5000000) << "1 MB of 4 MB";
        QTest::newRow("KB rounded down")
                << qint64(2047) << qint64(3 * 1048576 - 1) << "1 KB of 2 MB";
    }

    void sizeLabel()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, total);
        QFETCH(QString, sizes);

        Downloader downloader;
        QMetaObject::invokeMethod(&downloader, "calculateSizes", Q_ARG(qint64, received),
                                  Q_ARG(qint64, total));
        QCOMPARE(labelText(downloader, "downloadLabel"),
                 QStringLiteral("Downloading Updates (%1)").arg(sizes));
    }

    // The estimate is total / (received / elapsed seconds). Receiving exactly one byte per
    // elapsed second makes it equal to the total, whatever the elapsed time is.
    void timeRemainingLabel()
    {
        Downloader downloader;
        downloader.setFileName(QStringLiteral("timed.bin"));
        const QUrl stalled(m_server->url(QStringLiteral("/stall/timed.bin?size=400000")));
        qint64 start = 0;
        do { // nothing changes within the first second
            start = now();
            downloader.startDownload(stalled);
            QMetaObject::invokeMethod(&downloader, "calculateTimeRemaining", Q_ARG(qint64, 1000),
                                      Q_ARG(qint64, 2000));
        } while (now() != start);
        QCOMPARE(labelText(downloader, "timeLabel"), QStringLiteral("Time Remaining: Unknown"));

        const auto estimate = [&](qint64 total, bool belowOneBytePerSecond) {
            qint64 elapsed = 0;
            do {
                elapsed = now() - start;
                const qint64 received = belowOneBytePerSecond ? elapsed - 1 : elapsed;
                QMetaObject::invokeMethod(&downloader, "calculateTimeRemaining",
                                          Q_ARG(qint64, received), Q_ARG(qint64, total));
            } while (now() - start != elapsed);
            return labelText(downloader, "timeLabel").remove(QStringLiteral("Time Remaining: "));
        };
        QTRY_VERIFY(now() > start);

        const QList<QPair<qint64, QString>> table = {
                {0, "1 second"},
                {2, "2 seconds"},
                {60, "60 seconds"},
                {61, "About 1 minute"},
                {89, "About 1 minute"},
                {90, "About 2 minutes"},
                {7200, "About 120 minutes"},
                {7201, "About 2 hours"},
                {36000, "About 10 hours"},
        };
        for (const auto &row : table)
            QCOMPARE(estimate(row.first, false), row.second);
        QCOMPARE(estimate(1000, true), QStringLiteral("Unknown"));
    }

    void unknownSizeShowsBusyState()
    {
        Downloader downloader;
        auto *bar = downloader.findChild<QProgressBar *>(QStringLiteral("progressBar"));
        QMetaObject::invokeMethod(&downloader, "updateProgress", Q_ARG(qint64, 5000),
                                  Q_ARG(qint64, -1));
        QCOMPARE(bar->maximum(), 0);
        QCOMPARE(bar->value(), -1);
        QCOMPARE(labelText(downloader, "downloadLabel"), QStringLiteral("Downloading Updates..."));
        QCOMPARE(labelText(downloader, "timeLabel"), QStringLiteral("Time Remaining: Unknown"));
    }

    void downloadCompletes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("size");
        QTest::newRow("with length") << "/files/a.bin?size=300000" << 300000;
        QTest::newRow("larger than the read buffer") << "/files/a.bin?size=5000000" << 5000000;
        QTest::newRow("without length") << "/nolength/a.bin?size=300000" << 300000;
        QTest::newRow("empty, without length") << "/nolength/a.bin?size=0" << 0;
        QTest::newRow("ten redirects") << "/redirect/10/files/a.bin?size=3000" << 3000;
    }

    // With custom install procedures the file is finished and reported, and nothing else happens.
    void downloadCompletes()
    {
        QFETCH(QString, path);
        QFETCH(int, size);
        const QString finished = downloadPath(QStringLiteral("update.bin"));
        writeFile(finished, "stale file");
        writeFile(finished + QStringLiteral(".part"), "stale part");

        Downloader downloader;
        downloader.setUrlId(QStringLiteral("veldra-id"));
        downloader.setFileName(QStringLiteral("update.bin"));
        downloader.setUseCustomInstallProcedures(true);
        QSignalSpy reported(&downloader, &Downloader::downloadFinished);

        QCOMPARE(downloadAndWait(downloader, path), finished);
        QCOMPARE(reported.constFirst().at(0).toString(), QStringLiteral("veldra-id"));
        QCOMPARE(fileContent(finished), LocalHttpServer::generatedContent(size));
        QVERIFY(!QFile::exists(finished + QStringLiteral(".part")));
        if (size > 0)
            QCOMPARE(downloader.findChild<QProgressBar *>()->value(), 100);
        QCOMPARE(button(downloader, "stopButton")->text(), QStringLiteral("Stop"));
        QVERIFY(labelText(downloader, "downloadLabel") != QStringLiteral("Download complete!"));
        QTest::qWait(50);
        QCOMPARE(reported.count(), 1);
        QCOMPARE(m_answerer->count(), 0);
    }

    void installBoxAndOpenButton()
    {
        Downloader downloader;
        downloader.setFileName(QStringLiteral("setup.bin"));
        QPushButton *openButton = button(downloader, "openButton");
        QVERIFY(!openButton->isVisibleTo(&downloader));

        QVERIFY(!downloadAndWait(downloader, QStringLiteral("/files/setup.bin?size=1000"))
                         .isEmpty());
        QCOMPARE(m_answerer->count(), 1);
        QCOMPARE(boxFields(m_answerer->last()),
                 expectedBox("<h3>In order to install the update, you need to quit the "
                             "application.</h3>",
                             QMessageBox::Ok | QMessageBox::Cancel, m_fixture->mainWindow()));
        QCOMPARE(m_answerer->last().icon, QMessageBox::Question);
        QCOMPARE(m_answerer->last().defaultButton, QMessageBox::Ok);

        // Refused: the window waits with its Open button.
        QVERIFY(openButton->isVisibleTo(&downloader) && openButton->isEnabled());
        QCOMPARE(labelText(downloader, "timeLabel"),
                 QStringLiteral("Click the \"Open\" button to apply the update"));
        QCOMPARE(labelText(downloader, "downloadLabel"), QStringLiteral("Download complete!"));
        QCOMPARE(button(downloader, "stopButton")->text(), QStringLiteral("Close"));

        // Open asks again; OK opens the installer and quits.
        m_answerer->enqueue(QMessageBox::Ok);
        QVERIFY(quitRequested([openButton] { openButton->click(); }));
        QCOMPARE(m_answerer->count(), 2);
        QCOMPARE(m_urls->urls(), QList<QUrl>{QUrl::fromLocalFile(downloadPath("setup.bin"))});

        // After completion "Close" only hides the window, and a new download keeps the Open button.
        button(downloader, "stopButton")->click();
        QVERIFY(!downloader.isVisible());
        downloader.startDownload(QUrl(m_server->url(QStringLiteral("/stall/setup.bin"))));
        QVERIFY(openButton->isVisibleTo(&downloader));
        QCOMPARE(m_answerer->count(), 2);
    }

    void cancel_data()
    {
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("confirmed") << true;
        QTest::newRow("refused") << false;
    }

    void cancel()
    {
        QFETCH(bool, confirmed);
        const QString url = m_server->url(QStringLiteral("/stall/stalled.bin?size=400000"));
        const QString finished = downloadPath(QStringLiteral("stalled.bin"));

        Downloader downloader;
        downloader.setFileName(QStringLiteral("stalled.bin"));
        QSignalSpy reported(&downloader, &Downloader::downloadFinished);
        downloader.startDownload(QUrl(url));

        // What has arrived is in the ".part" file; the file itself does not exist yet.
        QTRY_COMPARE(QFileInfo(finished + QStringLiteral(".part")).size(), qint64(100000));
        QVERIFY(!QFile::exists(finished));
        QVERIFY(downloader.isVisible());

        m_answerer->enqueue(confirmed ? QMessageBox::Yes : QMessageBox::No);
        if (confirmed) {
            QTest::ignoreMessage(
                    QtInfoMsg, qPrintable("Error downloading update: " + url + ". Error code: 5"));
        }
        button(downloader, "stopButton")->click();

        QCOMPARE(boxFields(m_answerer->last()),
                 expectedBox("Are you sure you want to cancel the download?",
                             QMessageBox::Yes | QMessageBox::No, m_fixture->mainWindow()));
        QCOMPARE(downloader.isVisible(), !confirmed);
        QTest::qWait(50);
        QCOMPARE(m_answerer->count(), 1); // a cancelled download is not reported as an error
        QCOMPARE(reported.count(), 0);
        QCOMPARE(QFile::exists(finished + QStringLiteral(".part")), !confirmed);
    }

    void unsafeFileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("used");
        const QString fallback = QStringLiteral("Veldra_Update.bin");
        for (const char *unsafe : {"", ".", "..", "..\\setup.exe", "../setup.exe", "setup\n.exe"})
            QTest::addRow("unsafe %s", unsafe) << QString(unsafe) << fallback;
        for (const char *safe : {"setup.exe?x=1", "setup..exe"})
            QTest::addRow("kept %s", safe) << QString(safe) << QString(safe);
    }

    void unsafeFileNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, used);

        Downloader downloader;
        downloader.setUseCustomInstallProcedures(true);
        downloader.setFileName(name);
        QCOMPARE(downloadAndWait(downloader, QStringLiteral("/files/n.bin?size=100")),
                 downloadPath(used));
        QCOMPARE(QDir(downloadPath(QString())).entryList(QDir::Files), QStringList{used});
    }

    // Feeds and servers that lie, stall or attack, through the whole check: the release notes are
    // accepted and the installer is fetched. Every case ends once, tells the user what happened,
    // writes nothing outside "Downloads" and leaves the user's own "setup.bin" whole unless a
    // complete, verified download replaces it. "$" stands for the server's address.
    void hostileServer_data()
    {
        QTest::addColumn<QString>("appcast");      // a path on the server, or a whole address
        QTest::addColumn<QString>("message");      // the box the user sees, if any
        QTest::addColumn<QString>("shownVersion"); // in the release notes' heading, if shown
        QTest::addColumn<bool>("downloaded");
        QTest::addColumn<QString>("warning"); // part of a logged warning, if any
        QTest::addColumn<QString>("key");     // the installers' public key, if any

        const QString latest("<h3>Congratulations! You are running the latest version of "
                             "Veldra Test</h3>");
        const auto noUpdate = [&](const char *name, const QString &appcast, const char *warning) {
            QTest::newRow(name) << appcast << latest << "" << false << warning << "";
        };
        noUpdate("appcast drips", "/drip/appcast.json", "did not answer in time");
        noUpdate("appcast never ends", "/endless", "larger than 1 MiB");
        noUpdate("appcast announces more than 1 MiB", "/huge-appcast.json", "larger than 1 MiB");
        noUpdate("appcast redirects to a file", redirectTo("file:///etc/passwd", "a").mid(1),
                 "not a web address");
        noUpdate("appcast redirects for ever", "/redirect/11/appcast.json", "too many redirects");
        noUpdate("appcast address is not http", "ftp://127.0.0.1:1/appcast.json",
                 "not a web address");
        noUpdate("appcast 404", "/status/404", "Not Found");
        noUpdate("appcast 500", "/status/500", "Internal Server Error");
        noUpdate("appcast is not JSON", "/notjson", "");
        QTest::newRow("appcast redirects relatively")
                << redirectTo("../../appcast.json", "a").mid(1) << ""
                << "2.1.0" << true << ""
                << "";

        const auto refused = [](const char *name, const QJsonObject &changes, const char *reason,
                                const char *warning, const QString &key = QString()) {
            QTest::newRow(name) << feed(changes)
                                << QStringLiteral("Cannot download update: %1").arg(reason)
                                << "2.1.0" << false << warning << key;
        };
        const char *notWeb = "The download address is not a web address.";
        refused("download-url empty", {{"download-url", ""}}, notWeb, "not downloading");
        refused("download-url relative", {{"download-url", "files/setup.bin"}}, notWeb, "");
        refused("download-url of a local file", {{"download-url", "file:///etc/passwd"}}, notWeb,
                "");
        refused("download-url ftp", {{"download-url", "ftp://127.0.0.1/setup.bin"}}, notWeb, "");
        refused("download-url a script", {{"download-url", "javascript:alert(1)"}}, notWeb, "");
        refused("download-url not text", {{"download-url", 42}}, notWeb, "");
        refused("download 404", {{"download-url", "$/missing/setup.bin"}},
                "The server answered 404 Not Found.", "");
        refused("download 500", {{"download-url", "$/status/500/setup.bin"}},
                "The server answered 500 Internal Server Error.", "");
        refused("download drips", {{"download-url", "$/drip/setup.bin?interval=5"}},
                "The connection timed out.", "");
        refused("download stops half-way", {{"download-url", "$/halfway/setup.bin"}},
                "The server closed the connection before the download was complete.", "");
        refused("download redirects to a file",
                {{"download-url", redirectTo("file:///etc/passwd", "setup.bin")}},
                "The server redirected the download to an address that is not a web address.", "");
        refused("download redirects for ever", {{"download-url", "$/redirect/11/setup.bin"}},
                "The server redirected the download too many times.", "");
        refused("name too long to save", {{"download-url", "$/files/" + QString(300, 'a')}},
                "The update cannot be saved in the Downloads folder.", "cannot write");
        refused("sha256 malformed", {{"sha256", "xyz"}},
                "The update's checksum is not a valid SHA-256 digest.", "");
        refused("sha256 not text", {{"sha256", 7}},
                "The update's checksum is not a valid SHA-256 digest.", "");
        QTest::newRow("sha256 differs") << feed({{"sha256", QString(64, '0')}})
                                        << "The downloaded update is damaged and was deleted."
                                        << "2.1.0" << false << ""
                                        << "";

        const QString digest = QCryptographicHash::hash(LocalHttpServer::generatedContent(100000),
                                                        QCryptographicHash::Sha256)
                                       .toHex()
                                       .toUpper();
        QTest::newRow("sha256 in capitals matches") << feed({{"sha256", digest}}) << ""
                                                    << "2.1.0" << true << ""
                                                    << "";
        QTest::newRow("download redirects relatively")
                << feed({{"download-url", redirectTo("../../files/setup.bin", "setup.bin")}}) << ""
                << "2.1.0" << true << ""
                << "";
        QTest::newRow("version with a link")
                << feed({{"latest-version", "9.0<a href=\"http://127.0.0.1:1/\">Update now</a>"}})
                << ""
                << "9.0&lt;a href=&quot;http://127.0.0.1:1/&quot;&gt;Update now&lt;/a&gt;" << true
                << ""
                << "";
        const QString badPage = "The update's address is not a web address.";
        QTest::newRow("open-url of a local file")
                << feed({{"open-url", "file:///etc/passwd"}}) << badPage << "2.1.0" << false << ""
                << "";
        QTest::newRow("open-url a script")
                << feed({{"open-url", "javascript:alert(1)"}}) << badPage << "2.1.0" << false << ""
                << "";

        // With a key, only an installer whose signature verifies over the whole file is kept;
        // without one a signature is not checked.
        const QString key = m_publicKey;
        const auto signedWith = [&](const char *name, const QJsonObject &changes,
                                    const QString &rowKey, bool kept) {
            QTest::newRow(name)
                    << feed(changes)
                    << (kept ? ""
                             : "The downloaded update is not signed by the publisher of Veldra, "
                               "so it was deleted.")
                    << "2.1.0" << kept << "" << rowKey;
        };
        signedWith("signed", {{"signature", m_signature}}, key, true);
        signedWith("signed with another key", {{"signature", m_otherKeySignature}}, key, false);
        signedWith("one bit of the file changed", {{"signature", m_changedFileSignature}}, key,
                   false);
        signedWith("file truncated",
                   {{"signature", m_signature}, {"download-url", "$/files/setup.bin?size=99999"}},
                   key, false);
        signedWith("another key's signature, no key built in", {{"signature", m_otherKeySignature}},
                   "", true);
        const char *malformed = "The update's signature is malformed, so it cannot be trusted.";
        refused("signature not base64", {{"signature", "not base64!"}}, malformed, "", key);
        const QByteArray shortSignature =
                QByteArray::fromBase64(m_signature.toLatin1()).left(63).toBase64();
        refused("signature too short", {{"signature", QString::fromLatin1(shortSignature)}},
                malformed, "", key);
        refused("signature not text", {{"signature", 7}}, malformed, "", key);
        refused("unsigned, with a key", {}, "The update is not signed, so it cannot be trusted.",
                "", key);
    }

    void hostileServer()
    {
        QFETCH(QString, appcast);
        QFETCH(QString, message);
        QFETCH(QString, shownVersion);
        QFETCH(bool, downloaded);
        QFETCH(QString, warning);
        QFETCH(QString, key);
        qputenv("VELDRA_UPDATE_TIMEOUT_MS", "2000"); // read by the updaters made from here on
        const QString usersFile = downloadPath(QStringLiteral("setup.bin"));
        writeFile(usersFile, "the user's own file");
        const QStringList homeFiles = filesInHome();
        m_unexpectedDialogs.reset();
        ReleaseNotesAnswerer dialogs(true);
        MessageRecorder log;

        const QString url = appcast.contains("://") ? appcast : uniqueUrl(appcast);
        registry()->setModuleName(url, QStringLiteral("Veldra Test"));
        registry()->setModuleVersion(url, QStringLiteral("1.0"));
        registry()->setNotifyOnFinish(url, true);
        registry()->setUseCustomInstallProcedures(url, true);
        registry()->setPublicKey(url, key);
        QSignalSpy finished(registry(), &QSimpleUpdater::checkingFinished);
        QSignalSpy fetched(registry(), &QSimpleUpdater::downloadFinished);
        registry()->checkForUpdates(url, false);
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() == 1 &&
                                         (downloaded
                                                  ? fetched.count() == 1
                                                  : m_answerer->count() == int(!message.isEmpty())),
                                 20000);
        QTest::qWait(100); // room for a second, wrong, end

        QCOMPARE(finished.count(), 1);
        QCOMPARE(fetched.count(), int(downloaded));
        QCOMPARE(m_answerer->count(), int(!message.isEmpty()));
        QCOMPARE(m_answerer->last().text, message);
        const QString heading("<b>Veldra Test %1 has been released!</b>");
        QCOMPARE(dialogs.lastHeading(), shownVersion.isEmpty() ? "" : heading.arg(shownVersion));
        QVERIFY(m_urls->urls().isEmpty());
        QCOMPARE(fileContent(usersFile), downloaded ? LocalHttpServer::generatedContent(100000)
                                                    : QByteArray("the user's own file"));
        QCOMPARE(QDir(downloadPath(QString())).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"setup.bin"});
        QCOMPARE(filesInHome(), homeFiles);
        if (!warning.isEmpty())
            QVERIFY2(log.warnings().join('\n').contains(warning),
                     qPrintable(log.warnings().join('\n')));
    }

    void openWithoutFileName()
    {
        Downloader downloader;
        QMetaObject::invokeMethod(&downloader, "openDownload");
        QCOMPARE(m_answerer->count(), 1);
        QCOMPARE(boxFields(m_answerer->last()),
                 expectedBox("Cannot find downloaded update!", QMessageBox::Close, &downloader));
        QVERIFY(m_urls->urls().isEmpty());
    }
};

VELDRA_TEST_MAIN(TestUpdater)
#include "tst_updater.moc"
