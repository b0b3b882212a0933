#include "actionmanager.h"
#include "contextaction.h"
#include "helpcommands.h"
#include "mainwindow.h"
#include "qsimpleupdater.h"

#include "corefixture.h"
#include "localhttpserver.h"
#include "messageboxanswerer.h"
#include "testmain.h"

#include <QSignalSpy>

#include <memory>

/*
 * "Help.About" and "Help.CheckUpdates" through the commands' proxy actions, the update check
 * against the local HTTP server (tests/support/httpserver.py).
 */
class TestScenesHelp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void about_data();
    void about();
    void checkForUpdates_data();
    void checkForUpdates();

private:
    std::unique_ptr<LocalHttpServer> m_server;
    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<HelpCommands> m_commands;
    std::unique_ptr<MessageBoxAnswerer> m_answerer;
};

namespace {

void trigger(const char *id)
{
    ContextAction *command = ActionManager::getAction(QString::fromLatin1(id));
    QVERIFY(command);
    command->getAction()->trigger();
}

} // namespace

void TestScenesHelp::initTestCase()
{
    m_server = std::make_unique<LocalHttpServer>();
    QVERIFY(m_server->isRunning());
}

void TestScenesHelp::init()
{
    m_fixture = std::make_unique<CoreFixture>();
    m_commands = std::make_unique<HelpCommands>();
    m_answerer = std::make_unique<MessageBoxAnswerer>(QMessageBox::Ok);
}

void TestScenesHelp::cleanup()
{
    m_commands.reset();
    m_fixture.reset();
    m_answerer.reset();
    QCoreApplication::setApplicationVersion(QString());
}

void TestScenesHelp::about_data()
{
    QTest::addColumn<QString>("applicationVersion");
    QTest::addColumn<QString>("shownVersion");
    QTest::newRow("application's version") << "2.7.1"
                                           << "2.7.1";
    QTest::newRow("none: the build's") << "" << VELDRA_VERSION;
}

void TestScenesHelp::about()
{
    QFETCH(QString, applicationVersion);
    QFETCH(QString, shownVersion);
    QCoreApplication::setApplicationVersion(applicationVersion);

    trigger("Help.About");

    QCOMPARE(m_answerer->count(), 1);
    const MessageBoxAnswerer::Box box = m_answerer->last();
    QCOMPARE(box.title, QStringLiteral("Veldra"));
    QCOMPARE(box.parent.data(), m_fixture->mainWindow());
    QVERIFY2(box.text.contains(QStringLiteral("Veldra ") + shownVersion), qPrintable(box.text));
    QVERIFY(box.text.contains(QStringLiteral("GNU Lesser General Public License")));
}

void TestScenesHelp::checkForUpdates_data()
{
    QTest::addColumn<QVariant>("setting"); // "$" stands for the server's address
    QTest::addColumn<QString>("boxText");
    QTest::addColumn<bool>("checked");

    const QString noAddress = QStringLiteral("No update address is configured");
    QTest::newRow("absent") << QVariant() << noAddress << false;
    QTest::newRow("blank") << QVariant(QStringLiteral("  ")) << noAddress << false;
    QTest::newRow("list instead of text")
            << QVariant(QStringList{QStringLiteral("a"), QStringLiteral("b")}) << noAddress
            << false;
    QTest::newRow("not a web address")
            << QVariant(QStringLiteral("ftp://127.0.0.1/appcast.json"))
            << QStringLiteral("is not an http or https address") << false;
    QTest::newRow("appcast") << QVariant(QStringLiteral("$/appcast.json?from=help"))
                             << QStringLiteral("You are running the latest version of Veldra")
                             << true;
}

// The running version is newer than every entry of the appcast, so a finished check ends in the
// "latest version" box and never in the release notes.
void TestScenesHelp::checkForUpdates()
{
    QFETCH(QVariant, setting);
    QFETCH(QString, boxText);
    QFETCH(bool, checked);
    if (setting.type() == QVariant::String)
        setting = setting.toString().replace(QLatin1Char('$'), m_server->url(QString()));
    if (setting.isValid())
        m_fixture->userSettings()->setValue(QStringLiteral("Veldra/AppcastUrl"), setting);
    QCoreApplication::setApplicationVersion(QStringLiteral("9.9.9"));
    QSignalSpy finished(QSimpleUpdater::getInstance(), &QSimpleUpdater::checkingFinished);

    trigger("Help.CheckUpdates");

    QTRY_COMPARE(m_answerer->count(), 1);
    const MessageBoxAnswerer::Box box = m_answerer->last();
    QCOMPARE(box.title, QStringLiteral("Veldra"));
    QCOMPARE(box.parent.data(), m_fixture->mainWindow());
    QVERIFY2(box.text.contains(boxText), qPrintable(box.text));
    if (!checked) {
        QTest::qWait(300);
        QCOMPARE(finished.count(), 0);
        return;
    }
    const QString url = setting.toString();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toString(), url);
    QSimpleUpdater *updater = QSimpleUpdater::getInstance();
    QCOMPARE(updater->getModuleVersion(url), QStringLiteral("9.9.9"));
#ifdef Q_OS_LINUX
    QCOMPARE(updater->getLatestVersion(url), QStringLiteral("2.2.0"));
#endif
}

VELDRA_TEST_MAIN(TestScenesHelp)
#include "tst_sceneshelp.moc"
