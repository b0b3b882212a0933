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
#include <QScopeGuard>

#include <memory>

#include <sys/stat.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
             qPrintable(path));
}

// A backup of a project "/p/<name>.veldra"; of the name "-", a damaged one.
QByteArray backupOf(const QString &name)
{
    QJsonObject backup = ProjectFormat::toJson(Project{640, 360, 25, {Scene()}});
    backup.insert("originalPath", "/p/" + name + ".veldra");
    return name == "-" ? "{\"format\": " : QJsonDocument(backup).toJson();
}

} // namespace

class TestScenesRecovery : public QObject
{
    Q_OBJECT

    // Stands in for the system's temporary folder and the user's state folder.
    std::unique_ptr<QTemporaryDir> m_temp;

private slots:
    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/recovery-XXXXXX");
        qputenv("TMPDIR", QFile::encodeName(m_temp->path()));
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_temp->filePath("state")));
    }

    // Backups are the user's alone whatever the umask, also over a file others could read.
    void backupTimerWritesPrivateBackup()
    {
        CoreFixture fixture;
        const mode_t umask = ::umask(0);
        const auto restoreUmask = qScopeGuard([umask] { ::umask(umask); });
        const QString path = fixture.filePath("timed.veldra");
        SceneDocument document;
        document.setFileName(path);
        QVERIFY(document.create(640, 360, 25));
        document.renameScene(0, "Renamed");
        const QString backup = BackupStore::backupPathFor(path);
        writeFile(backup, "older");
        QVERIFY(QFile::setPermissions(backup, QFileDevice::Permissions(0x6666)));
        DocumentManager::addDocument(&document);
        DocumentManager::setAutobackupTimeout(1);
        DocumentManager::startWaitingBackup(&document);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(backup).size() > 5, 3000);
        DocumentManager::removeDocument(&document);
        for (QString file = backup; file != m_temp->path(); file = QFileInfo(file).absolutePath())
            QVERIFY2(!(QFileInfo(file).permissions() & QFileDevice::Permissions(0x0077)),
                     qPrintable(file));

        SceneDocument recovered;
        QVERIFY(recovered.openBackup(backup));
        QCOMPARE(recovered.getFileName(), path);
        QCOMPARE(recovered.project().scenes.value(0).name, QString("Renamed"));
        QVERIFY(recovered.isOpenAsBackup() && recovered.save()); // an ordinary project again
        QVERIFY(!recovered.isOpenAsBackup() && !QFileInfo::exists(backup));
    }

    void offer_data()
    {
        QTest::addColumn<QStringList>("backups"); // of the projects with these names
        QTest::addColumn<bool>("openFirst");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("recovered");
        QTest::addColumn<int>("warnings");
        QTest::addColumn<QString>("names"); // of the projects on offer, as the bar lists them
        const QStringList two{"one", "two"};
        const QString both("one.veldra and two.veldra");
        QTest::newRow("recover") << two << false << "recover" << 2 << 0 << both;
        QTest::newRow("open project kept") << two << true << "recover" << 1 << 0 << both;
        QTest::newRow("corrupt backup") << QStringList{"-", "two"} << false << "recover" << 1 << 1
                                        << "0.veldrabackup and two.veldra";
        QTest::newRow("offer replaced") << two << false << "replaced" << 0 << 0 << both;
        QTest::newRow("many") << two + QStringList{"three", "four", "five"} << false << "close" << 0
                              << 0 << "one.veldra, two.veldra, three.veldra and 2 more";
    }

    // Backups left by a run that ended without releasing its lock are offered on the bar.
    void offer()
    {
        QFETCH(QStringList, backups);
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
        const QString deadRun = BackupStore::runsFolder() + "/dead/";
        QDir().mkpath(deadRun);
        for (int i = 0; i < backups.size(); ++i)
            writeFile(deadRun + QString::number(i) + ".veldrabackup", backupOf(backups[i]));
        if (openFirst) {
            auto *open = new SceneDocument;
            open->setFileName("/p/one.veldra");
            QVERIFY(open->create(640, 360, 25) && fixture.mainWindow()->loadOpenedDocument(open));
        }

        CrashRecovery recovery;
        VDNotificationBar *bar = fixture.mainWindow()->getNotificationBar();
        QVERIFY(!bar->isHidden());
        QCOMPARE(recovery.offeredBackups().size(), backups.size());
        QCOMPARE(bar->findChild<QLabel *>("m_pMessageLabel")->text(),
                 "Veldra can recover unsaved changes of " + names + ".");
        auto *recover = bar->findChild<QAbstractButton *>("m_pButton");
        QCOMPARE(recover->text(), QString("Recover"));
        if (answer == "replaced")
            fixture.mainWindow()->showNotification("Other", VDNotificationBar::Info, QString(),
                                                   true);
        (answer == "recover" ? recover : bar->findChild<QAbstractButton *>("m_pCloseButton"))
                ->click();

        QVERIFY(bar->isHidden());
        QCOMPARE(answerer.count(), warnings);
        QCOMPARE(BackupStore::orphanedBackups().size(), answer == "replaced" ? backups.size() : 0);
        QStringList recoveredFiles;
        for (const IDocument *document : DocumentManager::getDocuments())
            if (document->isOpenAsBackup())
                recoveredFiles << document->getFileName();
        QCOMPARE(recoveredFiles,
                 QStringList({"/p/one.veldra", "/p/two.veldra"}).mid(2 - recovered));
        QCOMPARE(ActionManager::getAction("File.Save")->getAction()->isEnabled(),
                 openFirst || recovered > 0);
    }
};

VELDRA_TEST_MAIN(TestScenesRecovery)
#include "tst_scenesrecovery.moc"
