#include "documentmanager.h"
#include "icore.h"
#include "idocument.h"
#include "ilanguagemanager.h"
#include "mainwindow.h"

#include "corefixture.h"
#include "messageboxanswerer.h"
#include "settingsondisk.h"
#include "testdocumentfactory.h"
#include "testmain.h"

#include <extensionsystem/iplugin.h>
#include <extensionsystem/pluginmanager.h>
#include <extensionsystem/pluginspec.h>

#include <QPointer>
#include <QProcess>

using ExtensionSystem::IPlugin;
using ExtensionSystem::PluginManager;

class TestStartup : public QObject
{
    Q_OBJECT

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<TestDocumentFactory> m_factory;
    QString m_savedCurrentPath;
    QByteArray m_savedTmpDir;

    IPlugin *loadCore()
    {
        PluginManager::setPluginPaths({QStringLiteral(VELDRA_TEST_PLUGIN_DIR)});
        PluginManager::loadPlugins();
        const auto *core = PluginManager::pluginByName(QStringLiteral("core"));
        return core && core->state() == ExtensionSystem::PluginSpec::Running ? core->plugin()
                                                                             : nullptr;
    }

    QString makeDir(const QString &name) const
    {
        QDir().mkpath(m_fixture->filePath(name));
        return m_fixture->filePath(name);
    }

    // An environment whose home, configuration and temporary folders are in the fixture.
    QProcessEnvironment isolatedEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QStringList folders{"HOME=home", "XDG_CONFIG_HOME=home/config",
                                  "XDG_DATA_HOME=home/data", "XDG_CACHE_HOME=home/cache",
                                  "TMPDIR=tmp"};
        for (const QString &folder : folders)
            environment.insert(folder.section('=', 0, 0), makeDir(folder.section('=', 1)));
        environment.remove(QStringLiteral("VELDRA_PLUGIN_PATH"));
        return environment;
    }

