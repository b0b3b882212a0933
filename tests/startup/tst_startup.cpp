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

    static QStringList openedFiles()
    {
        QStringList files;
        for (IDocument *document : DocumentManager::getDocuments())
            files << document->getFileName();
        return files;
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

    // The host's arguments open from the event loop once the window shows. A request to open
    // files raises the window and resolves relative paths against the working directory, or the
    // current one when none is given; a file that cannot be opened does not stop the others.
    void lifeCycleThroughPluginManager()
    {
        m_fixture->userSettings()->setValue(QStringLiteral("Veldra/Language"),
                                            QStringLiteral("de_DE"));
        makeDir(QStringLiteral("cwd"));
        const QString work = makeDir(QStringLiteral("work"));
        QStringList files{"a.veldra", "b.veldra", "cwd/c.veldra", "work/d.veldra", "e.veldra"};
        for (QString &file : files)
            file = m_fixture->touch(file);
        m_fixture->touch(QStringLiteral("work/notes.txt"));
        QDir::setCurrent(m_fixture->filePath(QStringLiteral("cwd")));
        PluginManager::setArguments(files.mid(0, 2));
        MessageBoxAnswerer answerer;

        PluginManager::setPluginPaths({QStringLiteral(VELDRA_TEST_PLUGIN_DIR)});
        PluginManager::loadPlugins();
        const auto *coreSpec = PluginManager::pluginByName(QStringLiteral("core"));
        QVERIFY(coreSpec && coreSpec->state() == ExtensionSystem::PluginSpec::Running);
        IPlugin *core = coreSpec->plugin();
        QPointer<MainWindow> window = ICore::getMainWindow();
        QVERIFY(window && window->isVisible());
        // Both catalogues were read from the host's store before the window was built.
        QCOMPARE(ILanguageManager::getInstance().getCurrentLangId(), QStringLiteral("de_DE"));
        QVERIFY(m_fixture->userSettings()->contains(QStringLiteral("Veldra/Theme")));
        QVERIFY(DocumentManager::getDocuments().isEmpty());
        QTRY_COMPARE(openedFiles(), files.mid(0, 2));

        window->showMinimized();
        QVERIFY(QMetaObject::invokeMethod(core, "fileOpenRequest", Q_ARG(QString, "c.veldra")));
        QVERIFY(!window->isMinimized());
        window->showMinimized();
        QCOMPARE(core->processArguments({QStringLiteral("-option")}, work,
                                        {"notes.txt", "d.veldra", files.last()}),
                 nullptr);
        QVERIFY(!window->isMinimized());
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.last().text, QStringLiteral("Cannot open this file type"));
        QCOMPARE(openedFiles(), files);

        PluginManager::shutdown();
        QVERIFY(!window);
    }

    void executable_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("run");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("--version") << "--version"
                                   << "headless" << 0 << QStringList{"Veldra 1.1.0\n"};
        QTest::newRow("--help") << "--help"
                                << "headless" << 0 << QStringList{"[files...]", "  files "};
        QTest::newRow("unknown option")
                << "--bogus"
                << "headless" << 1 << QStringList{"Unknown option 'bogus'."};
        QTest::newRow("no core plug-in")
                << ""
                << "without plug-ins" << 3
                << QStringList{"Veldra cannot start: the core plug-in could not be loaded."};
        QTest::newRow("SIGTERM") << ""
                                 << "terminated" << 0 << QStringList();
    }

    // The options answer without a display. Without plug-ins: a copy of the executable with no
    // plug-in folder next to it, and an empty folder in VELDRA_PLUGIN_PATH. SIGTERM closes the
    // window the way the user would: only its close handling removes the temporary folder, and
    // the user store has reached the disk.
    void executable()
    {
        QFETCH(QString, option);
        QFETCH(QString, run);
        QFETCH(int, exitCode);
        QFETCH(QStringList, expected);
        QString executable = QStringLiteral(VELDRA_TEST_EXECUTABLE);
        QProcessEnvironment environment = isolatedEnvironment();
        const QString store = m_fixture->filePath(QStringLiteral("home/config/Veldra/Veldra.ini"));
        const QString temporaryFolder = makeDir(QStringLiteral("tmp/Veldra"));
        if (run == "without plug-ins") {
            const QString copy = makeDir(QStringLiteral("install/bin")) + QStringLiteral("/veldra");
            QVERIFY(QFile::copy(executable, copy));
            executable = copy;
            environment.insert(QStringLiteral("VELDRA_PLUGIN_PATH"),
                               makeDir(QStringLiteral("empty")));
            environment.insert(QStringLiteral("VELDRA_NO_MESSAGE_BOXES"), QStringLiteral("1"));
        } else if (run == "headless") {
            for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                environment.remove(QString::fromLatin1(name));
        }
        QProcess veldra;
        veldra.setProcessEnvironment(environment);
        veldra.setProcessChannelMode(QProcess::MergedChannels);
        veldra.start(executable, option.isEmpty() ? QStringList() : QStringList(option));
        if (run == "terminated") {
            // The store is written from the event loop, which runs once the plug-ins have started.
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(store), 60000);
            veldra.terminate();
        }
        QVERIFY(veldra.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(veldra.readAll());
        QCOMPARE(veldra.exitStatus(), QProcess::NormalExit);
        QCOMPARE(veldra.exitCode(), exitCode);
        for (const QString &text : qAsConst(expected))
            QVERIFY2(output.contains(text), qPrintable(output));
        QCOMPARE(QFileInfo::exists(temporaryFolder), run != "terminated");
        QCOMPARE(valueOnDisk(store, QStringLiteral("Veldra/Theme")).isValid(), run == "terminated");
    }
};

VELDRA_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
