#include "corefixture.h"
#include "documentmanager.h"
#include "editormanager.h"
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

namespace {

const QString projectPath = QStringLiteral("/projects/Intro.final.veldra");
const QString otherPath = QStringLiteral("/projects/Other.veldra");
const QString savedAsPath = QStringLiteral("/projects/Chosen.veldra");
const int noBox = -2; // no question is asked
const QString enableKey = QStringLiteral("Veldra/AutoBackup.Enable");
const QString intervalKey = QStringLiteral("Veldra/AutoBackup.Interval");

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

// The one running backup timer; null when none or several run.
QTimer *runningBackupTimer()
{
    QList<QTimer *> running;
    for (QTimer *timer : backupTimers()) {
        if (timer->isActive())
            running << timer;
    }
    return running.size() == 1 ? running.first() : nullptr;
}

// The signatures of the methods a class adds to its base, in order.
QString methods(const QMetaObject &metaObject)
{
    QStringList signatures;
    for (int i = metaObject.methodOffset(); i < metaObject.methodCount(); ++i)
        signatures << QString::fromLatin1(metaObject.method(i).methodSignature());
    return signatures.join(' ');
}

int backupCount(const TestDocument &document)
{
    return document.callLog()->count(QStringLiteral("TestDocument::saveBackup"));
}

} // namespace

class TestDocuments : public QObject
{
    Q_OBJECT

    std::unique_ptr<CoreFixture> m_fixture;

private slots:
    void init() { m_fixture = std::make_unique<CoreFixture>(false); }
    void cleanup() { m_fixture.reset(); }

    // Plug-ins reach these through the meta-object, so their order is part of the contract.
    void methodOrder()
    {
        QCOMPARE(methods(IDocument::staticMetaObject),
                 "aboutToOpen() aboutToClose() dataChanged(QObject*) titleChanged() "
                 "modifyChanged(bool) undoStackChanged() statusChanged(QString) "
                 "requestClosing(bool) requestClosing() open() close() save() save(QString) "
                 "saveAs() revert() cleanTempDir() saveBackup()");
        QCOMPARE(methods(IDocumentFactory::staticMetaObject),
                 "createDocument() createEditor() getSupportedSuffixes() createOptionsDlg() "
                 "createDocumentDlg() getOpenFileName()");
        QCOMPARE(methods(DocumentManager::staticMetaObject), "onScheduleBackup()");
        QCOMPARE(methods(EditorManager::staticMetaObject),
                 "editorActivated(IEditor*) editorDeactivated(IEditor*) activateEditor(IEditor*) "
                 "editorDestroyed(QObject*)");
    }

    void defaultOperations()
    {
        BareDocument document;
        QSignalSpy opened(&document, &IDocument::aboutToOpen);
        QVERIFY(document.open() && opened.count() == 1);
        QVERIFY(document.save() && document.save(QStringLiteral("/elsewhere.veldra")));
        QVERIFY(document.saveAs() && document.revert() && !document.saveBackup());
        document.getUndoStack()->push(new QUndoCommand);
        QVERIFY(document.isModified());
        document.getUndoStack()->setClean();
        QVERIFY(!document.isModified());
        // A never-saved project counts as modified even with an empty history.
        document.setIsTempDocument(true);
        QVERIFY(document.isTempDocument() && document.isModified());
    }

    void closeDialogue_data()
    {
        QTest::addColumn<bool>("temp");
        QTest::addColumn<bool>("saveSucceeds");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QStringList>("recentFiles");
        const QStringList same{projectPath, otherPath};
        const int yes = QMessageBox::Yes, no = QMessageBox::No, cancel = QMessageBox::Cancel;
        QTest::newRow("saved, unmodified") << false << true << noBox << true << same;
        QTest::newRow("saved, Yes") << false << true << yes << true << same;
        QTest::newRow("saved, Yes, save fails") << false << false << yes << false << same;
        QTest::newRow("saved, No") << false << true << no << true << same;
        QTest::newRow("saved, Cancel") << false << true << cancel << false << same;
        QTest::newRow("saved, box closed")
                << false << true << int(QMessageBox::NoButton) << false << same;
        QTest::newRow("temp, Yes")
                << true << true << yes << true << QStringList{savedAsPath, otherPath};
        QTest::newRow("temp, Yes, save as cancelled") << true << false << yes << false << same;
        QTest::newRow("temp, No") << true << true << no << true << QStringList{otherPath};
        QTest::newRow("temp, Cancel") << true << true << cancel << false << same;
    }

