#include "documentmanager.h"
#include "icore.h"
#include "idocument.h"
#include "ilanguagemanager.h"
#include "mainwindow.h"

#include "corefixture.h"
#include "messageboxanswerer.h"
#include "settingsondisk.h"
#include "testdocument.h"
#include "testdocumentfactory.h"
#include "testeditor.h"
#include "testmain.h"

#include <extensionsystem/iplugin.h>
#include <extensionsystem/pluginmanager.h>
#include <extensionsystem/pluginspec.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QPointer>
#include <QProcess>

using ExtensionSystem::IPlugin;
using ExtensionSystem::PluginManager;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pluginMetaData_data();
    void pluginMetaData();
    void pluginInstanceLivesUntilDeleted();
    void lifeCycleThroughPluginManager();
    void processArguments_data();
    void processArguments();

    void executableReports_data();
    void executableReports();
    void executableClosesCleanlyOnTerminate();

private:
    IPlugin *loadCore();
    QString makeDir(const QString &name) const;
    QString touch(const QString &name) const;
    // An environment whose home, configuration and temporary folders are in the fixture.
    QProcessEnvironment isolatedEnvironment() const;

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<TestDocumentFactory> m_factory;
    QString m_savedCurrentPath;
    QByteArray m_savedTmpDir;
};

void TestStartup::init()
{
    m_fixture = std::make_unique<CoreFixture>(false);
    m_savedCurrentPath = QDir::currentPath();
    m_savedTmpDir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(makeDir(QStringLiteral("tmp"))));
    m_factory = std::make_unique<TestDocumentFactory>();
    PluginManager::addObject(m_factory.get());
}

void TestStartup::cleanup()
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

IPlugin *TestStartup::loadCore()
{
    PluginManager::setPluginPaths({QStringLiteral(VELDRA_TEST_PLUGIN_DIR)});
    PluginManager::loadPlugins();
    const ExtensionSystem::PluginSpec *core = PluginManager::pluginByName(QStringLiteral("core"));
    return core && core->state() == ExtensionSystem::PluginSpec::Running ? core->plugin() : nullptr;
}

QString TestStartup::makeDir(const QString &name) const
{
    const QString path = m_fixture->filePath(name);
    QDir().mkpath(path);
    return path;
}

QString TestStartup::touch(const QString &name) const
{
    QFile file(m_fixture->filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        qWarning("Cannot create %s", qPrintable(file.fileName()));
    return file.fileName();
}

QProcessEnvironment TestStartup::isolatedEnvironment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), makeDir(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), makeDir(QStringLiteral("home/config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), makeDir(QStringLiteral("home/data")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), makeDir(QStringLiteral("home/cache")));
    environment.insert(QStringLiteral("TMPDIR"), makeDir(QStringLiteral("tmp")));
    environment.remove(QStringLiteral("VELDRA_PLUGIN_PATH"));
    return environment;
}

void TestStartup::pluginMetaData_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QJsonValue>("value");

    QTest::newRow("IID") << "IID" << QJsonValue("com.KORVAN.Veldra.Plugin");
    QTest::newRow("className") << "className" << QJsonValue("CorePlugin");
    QTest::newRow("Name") << "MetaData/Name" << QJsonValue("core");
    QTest::newRow("Version") << "MetaData/Version" << QJsonValue("1.0.0");
    QTest::newRow("CompatVersion") << "MetaData/CompatVersion" << QJsonValue("1.0.0");
    QTest::newRow("Required") << "MetaData/Required" << QJsonValue(true);
    QTest::newRow("Category") << "MetaData/Category" << QJsonValue("Veldra");
    QTest::newRow("Description") << "MetaData/Description"
                                 << QJsonValue("The core plugin of Veldra");
    for (const char *key : {"License", "Arguments", "Dependencies"})
        QTest::newRow(key) << QStringLiteral("MetaData/") + key << QJsonValue(QJsonArray());
}

void TestStartup::pluginMetaData()
{
    QFETCH(QString, key);
    QFETCH(QJsonValue, value);

    QPluginLoader loader(QStringLiteral(VELDRA_TEST_CORE_FILE));
    QJsonObject object = loader.metaData();
    const QStringList path = key.split(QLatin1Char('/'));
    for (int i = 0; i < path.size() - 1; ++i)
        object = object.value(path.at(i)).toObject();
    QCOMPARE(object.value(path.last()), value);
}

