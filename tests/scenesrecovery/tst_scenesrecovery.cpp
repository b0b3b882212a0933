#include "actionmanager.h"
#include "backupstore.h"
#include "contextaction.h"
#include "corefixture.h"
#include "crashrecovery.h"
#include "documentmanager.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "projectformat.h"
#include "scenedocument.h"
#include "scenedocumentfactory.h"
#include "testmain.h"

#include <extensionsystem/pluginmanager.h>

#include <QAbstractButton>
#include <QJsonDocument>
#include <QLabel>
#include <QLockFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace {

enum RunKind {
    NoLock,
    StaleLock,
    LiveLock,
    OldEmptyLock,
    FreshEmptyLock,
    CurrentRun,
    LinkedRun,
    OpenToOthers,
    OtherUser
};

constexpr QFileDevice::Permissions s_groupAndOthers =
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
             qPrintable(path));
}

QByteArray backupOf(const QString &originalPath)
{
    QJsonObject backup = ProjectFormat::toJson(Project{640, 360, 25, {Scene()}});
    backup.insert("originalPath", originalPath);
    return QJsonDocument(backup).toJson();
}

// The folder of a run that ended without releasing its lock.
void makeDeadRun(const QList<QByteArray> &backups)
{
    const QString folder = BackupStore::runsFolder() + QStringLiteral("/dead/");
    QDir().mkpath(folder);
    for (int i = 0; i < backups.size(); ++i)
        writeFile(folder + QString::number(i) + QStringLiteral(".veldrabackup"), backups[i]);
}

} // namespace

class TestScenesRecovery : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_temp; // stands in for the system's temporary folder and
                                           // the user's state folder
    QByteArray m_systemTemp;