    // A saved document is modified in every row that asks; a temp one has an empty history, so
    // the temp flag alone must make it ask.
    void closeDialogue()
    {
        QFETCH(bool, temp);
        QFETCH(bool, saveSucceeds);
        QFETCH(int, answer);
        QFETCH(bool, closes);
        QFETCH(QStringList, recentFiles);
        MainWindow *window = m_fixture->createMainWindow();
        IRecentFilesManager *recent = IRecentFilesManager::getInstance();
        recent->addRecentFile(otherPath);
        recent->addRecentFile(projectPath);
        TestDocument document;
        document.setFileName(projectPath);
        document.setIsTempDocument(temp);
        const bool asks = answer != noBox;
        if (asks && !temp)
            document.makeModified();
        document.saveResult = document.saveAsResult = saveSucceeds;
        document.saveAsFileName = savedAsPath;
        QSignalSpy aboutToClose(&document, &IDocument::aboutToClose);
        MessageBoxAnswerer answerer(QMessageBox::Ok);
        if (asks)
            answerer.enqueue(QMessageBox::StandardButton(answer));
        QCOMPARE(document.close(), closes);
        QCOMPARE(aboutToClose.count(), int(closes));
        QCOMPARE(document.callLog()->calls().filter("::save").join(' ').remove("TestDocument::"),
                 answer == QMessageBox::Yes ? (temp ? "saveAs" : "save") : "");
        QCOMPARE(recent->getRecentFiles(), recentFiles);
        const bool reportsFailure = !temp && answer == QMessageBox::Yes && !saveSucceeds;
        QCOMPARE(answerer.count(), int(asks) + int(reportsFailure));
        const QStringList texts = {"Save changes made to Intro.final?",
                                   "Could not save project Intro.final"};
        for (int i = 0; i < answerer.count(); ++i) {
            const MessageBoxAnswerer::Box box = answerer.boxes().at(i);
            QCOMPARE(box.title, QStringLiteral("Veldra"));
            QCOMPARE(box.parent.data(), window);
            QCOMPARE(box.text, texts.at(i));
            QCOMPARE(box.buttons, i == 0 ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                                         : QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(box.defaultButton, i == 0 ? QMessageBox::Yes : QMessageBox::Ok);
        }
    }

    void registry()
    {
        TestDocument first, second;
        auto stranger = std::make_unique<TestDocument>();
        DocumentManager::addDocument(&first);
        QVERIFY(DocumentManager::getDocuments().isEmpty() && !DocumentManager::getUndoGroup());
        QCOMPARE(DocumentManager::getAutobackupTimeout(), 300);
        m_fixture->createMainWindow();
        DocumentManager::addDocument(nullptr);
        for (IDocument *document : {&first, &second, &first})
            DocumentManager::addDocument(document);
        QCOMPARE(DocumentManager::getDocuments(), (QList<IDocument *>{&first, &second}));
        const QList<QUndoStack *> stacks = {first.getUndoStack(), second.getUndoStack()};
        QCOMPARE(DocumentManager::getUndoGroup()->stacks(), stacks);
        QCOMPARE(backupTimers().size(), 2);
        for (QTimer *timer : backupTimers())
            QVERIFY(timer->isSingleShot() && !timer->isActive());
        QVERIFY(DocumentManager::removeDocument(nullptr));
        QVERIFY(!DocumentManager::removeDocument(stranger.get()));
        QVERIFY(DocumentManager::removeDocument(&first));
        QVERIFY(!DocumentManager::removeDocument(&first));
        QCOMPARE(DocumentManager::getDocuments(), QList<IDocument *>{&second});
        QCOMPARE(DocumentManager::getUndoGroup()->stacks(), QList<QUndoStack *>{stacks.last()});
        QCOMPARE(backupTimers().size(), 1);
        // A document deleted while registered leaves by itself, timer and all.
        DocumentManager::addDocument(stranger.get());
        DocumentManager::startWaitingBackup(stranger.get());
        stranger.reset();
        QCOMPARE(DocumentManager::getDocuments(), QList<IDocument *>{&second});
        QCOMPARE(backupTimers().size(), 1);
        m_fixture->destroyMainWindow();
        QVERIFY(!DocumentManager::getInstance() && DocumentManager::getDocuments().isEmpty());
    }

    void autoBackup()
    {
        m_fixture->createMainWindow();
        TestDocument running, neverStarted, stopped;
        for (TestDocument *document : {&running, &neverStarted, &stopped})
            DocumentManager::addDocument(document);
        DocumentManager::startWaitingBackup(&running);
        QPointer<QTimer> timer = runningBackupTimer();
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 300 * 1000);
        DocumentManager::setAutoBackupEnabled(false);
        QVERIFY(!DocumentManager::isAutobackupEnabled());
        DocumentManager::startWaitingBackup(&stopped);
        DocumentManager::stopWaitingBackup(&stopped);
        QCOMPARE(runningBackupTimer(), timer.data());
        // Any interval is kept, but a timer never runs faster than once a second.
        DocumentManager::setAutobackupTimeout(-5);
        QCOMPARE(DocumentManager::getAutobackupTimeout(), -5);
        DocumentManager::startWaitingBackup(&running);
        QCOMPARE(timer->interval(), 1000);
        QTRY_COMPARE_WITH_TIMEOUT(backupCount(running), 1, 1500);
        // A false result does not stop the timer; a new interval waits for the next time-out.
        running.saveBackupResult = false;
        DocumentManager::setAutobackupTimeout(60);
        QCOMPARE(timer->interval(), 1000);
        QTRY_COMPARE_WITH_TIMEOUT(backupCount(running), 2, 1500);
        QCOMPARE(runningBackupTimer(), timer.data());
        QCOMPARE(timer->interval(), 60000);
        QCOMPARE(backupCount(neverStarted) + backupCount(stopped), 0);
        DocumentManager::stopWaitingBackup(&running);
        QVERIFY(!timer->isActive());
        QVERIFY(DocumentManager::removeDocument(&running));
        QVERIFY(timer.isNull());
    }

