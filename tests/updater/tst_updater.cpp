#include "downloader.h"
#include "qsimpleupdater.h"

#include "corefixture.h"
#include "localhttpserver.h"
#include "messageboxanswerer.h"
#include "messagerecorder.h"
#include "releasenotesanswerer.h"
#include "testmain.h"
#include "urlrecorder.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProgressBar>
#include <QtTest>

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
    return QStringLiteral("/redirect/%1/%2").arg(QUrl::toPercentEncoding(location), name);
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

} // namespace

// The update registry, the appcast check and the downloader against a local HTTP server.
class TestUpdater : public QObject
{
    Q_OBJECT

    std::unique_ptr<LocalHttpServer> m_server;
    std::unique_ptr<CoreFixture> m_fixture;
    // Cancel rather than OK: an install box answered OK would quit the application.
    std::unique_ptr<MessageBoxAnswerer> m_answerer;
    int m_urlCount = 0;
    QTemporaryDir m_keys;
    QHash<QString, QString> m_signing; // the public key and signatures the signing tool made

    // The registry keeps every address for good, so each use gets an address nobody used before.
    QString uniqueUrl(const QString &path)
    {
        return m_server->url(path) + (path.contains('?') ? "&" : "?") +
               QString("case=%1").arg(++m_urlCount);
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
        qputenv("VELDRA_UPDATE_TIMEOUT_MS", "2000"); // read by every updater made from here on
        m_server = std::make_unique<LocalHttpServer>();
        makeSignatures();
    }

    void init()
    {
        QDir(downloadPath(QString())).removeRecursively();
        m_fixture = std::make_unique<CoreFixture>();
        m_answerer = std::make_unique<MessageBoxAnswerer>(QMessageBox::Cancel);
    }

    void cleanup()
    {
        m_fixture.reset();
        m_answerer.reset();
    }

    // The defaults of a new address, then what the setters whose values no other case reads
    // back store. Addresses are told apart exactly.
    void registryDefaults()
    {
        const QString url = uniqueUrl("/appcast.json");
        const auto state = [](const QString &url) {
            QSimpleUpdater *r = registry();
            QStringList values;
            for (const QVariant &value : QVariantList{
                         r->getModuleName(url), r->getModuleVersion(url),
                         r->getUserAgentString(url), r->getPlatformKey(url), r->getOpenUrl(url),
                         r->getChangelog(url), r->getDownloadUrl(url), r->getLatestVersion(url),
                         r->getNotifyOnUpdate(url), r->getNotifyOnFinish(url),
                         r->getUpdateAvailable(url), r->getDownloaderEnabled(url),
                         r->usesCustomAppcast(url), r->usesCustomInstallProcedures(url)})
                values << value.toString();
            return values.join('|');
        };
        const QString defaults("VeldraTests|1.4.2|VeldraTests/1.4.2 (Updater)|windows|||||"
                               "true|false|false|true|false|false");
        QCOMPARE(state(url), defaults);
        registry()->setUserAgentString(url, "Agent/1");
        registry()->setNotifyOnUpdate(url, false);
        registry()->setNotifyOnFinish(url, true);
        registry()->setDownloaderEnabled(url, false);
        registry()->setUseCustomAppcast(url, true);
        registry()->setUseCustomInstallProcedures(url, true);
        QCOMPARE(state(url), QString("VeldraTests|1.4.2|Agent/1|windows|||||"
                                     "false|true|false|false|true|true"));
        QCOMPARE(state(url.toUpper()), defaults);
    }

