#include "corefixture.h"
#include "documentmanager.h"
#include "idocumentfactory.h"
#include "irecentfilesmanager.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "testdocument.h"
#include "testmain.h"

#include <QSignalSpy>
#include <QTimer>
#include <QUndoGroup>
#include <QUndoStack>

#include <memory>

Q_DECLARE_METATYPE(const QMetaObject *)

namespace {

const QString projectPath = QStringLiteral("/projects/Intro.final.veldra");
const QString otherPath = QStringLiteral("/projects/Other.veldra");
const QString savedAsPath = QStringLiteral("/projects/Chosen.veldra");

// A document that keeps every default operation of the base.
class BareDocument : public IDocument
{
public:
    BareDocument() { m_pUndoStack = new QUndoStack(this); }
    bool create(int, int, int) override { return true; }
};

QList<QTimer *> backupTimers()
{
    return DocumentManager::getInstance()->findChildren<QTimer *>(QString(),
                                                                  Qt::FindDirectChildrenOnly);
}

QTimer *onlyBackupTimer()
{
    const QList<QTimer *> timers = backupTimers();
    return timers.size() == 1 ? timers.first() : nullptr;
}

int backupCount(const TestDocument &document)
{
    return document.callLog()->callsOf(&document).count(QStringLiteral("TestDocument::saveBackup"));
}

QStringList slotSignatures(const QMetaObject &metaObject)
{
    QStringList result;
    for (int i = metaObject.methodOffset(); i < metaObject.methodCount(); ++i) {
        if (metaObject.method(i).methodType() == QMetaMethod::Slot)
            result.append(QString::fromLatin1(metaObject.method(i).methodSignature()));
    }
    return result;
}

} // namespace

class TestDocuments : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void slotOrder_data();
    void slotOrder();
    void defaultOperations();
    void modifiedFollowsUndoStackAndTempFlag();
    void closeDialogue_data();
    void closeDialogue();

    void registryAddAndRemove();
    void deletedDocumentLeavesRegistry();
    void registryWithoutInstanceIsHarmless();
    void backupRunsEveryIntervalOnceStarted();
    void newIntervalAppliesFromNextTimeout();
    void enabledFlagDoesNotTouchRunningTimers();
    void intervalBelowOneSecond_data();
    void intervalBelowOneSecond();
    void readSettings_data();
    void readSettings();
    void saveSettings();

private:
    std::unique_ptr<CoreFixture> m_fixture;
};

void TestDocuments::init()
{
    m_fixture = std::make_unique<CoreFixture>(false);
}

void TestDocuments::cleanup()
{
    m_fixture.reset();
}

void TestDocuments::slotOrder_data()
{
    QTest::addColumn<const QMetaObject *>("metaObject");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("IDocument") << &IDocument::staticMetaObject
                               << QStringList{"open()",         "close()",     "save()",
                                              "save(QString)",  "saveAs()",    "revert()",
                                              "cleanTempDir()", "saveBackup()"};
    QTest::newRow("IDocumentFactory")
            << &IDocumentFactory::staticMetaObject
            << QStringList{"createDocument()",   "createEditor()",      "getSupportedSuffixes()",
                           "createOptionsDlg()", "createDocumentDlg()", "getOpenFileName()"};
    QTest::newRow("DocumentManager")
            << &DocumentManager::staticMetaObject << QStringList{"onScheduleBackup()"};
}

// Plug-ins reach these operations through the meta-object, so their order is part of the contract.
void TestDocuments::slotOrder()
{
    QFETCH(const QMetaObject *, metaObject);
    QFETCH(QStringList, expected);
    QCOMPARE(slotSignatures(*metaObject), expected);
}

void TestDocuments::defaultOperations()
{
    BareDocument document;
    QSignalSpy opened(&document, &IDocument::aboutToOpen);
    QVERIFY(document.open());
    QCOMPARE(opened.count(), 1);
    QVERIFY(document.save());
    QVERIFY(document.save(QStringLiteral("/elsewhere.veldra")));
    QVERIFY(document.saveAs());
    QVERIFY(document.revert());
    QVERIFY(!document.saveBackup());
}

void TestDocuments::modifiedFollowsUndoStackAndTempFlag()
{
    TestDocument document;
    QVERIFY(!document.isModified());
    document.makeModified();
    QVERIFY(document.isModified());
    document.getUndoStack()->setClean();
    QVERIFY(!document.isModified());

    // A never-saved project counts as modified even with an empty history.
    document.setIsTempDocument(true);
    QVERIFY(document.isTempDocument());
    QVERIFY(document.isModified());
}