void TestStartup::pluginInstanceLivesUntilDeleted()
{
    QPluginLoader loader(QStringLiteral(VELDRA_TEST_CORE_FILE));
    QPointer<QObject> first = loader.instance();
    QVERIFY2(first, qPrintable(loader.errorString()));
    QCOMPARE(loader.instance(), first.data());
    QCOMPARE(QPluginLoader(QStringLiteral(VELDRA_TEST_CORE_FILE)).instance(), first.data());
    QVERIFY(qobject_cast<IPlugin *>(first));
    QCOMPARE(first->metaObject()->className(), "CorePlugin");
    QPointer<MainWindow> window = ICore::getMainWindow();
    QVERIFY(window);
    QVERIFY(!window->isVisible());

    delete first;
    QVERIFY(!window);
    QPointer<QObject> second = loader.instance();
    QVERIFY(second);
    QVERIFY(ICore::getMainWindow());
    delete second;
}

void TestStartup::lifeCycleThroughPluginManager()
{
    m_fixture->userSettings()->setValue(QStringLiteral("Veldra/Language"), QStringLiteral("de_DE"));
    PluginManager::setArguments(
            {touch(QStringLiteral("a.veldra")), touch(QStringLiteral("b.veldra"))});

    QVERIFY(loadCore());
    QPointer<MainWindow> window = ICore::getMainWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
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

void TestStartup::processArguments_data()
{
    QTest::addColumn<bool>("byRequest");
    QTest::addColumn<QString>("workingDirectory");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<int>("boxes");

    const QString inCwd = QStringLiteral("cwd/a.veldra");
    const QString inWork = QStringLiteral("work/a.veldra");
    QTest::newRow("fileOpenRequest resolves against the current directory")
            << true << "" << QStringList{"a.veldra"} << QStringList{inCwd} << 0;
    QTest::newRow("fileOpenRequest of a file that cannot be opened still raises")
            << true << "" << QStringList{"notes.txt"} << QStringList() << 1;
    QTest::newRow("relative to the working directory")
            << false << "work" << QStringList{"a.veldra"} << QStringList{inWork} << 0;
    QTest::newRow("empty working directory means the current one")
            << false << "" << QStringList{"a.veldra"} << QStringList{inCwd} << 0;
    QTest::newRow("absolute path unchanged")
            << false << "work" << QStringList{"@cwd/a.veldra"} << QStringList{inCwd} << 0;
    QTest::newRow("a failure does not stop the loop")
            << false << "work" << QStringList{"notes.txt", "a.veldra", "@cwd/a.veldra"}
            << QStringList{inWork, inCwd} << 1;
    QTest::newRow("no arguments only raises")
            << false << "work" << QStringList() << QStringList() << 0;
}

void TestStartup::processArguments()
{
    QFETCH(bool, byRequest);
    QFETCH(QString, workingDirectory);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, opened);
    QFETCH(int, boxes);

    for (const char *name : {"cwd/a.veldra", "work/a.veldra", "cwd/notes.txt", "work/notes.txt"}) {
        makeDir(QString::fromLatin1(name).section(QLatin1Char('/'), 0, 0));
        touch(QString::fromLatin1(name));
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
    QVERIFY(window->isMinimized());

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

void TestStartup::executableReports_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("withoutPlugins");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("--version without a display")
            << "--version" << false << 0 << QStringList{"Veldra 1.1.0\n"};
    QTest::newRow("--help without a display")
            << "--help" << false << 0 << QStringList{"[files...]", "  files "};
    QTest::newRow("no core plug-in")
            << "" << true << 3
            << QStringList{"Veldra cannot start: the core plug-in could not be loaded."};
}

// Without plug-ins: a copy of the executable with no plug-in folder next to it, and an empty
// folder in VELDRA_PLUGIN_PATH.
void TestStartup::executableReports()
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
        environment.insert(QStringLiteral("VELDRA_PLUGIN_PATH"), makeDir(QStringLiteral("empty")));
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
void TestStartup::executableClosesCleanlyOnTerminate()
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

VELDRA_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
