#include "actioncontainer.h"
#include "actionmanager.h"
#include "documentmanager.h"
#include "imainmdiarea.h"
#include "mainwindow.h"
#include "vdhtmlexposingwelcome.h"

#include "corefixture.h"
#include "messageboxanswerer.h"
#include "messagerecorder.h"
#include "testdocument.h"
#include "testdocumentfactory.h"
#include "testmain.h"
#include "urlrecorder.h"
#include "webchannelclient.h"

#include <extensionsystem/pluginmanager.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QSignalSpy>
#include <QWebChannel>
#include <QWebSocketServer>

#include <memory>

namespace {

const QString welcomeName = QStringLiteral("vdwelcome");
const QString recentKey = QStringLiteral("Veldra/RecentProjects");

// The project paths the Recent Projects menu shows, in menu order.
QStringList recentMenuEntries()
{
    QStringList entries;
    const QList<QAction *> actions =
            ActionManager::getActionContainer("File.Recent_Projects")->getMenu()->actions();
    for (QAction *action : actions) {
        if (action->isVisible() && !action->isSeparator())
            entries << action->data().toString();
    }
    return entries;
}

} // namespace

class TestWelcome : public QObject
{
    Q_OBJECT

    IMainMdiArea *area() const { return m_fixture->mainWindow()->getMdiArea(); }
    VDHTMLExposingWelcome *welcome() const
    {
        return area()->findChild<VDHTMLExposingWelcome *>(QString(), Qt::FindDirectChildrenOnly);
    }
    QSettings *settings() const { return m_fixture->userSettings(); }
    void storeRecent(const QStringList &paths) { settings()->setValue(recentKey, paths); }
    QStringList storedRecent() const { return settings()->value(recentKey).toStringList(); }

    QString loadedProject() const
    {
        return m_factory->lastDocument() ? m_factory->lastDocument()->getFileName() : QString();
    }

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<TestDocumentFactory> m_factory;

private slots:
    void init()
    {
        m_fixture = std::make_unique<CoreFixture>();
        m_factory = std::make_unique<TestDocumentFactory>();
        ExtensionSystem::PluginManager::addObject(m_factory.get());
    }

    void cleanup()
    {
        // Projects a test opened are taken away as the window's close handling does it.
        for (IDocument *document : DocumentManager::getDocuments())
            emit document->requestClosing(false);
        ExtensionSystem::PluginManager::removeObject(m_factory.get());
        m_fixture.reset();
        m_factory.reset();
    }

    void operationsThroughTheWebChannel()
    {
        MessageBoxAnswerer answerer;
        UrlRecorder urls;
        const QString project = m_fixture->filePath(QStringLiteral("page.veldra"));
        QVERIFY(QFile(project).open(QIODevice::WriteOnly));
        storeRecent({"/p/a.veldra", "/p/b.veldra"});
        auto *welcome =
                m_fixture->mainWindow()->getChannel()->registeredObjects().value(welcomeName);
        QVERIFY(qobject_cast<VDHTMLExposingWelcome *>(welcome));
        QCOMPARE(welcome->parent(), area());

        const quint16 port = m_fixture->mainWindow()->getServer()->serverPort();
        const QString secret = m_fixture->mainWindow()->getSecret();
        QVERIFY(!WebChannelClient("https://attacker.example").open(port, secret));
        WebChannelClient page;
        QVERIFY(page.open(port, secret));
        QVERIFY(page.initialize());
        QVERIFY(page.connectToSignal(welcomeName, "resetRecentFiles"));
        QCOMPARE(page.invoke(welcomeName, "getRecentFileList"),
                 QJsonValue(QJsonArray{"/p/a.veldra", "/p/b.veldra"}));
        QCOMPARE(page.invoke(welcomeName, "callbackAsyncfromJS",
                             {"WelcomeScreen.getBuildNumber", ""}),
                 QJsonValue("1.1.0"));

        // Each call waits for its answer, so its effects are there when it returns. The list was
        // stored behind the menu's back: only a rebuild makes the menu show it.
        page.invoke(welcomeName, "removeFile", {"/p/unlisted.veldra"});
        QCOMPARE(recentMenuEntries(), QStringList({"/p/a.veldra", "/p/b.veldra"}));
        QVERIFY(page.waitForSignal(welcomeName, "resetRecentFiles", 1));
        page.invoke(welcomeName, "removeFile", {"/p/a.veldra"});
        QCOMPARE(storedRecent(), QStringList("/p/b.veldra"));
        QCOMPARE(recentMenuEntries(), QStringList("/p/b.veldra"));
        QVERIFY(page.waitForSignal(welcomeName, "resetRecentFiles", 2));
        emit area()->resetRecentFiles();
        QVERIFY(page.waitForSignal(welcomeName, "resetRecentFiles", 3));
        page.invoke(welcomeName, "openURL", {"https://example.org/"});
        QCOMPARE(urls.urls(), QList<QUrl>({QUrl("https://example.org/")}));
        page.invoke(welcomeName, "openFile", {project});
        QCOMPARE(loadedProject(), project);
        QCOMPARE(answerer.count(), 0);
    }

    void pageRequestsDoNotNestDialogs_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("box"); // shown once no dialog is open; none: a command ran
        const QString missing("/no/such/file.veldra");
        QTest::newRow("openURL") << "openURL"
                                 << "file:///etc/passwd"
                                 << "URL: file:///etc/passwd";
        QTest::newRow("openFile") << "openFile" << missing
                                  << "Couldn't find the requested file.\n" + missing;
        QTest::newRow("showInExplorer")
                << "showInExplorer" << missing
                << "The project [" + missing +
                           "] no longer exists.\nRemove this entry from history?";
        QTest::newRow("callbackTunnelAsync") << "callbackTunnelAsync"
                                             << "Test.WelcomeCommand" << QString();
    }

    // Every operation here opens a box, or runs a command, when nothing else is open. While a
    // modal dialog is open it does nothing.
    void pageRequestsDoNotNestDialogs()
    {
        QFETCH(QString, operation);
        QFETCH(QString, argument);
        QFETCH(QString, box);

        QAction command(QStringLiteral("Test command"));
        ActionManager::registerAction(&command, "Test.WelcomeCommand", m_fixture->mainWindow(),
                                      false);
        QSignalSpy triggered(&command, &QAction::triggered);
        MessageBoxAnswerer answerer;
        const auto request = [&] {
            QVERIFY(QMetaObject::invokeMethod(welcome(), qPrintable(operation),
                                              Q_ARG(QString, argument)));
        };

        QDialog dialog(m_fixture->mainWindow());
        dialog.setModal(true);
        dialog.show();
        QCOMPARE(QApplication::activeModalWidget(), &dialog);
        MessageRecorder log;
        request();
        request();
        QCOMPARE(answerer.count() + triggered.count(), 0);
        QCOMPARE(log.messages(QtInfoMsg).size(), 1); // once per dialog, not once per request

        dialog.close();
        request();
        QCOMPARE(answerer.count() + triggered.count(), 1);
        QCOMPARE(answerer.last().text, box);
        ActionManager::unregisterAction(&command, "Test.WelcomeCommand", QString());
    }
};

VELDRA_TEST_MAIN(TestWelcome)
#include "tst_welcome.moc"