    void readSettings_data()
    {
        QTest::addColumn<QVariant>("enable");
        QTest::addColumn<QVariant>("interval");
        QTest::addColumn<bool>("expectedEnabled");
        QTest::addColumn<int>("expectedInterval");
        QTest::newRow("nothing stored") << QVariant() << QVariant() << true << 300;
        QTest::newRow("INI texts") << QVariant("false") << QVariant("45") << false << 45;
        QTest::newRow("only the interval") << QVariant() << QVariant("-3") << true << -3;
        QTest::newRow("no values") << QVariant("maybe") << QVariant("soon") << true << 0;
        QTest::newRow("lists") << QVariant(QStringList{"false", "true"})
                               << QVariant(QStringList{"1", "2"}) << true << 0;
    }

    void readSettings()
    {
        QFETCH(QVariant, enable);
        QFETCH(QVariant, interval);
        QFETCH(bool, expectedEnabled);
        QFETCH(int, expectedInterval);
        QSettings *settings = m_fixture->userSettings();
        if (enable.isValid())
            settings->setValue(enableKey, enable);
        if (interval.isValid())
            settings->setValue(intervalKey, interval);
        // The same keys outside the group are not the auto-backup settings.
        settings->setValue(QStringLiteral("AutoBackup.Enable"), false);
        settings->setValue(QStringLiteral("AutoBackup.Interval"), 7);
        m_fixture->createMainWindow();
        QCOMPARE(DocumentManager::isAutobackupEnabled(), expectedEnabled);
        QCOMPARE(DocumentManager::getAutobackupTimeout(), expectedInterval);
    }

    void saveSettings()
    {
        m_fixture->createMainWindow();
        DocumentManager::setAutoBackupEnabled(false);
        DocumentManager::setAutobackupTimeout(42);
        DocumentManager::saveSettings();
        m_fixture->userSettings()->sync();
        QSettings reread(m_fixture->filePath(QStringLiteral("user.ini")), QSettings::IniFormat);
        QCOMPARE(reread.childGroups(), QStringList{QStringLiteral("Veldra")});
        QCOMPARE(reread.value(enableKey).toString(), QStringLiteral("false"));
        QCOMPARE(reread.value(intervalKey).toInt(), 42);
        DocumentManager::setSettings(nullptr);
        QTest::ignoreMessage(QtWarningMsg,
                             "DocumentManager::readSettings: no settings store was set");
        DocumentManager::readSettings();
        QCOMPARE(DocumentManager::getAutobackupTimeout(), 42);
    }
};

VELDRA_TEST_MAIN(TestDocuments)
#include "tst_documents.moc"
