#include "qsimpleupdater.h"
#include "vdreleasenotedlg.h"

#include "corefixture.h"
#include "localhttpserver.h"
#include "messageboxanswerer.h"
#include "releasenotesanswerer.h"
#include "testmain.h"
#include "urlrecorder.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

namespace {

const int loadTimeoutMs = 15000;

// The text the view shows; empty when the page does not answer in time.
QString pageText(QWebEngineView *view)
{
    auto text = std::make_shared<QString>();
    view->page()->toPlainText([text](const QString &result) { *text = result.trimmed() + ' '; });
    return QTest::qWaitFor([text] { return !text->isEmpty(); }, 5000) ? text->trimmed() : QString();
}

// What the notes made the browser fetch from the server's /beacon/ addresses.
QByteArray beaconsRequested(const LocalHttpServer &server)
{
    QNetworkAccessManager manager;
    std::unique_ptr<QNetworkReply> reply(manager.get(QNetworkRequest(server.url("/beacons"))));
    QSignalSpy(reply.get(), &QNetworkReply::finished).wait(5000);
    return reply->readAll();
}

} // namespace

// The release-notes dialog with a real web view, and the update checks that show it: what
// accepting it leads to (opening a page, downloading, or opening the download in the browser).
class TestReleaseNotes : public QObject
{
    Q_OBJECT

    std::unique_ptr<LocalHttpServer> m_server;
    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<MessageBoxAnswerer> m_answerer;
    std::unique_ptr<UrlRecorder> m_urls;
    int m_urlCount = 0;

private slots:
    void initTestCase()
    {
        m_server = std::make_unique<LocalHttpServer>();
        QVERIFY(m_server->isRunning());
    }

    void init()
    {
        QDir(QDir::homePath() + "/Downloads").removeRecursively();
        m_fixture = std::make_unique<CoreFixture>();
        m_answerer = std::make_unique<MessageBoxAnswerer>(QMessageBox::Cancel);
        m_urls = std::make_unique<UrlRecorder>();
    }

    void cleanup()
    {
        m_fixture.reset();
        m_urls.reset();
        m_answerer.reset();
    }

    void changelog_data()
    {
        QTest::addColumn<QString>("changelog"); // "$" stands for the server's host and port
        QTest::addColumn<bool>("enabledAtOnce");
        QTest::addColumn<QString>("shown");
        const QString notes = "Release notes of Veldra\nFaster export";
        QTest::newRow("HTML") << "<ul><li>Faster export</li></ul>" << true << "Faster export";
        QTest::newRow("empty") << "" << true << "";
        QTest::newRow("address") << "http://$/notes.html" << false << notes;
        QTest::newRow("address in capitals") << "HTTP://$/notes.html" << false << notes;
        QTest::newRow("address that fails")
                << "http://127.0.0.1:1/notes.html" << false << "Failed to load release notes.";
        // Neither runs its script (which would replace the text) nor fetches anything else.
        QTest::newRow("hostile address")
                << "http://$/hostile-notes.html" << false << "Hostile notes";
        QTest::newRow("hostile HTML")
                << "<link rel='stylesheet' href='http://$/beacon/stylesheet'><p>Hostile notes</p>"
                   "<img src='http://$/beacon/image'><iframe src='http://$/beacon/frame'></iframe>"
                   "<script>document.body.innerText = 'script ran'</script>"
                << true << "Hostile notes";
    }

    void changelog()
    {
        QFETCH(QString, changelog);
        QFETCH(bool, enabledAtOnce);
        QFETCH(QString, shown);
        VDReleaseNoteDlg dialog;
        dialog.setChangelog(changelog.replace('$', m_server->url(QString()).mid(7)));
        auto *update = dialog.findChild<QPushButton *>("m_pBtnUpdate");
        QCOMPARE(update->isEnabled(), enabledAtOnce);
        QTRY_COMPARE_WITH_TIMEOUT(pageText(dialog.findChild<QWebEngineView *>()), shown,
                                  loadTimeoutMs);
        // Showing the failure notice is a successful load too, so every case ends enabled.
        QTRY_VERIFY_WITH_TIMEOUT(update->isEnabled(), loadTimeoutMs);
        QCOMPARE(beaconsRequested(*m_server), QByteArray());
    }

