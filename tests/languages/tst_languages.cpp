#include "ilanguagemanager.h"

#include "appdirfolder.h"
#include "corefixture.h"
#include "testmain.h"

#include <extensionsystem/pluginmanager.h>

#include <memory>

namespace {

const QString key = QStringLiteral("Veldra/Language");

ILanguageManager &languages()
{
    return ILanguageManager::getInstance();
}

QStringList catalogueIds()
{
    QStringList ids;
    for (const LanguageInfo *info : languages().getLanguages())
        ids << info->id;
    return ids;
}

} // namespace

class TestLanguages : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void catalogue_data();
    void catalogue();
    void recordFields_data();
    void recordFields();
    void storedChoice_data();
    void storedChoice();
    void saveLanguage_data();
    void saveLanguage();
    void saveGoesToTheReplacedStore();
    void withoutStoreNothingIsStored();

private:
    void addTranslations(const QStringList &fileNames);

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<AppDirFolder> m_translations;
};

void TestLanguages::init()
{
    m_fixture = std::make_unique<CoreFixture>(false);
    m_translations = std::make_unique<AppDirFolder>(QStringLiteral("translations"));
}

void TestLanguages::cleanup()
{
    m_translations.reset();
    m_fixture.reset();
}

void TestLanguages::addTranslations(const QStringList &fileNames)
{
    for (const QString &name : fileNames)
        QVERIFY(m_translations->writeFile(name));
}

void TestLanguages::catalogue_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("ids");

    QTest::newRow("no files") << QStringList() << QStringList{"en_US"};
    QTest::newRow("sorted by file name") << QStringList{"veldra_fr_FR.qm", "veldra_de_DE.qm"}
                                         << QStringList{"en_US", "de_DE", "fr_FR"};
    QTest::newRow("English file adds a second English")
            << QStringList{"veldra_en_US.qm"} << QStringList{"en_US", "en_US"};
    QTest::newRow("other files ignored")
            << QStringList{"app_de_DE.qm", "veldra_fr_FR.ts", "veldra_it_IT.qm"}
            << QStringList{"en_US", "it_IT"};
    QTest::newRow("cut at the last dot")
            << QStringList{"veldra_pt_BR.v2.qm"} << QStringList{"en_US", "pt_BR"};
    QTest::newRow("unknown name gives Qt's fallback")
            << QStringList{"veldra_xx.qm"} << QStringList{"en_US", "C"};
}

void TestLanguages::catalogue()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, ids);

    addTranslations(files);
    QVERIFY(languages().initialize());
    QCOMPARE(catalogueIds(), ids);
    // The manager lives for the whole process: a second run rebuilds, it does not append.
    QVERIFY(languages().initialize());
    QCOMPARE(catalogueIds(), ids);
}

void TestLanguages::recordFields_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("English first") << 0
                                   << QStringList{"en_US", "English", "United States",
                                                  "American English", "United States"};
    QTest::newRow("German") << 1
                            << QStringList{"de_DE", "German", "Germany", "Deutsch", "Deutschland"};
}

void TestLanguages::recordFields()
{
    QFETCH(int, index);
    QFETCH(QStringList, fields);

    addTranslations({"veldra_de_DE.qm"});
    languages().initialize();
    QCOMPARE(languages().getLanguages().size(), 2);
    const LanguageInfo *info = languages().getLanguages().at(index);
    QCOMPARE((QStringList{info->id, info->language, info->country, info->nativeLanguage,
                          info->nativeCountry}),
             fields);
}

void TestLanguages::storedChoice_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("savedId");
    QTest::addColumn<QString>("currentId");

    QTest::newRow("nothing stored") << QVariant() << QString() << QLocale(QString()).name();
    QTest::newRow("German") << QVariant("de_DE") << "de_DE"
                            << "de_DE";
    QTest::newRow("not a text") << QVariant(QStringList{"de_DE", "fr_FR"}) << QString()
                                << QLocale(QString()).name();
}

void TestLanguages::storedChoice()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, savedId);
    QFETCH(QString, currentId);

    if (stored.isValid())
        m_fixture->userSettings()->setValue(key, stored);
    if (stored.userType() == QMetaType::QStringList) {
        QTest::ignoreMessage(QtWarningMsg, "\"Veldra/Language\" does not hold a text; using \"\"");
        QTest::ignoreMessage(QtWarningMsg, "\"Veldra/Language\" does not hold a text; using \"\"");
    }
    addTranslations({"veldra_de_DE.qm"});
    languages().initialize();
    QCOMPARE(languages().getSaveLangId(), savedId);
    QCOMPARE(languages().getCurrentLangId(), currentId);
}

void TestLanguages::saveLanguage_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("saved");

    QTest::newRow("English") << "en_US" << true;
    QTest::newRow("from a file") << "de_DE" << true;
    QTest::newRow("not in the catalogue") << "it_IT" << false;
    QTest::newRow("letter case differs") << "de_de" << false;
    QTest::newRow("empty id") << QString() << false;
}

void TestLanguages::saveLanguage()
{
    QFETCH(QString, id);
    QFETCH(bool, saved);

    m_fixture->userSettings()->setValue(key, "fr_FR");
    addTranslations({"veldra_de_DE.qm", "veldra_fr_FR.qm"});
    languages().initialize();

    QCOMPARE(languages().saveLanguage(id), saved);
    const QString expected = saved ? id : QStringLiteral("fr_FR");
    QCOMPARE(m_fixture->userSettings()->value(key).toString(), expected);
    QCOMPARE(languages().getSaveLangId(), expected);
    QCOMPARE(languages().getCurrentLangId(), QStringLiteral("fr_FR"));
}

void TestLanguages::saveGoesToTheReplacedStore()
{
    languages().initialize();
    QSettings other(m_fixture->filePath("other.ini"), QSettings::IniFormat);
    languages().setSettings(&other);

    QVERIFY(languages().saveLanguage("en_US"));
    QCOMPARE(other.value(key).toString(), QStringLiteral("en_US"));
    QVERIFY(!m_fixture->userSettings()->contains(key));
    languages().setSettings(m_fixture->userSettings());
}

void TestLanguages::withoutStoreNothingIsStored()
{
    m_fixture->userSettings()->setValue(key, "de_DE");
    addTranslations({"veldra_de_DE.qm"});
    languages().initialize();
    delete m_fixture->userSettings(); // its owner may delete it while the manager lives

    QCOMPARE(languages().getSaveLangId(), QString());
    QTest::ignoreMessage(QtWarningMsg,
                         "ILanguageManager::saveLanguage: no settings store, \"de_DE\" is not "
                         "stored");
    QVERIFY(!languages().saveLanguage("de_DE"));
    QCOMPARE(languages().getCurrentLangId(), QStringLiteral("de_DE"));

    ExtensionSystem::PluginManager::setSettings(nullptr);
    QVERIFY(languages().initialize());
    QCOMPARE(catalogueIds(), (QStringList{"en_US", "de_DE"}));
    QCOMPARE(languages().getSaveLangId(), QString());
}

VELDRA_TEST_MAIN(TestLanguages)
#include "tst_languages.moc"
