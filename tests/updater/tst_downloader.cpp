#include "tst_updater.h"

#include "downloader.h"
#include "mainwindow.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <functional>

namespace {

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

void TestUpdater::sizeLabel_data()
{
    QTest::addColumn<qint64>("received");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QString>("text");
    QTest::newRow("bytes") << qint64(0) << qint64(1023)
                           << "Downloading Updates (0 bytes of 1023 bytes)";
    QTest::newRow("KB limits") << qint64(1024) << qint64(1048575)
                               << "Downloading Updates (1 KB of 1023 KB)";
    QTest::newRow("MB rounded down")
            << qint64(1048576) << qint64(5000000) << "Downloading Updates (1 MB of 4 MB)";
    QTest::newRow("KB rounded down")
            << qint64(2047) << qint64(3 * 1048576 - 1) << "Downloading Updates (1 KB of 2 MB)";
}

void TestUpdater::sizeLabel()
{
    QFETCH(qint64, received);
    QFETCH(qint64, total);
    QFETCH(QString, text);

    Downloader downloader;
    QMetaObject::invokeMethod(&downloader, "calculateSizes", Q_ARG(qint64, received),
                              Q_ARG(qint64, total));
    QCOMPARE(labelText(downloader, "downloadLabel"), text);
}

// The estimate is total / (received / elapsed seconds). Receiving exactly one byte per elapsed
// second makes it equal to the total, whatever the elapsed time is.
void TestUpdater::timeRemainingLabel()
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
            {0, "1 second"},         {1, "1 second"},
            {2, "2 seconds"},        {60, "60 seconds"},
            {61, "About 1 minute"},  {89, "About 1 minute"},
            {90, "About 2 minutes"}, {7200, "About 120 minutes"},
            {7201, "About 2 hours"}, {36000, "About 10 hours"},
    };
    for (const auto &row : table)
        QCOMPARE(estimate(row.first, false), row.second);
    QCOMPARE(estimate(1000, true), QStringLiteral("Unknown"));
}

void TestUpdater::unknownSizeShowsBusyState()
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

void TestUpdater::downloadCompletes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    QTest::newRow("with length") << "/files/a.bin?size=300000" << 300000;
    QTest::newRow("larger than the read buffer") << "/files/a.bin?size=5000000" << 5000000;
    QTest::newRow("without length") << "/nolength/a.bin?size=300000" << 300000;
    QTest::newRow("empty, without length") << "/nolength/a.bin?size=0" << 0;
    QTest::newRow("three redirects") << "/redirect/3/files/a.bin?size=300000" << 300000;
    QTest::newRow("ten redirects") << "/redirect/10/files/a.bin?size=3000" << 3000;
}

// With custom install procedures the file is finished and reported, and nothing else happens.
void TestUpdater::downloadCompletes()
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

void TestUpdater::installBoxAndOpenButton()
{
    Downloader downloader;
    downloader.setFileName(QStringLiteral("setup.bin"));
    QPushButton *openButton = button(downloader, "openButton");
    QVERIFY(!openButton->isVisibleTo(&downloader));

    QVERIFY(!downloadAndWait(downloader, QStringLiteral("/files/setup.bin?size=1000")).isEmpty());
    QCOMPARE(m_answerer->count(), 1);
    QCOMPARE(boxFields(m_answerer->last()),
             expectedBox(
                     "<h3>In order to install the update, you need to quit the application.</h3>",
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

void TestUpdater::cancel_data()
{
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("confirmed") << true;
    QTest::newRow("refused") << false;
}

void TestUpdater::cancel()
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
        QTest::ignoreMessage(QtInfoMsg,
                             qPrintable("Error downloading update: " + url + ". Error code: 5"));
    }
    button(downloader, "stopButton")->click();

    QCOMPARE(boxFields(m_answerer->last()),
             expectedBox("Are you sure you want to cancel the download?",
                         QMessageBox::Yes | QMessageBox::No, m_fixture->mainWindow()));
    QCOMPARE(downloader.isVisible(), !confirmed);
    QTest::qWait(50);
    QCOMPARE(m_answerer->count(), 1); // a cancelled download is not reported as an error
    QCOMPARE(reported.count(), 0);
}

void TestUpdater::networkErrorIsReported_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("code");
    QTest::newRow("not found") << "/status/404" << int(QNetworkReply::ContentNotFoundError);
    QTest::newRow("server error") << "/status/500" << int(QNetworkReply::InternalServerError);
    QTest::newRow("closed half-way")
            << "/halfway/h.bin?size=400000" << int(QNetworkReply::RemoteHostClosedError);
    QTest::newRow("eleven redirects")
            << "/redirect/11/files/r.bin" << int(QNetworkReply::TooManyRedirectsError);
    QTest::newRow("cannot write") << "/files/w.bin" << int(QNetworkReply::UnknownContentError);
}