    // The answers to an offer, through a restart that reads the settings file from disk. A
    // silent check is the kind that runs on its own.
    void skipAndRemindSurviveRestart()
    {
        const QString url = uniqueUrl("/appcast.json");
        registry()->setModuleName(url, "Veldra Test");
        registry()->setModuleVersion(url, "1.0");
        const QString released("<b>Veldra Test %1 has been released!</b>");
        // The heading of the offer the check showed and answered with the button, if any.
        const auto offer = [&](bool bSilent, const char *button) {
            ReleaseNotesAnswerer dialog(button);
            QSignalSpy finished(registry(), &QSimpleUpdater::checkingFinished);
            registry()->checkForUpdates(url, bSilent);
            return finished.wait(10000) ? dialog.heading : "no end";
        };
        QCOMPARE(offer(true, "m_pBtnClose"), released.arg("2.1.0")); // Remind Me Later
        QCOMPARE(offer(true, "m_pBtnSkip"), released.arg("2.1.0"));
        CoreFixture::restartFromDisk(m_fixture);
        QCOMPARE(offer(true, "m_pBtnClose"), QString());
        QVERIFY(registry()->getUpdateAvailable(url));
        QCOMPARE(QStringList({registry()->getLatestVersion(url), registry()->getDownloadUrl(url),
                              registry()->getChangelog(url)}),
                 QStringList({"2.1.0", m_server->url("/files/setup.bin"),
                              "<ul><li>Faster export</li></ul>"}));
        QCOMPARE(offer(false, "m_pBtnSkip"),
                 released.arg("2.1.0") + "<br>You chose to skip this version.");
        registry()->setPlatformKey(url, "linux"); // 2.2.0, newer than skipped
        QCOMPARE(offer(true, "m_pBtnClose"), released.arg("2.2.0"));
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
        const bool known = !sizes.isEmpty();
        QMetaObject::invokeMethod(&downloader, known ? "calculateSizes" : "updateProgress",
                                  Q_ARG(qint64, received), Q_ARG(qint64, total));
        QCOMPARE(downloader.findChild<QLabel *>("downloadLabel")->text(),
                 known ? "Downloading Updates (" + sizes + ")" : "Downloading Updates...");
        if (known)
            return;
        auto *bar = downloader.findChild<QProgressBar *>("progressBar"); // a busy bar
        QCOMPARE(bar->maximum(), 0);
        QCOMPARE(bar->value(), -1);
        QCOMPARE(downloader.findChild<QLabel *>("timeLabel")->text(),
                 QString("Time Remaining: Unknown"));
    }