private slots:
    void initTestCase() { m_systemTemp = QFile::encodeName(QDir::tempPath()); }

    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>(QFile::decodeName(m_systemTemp) +
                                                 QStringLiteral("/recovery-XXXXXX"));
        qputenv("TMPDIR", QFile::encodeName(m_temp->path()));
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_temp->filePath(QStringLiteral("state"))));
    }

    void cleanupTestCase() { qputenv("TMPDIR", m_systemTemp); }

    void backupPaths_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("sameFile");
        const auto row = [](const char *tag, const QString &first, const QString &second,
                            bool sameFile) { QTest::newRow(tag) << first << second << sameFile; };
        row("dot-dot", "/p/x/../a.veldra", "/p/a.veldra", true);
        row("relative", "a.veldra", QDir::current().absoluteFilePath("a.veldra"), true);
        row("other file", "/p/a.veldra", "/p/b.veldra", false);
        row("other folder", "/p/a.veldra", "/q/a.veldra", false);
    }

    void backupPaths()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, sameFile);
        const QString backup = BackupStore::backupPathFor(first);
        QCOMPARE(backup == BackupStore::backupPathFor(second), sameFile);
        QCOMPARE(QFileInfo(backup).absolutePath(), BackupStore::currentRunFolder());
        QVERIFY(backup.endsWith(QLatin1String(".veldrabackup")));

        // The run's lock is live for anyone who probes it, also after the folder was removed.
        QVERIFY(QDir(BackupStore::runsFolder()).removeRecursively());
        QCOMPARE(BackupStore::backupPathFor(first), backup);
        QLockFile probe(
                QDir(BackupStore::currentRunFolder()).filePath(BackupStore::lockFileName()));
        probe.setStaleLockTime(0);
        QVERIFY(!probe.tryLock(0));

        QTest::ignoreMessage(QtWarningMsg, "BackupStore::backupPathFor: empty project path");
        QCOMPARE(BackupStore::backupPathFor(QString()), QString());
    }

    void orphans_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("orphaned");
        QTest::newRow("no lock") << int(NoLock) << true;
        QTest::newRow("lock of a dead process") << int(StaleLock) << true;
        QTest::newRow("lock of a live process") << int(LiveLock) << false;
        QTest::newRow("old empty lock") << int(OldEmptyLock) << true;
        QTest::newRow("fresh empty lock") << int(FreshEmptyLock) << false;
        QTest::newRow("this run") << int(CurrentRun) << false;
        QTest::newRow("symbolic link to a folder") << int(LinkedRun) << false;
        QTest::newRow("folder others can write to") << int(OpenToOthers) << false;
        QTest::newRow("folder of another user") << int(OtherUser) << false;
    }

    void orphans()
    {
        QFETCH(int, kind);
        QFETCH(bool, orphaned);
        const QString ownBackup = BackupStore::backupPathFor(QStringLiteral("/p/own.veldra"));
        writeFile(ownBackup, "own");
        const QString outside = m_temp->filePath(QStringLiteral("outside"));
        QDir().mkpath(outside);
        writeFile(outside + QStringLiteral("/keep.veldrabackup"), "keep");

        const QString runs = BackupStore::runsFolder();
        const QString folder = kind == CurrentRun ? BackupStore::currentRunFolder()
                                                  : runs + QStringLiteral("/other");
        const QString lockPath = folder + QLatin1Char('/') + BackupStore::lockFileName();
        QLockFile liveLock(lockPath);
        if (kind == LinkedRun) {
            QVERIFY(QFile::link(outside, folder));
        } else {
            QDir().mkpath(folder);
            QVERIFY(QFile::link(outside, folder + QStringLiteral("/link")));
            QVERIFY(QFile::link(outside + QStringLiteral("/keep.veldrabackup"),
                                folder + QStringLiteral("/linked.veldrabackup")));
        }
        if (kind == StaleLock)
            writeFile(lockPath, "2147483646\nveldra\n\n");
        if (kind == OldEmptyLock || kind == FreshEmptyLock)
            writeFile(lockPath, QByteArray());
        if (kind == LiveLock)
            QVERIFY(liveLock.tryLock(0));
        if (kind == OldEmptyLock || kind == LiveLock) { // a run may last longer than any timeout
            QFile lock(lockPath);
            QVERIFY(lock.open(QIODevice::ReadWrite) &&
                    lock.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                     QFileDevice::FileModificationTime));
        }
        const QString backup = folder + QStringLiteral("/x.veldrabackup");
        if (kind != LinkedRun)
            writeFile(backup, "x");
        if (kind == OpenToOthers)
            QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7777)));
        if (kind == OtherUser) {
            if (::geteuid() != 0)
                QSKIP("Giving a folder to another user takes root");
            QCOMPARE(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
        }

        QCOMPARE(BackupStore::orphanedBackups(), orphaned ? QStringList{backup} : QStringList{});
        BackupStore::discardOrphans();
        QCOMPARE(QFileInfo::exists(folder), !orphaned);
        QVERIFY(QFileInfo::exists(ownBackup));
        QVERIFY(QFileInfo::exists(outside + QStringLiteral("/keep.veldrabackup")));
    }

    // Backups are the user's alone whatever the umask, also over a file others could read.
    void backupTimerWritesPrivateBackup()
    {
        CoreFixture fixture;
        MessageBoxAnswerer answerer;
        const mode_t umask = ::umask(0);
        const auto restoreUmask = qScopeGuard([umask] { ::umask(umask); });
        const QString path = fixture.filePath(QStringLiteral("timed.veldra"));
        SceneDocument document;
        document.setFileName(path);
        QVERIFY(document.create(640, 360, 25));
        document.renameScene(0, QStringLiteral("Renamed"));
        const QString backup = BackupStore::backupPathFor(path);
        writeFile(backup, "older");
        QVERIFY(QFile::setPermissions(backup, QFileDevice::Permissions(0x6666)));
        DocumentManager::addDocument(&document);
        DocumentManager::setAutobackupTimeout(1);
        DocumentManager::startWaitingBackup(&document);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(backup).size() > 5, 3000);
        DocumentManager::removeDocument(&document);
        QCOMPARE(QFileInfo(backup).permissions() & s_groupAndOthers, QFileDevice::Permissions());
        for (QString folder = BackupStore::currentRunFolder(); folder != m_temp->path();
             folder = QFileInfo(folder).absolutePath())
            QCOMPARE(QFileInfo(folder).permissions() & s_groupAndOthers,
                     QFileDevice::Permissions());

        SceneDocument recovered;
        QVERIFY(recovered.openBackup(backup));
        QCOMPARE(recovered.getFileName(), path);
        QCOMPARE(recovered.project().scenes.value(0).name, QStringLiteral("Renamed"));
    }

    void offer_data()
    {
        QTest::addColumn<QList<QByteArray>>("backups");
        QTest::addColumn<bool>("openFirst");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("recovered");
        QTest::addColumn<int>("warnings");
        QTest::addColumn<QString>("names"); // of the projects on offer, as the bar lists them
        const QList<QByteArray> two{backupOf("/p/one.veldra"), backupOf("/p/two.veldra")};
        const QList<QByteArray> withCorrupt{"{\"format\": ", two.last()};
        const QList<QByteArray> five =
                two + QList<QByteArray>{backupOf("/p/three.veldra"), backupOf("/p/four.veldra"),
                                        backupOf("/p/five.veldra")};
        const QString both("one.veldra and two.veldra");
        QTest::newRow("nothing to recover") << QList<QByteArray>() << false << "" << 0 << 0 << "";
        QTest::newRow("recover") << two << false << "recover" << 2 << 0 << both;
        QTest::newRow("open project kept") << two << true << "recover" << 1 << 0 << both;
        QTest::newRow("corrupt backup")
                << withCorrupt << false << "recover" << 1 << 1 << "0.veldrabackup and two.veldra";
        QTest::newRow("close discards") << two << false << "close" << 0 << 0 << both;
        QTest::newRow("offer replaced") << two << false << "replaced" << 0 << 0 << both;
        QTest::newRow("many") << five << false << "close" << 0 << 0
                              << "one.veldra, two.veldra, three.veldra and 2 more";
    }

    void offer()
    {
        QFETCH(QList<QByteArray>, backups);
        QFETCH(bool, openFirst);
        QFETCH(QString, answer);
        QFETCH(int, recovered);
        QFETCH(int, warnings);
        QFETCH(QString, names);
        CoreFixture fixture;
        MessageBoxAnswerer answerer;
        SceneDocumentFactory factory;
        ExtensionSystem::PluginManager::addObject(&factory);
        const auto cleanup = qScopeGuard([&factory] {
            const QList<IDocument *> documents = DocumentManager::getDocuments();
            for (IDocument *document : documents)
                emit document->requestClosing(false);
            ExtensionSystem::PluginManager::removeObject(&factory);
        });
        makeDeadRun(backups);
        if (openFirst) {
            auto *open = new SceneDocument;
            open->setFileName(QStringLiteral("/p/one.veldra"));
            QVERIFY(open->create(640, 360, 25) && fixture.mainWindow()->loadOpenedDocument(open));
        }

        CrashRecovery recovery;
        VDNotificationBar *bar = fixture.mainWindow()->getNotificationBar();
        QCOMPARE(bar->isHidden(), backups.isEmpty());
        QCOMPARE(recovery.offeredBackups().size(), backups.size());
        if (backups.isEmpty())
            return;
        const auto *message = bar->findChild<QLabel *>(QStringLiteral("m_pMessageLabel"));
        QCOMPARE(message->text(), "Veldra can recover unsaved changes of " + names + ".");
        auto *recover = bar->findChild<QAbstractButton *>(QStringLiteral("m_pButton"));
        auto *close = bar->findChild<QAbstractButton *>(QStringLiteral("m_pCloseButton"));
        QCOMPARE(recover->text(), QStringLiteral("Recover"));
        if (answer == QLatin1String("replaced"))
            fixture.mainWindow()->showNotification(QStringLiteral("Other"), VDNotificationBar::Info,
                                                   QString(), true);
        (answer == QLatin1String("recover") ? recover : close)->click();

        QVERIFY(bar->isHidden());
        QCOMPARE(answerer.count(), warnings);
        QCOMPARE(BackupStore::orphanedBackups().size(),
                 answer == QLatin1String("replaced") ? backups.size() : 0);
        QStringList recoveredFiles;
        for (const IDocument *document : DocumentManager::getDocuments()) {
            if (document->isOpenAsBackup())
                recoveredFiles << document->getFileName();
        }
        const QStringList expected{QStringLiteral("/p/one.veldra"),
                                   QStringLiteral("/p/two.veldra")};
        QCOMPARE(recoveredFiles, expected.mid(expected.size() - recovered));
        QCOMPARE(ActionManager::getAction(QStringLiteral("File.Save"))->getAction()->isEnabled(),
                 openFirst || recovered > 0);
    }
};

VELDRA_TEST_MAIN(TestScenesRecovery)
#include "tst_scenesrecovery.moc"
