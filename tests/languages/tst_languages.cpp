#include "ilanguagemanager.h"
#include "ithemesmanager.h"

#include "appdirfolder.h"
#include "corefixture.h"
#include "testmain.h"

#include <memory>

namespace {

// Non-ASCII text shows whether the file is read as UTF-8.
QString sheetOf(const QString &fileName)
{
    return "/* " + fileName + " \u2014 gr\u00fc\u00df */ QLabel { color: red; }";
}

} // namespace

// The language and the theme chosen are read from the settings at start-up.
class TestLanguages : public QObject
{
    Q_OBJECT

    // Puts the files next to the executable, in the folder the manager reads.
    void writeFiles(const QString &folder, const QString &fileNames)
    {
        m_files = std::make_unique<AppDirFolder>(folder);
        for (const QString &name : fileNames.split(' ', Qt::SkipEmptyParts))
            QVERIFY(m_files->writeFile(name, sheetOf(name).toUtf8()));
    }

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<AppDirFolder> m_files;

private slots:
    void init() { m_fixture = std::make_unique<CoreFixture>(false); }
    void cleanup()
    {
        qApp->setStyleSheet(QString());
        m_files.reset();
        m_fixture.reset();
    }

    void storedAndSavedLanguage_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("save");
        QTest::addColumn<bool>("saved");

        QTest::newRow("nothing stored") << QVariant() << "en_US" << true;
        QTest::newRow("German stored, save French") << QVariant("de_DE") << "fr_FR" << true;
        QTest::newRow("not a text") << QVariant(QStringList{"de_DE", "fr_FR"}) << "de_DE" << true;
        QTest::newRow("not in the catalogue") << QVariant("fr_FR") << "it_IT" << false;
        QTest::newRow("letter case differs") << QVariant("fr_FR") << "de_de" << false;
    }

    void storedAndSavedLanguage()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, save);
        QFETCH(bool, saved);

        ILanguageManager &languages = ILanguageManager::getInstance();
        if (stored.isValid())
            m_fixture->userSettings()->setValue("Veldra/Language", stored);
        const bool isText = stored.userType() == QMetaType::QString;
        if (stored.isValid() && !isText)
            QTest::ignoreMessage(QtWarningMsg,
                                 "\"Veldra/Language\" does not hold a text; using \"\"");
        // Only the application's compiled catalogues count.
        writeFiles("translations", "veldra_de_DE.qm veldra_fr_FR.qm app_it_IT.qm veldra_it_IT.ts");
        QVERIFY(languages.initialize());
        const QString storedId = isText ? stored.toString() : QString();
        const QString currentId = isText ? storedId : QLocale(QString()).name();
        QCOMPARE(languages.getCurrentLangId(), currentId);

        QCOMPARE(languages.saveLanguage(save), saved);
        QCOMPARE(languages.getSaveLangId(), saved ? save : storedId);
        QCOMPARE(languages.getCurrentLangId(), currentId);
    }

    void storedThemeApplied_data()
    {
        QTest::addColumn<QString>("files");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("applied"); // theme id; empty: no style sheet applied
        QTest::addColumn<QVariant>("storedAfter");
        const auto row = [](const char *name, const char *files, const QVariant &stored,
                            const char *applied, const QVariant &storedAfter) {
            QTest::newRow(name) << QString(files) << stored << QString(applied) << storedAfter;
        };

        const char *both = "veldra_dark.qss veldra_light.qss";
        row("first start", both, QVariant(), "Dark", "Dark");
        row("stored Light", both, "Light", "Light", "Light");
        row("file missing", both, "Ocean", "", "Dark");
        row("letter case differs", both, "dark", "", "Dark");
        row("file missing, no Dark to fall back on", "veldra_light.qss", "Ocean", "", "Ocean");
        row("not a text", both, QStringList{"Light", "Dark"}, "Dark", QStringList{"Light", "Dark"});
    }

    void storedThemeApplied()
    {
        QFETCH(QString, files);
        QFETCH(QVariant, stored);
        QFETCH(QString, applied);
        QFETCH(QVariant, storedAfter);

        IThemesManager &themes = IThemesManager::getInstance();
        if (stored.isValid())
            m_fixture->userSettings()->setValue("Veldra/Theme", stored);
        if (stored.userType() == QMetaType::QStringList)
            QTest::ignoreMessage(QtWarningMsg,
                                 "\"Veldra/Theme\" does not hold a text; using \"Dark\"");
        writeFiles("resources/styles", files);
        QCOMPARE(themes.initialize(), !applied.isEmpty());
        const QString fileName = "veldra_" + applied.toLower() + ".qss";
        QCOMPARE(qApp->styleSheet(), applied.isEmpty() ? QString() : sheetOf(fileName));
        QCOMPARE(themes.getCurrentThemeId() + themes.getCurrentThemeName(), applied + applied);
        QCOMPARE(m_fixture->userSettings()->value("Veldra/Theme"), storedAfter);
    }
};

VELDRA_TEST_MAIN(TestLanguages)
#include "tst_languages.moc"