    // Feeds and servers that lie, stall or attack, through the whole check: the release notes are
    // accepted and the installer is fetched. Every case ends once, tells the user what happened,
    // writes nothing outside "Downloads" and leaves the user's own "setup.bin" whole unless a
    // complete, verified download replaces it.
    void hostileServer_data()
    {
        QTest::addColumn<QString>("appcast"); // a path on the server, or a whole address
        QTest::addColumn<QString>("message"); // the box the user sees, if any
        QTest::addColumn<QString>("heading"); // of the release notes, if shown
        QTest::addColumn<QString>("savedAs"); // the installer's file, if it is downloaded
        QTest::addColumn<QString>("warning"); // part of a logged warning, if any
        QTest::addColumn<QString>("key");     // the installers' public key, if any
        const QString released("<b>VeldraTests %1 has been released!</b>");
        const auto row = [&](const char *name, const QString &appcast, const QString &message,
                             const QString &version, const char *savedAs, const char *warning = "",
                             const QString &key = QString()) {
            QTest::newRow(name) << appcast << message
                                << (version.isEmpty() ? "" : released.arg(version)) << savedAs
                                << warning << key;
        };
        const auto noUpdate = [&](const char *name, const QString &appcast, const char *warning) {
            row(name, appcast,
                "<h3>Congratulations! You are running the latest version of VeldraTests</h3>", "",
                "", warning);
        };
        noUpdate("appcast drips", "/drip/appcast.json", "did not answer in time");
        noUpdate("appcast never ends", "/endless", "larger than 1 MiB");
        noUpdate("appcast announces more than 1 MiB", "/appcast.json?pad=1", "larger than 1 MiB");
        noUpdate("appcast redirects to a file", redirectTo("file:///etc/passwd", "a"),
                 "not a web address");
        noUpdate("appcast redirects for ever", "/redirect/11/appcast.json", "too many redirects");
        noUpdate("appcast address is not http", "ftp://127.0.0.1:1/appcast.json",
                 "not a web address");
        noUpdate("appcast 404", "/status/404", "Not Found");
        noUpdate("appcast 500", "/status/500", "Internal Server Error");
        noUpdate("appcast is not JSON", "/status/200", "");
        row("appcast redirects relatively", redirectTo("../../appcast.json", "a"), "", "2.1.0",
            "setup.bin");

        const QString cannot("Cannot download update: ");
        const QString notWeb = cannot + "The download address is not a web address.";
        const auto refused = [&](const char *name, const QJsonObject &changes,
                                 const QString &message, const char *warning = "") {
            row(name, feed(changes), message, "2.1.0", "", warning);
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

        const QByteArray digest = QCryptographicHash::hash(
                LocalHttpServer::generatedContent(100000), QCryptographicHash::Sha256);
        const auto fetched = [&](const char *name, const QJsonObject &changes,
                                 const char *savedAs = "setup.bin") {
            row(name, feed(changes), "", "2.1.0", savedAs);
        };
        fetched("sha256 in capitals matches", {{"sha256", QString(digest.toHex().toUpper())}});
        fetched("download redirects relatively",
                {{"download-url", "$" + redirectTo("../../files/setup.bin", "setup.bin")}});
        fetched("name that leaves the folder", {{"download-url", "$/files/..\\setup.bin"}},
                "Veldra_Update.bin");
        row("version with a link",
            feed({{"latest-version", "9.0<a href=\"http://127.0.0.1:1/\">Update now</a>"}}), "",
            "9.0&lt;a href=&quot;http://127.0.0.1:1/&quot;&gt;Update now&lt;/a&gt;", "setup.bin");

        // With a key, only an installer whose signature verifies over the whole file is kept;
        // without one a signature is not checked.
        const QString notOurs = "The downloaded update is not signed by the publisher of Veldra, "
                                "so it was deleted.";
        const QString key = m_signing["key"];
        const auto signedWith = [&](const char *name, const QJsonObject &changes,
                                    const QString &message, const QString &rowKey = QString()) {
            row(name, feed(changes), message, "2.1.0", message.isEmpty() ? "setup.bin" : "", "",
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
        QFETCH(QString, heading);
        QFETCH(QString, savedAs);
        QFETCH(QString, warning);
        QFETCH(QString, key);
        const bool downloaded = !savedAs.isEmpty();
        if (savedAs != "Veldra_Update.bin") // there the download has to make the folder
            writeFile(downloadPath("setup.bin"), "the user's own file");
        const auto homeFiles = [] {
            return QDir::home().entryList(QDir::Files | QDir::Hidden | QDir::System);
        };
        const QStringList homeBefore = homeFiles();
        ReleaseNotesAnswerer dialog("m_pBtnUpdate");
        UrlRecorder urls;
        MessageRecorder log;

        const QString url = appcast.contains("://") ? appcast : uniqueUrl(appcast);
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
        QCOMPARE(dialog.heading, heading);
        QCOMPARE(log.messages(QtInfoMsg).filter("New version: ").size(), int(!heading.isEmpty()));
        QVERIFY(urls.urls().isEmpty());
        // One file: the complete, verified download, or else the user's own, untouched.
        const QString left = downloaded ? savedAs : "setup.bin";
        QCOMPARE(QDir(downloadPath(QString())).entryList(QDir::Files | QDir::Hidden),
                 QStringList(left));
        QCOMPARE(fileContent(downloadPath(left)),
                 downloaded ? LocalHttpServer::generatedContent(100000)
                            : QByteArray("the user's own file"));
        QCOMPARE(homeFiles(), homeBefore);
        QVERIFY2(log.warnings().join('\n').contains(warning),
                 qPrintable(log.warnings().join('\n')));
    }
};

VELDRA_TEST_MAIN(TestUpdater)
#include "tst_updater.moc"
