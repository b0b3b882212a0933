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
#include <QSignalSpy>
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

QString labelText(const Downloader &downloader, const char *name)
{
    return downloader.findChild<QLabel *>(name)->text();
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

    void checkAndWait(const QString &url, bool bSilentIfNoUpdate)
    {
        QSignalSpy finished(registry(), &QSimpleUpdater::checkingFinished);
        registry()->checkForUpdates(url, bSilentIfNoUpdate);
        QVERIFY(finished.wait(10000));
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
        m_unexpectedDialogs = std::make_unique<ReleaseNotesAnswerer>("m_pBtnClose");
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
            ReleaseNotesAnswerer dialogs(button);
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

    // Feeds and servers that lie, stall or attack, through the whole check: the release notes are
    // accepted and the installer is fetched. Every case ends once, tells the user what happened,
    // writes nothing outside "Downloads" and leaves the user's own "setup.bin" whole unless a
    // complete, verified download replaces it.
    void hostileServer_data()
    {
        QTest::addColumn<QString>("appcast");      // a path on the server, or a whole address
        QTest::addColumn<QString>("message");      // the box the user sees, if any
        QTest::addColumn<QString>("shownVersion"); // in the release notes' heading, if shown
        QTest::addColumn<QString>("savedAs");      // the installer's file, if it is downloaded
        QTest::addColumn<QString>("warning");      // part of a logged warning, if any
        QTest::addColumn<QString>("key");          // the installers' public key, if any
        const auto row = [](const char *name, const QString &appcast, const QString &message,
                            const char *version, bool downloaded, const char *warning = "",
                            const QString &key = QString()) {
            QTest::newRow(name) << appcast << message << version
                                << QString(downloaded ? "setup.bin" : "") << warning << key;
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
        QTest::newRow("name that leaves the folder")
                << feed({{"download-url", "$/files/..\\setup.bin"}}) << ""
                << "2.1.0"
                << "Veldra_Update.bin"
                << "" << QString();
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
        QFETCH(QString, savedAs);
        QFETCH(QString, warning);
        const bool downloaded = !savedAs.isEmpty();
        QFETCH(QString, key);
        qputenv("VELDRA_UPDATE_TIMEOUT_MS", "2000"); // read by the updaters made from here on
        if (savedAs != "Veldra_Update.bin")          // there the download has to make the folder
            writeFile(downloadPath("setup.bin"), "the user's own file");
        const auto homeFiles = [] {
            return QDir::home().entryList(QDir::Files | QDir::Hidden | QDir::System);
        };
        const QStringList homeBefore = homeFiles();
        m_unexpectedDialogs.reset();
        ReleaseNotesAnswerer dialogs("m_pBtnUpdate");
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