void TestDocuments::closeDialogue_data()
{
    QTest::addColumn<bool>("temp");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("saveSucceeds");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QStringList>("documentCalls");
    QTest::addColumn<QStringList>("recentFiles");

    const QString save = QStringLiteral("TestDocument::save");
    const QString saveAs = QStringLiteral("TestDocument::saveAs");
    const QStringList untouched = {projectPath, otherPath};
    const int noBox = -2;
    const int closedWithoutButton = QMessageBox::NoButton;

    QTest::newRow("saved, unmodified: nothing asked")
            << false << false << true << noBox << true << QStringList() << untouched;
    QTest::newRow("saved, Yes") << false << true << true << int(QMessageBox::Yes) << true
                                << QStringList{save} << untouched;
    QTest::newRow("saved, Yes, save fails") << false << true << false << int(QMessageBox::Yes)
                                            << false << QStringList{save} << untouched;
    QTest::newRow("saved, No") << false << true << true << int(QMessageBox::No) << true
                               << QStringList() << untouched;
    QTest::newRow("saved, Cancel") << false << true << true << int(QMessageBox::Cancel) << false
                                   << QStringList() << untouched;
    QTest::newRow("saved, box closed without a button")
            << false << true << true << closedWithoutButton << false << QStringList() << untouched;
    QTest::newRow("temp, Yes") << true << false << true << int(QMessageBox::Yes) << true
                               << QStringList{saveAs} << QStringList{savedAsPath, otherPath};
    QTest::newRow("temp, Yes, save as cancelled") << true << false << false << int(QMessageBox::Yes)
                                                  << false << QStringList{saveAs} << untouched;
    QTest::newRow("temp, No") << true << false << true << int(QMessageBox::No) << true
                              << QStringList() << QStringList{otherPath};
    QTest::newRow("temp, Cancel") << true << true << true << int(QMessageBox::Cancel) << false
                                  << QStringList() << untouched;
}

