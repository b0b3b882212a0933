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

QString downloadPath(const QString &name)
{
    return QDir::homePath() + "/Downloads/" + name;
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
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
}

QString labelText(const Downloader &downloader, const char *name)
{
    return downloader.findChild<QLabel *>(name)->text();
}

QPushButton *button(const Downloader &downloader, const char *name)
{
    return downloader.findChild<QPushButton *>(name);
}

QVariantList boxFields(const MessageBoxAnswerer::Box &box)
{
    return {box.title, box.text, int(box.buttons), int(box.defaultButton),
            QVariant::fromValue<QObject *>(box.parent.data())};
}

QVariantList expectedBox(const QString &text, QMessageBox::StandardButtons buttons,
                         QMessageBox::StandardButton defaultButton, QObject *parent)
{
    return {"Veldra", text, int(buttons), int(defaultButton), QVariant::fromValue(parent)};
}

// The path of an appcast whose "windows" entry is an ordinary one with the given members replaced.
QString feed(const QJsonObject &changes)
{
    QJsonObject entry{{"latest-version", "2.1.0"},
                      {"download-url", "$/files/setup.bin"},
                      {"changelog", "<p>Faster export</p>"}};
    for (auto it = changes.begin(); it != changes.end(); ++it)
        entry.insert(it.key(), it.value());
    return "/feed?entry=" +
           QUrl::toPercentEncoding(QJsonDocument(entry).toJson(QJsonDocument::Compact));
}

// A server address that redirects to the location exactly as written.
QString redirectTo(const QString &location, const QString &name)
{
    return QStringLiteral("/redirect-to/%1/%2").arg(QUrl::toPercentEncoding(location), name);
}

// Runs the signing tool; its output, or an empty string when it failed.
QString signUpdate(const QStringList &arguments)
{
    QProcess tool;
    tool.start(VELDRA_SIGN_UPDATE, arguments);
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
    QObject::connect(&timeout, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    timeout.start(5000);
    QTimer::singleShot(0, action);
    return QCoreApplication::exec() == 0;
}

} // namespace

