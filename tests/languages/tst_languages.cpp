#include "ilanguagemanager.h"

#include "appdirfolder.h"
#include "corefixture.h"
#include "testmain.h"

#include <memory>

namespace {

const QString key = QStringLiteral("Veldra/Language");

ILanguageManager &languages()
{
    return ILanguageManager::getInstance();
}

} // namespace

class TestLanguages : public QObject
{
    Q_OBJECT

    // Puts the translation files next to the executable, then builds the catalogue.
    void initializeWith(const QString &fileNames)
    {
        for (const QString &name : fileNames.split(' ', Qt::SkipEmptyParts))
            QVERIFY(m_translations->writeFile(name));
        QVERIFY(languages().initialize());
    }

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<AppDirFolder> m_translations;

private slots:
    void init()
    {
        m_fixture = std::make_unique<CoreFixture>(false);
        m_translations = std::make_unique<AppDirFolder>(QStringLiteral("translations"));
    }
    void cleanup()
    {
        m_translations.reset();
        m_fixture.reset();
    }

    void storedAndSavedChoice_data()
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

    void storedAndSavedChoice()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, save);
        QFETCH(bool, saved);

        if (stored.isValid())
            m_fixture->userSettings()->setValue(key, stored);
        const bool isText = stored.userType() == QMetaType::QString;
        if (stored.isValid() && !isText)
            QTest::ignoreMessage(QtWarningMsg,
                                 "\"Veldra/Language\" does not hold a text; using \"\"");
        // Only the application's compiled catalogues count.
        initializeWith("veldra_de_DE.qm veldra_fr_FR.qm app_it_IT.qm veldra_it_IT.ts");
        const QString storedId = isText ? stored.toString() : QString();
        const QString currentId = isText ? storedId : QLocale(QString()).name();
        QCOMPARE(languages().getCurrentLangId(), currentId);

        QCOMPARE(languages().saveLanguage(save), saved);
        QCOMPARE(languages().getSaveLangId(), saved ? save : storedId);
        QCOMPARE(languages().getCurrentLangId(), currentId);
    }
};

VELDRA_TEST_MAIN(TestLanguages)
#include "tst_languages.moc"
