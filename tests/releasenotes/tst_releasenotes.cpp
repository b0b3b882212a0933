#include "mainwindow.h"
#include "qsimpleupdater.h"
#include "vdreleasenotedlg.h"

#include "corefixture.h"
#include "localhttpserver.h"
#include "messageboxanswerer.h"
#include "releasenotesanswerer.h"
#include "testmain.h"
#include "urlrecorder.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

/*
 * The release-notes dialog with a real web view, and the update checks that show it: what
 * accepting it leads to (opening a page, downloading, or opening the download in the browser).
 */
class TestReleaseNotes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void changelog_data();
    void changelog();
    void updateFlow_data();
    void updateFlow();

private:
    std::unique_ptr<LocalHttpServer> m_server;
    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<MessageBoxAnswerer> m_answerer;
    std::unique_ptr<UrlRecorder> m_urls;
    int m_urlCount = 0;
};

namespace {

const int loadTimeoutMs = 15000;

// The text the view shows; empty when the page does not answer in time.
QString pageText(QWebEngineView *view)
{
    auto text = std::make_shared<QString>();
    auto done = std::make_shared<bool>(false);
    view->page()->toPlainText([text, done](const QString &result) {
        *text = result.trimmed();
        *done = true;
    });
    if (!QTest::qWaitFor([done] { return *done; }, 5000))
        return QString();
    return *text;
}

// What the notes made the browser fetch from the server's /beacon/ addresses.
QByteArray beaconsRequested(const LocalHttpServer &server)
{
    QNetworkAccessManager manager;
    std::unique_ptr<QNetworkReply> reply(
            manager.get(QNetworkRequest(QUrl(server.url(QStringLiteral("/beacons"))))));
    QSignalSpy finished(reply.get(), &QNetworkReply::finished);
    finished.wait(5000);
    return reply->readAll();
}

QPushButton *updateButton(const VDReleaseNoteDlg &dialog)
{
    return dialog.findChild<QPushButton *>(QStringLiteral("m_pBtnUpdate"));
}

} // namespace

void TestReleaseNotes::initTestCase()
{
    m_server = std::make_unique<LocalHttpServer>();
    QVERIFY(m_server->isRunning());
}

void TestReleaseNotes::init()
{
    QDir(QDir::homePath() + QStringLiteral("/Downloads")).removeRecursively();
    m_fixture = std::make_unique<CoreFixture>();
    m_answerer = std::make_unique<MessageBoxAnswerer>(QMessageBox::Cancel);
    m_urls = std::make_unique<UrlRecorder>();
}

void TestReleaseNotes::cleanup()
{
    m_fixture.reset();
    m_urls.reset();
    m_answerer.reset();
}

void TestReleaseNotes::changelog_data()
{
    QTest::addColumn<QString>("changelog"); // "$" stands for the server's host and port
    QTest::addColumn<bool>("enabledAtOnce");
    QTest::addColumn<QString>("shown");
    QTest::newRow("HTML") << "<ul><li>Faster export</li></ul>" << true << "Faster export";
    QTest::newRow("empty") << "" << true << "";
    QTest::newRow("address") << "http://$/notes.html" << false
                             << "Release notes of Veldra\nFaster export";
    QTest::newRow("address in capitals")
            << "HTTP://$/notes.html" << false << "Release notes of Veldra\nFaster export";
    QTest::newRow("address that fails")
            << "http://127.0.0.1:1/notes.html" << false << "Failed to load release notes.";
    // Neither runs its script (which would replace the text) nor fetches anything else.
    QTest::newRow("hostile address") << "http://$/hostile-notes.html" << false << "Hostile notes";
    QTest::newRow("hostile HTML")
            << "<link rel='stylesheet' href='http://$/beacon/stylesheet'><p>Hostile notes</p>"
               "<img src='http://$/beacon/image'><iframe src='http://$/beacon/frame'></iframe>"
               "<script>document.body.innerText = 'script ran'</script>"
            << true << "Hostile notes";
}

void TestReleaseNotes::changelog()
{
    QFETCH(QString, changelog);
    QFETCH(bool, enabledAtOnce);
    QFETCH(QString, shown);
    changelog.replace(QLatin1Char('$'), QStringLiteral("127.0.0.1:%1").arg(m_server->port()));

    VDReleaseNoteDlg dialog;
    dialog.setChangelog(changelog);
    QCOMPARE(updateButton(dialog)->isEnabled(), enabledAtOnce);

    auto *view = dialog.findChild<QWebEngineView *>();
    QTRY_COMPARE_WITH_TIMEOUT(pageText(view), shown, loadTimeoutMs);
    // Showing the failure notice is a successful load too, so every case ends enabled.
    QTRY_VERIFY_WITH_TIMEOUT(updateButton(dialog)->isEnabled(), loadTimeoutMs);
    QCOMPARE(beaconsRequested(*m_server), QByteArray());
}