// The update registry, the appcast check and the downloader against a local HTTP server. A
// release-notes dialog that opens where no test expects one fails the test.
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
    QHash<QString, QString> m_signing; // the public key and signatures the signing tool made

    // The registry keeps every address for good, so each use gets an address nobody used before.
    QString uniqueUrl(const QString &path)
    {
        return m_server->url(path) + (path.contains('?') ? "&" : "?") +
               QString("case=%1").arg(++m_urlCount);
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

    // Signs the installer the server sends, and one with a bit flipped, with the real tool. The
    // key file is private and never overwritten.
    void makeSignatures()
    {
        QByteArray content = LocalHttpServer::generatedContent(100000);
        writeFile(m_keys.filePath("setup.bin"), content);
        content[54321] = char(content.at(54321) ^ 1);
        writeFile(m_keys.filePath("changed.bin"), content);
        const QString key = m_keys.filePath("secret.key");
        m_signing["key"] = signUpdate({"keygen", key});
        QVERIFY(!signUpdate({"keygen", m_keys.filePath("other.key")}).isEmpty());
        QCOMPARE(QFile(key).permissions(),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        const QByteArray keyContent = fileContent(key);
        QVERIFY(signUpdate({"keygen", key}).isEmpty());
        QCOMPARE(fileContent(key), keyContent);
        for (const char *name : {"secret/setup", "other/setup", "secret/changed"}) {
            const QStringList parts = QString(name).split('/');
            m_signing[name] = signUpdate({"sign", m_keys.filePath(parts[0] + ".key"),
                                          m_keys.filePath(parts[1] + ".bin")});
            QVERIFY(!m_signing[name].isEmpty());
        }
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName("VeldraTests");
        QCoreApplication::setApplicationVersion("1.4.2");
        m_server = std::make_unique<LocalHttpServer>();
        QVERIFY(m_server->isRunning());
        makeSignatures();
    }

    void init()
    {
        QDir(downloadPath(QString())).removeRecursively();
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
        // Numbers, not text; an extra part wins only when the rest is equal; a part that is not
        // a number counts 0.
        for (const char *row :
             {"1.2.10 > 1.2.9", "1.9 <= 1.10", "1.2.0 > 1.2", "1.2 <= 1.2.0", "1.2 <= 1.2",
              "2.0beta <= 2.0", "1..3 > 1.0.2", " <= 1.0", "1.0 > "}) {
            const QStringList parts = QString(row).split(' ');
            QTest::newRow(row) << parts[0] << parts[2] << (parts[1] == ">");
        }
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
        const QString url = uniqueUrl("/appcast.json");
        QSimpleUpdater *r = registry();
        const auto state = [r](const QString &url) {
            QStringList values;
            for (const QVariant &value :
                 {QVariant(r->getModuleName(url)), QVariant(r->getModuleVersion(url)),
                  QVariant(r->getUserAgentString(url)), QVariant(r->getPlatformKey(url)),
                  QVariant(r->getOpenUrl(url)), QVariant(r->getChangelog(url)),
                  QVariant(r->getDownloadUrl(url)), QVariant(r->getLatestVersion(url)),
                  QVariant(r->getNotifyOnUpdate(url)), QVariant(r->getNotifyOnFinish(url)),
                  QVariant(r->getUpdateAvailable(url)), QVariant(r->getDownloaderEnabled(url)),
                  QVariant(r->usesCustomAppcast(url)),
                  QVariant(r->usesCustomInstallProcedures(url))})
                values << value.toString();
            return values.join('|');
        };
        const QString defaults("VeldraTests|1.4.2|VeldraTests/1.4.2 (Updater)|windows|||||"
                               "true|false|false|true|false|false");
        QCOMPARE(state(url), defaults);
        r->setModuleName(url, "Studio");
        r->setModuleVersion(url, "3.0");
        r->setUserAgentString(url, "Agent/1");
        r->setPlatformKey(url, "linux");
        r->setNotifyOnUpdate(url, false);
        r->setNotifyOnFinish(url, true);
        r->setDownloaderEnabled(url, false);
        r->setUseCustomAppcast(url, true);
        r->setUseCustomInstallProcedures(url, true);
        QCOMPARE(state(url),
                 QString("Studio|3.0|Agent/1|linux|||||false|true|false|false|true|true"));
        QCOMPARE(state(url.toUpper()), defaults); // addresses are told apart exactly
    }

    void checkReadsPlatformEntry_data()
    {
        QTest::addColumn<QString>("hops"); // redirects before the appcast
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("moduleVersion");
        // Update available, version, download, page and changelog; "$" is the server's address.
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *hops, const char *platform,
                            const char *version, const QString &expected) {
            QTest::newRow(name) << hops << platform << version << expected;
        };
        const QString newer = "true|2.1.0|$/files/setup.bin||<ul><li>Faster export</li></ul>";
        row("newer", "", "windows", "2.0", newer);
        row("same", "", "windows", "2.1.0", QString(newer).replace("true", "false"));
        row("no open-url", "", "linux", "2.1.9",
            "true|2.2.0|$/files/veldra-linux.bin||$/notes.html");
        row("open-url", "", "osx", "1.0",
            "true|2.1.0|$/files/setup.dmg|$/download-page|<ul><li>Faster export</li></ul>");
        row("missing platform", "", "solaris", "0.1", "false||||");
        row("one redirect", "/redirect/1", "windows", "2.0", newer);
        row("ten redirects, the most allowed", "/redirect/10", "windows", "2.0", newer);
    }

    // checkingFinished() names the target; the registry still knows the address it was given.
    void checkReadsPlatformEntry()
    {
        QFETCH(QString, hops);
        QFETCH(QString, platform);
        QFETCH(QString, moduleVersion);
        QFETCH(QString, expected);
        const QString url = uniqueUrl(hops + "/appcast.json");
        registry()->setNotifyOnUpdate(url, false); // an update is only recorded
        registry()->setModuleVersion(url, moduleVersion);
        registry()->setPlatformKey(url, platform);
        QCOMPARE(checkAndWait(url, true), QStringList{QString(url).remove(hops)});
        QCOMPARE((QStringList{registry()->getUpdateAvailable(url) ? "true" : "false",
                              registry()->getLatestVersion(url), registry()->getDownloadUrl(url),
                              registry()->getOpenUrl(url), registry()->getChangelog(url)})
                         .join('|'),
                 expected.replace("$", m_server->url(QString())));
        QCOMPARE(m_answerer->count(), 0);
    }

    // The raw appcast, fetched with the registry's user agent, goes to the caller before
    // checkingFinished(); nothing is compared.
    void customAppcastHandsOverRawBytes()
    {
        const QString url = uniqueUrl("/echo");
        registry()->setUseCustomAppcast(url, true);
        QStringList order;
        QByteArray data;
        QObject receiver;
        connect(registry(), &QSimpleUpdater::appcastDownloaded, &receiver,
                [&](const QString &, const QByteArray &bytes) { order << "appcast" << bytes; });
        connect(registry(), &QSimpleUpdater::checkingFinished, &receiver,
                [&] { order << "finished"; });
        checkAndWait(url, false);
        QCOMPARE(order.size(), 3);
        QCOMPARE(order[0] + order[2], QString("appcastfinished"));
        QVERIFY(order[1].contains("User-Agent: VeldraTests/1.4.2 (Updater)"));
        QVERIFY(!registry()->getUpdateAvailable(url));
        QCOMPARE(m_answerer->count(), 0);
    }

    void noUpdateMessage_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<bool>("notifyOnFinish");
        QTest::newRow("silent wins") << true << true;
        QTest::newRow("asked for") << false << true;
        QTest::newRow("not asked for") << false << false;
    }

    void noUpdateMessage()
    {
        QFETCH(bool, silent);
        QFETCH(bool, notifyOnFinish);
        const QString url = uniqueUrl("/appcast.json");
        registry()->setModuleVersion(url, "2.1.0");
        registry()->setModuleName(url, "Veldra Test");
        registry()->setNotifyOnFinish(url, notifyOnFinish);
        QCOMPARE(checkAndWait(url, silent).size(), 1);
        QVERIFY(!registry()->getUpdateAvailable(url));
        QCOMPARE(registry()->getLatestVersion(url), QString("2.1.0"));
        QCOMPARE(m_answerer->count(), int(!silent && notifyOnFinish));
        if (m_answerer->count())
            QCOMPARE(boxFields(m_answerer->last()),
                     expectedBox("<h3>Congratulations! You are running the latest version of "
                                 "Veldra Test</h3>",
                                 QMessageBox::Close, QMessageBox::NoButton,
                                 m_fixture->mainWindow()));
    }

    // The answers to an offer, through a restart that reads the settings file from disk. A
    // silent check is the kind that runs on its own.
    void skipAndRemindSurviveRestart()
    {
        m_unexpectedDialogs.reset();
        const QString url = uniqueUrl("/appcast.json");
        registry()->setModuleName(url, "Veldra Test");
        registry()->setModuleVersion(url, "1.0");
        const QString released("<b>Veldra Test %1 has been released!</b>");
        // The heading of the offer the check showed and answered with the button, if any.
        const auto offer = [&](bool bSilent, const char *button) {
            ReleaseNotesAnswerer dialogs{QString(button)};
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
        registry()->setPlatformKey(url, "linux"); // 2.2.0, newer than skipped
        QCOMPARE(offer(true, "m_pBtnClose"), released.arg("2.2.0"));
    }

    void automaticCheckIsDue_data()
    {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QVariant>("lastCheck"); // as stored
        QTest::addColumn<bool>("due");
        const QDateTime now(QDate(2026, 6, 15), QTime(12, 0), Qt::UTC);
        const auto ago = [&](qint64 hours) {
            return QVariant(now.addSecs(-hours * 3600).toString(Qt::ISODate));
        };
        const int daily = UpdateSchedule::Daily, weekly = UpdateSchedule::Weekly;
        QTest::newRow("off") << int(UpdateSchedule::Never) << QVariant() << false;
        QTest::newRow("never checked") << daily << QVariant() << true;
        QTest::newRow("just checked") << daily << ago(0) << false;
        QTest::newRow("daily, 23 h ago") << daily << ago(23) << false;
        QTest::newRow("daily, 25 h ago") << daily << ago(25) << true;
        QTest::newRow("weekly, 6 days ago") << weekly << ago(6 * 24) << false;
        QTest::newRow("weekly, 8 days ago") << weekly << ago(8 * 24) << true;
        QTest::newRow("last check in the future") << weekly << ago(-2) << true;
        QTest::newRow("corrupt") << daily << QVariant("yesterday") << true;
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
        const QString url = uniqueUrl("/appcast.json");
        registry()->setModuleVersion(url, "2.1.0");
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

    void progressLabels_data()
    {
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("sizes"); // empty when the size is unknown
        QTest::newRow("bytes") << qint64(0) << qint64(1023) << "0 bytes of 1023 bytes";
        QTest::newRow("KB limits") << qint64(1024) << qint64(1048575) << "1 KB of 1023 KB";
        QTest::newRow("MB rounded down") << qint64(1048576) << qint64(5000000) << "1 MB of 4 MB";
        QTest::newRow("KB rounded down")
                << qint64(2047) << qint64(3 * 1048576 - 1) << "1 KB of 2 MB";
        QTest::newRow("unknown size") << qint64(5000) << qint64(-1) << "";
    }

    void progressLabels()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, total);
        QFETCH(QString, sizes);
        Downloader downloader;
        auto *bar = downloader.findChild<QProgressBar *>("progressBar");
        QMetaObject::invokeMethod(&downloader,
                                  sizes.isEmpty() ? "updateProgress" : "calculateSizes",
                                  Q_ARG(qint64, received), Q_ARG(qint64, total));
        QCOMPARE(labelText(downloader, "downloadLabel"),
                 sizes.isEmpty() ? "Downloading Updates..."
                                 : "Downloading Updates (" + sizes + ")");
        if (sizes.isEmpty()) { // a busy bar
            QCOMPARE(bar->maximum(), 0);
            QCOMPARE(bar->value(), -1);
            QCOMPARE(labelText(downloader, "timeLabel"), QString("Time Remaining: Unknown"));
        }
    }

    // The estimate is total / (received / elapsed seconds). Receiving exactly one byte per
    // elapsed second makes it equal to the total, whatever the elapsed time is.
    void timeRemainingLabel()
    {
        Downloader downloader;
        downloader.setFileName("timed.bin");
        qint64 start = 0;
        const auto estimate = [&](qint64 received, qint64 total) {
            QMetaObject::invokeMethod(&downloader, "calculateTimeRemaining",
                                      Q_ARG(qint64, received), Q_ARG(qint64, total));
            return labelText(downloader, "timeLabel").remove("Time Remaining: ");
        };
        QString first;
        do { // nothing changes within the first second
            start = now();
            downloader.startDownload(QUrl(m_server->url("/stall/timed.bin?size=400000")));
            first = estimate(1000, 2000);
        } while (now() != start);
        QCOMPARE(first, QString("Unknown"));
        QTRY_VERIFY(now() > start);
        for (const char *row : {"0 1 second", "2 2 seconds", "60 60 seconds", "61 About 1 minute",
                                "89 About 1 minute", "90 About 2 minutes", "7200 About 120 minutes",
                                "7201 About 2 hours", "36000 About 10 hours"}) {
            const QString total = QString(row).section(' ', 0, 0);
            qint64 elapsed = 0;
            QString shown;
            do {
                elapsed = now() - start;
                shown = estimate(elapsed, total.toLongLong());
            } while (now() - start != elapsed);
            QCOMPARE(shown, QString(row).section(' ', 1));
        }
        QCOMPARE(estimate(now() - start - 1, 1000), QString("Unknown")); // below a byte a second
    }

    void downloadCompletes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("size"); // -1: the server echoes the request
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("used"); // the name the file is saved under
        const auto row = [](const char *name, const char *path, int size) {
            QTest::newRow(name) << path << size << "update.bin"
                                << "update.bin";
        };
        row("with length", "/files/a.bin?size=300000", 300000);
        row("larger than the read buffer", "/files/a.bin?size=5000000", 5000000);
        row("without length", "/nolength/a.bin?size=300000", 300000);
        row("empty, without length", "/nolength/a.bin?size=0", 0);
        row("ten redirects", "/redirect/10/files/a.bin?size=3000", 3000);
        row("user agent", "/echo", -1);
        for (const char *unsafe : {"", ".", "..", "..\\setup.exe", "../setup.exe", "setup\n.exe"})
            QTest::addRow("unsafe %s", unsafe)
                    << "/files/n.bin?size=100" << 100 << unsafe << "Veldra_Update.bin";
        for (const char *safe : {"setup.exe?x=1", "setup..exe"})
            QTest::addRow("kept %s", safe) << "/files/n.bin?size=100" << 100 << safe << safe;
    }

    // With custom install procedures the file is finished, replacing a stale one, and reported,
    // and nothing else happens. A name that could leave the folder is replaced.
    void downloadCompletes()
    {
        QFETCH(QString, path);
        QFETCH(int, size);
        QFETCH(QString, name);
        QFETCH(QString, used);
        const QString finished = downloadPath(used);
        writeFile(finished, "stale file");
        writeFile(finished + ".part", "stale part");
        Downloader downloader;
        downloader.setUrlId("veldra-id");
        downloader.setFileName(name);
        downloader.setUseCustomInstallProcedures(true);
        downloader.setUserAgentString("Veldra-Agent/8");
        QSignalSpy reported(&downloader, &Downloader::downloadFinished);
        QCOMPARE(downloadAndWait(downloader, path), finished);
        QCOMPARE(reported.constFirst().at(0).toString(), QString("veldra-id"));
        if (size < 0)
            QVERIFY(fileContent(finished).contains("User-Agent: Veldra-Agent/8"));
        else
            QCOMPARE(fileContent(finished), LocalHttpServer::generatedContent(size));
        QCOMPARE(QDir(downloadPath(QString())).entryList(QDir::Files), QStringList{used});
        if (size > 0)
            QCOMPARE(downloader.findChild<QProgressBar *>()->value(), 100);
        QCOMPARE(button(downloader, "stopButton")->text(), QString("Stop"));
        QVERIFY(labelText(downloader, "downloadLabel") != "Download complete!");
        QTest::qWait(50);
        QCOMPARE(reported.count(), 1);
        QCOMPARE(m_answerer->count(), 0);
    }

    void installBoxAndOpenButton()
    {
        Downloader downloader;
        QMetaObject::invokeMethod(&downloader, "openDownload"); // nothing downloaded yet
        QCOMPARE(boxFields(m_answerer->last()),
                 expectedBox("Cannot find downloaded update!", QMessageBox::Close,
                             QMessageBox::NoButton, &downloader));
        QCOMPARE(downloader.windowTitle(), QString("Downloading Updates"));
        downloader.setFileName("setup.bin");
        QPushButton *openButton = button(downloader, "openButton");
        QVERIFY(!openButton->isVisibleTo(&downloader));
        QVERIFY(!downloadAndWait(downloader, "/files/setup.bin?size=1000").isEmpty());
        QCOMPARE(m_answerer->count(), 2);
        QCOMPARE(boxFields(m_answerer->last()),
                 expectedBox("<h3>In order to install the update, you need to quit the "
                             "application.</h3>",
                             QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok,
                             m_fixture->mainWindow()));
        QCOMPARE(m_answerer->last().icon, QMessageBox::Question);
        // Refused: the window waits with its Open button.
        QVERIFY(openButton->isVisibleTo(&downloader) && openButton->isEnabled());
        QCOMPARE(labelText(downloader, "timeLabel"),
                 QString("Click the \"Open\" button to apply the update"));
        QCOMPARE(labelText(downloader, "downloadLabel"), QString("Download complete!"));
        QCOMPARE(button(downloader, "stopButton")->text(), QString("Close"));
        // Open asks again; OK opens the installer and quits.
        m_answerer->enqueue(QMessageBox::Ok);
        QVERIFY(quitRequested([openButton] { openButton->click(); }));
        QCOMPARE(m_answerer->count(), 3);
        QCOMPARE(m_urls->urls(), QList<QUrl>{QUrl::fromLocalFile(downloadPath("setup.bin"))});
        // After completion "Close" only hides the window, and a new download keeps the Open button.
        button(downloader, "stopButton")->click();
        QVERIFY(!downloader.isVisible());
        downloader.startDownload(QUrl(m_server->url("/stall/setup.bin")));
        QVERIFY(openButton->isVisibleTo(&downloader));
        QCOMPARE(m_answerer->count(), 3);
    }

    // A refused cancel goes on; a confirmed one closes the window and removes the ".part" file.
    void cancel()
    {
        const QString url = m_server->url("/stall/stalled.bin?size=400000");
        const QString finished = downloadPath("stalled.bin");
        Downloader downloader;
        downloader.setFileName("stalled.bin");
        QSignalSpy reported(&downloader, &Downloader::downloadFinished);
        downloader.startDownload(QUrl(url));
        // What has arrived is in the ".part" file; the file itself does not exist yet.
        QTRY_COMPARE(QFileInfo(finished + ".part").size(), qint64(100000));
        QVERIFY(!QFile::exists(finished));
        for (bool confirmed : {false, true}) {
            m_answerer->enqueue(confirmed ? QMessageBox::Yes : QMessageBox::No);
            if (confirmed)
                QTest::ignoreMessage(QtInfoMsg, qPrintable("Error downloading update: " + url +
                                                           ". Error code: 5"));
            button(downloader, "stopButton")->click();
            QCOMPARE(boxFields(m_answerer->last()),
                     expectedBox("Are you sure you want to cancel the download?",
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton,
                                 m_fixture->mainWindow()));
            QCOMPARE(downloader.isVisible(), !confirmed);
            QTest::qWait(50);
            QCOMPARE(m_answerer->count(), 1 + confirmed); // a cancel is not reported as an error
            QCOMPARE(QFile::exists(finished + ".part"), !confirmed);
        }
        QCOMPARE(reported.count(), 0);
    }

    // Feeds and servers that lie, stall or attack, through the whole check: the release notes are
    // accepted and the installer is fetched. Every case ends once, tells the user what happened,
    // writes nothing outside "Downloads" and leaves the user's own "setup.bin" whole unless a
    // complete, verified download replaces it.
    void hostileServer_data()
    {
        QTest::addColumn<QString>("appcast");      // a path on the server, or a whole address
        QTest::addColumn<QString>("message");      // the box the user sees, if any
        QTest::addColumn<QString>("shownVersion"); // in the release notes' heading, if shown
        QTest::addColumn<bool>("downloaded");
        QTest::addColumn<QString>("warning"); // part of a logged warning, if any
        QTest::addColumn<QString>("key");     // the installers' public key, if any
        const auto row = [](const char *name, const QString &appcast, const QString &message,
                            const char *version, bool downloaded, const char *warning = "",
                            const QString &key = QString()) {
            QTest::newRow(name) << appcast << message << version << downloaded << warning << key;
        };
        const QString latest("<h3>Congratulations! You are running the latest version of "
                             "Veldra Test</h3>");
        row("appcast drips", "/drip/appcast.json", latest, "", false, "did not answer in time");
        row("appcast never ends", "/endless", latest, "", false, "larger than 1 MiB");
        row("appcast announces more than 1 MiB", "/appcast.json?pad=1", latest, "", false,
            "larger than 1 MiB");
        row("appcast redirects to a file", redirectTo("file:///etc/passwd", "a"), latest, "", false,
            "not a web address");
        row("appcast redirects for ever", "/redirect/11/appcast.json", latest, "", false,
            "too many redirects");
        row("appcast address is not http", "ftp://127.0.0.1:1/appcast.json", latest, "", false,
            "not a web address");
        row("appcast 404", "/status/404", latest, "", false, "Not Found");
        row("appcast 500", "/status/500", latest, "", false, "Internal Server Error");
        row("appcast is not JSON", "/status/200", latest, "", false);
        row("appcast redirects relatively", redirectTo("../../appcast.json", "a"), "", "2.1.0",
            true);

        const QString cannot("Cannot download update: ");
        const QString notWeb = cannot + "The download address is not a web address.";
        const auto refused = [&](const char *name, const QJsonObject &changes,
                                 const QString &message, const char *warning = "") {
            row(name, feed(changes), message, "2.1.0", false, warning);
        };
        refused("download-url empty", {{"download-url", ""}}, notWeb, "not downloading");
        refused("download-url relative", {{"download-url", "files/setup.bin"}}, notWeb);
        refused("download-url of a local file", {{"download-url", "file:///etc/passwd"}}, notWeb);
        refused("download-url ftp", {{"download-url", "ftp://127.0.0.1/setup.bin"}}, notWeb);
        refused("download-url a script", {{"download-url", "javascript:alert(1)"}}, notWeb);
        refused("download-url not text", {{"download-url", 42}}, notWeb);
        refused("download 404", {{"download-url", "$/missing/setup.bin"}},
                cannot + "The server answered 404 Not Found.");
        refused("download 500", {{"download-url", "$/status/500/setup.bin"}},
                cannot + "The server answered 500 Internal Server Error.");
        refused("download drips", {{"download-url", "$/drip/setup.bin?interval=5"}},
                cannot + "The connection timed out.");
        refused("download stops half-way", {{"download-url", "$/halfway/setup.bin"}},
                cannot + "The server closed the connection before the download was complete.");
        refused("download redirects to a file",
                {{"download-url", "$" + redirectTo("file:///etc/passwd", "setup.bin")}},
                cannot + "The server redirected the download to an address that is not a web "
                         "address.");
        refused("download redirects for ever", {{"download-url", "$/redirect/11/setup.bin"}},
                cannot + "The server redirected the download too many times.");
        refused("name too long to save", {{"download-url", "$/files/" + QString(300, 'a')}},
                cannot + "The update cannot be saved in the Downloads folder.", "cannot write");
        const QString badDigest = cannot + "The update's checksum is not a valid SHA-256 digest.";
        refused("sha256 malformed", {{"sha256", "xyz"}}, badDigest);
        refused("sha256 not text", {{"sha256", 7}}, badDigest);
        refused("sha256 differs", {{"sha256", QString(64, '0')}},
                "The downloaded update is damaged and was deleted.");
        const QString badPage = "The update's address is not a web address.";
        refused("open-url of a local file", {{"open-url", "file:///etc/passwd"}}, badPage);
        refused("open-url a script", {{"open-url", "javascript:alert(1)"}}, badPage);

        const QString digest = QCryptographicHash::hash(LocalHttpServer::generatedContent(100000),
                                                        QCryptographicHash::Sha256)
                                       .toHex()
                                       .toUpper();
        row("sha256 in capitals matches", feed({{"sha256", digest}}), "", "2.1.0", true);
        row("download redirects relatively",
            feed({{"download-url", "$" + redirectTo("../../files/setup.bin", "setup.bin")}}), "",
            "2.1.0", true);
        row("version with a link",
            feed({{"latest-version", "9.0<a href=\"http://127.0.0.1:1/\">Update now</a>"}}), "",
            "9.0&lt;a href=&quot;http://127.0.0.1:1/&quot;&gt;Update now&lt;/a&gt;", true);

        // With a key, only an installer whose signature verifies over the whole file is kept;
        // without one a signature is not checked.
        const QString key = m_signing["key"];
        const QString notOurs = "The downloaded update is not signed by the publisher of Veldra, "
                                "so it was deleted.";
        const auto signedWith = [&](const char *name, const QJsonObject &changes,
                                    const QString &message, const QString &rowKey = QString()) {
            row(name, feed(changes), message, "2.1.0", message.isEmpty(), "",
                rowKey.isNull() ? key : rowKey);
        };
        signedWith("signed", {{"signature", m_signing["secret/setup"]}}, "");
        signedWith("signed with another key", {{"signature", m_signing["other/setup"]}}, notOurs);
        signedWith("one bit of the file changed", {{"signature", m_signing["secret/changed"]}},
                   notOurs);
        signedWith("file truncated",
                   {{"signature", m_signing["secret/setup"]},
                    {"download-url", "$/files/setup.bin?size=99999"}},
                   notOurs);
        signedWith("another key's signature, no key built in",
                   {{"signature", m_signing["other/setup"]}}, "", "");
        const QString malformed =
                cannot + "The update's signature is malformed, so it cannot be trusted.";
        const QByteArray shortSignature =
                QByteArray::fromBase64(m_signing["secret/setup"].toLatin1()).left(63).toBase64();
        signedWith("signature not base64", {{"signature", "not base64!"}}, malformed);
        signedWith("signature too short", {{"signature", QString(shortSignature)}}, malformed);
        signedWith("signature not text", {{"signature", 7}}, malformed);
        signedWith("unsigned, with a key", {},
                   cannot + "The update is not signed, so it cannot be trusted.");
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
        const QString usersFile = downloadPath("setup.bin");
        writeFile(usersFile, "the user's own file");
        const auto homeFiles = [] {
            return QDir::home().entryList(QDir::Files | QDir::Hidden | QDir::System);
        };
        const QStringList homeBefore = homeFiles();
        m_unexpectedDialogs.reset();
        ReleaseNotesAnswerer dialogs(true);
        MessageRecorder log;

        const QString url = appcast.contains("://") ? appcast : uniqueUrl(appcast);
        registry()->setModuleName(url, "Veldra Test");
        registry()->setModuleVersion(url, "1.0");
        registry()->setNotifyOnFinish(url, true);
        registry()->setUseCustomInstallProcedures(url, true);
        registry()->setPublicKey(url, key);
        QSignalSpy finished(registry(), &QSimpleUpdater::checkingFinished);
        QSignalSpy fetched(registry(), &QSimpleUpdater::downloadFinished);
        registry()->checkForUpdates(url, false);
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() == 1 &&
                                         (downloaded ? fetched.count() == 1
                                                     : m_answerer->count() == !message.isEmpty()),
                                 20000);
        QTest::qWait(100); // room for a second, wrong, end
        QCOMPARE(finished.count(), 1);
        QCOMPARE(fetched.count(), int(downloaded));
        QCOMPARE(m_answerer->count(), int(!message.isEmpty()));
        QCOMPARE(m_answerer->last().text, message);
        QCOMPARE(dialogs.lastHeading(),
                 shownVersion.isEmpty()
                         ? ""
                         : QString("<b>Veldra Test %1 has been released!</b>").arg(shownVersion));
        QVERIFY(m_urls->urls().isEmpty());
        QCOMPARE(fileContent(usersFile), downloaded ? LocalHttpServer::generatedContent(100000)
                                                    : QByteArray("the user's own file"));
        QCOMPARE(QDir(downloadPath(QString())).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"setup.bin"});
        QCOMPARE(homeFiles(), homeBefore);
        QVERIFY2(log.warnings().join('\n').contains(warning),
                 qPrintable(log.warnings().join('\n')));
    }
};

VELDRA_TEST_MAIN(TestUpdater)
#include "tst_updater.moc"
