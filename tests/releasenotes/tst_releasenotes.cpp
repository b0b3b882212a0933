#include "vdreleasenotedlg.h"

#include "localhttpserver.h"
#include "testmain.h"

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

// The release-notes dialog with a real web view, on its own.
class TestReleaseNotes : public QObject
{
    Q_OBJECT

    LocalHttpServer m_server;

private slots:
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
        dialog.setChangelog(changelog.replace('$', m_server.url(QString()).mid(7)));
        auto *update = dialog.findChild<QPushButton *>("m_pBtnUpdate");
        QCOMPARE(update->isEnabled(), enabledAtOnce);
        QTRY_COMPARE_WITH_TIMEOUT(pageText(dialog.findChild<QWebEngineView *>()), shown,
                                  loadTimeoutMs);
        // Showing the failure notice is a successful load too, so every case ends enabled.
        QTRY_VERIFY_WITH_TIMEOUT(update->isEnabled(), loadTimeoutMs);
        QCOMPARE(beaconsRequested(m_server), QByteArray());
    }
};

VELDRA_TEST_MAIN(TestReleaseNotes)
#include "tst_releasenotes.moc"
