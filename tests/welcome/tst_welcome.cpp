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

// The project paths the Recent Projects menu shows, in menu order.
QStringList recentMenuEntries()
{
    QStringList entries;
    for (QAction *action :
         ActionManager::getActionContainer("File.Recent_Projects")->getMenu()->actions()) {
        if (action->isVisible() && !action->isSeparator())
            entries << action->data().toString();
    }
    return entries;
}

} // namespace

class TestWelcome : public QObject
{
    Q_OBJECT

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
        const QString project = m_fixture->touch(QStringLiteral("page.veldra"));
        QSettings *settings = m_fixture->userSettings();
        settings->setValue("Veldra/RecentProjects", QStringList{"/p/a.veldra", "/p/b.veldra"});
        MainWindow *window = m_fixture->mainWindow();
        auto *welcome = window->getChannel()->registeredObjects().value(welcomeName);
        QVERIFY(qobject_cast<VDHTMLExposingWelcome *>(welcome));
        QCOMPARE(welcome->parent(), window->getMdiArea());

        const quint16 port = window->getServer()->serverPort();
        QVERIFY(!WebChannelClient("https://attacker.example").open(port, window->getSecret()));
        WebChannelClient page;
        QVERIFY(page.open(port, window->getSecret()) && page.initialize());
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
        QCOMPARE(settings->value("Veldra/RecentProjects").toStringList(),
                 QStringList("/p/b.veldra"));
        QCOMPARE(recentMenuEntries(), QStringList("/p/b.veldra"));
        QVERIFY(page.waitForSignal(welcomeName, "resetRecentFiles", 2));
        emit window->getMdiArea()->resetRecentFiles();
        QVERIFY(page.waitForSignal(welcomeName, "resetRecentFiles", 3));
        page.invoke(welcomeName, "openURL", {"https://example.org/"});
        QCOMPARE(urls.urls(), QList<QUrl>({QUrl("https://example.org/")}));
        page.invoke(welcomeName, "openFile", {project});
        QVERIFY(m_factory->lastDocument());
        QCOMPARE(m_factory->lastDocument()->getFileName(), project);
        QCOMPARE(answerer.count(), 0);
    }

    void pageRequestsDoNotNestDialogs_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("box"); // shown once no dialog is open; none: a command ran
        const auto row = [](const char *operation, const QString &argument, const QString &box) {
            QTest::newRow(operation) << QString(operation) << argument << box;
        };
        const QString missing("/no/such/file.veldra");
        row("openURL", "file:///etc/passwd", "URL: file:///etc/passwd");
        row("openFile", missing, "Couldn't find the requested file.\n" + missing);
        row("showInExplorer", missing,
            "The project [" + missing + "] no longer exists.\nRemove this entry from history?");
        row("callbackTunnelAsync", "Test.WelcomeCommand", QString());
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
            QVERIFY(QMetaObject::invokeMethod(
                    m_fixture->mainWindow()->getMdiArea()->findChild<VDHTMLExposingWelcome *>(),
                    qPrintable(operation), Q_ARG(QString, argument)));
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
