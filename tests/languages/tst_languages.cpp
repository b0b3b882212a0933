#include "ilanguagemanager.h"
#include "projectformat.h"

#include "appdirfolder.h"
#include "corefixture.h"
#include "testmain.h"

#include <QTranslator>

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

    void catalogue_data()
    {
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("records"); // id, then native language and country
        QTest::newRow("no files") << ""
                                  << "en_US";
        QTest::newRow("sorted by file name, others ignored")
                << "veldra_fr_FR.qm veldra_de_DE.qm app_it_IT.qm veldra_it_IT.ts"
                << "en_US de_DE/Deutsch/Deutschland fr_FR";
    }

    void catalogue()
    {
        QFETCH(QString, files);
        QFETCH(QString, records);

        initializeWith(files);
        // The manager lives for the whole process: a second run rebuilds, it does not append.
        QVERIFY(languages().initialize());
        QStringList listed;
        for (const LanguageInfo *info : languages().getLanguages())
            listed << (info->id == "de_DE"
                               ? QStringList{info->id, info->nativeLanguage, info->nativeCountry}
                                         .join('/')
                               : info->id);
        QCOMPARE(listed.join(' '), records);
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
        initializeWith("veldra_de_DE.qm veldra_fr_FR.qm");
        const QString storedId = isText ? stored.toString() : QString();
        const QString currentId = isText ? storedId : QLocale(QString()).name();
        QCOMPARE(languages().getCurrentLangId(), currentId);

        QCOMPARE(languages().saveLanguage(save), saved);
        QCOMPARE(languages().getSaveLangId(), saved ? save : storedId);
        QCOMPARE(languages().getCurrentLangId(), currentId);
    }

    void replacedStoreIsUsedUntilItIsDeleted()
    {
        initializeWith("");
        auto other = new QSettings(m_fixture->filePath("other.ini"), QSettings::IniFormat);
        languages().setSettings(other);
        QVERIFY(languages().saveLanguage("en_US"));
        QCOMPARE(other->value(key).toString(), QStringLiteral("en_US"));
        QVERIFY(!m_fixture->userSettings()->contains(key));

        delete other; // its owner may delete it while the manager lives
        QTest::ignoreMessage(
                QtWarningMsg,
                "ILanguageManager::saveLanguage: no settings store, \"en_US\" is not stored");
        QVERIFY(!languages().saveLanguage("en_US"));
    }

    // The application installs one catalogue per language, so the plug-ins' texts must be in it
    // too; this problem is composed of texts from two translation contexts.
    void germanCatalogueCoversPlugins()
    {
        QTranslator german; // removes itself from the application when it goes
        QVERIFY(german.load(QStringLiteral("veldra_de_DE"),
                            QStringLiteral(VELDRA_TRANSLATIONS_DIR)));
        QVERIFY(QCoreApplication::installTranslator(&german));
        const QByteArray bytes = "{\"format\": \"" + ProjectFormat::formatName().toUtf8() +
                                 "\", \"version\": 1, \"stage\": {\"width\": 640, \"height\": "
                                 "360, \"frameRate\": 30}, \"scenes\": [1]}";
        Project project;
        QString error;
        QVERIFY(!ProjectFormat::read(bytes, false, &project, &error));
        QCOMPARE(error, QStringLiteral("Szene 1: eine Szene muss ein Objekt sein."));
    }
};

VELDRA_TEST_MAIN(TestLanguages)
#include "tst_languages.moc"