void TestReleaseNotes::updateFlow_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<bool>("notifyOnUpdate");
    QTest::addColumn<bool>("notifyOnFinish");
    QTest::addColumn<bool>("pressUpdate");
    QTest::addColumn<bool>("downloaderEnabled");
    QTest::addColumn<bool>("dialogShown");
    QTest::addColumn<QString>("opened"); // "$" stands for the server's address
    QTest::addColumn<QString>("downloaded");

    QTest::newRow("closed") << "windows" << true << false << false << true << true << ""
                            << "";
    QTest::newRow("no notification") << "windows" << false << false << true << true << false << ""
                                     << "";
    QTest::newRow("open-url") << "osx" << true << false << true << true << true << "$/download-page"
                              << "";
    QTest::newRow("download") << "windows" << true << false << true << true << true << ""
                              << "setup.bin";
    QTest::newRow("notify on finish only")
            << "windows" << false << true << true << true << true << ""
            << "setup.bin";
    QTest::newRow("query in file name") << "query" << true << false << true << true << true << ""
                                        << "setup.exe?x=1";
    QTest::newRow("address ends in /") << "folder" << true << false << true << true << true << ""
                                       << "Veldra_Update.bin";
    QTest::newRow("remote release notes") << "remote" << true << false << true << true << true << ""
                                          << "setup.bin";
    QTest::newRow("browser download")
            << "windows" << true << false << true << false << true << "$/files/setup.bin"
            << "";
    QTest::newRow("checksum matches")
            << "sha256-good" << true << false << true << true << true << ""
            << "checked.bin?size=50000";
}

void TestReleaseNotes::updateFlow()
{
    QFETCH(QString, platform);
    QFETCH(bool, notifyOnUpdate);
    QFETCH(bool, notifyOnFinish);
    QFETCH(bool, pressUpdate);
    QFETCH(bool, downloaderEnabled);
    QFETCH(bool, dialogShown);
    QFETCH(QString, opened);
    QFETCH(QString, downloaded);

    QSimpleUpdater *registry = QSimpleUpdater::getInstance();
    const QString url = m_server->url(QStringLiteral("/appcast.json?case=%1").arg(++m_urlCount));
    registry->setModuleName(url, QStringLiteral("Veldra Test"));
    registry->setModuleVersion(url, QStringLiteral("1.0"));
    registry->setPlatformKey(url, platform);
    registry->setNotifyOnUpdate(url, notifyOnUpdate);
    registry->setNotifyOnFinish(url, notifyOnFinish);
    registry->setDownloaderEnabled(url, downloaderEnabled);
    registry->setUseCustomInstallProcedures(url, true);

    ReleaseNotesAnswerer dialogs(pressUpdate);
    QSignalSpy finished(registry, &QSimpleUpdater::checkingFinished);
    QSignalSpy fetched(registry, &QSimpleUpdater::downloadFinished);
    registry->checkForUpdates(url, true);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, loadTimeoutMs);

    QCOMPARE(dialogs.count(), dialogShown ? 1 : 0);
    if (dialogShown)
        QCOMPARE(dialogs.lastHeading(),
                 QStringLiteral("<b>Veldra Test 2.1.0 has been released!</b>"));
    const QString expectedUrl = opened.replace(QLatin1Char('$'), m_server->url(QString()));
    QCOMPARE(m_urls->urls(),
             expectedUrl.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(expectedUrl)});

    if (!downloaded.isEmpty()) {
        QTRY_COMPARE(fetched.count(), 1);
        const QString path = QDir::homePath() + QStringLiteral("/Downloads/") + downloaded;
        QCOMPARE(fetched.constFirst(), (QList<QVariant>{url, path}));
        QVERIFY(QFile::exists(path));
    }
    QTest::qWait(50);
    QCOMPARE(fetched.count(), downloaded.isEmpty() ? 0 : 1);
    if (downloaded.isEmpty())
        QVERIFY(QDir(QDir::homePath() + QStringLiteral("/Downloads")).isEmpty(QDir::Files));
}

VELDRA_TEST_MAIN(TestReleaseNotes)
#include "tst_releasenotes.moc"