void TestUpdater::networkErrorIsReported()
{
    QFETCH(QString, path);
    QFETCH(int, code);
    if (code == QNetworkReply::UnknownContentError) {
        QDir().mkpath(downloadPath(QStringLiteral("broken.bin.part"))); // not a file
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot write")));
    }

    Downloader downloader;
    downloader.setFileName(QStringLiteral("broken.bin"));
    QSignalSpy reported(&downloader, &Downloader::downloadFinished);
    QTest::ignoreMessage(
            QtInfoMsg,
            QRegularExpression(QStringLiteral("^Error downloading update: http://127\\.0\\.0\\.1:"
                                              "\\d+/\\S+\\. Error code: %1$")
                                       .arg(code)));
    downloader.startDownload(QUrl(m_server->url(path)));

    QTRY_COMPARE(m_answerer->count(), 1);
    QCOMPARE(boxFields(m_answerer->last()),
             expectedBox(QStringLiteral("Cannot download update: %1").arg(code), QMessageBox::Ok,
                         m_fixture->mainWindow()));
    QVERIFY(!downloader.isVisible());
    QCOMPARE(reported.count(), 0);
    QVERIFY(!QFile::exists(downloadPath(QStringLiteral("broken.bin"))));
}

void TestUpdater::unsafeFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("used");
    const QString fallback = QStringLiteral("Veldra_Update.bin");
    QTest::newRow("empty") << "" << fallback;
    QTest::newRow("dot") << "." << fallback;
    QTest::newRow("dot dot") << ".." << fallback;
    QTest::newRow("backslash") << "..\\setup.exe" << fallback;
    QTest::newRow("slash") << "../setup.exe" << fallback;
    QTest::newRow("control character") << "setup\n.exe" << fallback;
    QTest::newRow("query kept") << "setup.exe?x=1"
                                << "setup.exe?x=1";
    QTest::newRow("inner dots kept") << "setup..exe"
                                     << "setup..exe";
}

void TestUpdater::unsafeFileNames()
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

void TestUpdater::checksum_data()
{
    const QByteArray digest = QCryptographicHash::hash(LocalHttpServer::generatedContent(50000),
                                                       QCryptographicHash::Sha256)
                                      .toHex();
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("matching") << QString::fromLatin1(digest) << true;
    QTest::newRow("matching in capitals") << QString::fromLatin1(digest.toUpper()) << true;
    QTest::newRow("different") << QString(64, QLatin1Char('0')) << false;
    QTest::newRow("not a digest, not checked") << "xyz" << true;
}

void TestUpdater::checksum()
{
    QFETCH(QString, expected);
    QFETCH(bool, accepted);
    const QString finished = downloadPath(QStringLiteral("checked.bin"));

    Downloader downloader;
    downloader.setFileName(QStringLiteral("checked.bin"));
    if (expected == QLatin1String("xyz"))
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("SHA-256 digest")));
    downloader.setExpectedSha256(expected);
    QSignalSpy reported(&downloader, &Downloader::downloadFinished);
    downloader.startDownload(QUrl(m_server->url(QStringLiteral("/files/c.bin?size=50000"))));

    QTRY_COMPARE(m_answerer->count(), 1);
    QCOMPARE(reported.count(), accepted ? 1 : 0);
    QCOMPARE(QFile::exists(finished), accepted);
    QVERIFY(!QFile::exists(finished + QStringLiteral(".part")));
    if (!accepted) {
        QCOMPARE(m_answerer->last().text,
                 QStringLiteral("The downloaded update is damaged and was deleted."));
        QVERIFY(!downloader.isVisible());
    }
    QVERIFY(m_urls->urls().isEmpty());
}

void TestUpdater::openWithoutFileName()
{
    Downloader downloader;
    QMetaObject::invokeMethod(&downloader, "openDownload");
    QCOMPARE(m_answerer->count(), 1);
    QCOMPARE(boxFields(m_answerer->last()),
             expectedBox("Cannot find downloaded update!", QMessageBox::Close, &downloader));
    QVERIFY(m_urls->urls().isEmpty());
}