    void updateFlow_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<int>("notify"); // 1: on update, 2: on finish
        QTest::addColumn<bool>("pressUpdate");
        QTest::addColumn<bool>("downloaderEnabled");
        QTest::addColumn<QString>("opened"); // "$" stands for the server's address
        QTest::addColumn<QString>("downloaded");
        const auto row = [](const char *name, const char *platform, int notify, bool pressUpdate,
                            bool downloader, const char *opened, const char *downloaded) {
            QTest::newRow(name) << platform << notify << pressUpdate << downloader << opened
                                << downloaded;
        };
        row("closed", "windows", 1, false, true, "", "");
        row("no notification", "windows", 0, true, true, "", "");
        row("open-url", "osx", 1, true, true, "$/download-page", "");
        row("download", "windows", 1, true, true, "", "setup.bin");
        row("notify on finish only", "windows", 2, true, true, "", "setup.bin");
        row("query in file name", "query", 1, true, true, "", "setup.exe?x=1");
        row("address ends in /", "folder", 1, true, true, "", "Veldra_Update.bin");
        row("remote release notes", "remote", 1, true, true, "", "setup.bin");
        row("browser download", "windows", 1, true, false, "$/files/setup.bin", "");
        row("checksum matches", "sha256-good", 1, true, true, "", "checked.bin?size=50000");
    }

    void updateFlow()
    {
        QFETCH(QString, platform);
        QFETCH(int, notify);
        QFETCH(bool, pressUpdate);
        QFETCH(bool, downloaderEnabled);
        QFETCH(QString, opened);
        QFETCH(QString, downloaded);
        QSimpleUpdater *registry = QSimpleUpdater::getInstance();
        const QString url = m_server->url(QString("/appcast.json?case=%1").arg(++m_urlCount));
        registry->setModuleName(url, "Veldra Test");
        registry->setModuleVersion(url, "1.0");
        registry->setPlatformKey(url, platform);
        registry->setNotifyOnUpdate(url, notify == 1);
        registry->setNotifyOnFinish(url, notify == 2);
        registry->setDownloaderEnabled(url, downloaderEnabled);
        registry->setUseCustomInstallProcedures(url, true);
        ReleaseNotesAnswerer dialogs(pressUpdate);
        QSignalSpy finished(registry, &QSimpleUpdater::checkingFinished);
        QSignalSpy fetched(registry, &QSimpleUpdater::downloadFinished);
        registry->checkForUpdates(url, true);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, loadTimeoutMs);

        QCOMPARE(dialogs.count(), int(notify > 0));
        QCOMPARE(dialogs.lastHeading(),
                 notify ? "<b>Veldra Test 2.1.0 has been released!</b>" : QString());
        opened.replace('$', m_server->url(QString()));
        QCOMPARE(m_urls->urls(), opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(opened)});
        const QString path = QDir::homePath() + "/Downloads/" + downloaded;
        if (!downloaded.isEmpty()) {
            QTRY_COMPARE(fetched.count(), 1);
            QCOMPARE(fetched.constFirst(), (QList<QVariant>{url, path}));
        }
        QTest::qWait(50);
        QCOMPARE(fetched.count(), int(!downloaded.isEmpty()));
        QCOMPARE(QDir(QDir::homePath() + "/Downloads").entryList(QDir::Files),
                 downloaded.isEmpty() ? QStringList() : QStringList(downloaded));
    }
};

VELDRA_TEST_MAIN(TestReleaseNotes)
#include "tst_releasenotes.moc"