void TestDocuments::closeDialogue()
{
    QFETCH(bool, temp);
    QFETCH(bool, modified);
    QFETCH(bool, saveSucceeds);
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(QStringList, documentCalls);
    QFETCH(QStringList, recentFiles);

    MainWindow *window = m_fixture->createMainWindow();
    IRecentFilesManager *recent = IRecentFilesManager::getInstance();
    recent->addRecentFile(otherPath);
    recent->addRecentFile(projectPath);

    TestDocument document;
    document.setFileName(projectPath);
    document.setIsTempDocument(temp);
    if (modified)
        document.makeModified();
    document.setSaveResult(saveSucceeds);
    document.setSaveAsResult(saveSucceeds, savedAsPath);
    QSignalSpy aboutToClose(&document, &IDocument::aboutToClose);

    const bool asks = answer != -2;
    const bool reportsFailure = !temp && answer == QMessageBox::Yes && !saveSucceeds;
    MessageBoxAnswerer answerer(QMessageBox::Ok);
    if (asks)
        answerer.enqueue(QMessageBox::StandardButton(answer));

    QCOMPARE(document.close(), closes);
    QCOMPARE(aboutToClose.count(), closes ? 1 : 0);
    QStringList calls = document.callLog()->calls();
    calls.removeAll(QStringLiteral("TestDocument::close"));
    QCOMPARE(calls, documentCalls);
    QCOMPARE(recent->getRecentFiles(), recentFiles);

    QCOMPARE(answerer.count(), int(asks) + int(reportsFailure));
    if (asks) {
        const MessageBoxAnswerer::Box question = answerer.boxes().first();
        QCOMPARE(question.title, QStringLiteral("Veldra"));
        QCOMPARE(question.text, QStringLiteral("Save changes made to Intro.final?"));
        QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(question.defaultButton, QMessageBox::Yes);
        QCOMPARE(question.parent.data(), window);
    }
    if (reportsFailure) {
        const MessageBoxAnswerer::Box failure = answerer.last();
        QCOMPARE(failure.text, QStringLiteral("Could not save project Intro.final"));
        QCOMPARE(failure.title, QStringLiteral("Veldra"));
        QCOMPARE(failure.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(failure.defaultButton, QMessageBox::Ok);
        QCOMPARE(failure.parent.data(), window);
    }
}

void TestDocuments::registryAddAndRemove()
{
    m_fixture->createMainWindow();
    TestDocument first;
    TestDocument second;

    QTest::ignoreMessage(QtWarningMsg, "DocumentManager::addDocument: the document is null");
    DocumentManager::addDocument(nullptr);
    DocumentManager::addDocument(&first);
    DocumentManager::addDocument(&second);
    DocumentManager::addDocument(&first);
    QCOMPARE(DocumentManager::getDocuments(), (QList<IDocument *>{&first, &second}));
    QCOMPARE(backupTimers().size(), 2);
    const QList<QUndoStack *> stacks = {first.getUndoStack(), second.getUndoStack()};
    QCOMPARE(DocumentManager::getUndoGroup()->stacks(), stacks);
    for (QTimer *timer : backupTimers()) {
        QVERIFY(timer->isSingleShot());
        QVERIFY(!timer->isActive());
    }

    TestDocument stranger;
    QVERIFY(DocumentManager::removeDocument(nullptr));
    QVERIFY(!DocumentManager::removeDocument(&stranger));

    QVERIFY(DocumentManager::removeDocument(&first));
    QCOMPARE(DocumentManager::getDocuments(), QList<IDocument *>{&second});
    QCOMPARE(DocumentManager::getUndoGroup()->stacks(), QList<QUndoStack *>{second.getUndoStack()});
    QCOMPARE(backupTimers().size(), 1);
    QVERIFY(!DocumentManager::removeDocument(&first));
}

void TestDocuments::deletedDocumentLeavesRegistry()
{
    m_fixture->createMainWindow();
    auto document = std::make_unique<TestDocument>();
    DocumentManager::addDocument(document.get());
    DocumentManager::startWaitingBackup(document.get());
    document.reset();
    QVERIFY(DocumentManager::getDocuments().isEmpty());
    QVERIFY(DocumentManager::getUndoGroup()->stacks().isEmpty());
    QVERIFY(backupTimers().isEmpty());
}

void TestDocuments::registryWithoutInstanceIsHarmless()
{
    QVERIFY(!DocumentManager::getInstance());
    TestDocument document;
    QTest::ignoreMessage(QtWarningMsg,
                         "DocumentManager::addDocument called while no document registry exists");
    DocumentManager::addDocument(&document);
    QVERIFY(DocumentManager::getDocuments().isEmpty());
    QVERIFY(!DocumentManager::getUndoGroup());

    m_fixture->createMainWindow();
    QVERIFY(DocumentManager::getInstance());
    m_fixture->destroyMainWindow();
    QVERIFY(!DocumentManager::getInstance());
    QVERIFY(DocumentManager::getDocuments().isEmpty());
}

void TestDocuments::backupRunsEveryIntervalOnceStarted()
{
    m_fixture->createMainWindow();
    DocumentManager::setAutobackupTimeout(1);
    TestDocument running;
    TestDocument neverStarted;
    TestDocument stopped;
    for (TestDocument *document : {&running, &neverStarted, &stopped})
        DocumentManager::addDocument(document);
    DocumentManager::startWaitingBackup(&running);
    DocumentManager::startWaitingBackup(&stopped);
    DocumentManager::stopWaitingBackup(&stopped);

    QTRY_COMPARE_WITH_TIMEOUT(backupCount(running), 1, 1500);
    // A false result of saveBackup() does not stop the timer.
    running.setSaveBackupResult(false);
    QTRY_COMPARE_WITH_TIMEOUT(backupCount(running), 2, 1500);
    QCOMPARE(backupCount(neverStarted), 0);
    QCOMPARE(backupCount(stopped), 0);

    QVERIFY(DocumentManager::removeDocument(&running));
    QTest::qWait(50);
    QCOMPARE(backupCount(running), 2);
}

void TestDocuments::newIntervalAppliesFromNextTimeout()
{
    m_fixture->createMainWindow();
    DocumentManager::setAutobackupTimeout(1);
    TestDocument document;
    DocumentManager::addDocument(&document);
    DocumentManager::startWaitingBackup(&document);
    DocumentManager::setAutobackupTimeout(60);
    QTimer *timer = onlyBackupTimer();
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 1000);

    QTRY_COMPARE_WITH_TIMEOUT(backupCount(document), 1, 1500);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 60000);
    QCOMPARE(DocumentManager::getAutobackupTimeout(), 60);
}

void TestDocuments::enabledFlagDoesNotTouchRunningTimers()
{
    m_fixture->createMainWindow();
    TestDocument document;
    DocumentManager::addDocument(&document);
    DocumentManager::startWaitingBackup(&document);
    DocumentManager::setAutoBackupEnabled(false);
    QVERIFY(!DocumentManager::isAutobackupEnabled());
    QTimer *timer = onlyBackupTimer();
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->interval(), 300 * 1000);

    // Starting again restarts the full countdown with the current interval.
    DocumentManager::setAutobackupTimeout(5);
    DocumentManager::startWaitingBackup(&document);
    QCOMPARE(timer->interval(), 5000);
    DocumentManager::stopWaitingBackup(&document);
    QVERIFY(!timer->isActive());
}

