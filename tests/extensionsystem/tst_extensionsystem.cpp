#include "testmain.h"

#include <extensionsystem/applicationdata.h>
#include <extensionsystem/pluginmanager.h>
#include <extensionsystem/pluginspec.h>

#include <QReadLocker>
#include <QReadWriteLock>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

using ExtensionSystem::PluginManager;
using ExtensionSystem::PluginSpec;

namespace {

const QString suffix = QStringLiteral(VELDRA_TEST_PLUGIN_SUFFIX);

// The life-cycle calls the test plug-ins made, in order, as "<name>.<call>".
QStringList lifeCycle()
{
    return qApp->property("lifeCycle").toStringList();
}

} // namespace

class TestExtensionSystem : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PluginManager> m_manager;

    // Copies the built plug-ins into the plug-in folder and loads them; "second-<name>" is a
    // second file holding the plug-in <name>. Each file also has a versioned name that links to
    // it and a copy whose name is no library's, and the folder is given twice: each plug-in is
    // still read once.
    void loadPlugins(const QStringList &files)
    {
        for (const QString &file : files) {
            const QString built = QStringLiteral(VELDRA_TEST_PLUGIN_DIR "/") +
                                  QString(file).remove(QStringLiteral("second-")) + suffix;
            const QString copy = m_dir->filePath(file + suffix);
            QVERIFY2(QFile::copy(built, copy), qPrintable(built));
            QVERIFY(QFile::link(copy, copy + ".1"));
            QVERIFY(QFile::copy(built, copy + ".off"));
        }
        PluginManager::setPluginPaths({m_dir->path(), m_dir->path() + "/."});
        PluginManager::loadPlugins();
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_manager = std::make_unique<PluginManager>();
        qApp->setProperty("lifeCycle", QStringList());
    }

    void cleanup()
    {
        m_manager.reset();
        m_dir.reset();
    }

    void objectPool()
    {
        // Writers on other threads wait while the pool is locked for reading.
        QObject early, first, second, stranger;
        std::unique_ptr<QThread> writer(QThread::create([&] { PluginManager::addObject(&early); }));
        {
            QReadLocker locker(PluginManager::listLock());
            writer->start();
            QVERIFY(!writer->wait(100));
        }
        QVERIFY(writer->wait(5000));

        // Each announcement names the object and says whether it was in the pool at that moment.
        const QList<QObject *> objects = {&first, &second, &stranger};
        QStringList events;
        auto recorder = [&](const QString &what) {
            return [&, what](QObject *obj) {
                const bool pooled = PluginManager::allObjects().contains(obj);
                events << what + QString::number(objects.indexOf(obj)) +
                                  (pooled ? "" : " unpooled");
            };
        };
        connect(m_manager.get(), &PluginManager::objectAdded, this, recorder("added "));
        connect(m_manager.get(), &PluginManager::aboutToRemoveObject, this, recorder("removing "));

        PluginManager::addObject(&first);
        PluginManager::addObject(&stranger);
        PluginManager::addObject(&second);
        PluginManager::removeObject(&stranger);
        PluginManager::addObject(nullptr);
        PluginManager::addObject(&first);
        PluginManager::removeObject(nullptr);
        PluginManager::removeObject(&stranger);

        QCOMPARE(PluginManager::allObjects(), (QList<QObject *>{&early, &first, &second}));
        QCOMPARE(events, (QStringList{"added 0", "added 2", "added 1", "removing 2"}));
    }

    // Each stage runs over all plug-ins before the next, dependencies first; the plug-ins'
    // extensionsInitialized and shutdown run the other way round.
    void lifeCycleFollowsDependencyOrder()
    {
        connect(m_manager.get(), &PluginManager::initializationDone, this,
                [] { qApp->setProperty("lifeCycle", lifeCycle() << "initializationDone"); });
        PluginManager::setArguments({"a", "b"});
        loadPlugins({"extension", "foundation"});
        const QStringList expected = {"foundation.constructed",
                                      "extension.constructed",
                                      "foundation.initialize(a,b)",
                                      "extension.initialize(a,b)",
                                      "extension.extensionsInitialized",
                                      "foundation.extensionsInitialized",
                                      "foundation.lateInitialize",
                                      "extension.lateInitialize",
                                      "initializationDone"};
        QCOMPARE(lifeCycle(), expected);
        const PluginSpec *extension = PluginManager::pluginByName("extension");
        QCOMPARE(extension->state(), PluginSpec::Running);
        PluginManager::shutdown();
        PluginManager::shutdown(); // only once
        QVERIFY(extension->state() == PluginSpec::Deleted && !extension->plugin());
        QCOMPARE(lifeCycle().mid(expected.size()),
                 (QStringList{"extension.aboutToShutdown", "foundation.aboutToShutdown",
                              "extension.deleted", "foundation.deleted"}));
    }

    void failedPluginsAreReportedAndOthersRun_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("failures"); // in the order they are reported
        QTest::addColumn<QStringList>("reasons");  // a part of each failure's reason

        QTest::newRow("initialize fails")
                << QStringList{"foundation", "broken"} << QStringList{"broken"}
                << QStringList{"broken on purpose"};
        QTest::newRow("object is no IPlugin")
                << QStringList{"foundation", "plainobject"} << QStringList{"plainobject"}
                << QStringList{"ExtensionSystem::IPlugin"};
        QTest::newRow("missing dependency")
                << QStringList{"foundation", "needsbroken"} << QStringList{"needsbroken"}
                << QStringList{"\"broken\", which was not found"};
        QTest::newRow("failed dependency")
                << QStringList{"foundation", "broken", "needsbroken"}
                << QStringList{"broken", "needsbroken"}
                << QStringList{"broken on purpose", "\"broken\", which failed"};
        QTest::newRow("name taken by an earlier file")
                << QStringList{"foundation", "second-foundation"}
                << QStringList{"second-foundation"}
                << QStringList{"\"foundation\" was found first"};
    }

    void failedPluginsAreReportedAndOthersRun()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, failures);
        QFETCH(QStringList, reasons);
        for (int i = 0; i < failures.size(); ++i) {
            const QString failure = QRegularExpression::escape(failures.at(i) + suffix) +
                                    " failed: .*" + QRegularExpression::escape(reasons.at(i));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(failure));
        }
        QSignalSpy failed(m_manager.get(), &PluginManager::pluginFailed);
        QSignalSpy done(m_manager.get(), &PluginManager::initializationDone);

        loadPlugins(files);

        QCOMPARE(failed.count(), failures.size());
        QCOMPARE(PluginManager::errorStrings().size(), failures.size());
        for (int i = 0; i < failures.size(); ++i) {
            const QString fileName = failed.at(i).at(0).toString();
            const QString reason = failed.at(i).at(1).toString();
            const QString errorString = PluginManager::errorStrings().at(i);
            QCOMPARE(QFileInfo(fileName).fileName(), failures.at(i) + suffix);
            QVERIFY2(reason.contains(reasons.at(i)), qPrintable(reason));
            QVERIFY(errorString.contains(failures.at(i) + suffix) && errorString.contains(reason));
        }
        QCOMPARE(PluginManager::pluginByName("foundation")->state(), PluginSpec::Running);
        QVERIFY(lifeCycle().contains("foundation.lateInitialize"));
        QCOMPARE(done.count(), 1);
        // A plug-in that failed is deleted without being shut down.
        PluginManager::shutdown();
        QCOMPARE(lifeCycle().filter(".aboutToShutdown"),
                 QStringList{QStringLiteral("foundation.aboutToShutdown")});
        QCOMPARE(lifeCycle().contains("broken.deleted"), files.contains("broken"));
    }

    void applicationDataBesideExecutableThenInShare_data()
    {
        QTest::addColumn<bool>("beside");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<int>("found"); // 0 beside the executable, 1 installed
        QTest::newRow("build tree") << true << false << 0;
        QTest::newRow("installation") << false << true << 1;
        QTest::newRow("both") << true << true << 0;
        QTest::newRow("neither") << false << false << 0;
    }

    void applicationDataBesideExecutableThenInShare()
    {
        QFETCH(bool, beside);
        QFETCH(bool, installed);
        QFETCH(int, found);
        const QDir executableFolder(QCoreApplication::applicationDirPath());
        const QString relative = QStringLiteral("datatest/sheet.qss");
        const QStringList places{
                executableFolder.filePath(relative),
                QDir::cleanPath(executableFolder.filePath("../share/veldra/" + relative))};
        const auto removeAll = [&] {
            for (const QString &place : places)
                QFileInfo(place).dir().removeRecursively();
        };
        removeAll();
        for (int i : {0, 1}) {
            if (i == 0 ? beside : installed) {
                QVERIFY(QDir().mkpath(QFileInfo(places.at(i)).path()));
                QVERIFY(QFile(places.at(i)).open(QIODevice::WriteOnly));
            }
        }

        const QString path = ExtensionSystem::applicationDataPath(relative);
        removeAll();
        QCOMPARE(path, places.at(found));
    }
};

VELDRA_TEST_MAIN(TestExtensionSystem)
#include "tst_extensionsystem.moc"