private slots:
    void init()
    {
        m_fixture = std::make_unique<CoreFixture>(false);
        m_savedCurrentPath = QDir::currentPath();
        m_savedTmpDir = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(makeDir(QStringLiteral("tmp"))));
        m_factory = std::make_unique<TestDocumentFactory>();
        PluginManager::addObject(m_factory.get());
    }

    void cleanup()
    {
        PluginManager::shutdown();
        PluginManager::removeObject(m_factory.get());
        qDeleteAll(m_factory->editors());
        qDeleteAll(m_factory->documents());
        m_factory.reset();
        m_fixture.reset();
        QDir::setCurrent(m_savedCurrentPath);
        qputenv("TMPDIR", m_savedTmpDir);
    }

    void lifeCycleThroughPluginManager()
    {
        m_fixture->userSettings()->setValue(QStringLiteral("Veldra/Language"),
                                            QStringLiteral("de_DE"));
        PluginManager::setArguments({m_fixture->touch("a.veldra"), m_fixture->touch("b.veldra")});

        QVERIFY(loadCore());
        QPointer<MainWindow> window = ICore::getMainWindow();
        QVERIFY(window && window->isVisible());
        // Both catalogues were read from the host's store before the window was built.
        QCOMPARE(ILanguageManager::getInstance().getCurrentLangId(), QStringLiteral("de_DE"));
        QVERIFY(m_fixture->userSettings()->contains(QStringLiteral("Veldra/Theme")));

        QVERIFY(DocumentManager::getDocuments().isEmpty());
        QTRY_COMPARE(DocumentManager::getDocuments().size(), 2);
        QCOMPARE(DocumentManager::getDocuments().first()->getFileName(),
                 m_fixture->filePath(QStringLiteral("a.veldra")));

        PluginManager::shutdown();
        QVERIFY(!window);
    }

    void processArguments_data()
    {
        QTest::addColumn<bool>("byRequest");
        QTest::addColumn<QString>("workingDirectory");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<int>("boxes");
        const QStringList inCwd{"cwd/a.veldra"}, inWork{"work/a.veldra"};
        // "@" marks a path below the fixture's folder, given as an absolute path.
        QTest::newRow("request, current directory")
                << true << "" << QStringList{"a.veldra"} << inCwd << 0;
        QTest::newRow("working directory")
                << false << "work" << QStringList{"a.veldra"} << inWork << 0;
        QTest::newRow("a failure does not stop the loop")
                << false << "work" << QStringList{"notes.txt", "a.veldra", "@cwd/a.veldra"}
                << inWork + inCwd << 1;
    }

    void processArguments()
    {
        QFETCH(bool, byRequest);
        QFETCH(QString, workingDirectory);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, opened);
        QFETCH(int, boxes);
        for (const QString &folder : QStringList{"cwd", "work"}) {
            makeDir(folder);
            m_fixture->touch(folder + "/a.veldra");
            m_fixture->touch(folder + "/notes.txt");
        }
        QDir::setCurrent(m_fixture->filePath(QStringLiteral("cwd")));
        for (QString &argument : arguments) {
            if (argument.startsWith(QLatin1Char('@')))
                argument = m_fixture->filePath(argument.mid(1));
        }
        IPlugin *core = loadCore();
        QVERIFY(core);
        MainWindow *window = ICore::getMainWindow();
        window->showMinimized();
        MessageBoxAnswerer answerer;
        if (byRequest) {
            QVERIFY(QMetaObject::invokeMethod(core, "fileOpenRequest",
                                              Q_ARG(QString, arguments.first())));
        } else {
            const QString directory =
                    workingDirectory.isEmpty() ? QString() : m_fixture->filePath(workingDirectory);
            QCOMPARE(core->processArguments({QStringLiteral("-option")}, directory, arguments),
                     nullptr);
        }

        QVERIFY(!window->isMinimized());
        QCOMPARE(answerer.count(), boxes);
        if (boxes)
            QCOMPARE(answerer.last().text, QStringLiteral("Cannot open this file type"));
        QStringList openedFiles;
        for (IDocument *document : DocumentManager::getDocuments())
            openedFiles << document->getFileName();
        for (QString &file : opened)
            file = m_fixture->filePath(file);
        QCOMPARE(openedFiles, opened);
    }

    void executableReports_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("withoutPlugins");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("expected");
        // The options answer without a display.
        QTest::newRow("--version") << "--version" << false << 0 << QStringList{"Veldra 1.1.0\n"};
        QTest::newRow("--help") << "--help" << false << 0 << QStringList{"[files...]", "  files "};
        QTest::newRow("unknown option")
                << "--bogus" << false << 1 << QStringList{"Unknown option 'bogus'."};
        QTest::newRow("no core plug-in")
                << "" << true << 3
                << QStringList{"Veldra cannot start: the core plug-in could not be loaded."};
    }

    // Without plug-ins: a copy of the executable with no plug-in folder next to it, and an empty
    // folder in VELDRA_PLUGIN_PATH.
    void executableReports()
    {
        QFETCH(QString, option);
        QFETCH(bool, withoutPlugins);
        QFETCH(int, exitCode);
        QFETCH(QStringList, expected);
        QString executable = QStringLiteral(VELDRA_TEST_EXECUTABLE);
        QProcessEnvironment environment = isolatedEnvironment();
        if (withoutPlugins) {
            const QString copy = makeDir(QStringLiteral("install/bin")) + QStringLiteral("/veldra");
            QVERIFY(QFile::copy(executable, copy));
            executable = copy;
            environment.insert(QStringLiteral("VELDRA_PLUGIN_PATH"),
                               makeDir(QStringLiteral("empty")));
            environment.insert(QStringLiteral("VELDRA_NO_MESSAGE_BOXES"), QStringLiteral("1"));
        } else {
            for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                environment.remove(QString::fromLatin1(name));
        }
        QProcess veldra;
        veldra.setProcessEnvironment(environment);
        veldra.setProcessChannelMode(QProcess::MergedChannels);
        veldra.start(executable, option.isEmpty() ? QStringList() : QStringList(option));
        QVERIFY(veldra.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(veldra.readAll());
        QCOMPARE(veldra.exitStatus(), QProcess::NormalExit);
        QCOMPARE(veldra.exitCode(), exitCode);
        for (const QString &text : qAsConst(expected))
            QVERIFY2(output.contains(text), qPrintable(output));
    }

    // SIGTERM closes the window the way the user would: its close handling removes the temporary
    // folder, and the user store has reached the disk.
    void executableClosesCleanlyOnTerminate()
    {
        const QProcessEnvironment environment = isolatedEnvironment();
        const QString store = m_fixture->filePath(QStringLiteral("home/config/Veldra/Veldra.ini"));
        const QString temporaryFolder = makeDir(QStringLiteral("tmp/Veldra"));
        QProcess veldra;
        veldra.setProcessEnvironment(environment);
        veldra.start(QStringLiteral(VELDRA_TEST_EXECUTABLE), QStringList());
        QVERIFY(veldra.waitForStarted());
        // The store is written from the event loop, which runs once the plug-ins have started.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(store), 60000);
        QVERIFY(valueOnDisk(store, QStringLiteral("Veldra/Theme")).isValid());

        veldra.terminate();
        QVERIFY(veldra.waitForFinished(60000));
        QCOMPARE(veldra.exitStatus(), QProcess::NormalExit);
        QCOMPARE(veldra.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(temporaryFolder));
    }
};

VELDRA_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