void TestDocuments::intervalBelowOneSecond_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("answered");

    QTest::newRow("set 0") << QVariant() << 0 << 0;
    QTest::newRow("set negative") << QVariant() << -5 << -5;
    QTest::newRow("stored 0") << QVariant(QStringLiteral("0")) << 1 << 0;
    QTest::newRow("stored negative") << QVariant(-3) << 1 << -3;
    QTest::newRow("stored text") << QVariant(QStringLiteral("soon")) << 1 << 0;
}

void TestDocuments::intervalBelowOneSecond()
{
    QFETCH(QVariant, stored);
    QFETCH(int, set);
    QFETCH(int, answered);

    if (stored.isValid())
        m_fixture->userSettings()->setValue(QStringLiteral("Veldra/AutoBackup.Interval"), stored);
    m_fixture->createMainWindow();
    if (!stored.isValid())
        DocumentManager::setAutobackupTimeout(set);
    QCOMPARE(DocumentManager::getAutobackupTimeout(), answered);

    TestDocument document;
    DocumentManager::addDocument(&document);
    DocumentManager::startWaitingBackup(&document);
    QCOMPARE(onlyBackupTimer()->interval(), 1000);
    // A timer armed with 0 ms would have fired many times by now.
    QTest::qWait(100);
    QCOMPARE(backupCount(document), 0);
}

void TestDocuments::readSettings_data()
{
    QTest::addColumn<QVariant>("enable");
    QTest::addColumn<QVariant>("interval");
    QTest::addColumn<bool>("expectedEnabled");
    QTest::addColumn<int>("expectedInterval");

    QTest::newRow("nothing stored") << QVariant() << QVariant() << true << 300;
    QTest::newRow("typed values") << QVariant(false) << QVariant(60) << false << 60;
    QTest::newRow("texts as an INI file gives them")
            << QVariant(QStringLiteral("false")) << QVariant(QStringLiteral("45")) << false << 45;
    QTest::newRow("zero and one") << QVariant(QStringLiteral("0")) << QVariant(1) << false << 1;
    QTest::newRow("only the interval")
            << QVariant() << QVariant(QStringLiteral("10")) << true << 10;
    QTest::newRow("text that is no truth value keeps the flag")
            << QVariant(QStringLiteral("maybe")) << QVariant() << true << 300;
    QTest::newRow("lists") << QVariant(QStringList{"false", "true"})
                           << QVariant(QStringList{"1", "2"}) << true << 0;
    QTest::newRow("fractional interval")
            << QVariant() << QVariant(QStringLiteral("2.5")) << true << 2;
}

void TestDocuments::readSettings()
{
    QFETCH(QVariant, enable);
    QFETCH(QVariant, interval);
    QFETCH(bool, expectedEnabled);
    QFETCH(int, expectedInterval);

    QSettings *settings = m_fixture->userSettings();
    if (enable.isValid())
        settings->setValue(QStringLiteral("Veldra/AutoBackup.Enable"), enable);
    if (interval.isValid())
        settings->setValue(QStringLiteral("Veldra/AutoBackup.Interval"), interval);
    // The same keys outside the group are not the auto-backup settings.
    settings->setValue(QStringLiteral("AutoBackup.Enable"), false);
    settings->setValue(QStringLiteral("AutoBackup.Interval"), 7);

    m_fixture->createMainWindow();
    QCOMPARE(DocumentManager::isAutobackupEnabled(), expectedEnabled);
    QCOMPARE(DocumentManager::getAutobackupTimeout(), expectedInterval);
}

void TestDocuments::saveSettings()
{
    m_fixture->createMainWindow();
    DocumentManager::setAutoBackupEnabled(false);
    DocumentManager::setAutobackupTimeout(42);
    DocumentManager::saveSettings();
    m_fixture->userSettings()->sync();

    QSettings reread(m_fixture->filePath(QStringLiteral("user.ini")), QSettings::IniFormat);
    QCOMPARE(reread.childGroups(), QStringList{QStringLiteral("Veldra")});
    QCOMPARE(reread.value(QStringLiteral("Veldra/AutoBackup.Enable")).toString(),
             QStringLiteral("false"));
    QCOMPARE(reread.value(QStringLiteral("Veldra/AutoBackup.Interval")).toInt(), 42);

    // What was saved is what the next start reads.
    m_fixture->destroyMainWindow();
    m_fixture->createMainWindow();
    QVERIFY(!DocumentManager::isAutobackupEnabled());
    QCOMPARE(DocumentManager::getAutobackupTimeout(), 42);

    DocumentManager::setSettings(nullptr);
    QTest::ignoreMessage(QtWarningMsg, "DocumentManager::readSettings: no settings store was set");
    DocumentManager::readSettings();
    QCOMPARE(DocumentManager::getAutobackupTimeout(), 42);
}

VELDRA_TEST_MAIN(TestDocuments)
#include "tst_documents.moc"
