#include "corefixture.h"
#include "documentmanager.h"
#include "irecentfilesmanager.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "testdocument.h"
#include "testmain.h"

#include <QSignalSpy>

#include <memory>

namespace {

const QString projectPath = QStringLiteral("/projects/Intro.final.veldra");
const QString otherPath = QStringLiteral("/projects/Other.veldra");
const QString savedAsPath = QStringLiteral("/projects/Chosen.veldra");
const int noBox = -2; // no question is asked
const QString enableKey = QStringLiteral("Veldra/AutoBackup.Enable");
const QString intervalKey = QStringLiteral("Veldra/AutoBackup.Interval");

} // namespace

class TestDocuments : public QObject
{
    Q_OBJECT

    std::unique_ptr<CoreFixture> m_fixture;

private slots:
    void init() { m_fixture = std::make_unique<CoreFixture>(false); }
    void cleanup() { m_fixture.reset(); }

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

    void settings_data()
    {
        QTest::addColumn<QVariant>("enable");
        QTest::addColumn<QVariant>("interval");
        QTest::addColumn<bool>("expectedEnabled");
        QTest::addColumn<int>("expectedInterval");
        QTest::newRow("nothing stored") << QVariant() << QVariant() << true << 300;
        QTest::newRow("INI texts") << QVariant("false") << QVariant("45") << false << 45;
        QTest::newRow("numbers") << QVariant(0) << QVariant(30) << false << 30;
        QTest::newRow("no values") << QVariant("maybe") << QVariant("soon") << true << 0;
    }

    // The window reads the auto-backup settings from the host's store; saving writes them back.
    void settings()
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
        QCOMPARE(DocumentManager::getAutobackupTimeout(), 300); // no registry yet
        m_fixture->createMainWindow();
        QCOMPARE(DocumentManager::isAutobackupEnabled(), expectedEnabled);
        QCOMPARE(DocumentManager::getAutobackupTimeout(), expectedInterval);

        DocumentManager::setAutoBackupEnabled(false);
        DocumentManager::setAutobackupTimeout(42);
        DocumentManager::saveSettings();
        settings->sync();
        QSettings reread(m_fixture->filePath(QStringLiteral("user.ini")), QSettings::IniFormat);
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
