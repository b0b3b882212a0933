#include "tst_updater.h"

#include "downloader.h"
#include "qsimpleupdater.h"

#include "testmain.h"

#include <QDir>
#include <QSignalSpy>

void TestUpdater::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("VeldraTests"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.4.2"));
    m_server = std::make_unique<LocalHttpServer>();
    QVERIFY(m_server->isRunning());
}

void TestUpdater::cleanupTestCase()
{
    m_server.reset();
}

void TestUpdater::init()
{
    QDir(QDir::homePath() + QStringLiteral("/Downloads")).removeRecursively();
    m_fixture = std::make_unique<CoreFixture>();
    // Cancel rather than OK: an install box answered OK would quit the application.
    m_answerer = std::make_unique<MessageBoxAnswerer>(QMessageBox::Cancel);
    m_urls = std::make_unique<UrlRecorder>();
    m_unexpectedDialogs = std::make_unique<ReleaseNotesAnswerer>(false);
}

void TestUpdater::cleanup()
{
    QCOMPARE(m_unexpectedDialogs->count(), 0);
    m_unexpectedDialogs.reset();
    m_fixture.reset();
    m_urls.reset();
    m_answerer.reset();
}

// The registry keeps every address for good, so each use gets an address nobody used before.
QString TestUpdater::uniqueUrl(const QString &path)
{
    const QChar separator = path.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?');
    return m_server->url(path) + separator + QStringLiteral("case=%1").arg(++m_urlCount);
}

// Runs one check and returns the url of every checkingFinished() it caused.
QStringList TestUpdater::checkAndWait(const QString &url, bool bSilentIfNoUpdate)
{
    QSignalSpy finished(QSimpleUpdater::getInstance(), &QSimpleUpdater::checkingFinished);
    QSimpleUpdater::getInstance()->checkForUpdates(url, bSilentIfNoUpdate);
    finished.wait(10000);
    QTest::qWait(50); // room for a second, wrong, emission
    QStringList urls;
    for (const QList<QVariant> &arguments : qAsConst(finished))
        urls.append(arguments.at(0).toString());
    return urls;
}

// Downloads a path of the server and returns the finished file's path, or empty.
QString TestUpdater::downloadAndWait(Downloader &downloader, const QString &path)
{
    QSignalSpy finished(&downloader, &Downloader::downloadFinished);
    downloader.startDownload(QUrl(m_server->url(path)));
    if (!finished.wait(10000))
        return QString();
    return finished.constFirst().at(1).toString();
}

VELDRA_TEST_MAIN(TestUpdater)
