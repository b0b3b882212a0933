#include "ithemesmanager.h"

#include "imainmenuwidget.h"
#include "vdnotificationbar.h"

#include "appdirfolder.h"
#include "corefixture.h"
#include "messagerecorder.h"
#include "testmain.h"

#include <extensionsystem/pluginmanager.h>

#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>

#include <memory>

namespace {

const QString key = QStringLiteral("Veldra/Theme");

IThemesManager &themes()
{
    return IThemesManager::getInstance();
}

QStringList catalogueIds()
{
    QStringList ids;
    for (const ThemesInfo *info : themes().getThemes()) {
        if (info->name != info->id)
            return {"name differs from id: " + info->name};
        ids << info->id;
    }
    return ids;
}

// Non-ASCII text shows whether the file is read as UTF-8.
QByteArray sheetOf(const QString &fileName)
{
    return "/* " + fileName.toUtf8() + " \xe2\x80\x94 gr\xc3\xbc\xc3\x9f */ QLabel { color: red; }";
}

// The core's window chrome under a tabbed MDI area, including the widgets whose rules set
// properties: a misspelt property name is warned about when the widget is polished.
std::unique_ptr<QMainWindow> makeStyledWindow()
{
    auto window = std::make_unique<QMainWindow>();
    auto titleBar = new IMainMenuWidget(window.get(), "Veldra", QIcon());
    titleBar->setMenuBar(new QMenuBar);
    titleBar->getNotificationBar()->show("message", VDNotificationBar::Warning, "button", true);
    window->setMenuWidget(titleBar);
    auto mdi = new QMdiArea;
    mdi->setViewMode(QMdiArea::TabbedView);
    mdi->addSubWindow(new QLineEdit);
    window->setCentralWidget(mdi);
    return window;
}

} // namespace

class TestThemes : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void themeIdFromFileName_data();
    void themeIdFromFileName();
    void catalogueOrder();
    void storedThemeApplied_data();
    void storedThemeApplied();
    void storedValueNotAText();
    void saveThemes_data();
    void saveThemes();
    void withoutStoreTheDefaultIsUsed();
    void sheetParses_data();
    void sheetParses();

private:
    void addSheets(const QStringList &fileNames);

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<AppDirFolder> m_styles;
};

void TestThemes::init()
{
    m_fixture = std::make_unique<CoreFixture>(false);
    m_styles = std::make_unique<AppDirFolder>(QStringLiteral("resources/styles"));
}

void TestThemes::cleanup()
{
    qApp->setStyleSheet(QString());
    m_styles.reset();
    m_fixture.reset();
}

void TestThemes::addSheets(const QStringList &fileNames)
{
    for (const QString &name : fileNames)
        QVERIFY(m_styles->writeFile(name, sheetOf(name)));
}

void TestThemes::themeIdFromFileName_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("id");

    QTest::newRow("dark") << "veldra_dark.qss"
                          << "Dark";
    QTest::newRow("underscore kept") << "veldra_blue_night.qss"
                                     << "Blue_night";
    QTest::newRow("rest unchanged") << "veldra_hIGH_Contrast.qss"
                                    << "HIGH_Contrast";
    QTest::newRow("cut at the last dot") << "veldra_sepia.v2.qss"
                                         << "Sepia.v2";
}

void TestThemes::themeIdFromFileName()
{
    QFETCH(QString, fileName);
    QFETCH(QString, id);

    addSheets({fileName});
    themes().initialize();
    QCOMPARE(catalogueIds(), QStringList{id});
}

void TestThemes::catalogueOrder()
{
    addSheets({"veldra_light.qss", "veldra_dark.qss", "veldra_Blue.qss", "other_red.qss",
               "veldra_green.css"});
    QVERIFY(themes().initialize());
    // The manager lives for the whole process: a second run rebuilds, it does not append.
    QVERIFY(themes().initialize());
    QCOMPARE(catalogueIds(), (QStringList{"Blue", "Dark", "Light"}));
}

void TestThemes::storedThemeApplied_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("appliedFile"); // empty: no style sheet applied
    QTest::addColumn<QString>("storedAfter");

    const QStringList both{"veldra_dark.qss", "veldra_light.qss"};
    QTest::newRow("first start") << both << QVariant() << "veldra_dark.qss"
                                 << "Dark";
    QTest::newRow("stored Dark") << both << QVariant("Dark") << "veldra_dark.qss"
                                 << "Dark";
    QTest::newRow("stored Light") << both << QVariant("Light") << "veldra_light.qss"
                                  << "Light";
    QTest::newRow("file missing") << both << QVariant("Ocean") << QString() << "Dark";
    QTest::newRow("letter case differs") << both << QVariant("dark") << QString() << "Dark";
    QTest::newRow("file missing, no Dark to fall back on")
            << QStringList{"veldra_light.qss"} << QVariant("Ocean") << QString() << "Ocean";
    QTest::newRow("Dark file missing")
            << QStringList{"veldra_light.qss"} << QVariant("Dark") << QString() << "Dark";
    QTest::newRow("first start without styles")
            << QStringList() << QVariant() << QString() << "Dark";
}

void TestThemes::storedThemeApplied()
{
    QFETCH(QStringList, files);
    QFETCH(QVariant, stored);
    QFETCH(QString, appliedFile);
    QFETCH(QString, storedAfter);

    addSheets(files);
    if (stored.isValid())
        m_fixture->userSettings()->setValue(key, stored);

    QCOMPARE(themes().initialize(), !appliedFile.isEmpty());
    const QString sheet =
            appliedFile.isEmpty() ? QString() : QString::fromUtf8(sheetOf(appliedFile));
    QCOMPARE(qApp->styleSheet(), sheet);
    const QString appliedId = appliedFile.isEmpty() ? QString() : storedAfter;
    QCOMPARE(themes().getCurrentThemeId(), appliedId);
    QCOMPARE(themes().getCurrentThemeName(), appliedId);
    QCOMPARE(m_fixture->userSettings()->value(key).toString(), storedAfter);
    QCOMPARE(themes().getSaveThemeId(), storedAfter);
}

void TestThemes::storedValueNotAText()
{
    addSheets({"veldra_dark.qss", "veldra_light.qss"});
    const QStringList garbage{"Light", "Dark"};
    m_fixture->userSettings()->setValue(key, garbage);

    QTest::ignoreMessage(QtWarningMsg, "\"Veldra/Theme\" does not hold a text; using \"Dark\"");
    QVERIFY(themes().initialize());
    QCOMPARE(themes().getCurrentThemeId(), QStringLiteral("Dark"));
    QCOMPARE(qApp->styleSheet(), QString::fromUtf8(sheetOf("veldra_dark.qss")));
    QCOMPARE(m_fixture->userSettings()->value(key).toStringList(), garbage);
}

void TestThemes::saveThemes_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("saved");

    QTest::newRow("in the catalogue") << "Light" << true;
    QTest::newRow("letter case differs") << "light" << false;
    QTest::newRow("not in the catalogue") << "Ocean" << false;
    QTest::newRow("empty id") << QString() << false;
}

void TestThemes::saveThemes()
{
    QFETCH(QString, id);
    QFETCH(bool, saved);

    addSheets({"veldra_dark.qss", "veldra_light.qss"});
    QVERIFY(themes().initialize());

    QCOMPARE(themes().saveThemes(id), saved);
    const QString expected = saved ? id : QStringLiteral("Dark");
    QCOMPARE(m_fixture->userSettings()->value(key).toString(), expected);
    QCOMPARE(themes().getSaveThemeId(), expected);
    // Takes effect at the next start only.
    QCOMPARE(themes().getCurrentThemeId(), QStringLiteral("Dark"));
    QCOMPARE(qApp->styleSheet(), QString::fromUtf8(sheetOf("veldra_dark.qss")));
}

void TestThemes::withoutStoreTheDefaultIsUsed()
{
    addSheets({"veldra_dark.qss", "veldra_light.qss"});
    ExtensionSystem::PluginManager::setSettings(nullptr);

    QVERIFY(themes().initialize());
    QCOMPARE(themes().getCurrentThemeId(), QStringLiteral("Dark"));
    QCOMPARE(themes().getSaveThemeId(), QStringLiteral("Dark"));
    QTest::ignoreMessage(QtWarningMsg,
                         "IThemesManager::saveThemes: no settings store, \"Light\" is not stored");
    QVERIFY(!themes().saveThemes("Light"));

    QSettings other(m_fixture->filePath("other.ini"), QSettings::IniFormat);
    themes().setSettings(&other);
    QVERIFY(themes().saveThemes("Light"));
    QCOMPARE(other.value(key).toString(), QStringLiteral("Light"));
    QCOMPARE(themes().getSaveThemeId(), QStringLiteral("Light"));
    themes().setSettings(nullptr);
}

void TestThemes::sheetParses_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QStringList>("warnings");

    for (const char *name : {"veldra_dark.qss", "veldra_light.qss"}) {
        QFile file(QStringLiteral(VELDRA_SHIPPED_STYLES_DIR "/") + name);
        QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(file.fileName()));
        QTest::newRow(name) << QString::fromUtf8(file.readAll()) << QStringList();
    }
    // Shows that a broken sheet is noticed at all.
    QTest::newRow("broken") << "QPushButton { color: red; "
                            << QStringList{"Could not parse application stylesheet"};
}

void TestThemes::sheetParses()
{
    QFETCH(QString, sheet);
    QFETCH(QStringList, warnings);

    MessageRecorder recorder;
    qApp->setStyleSheet(sheet);
    std::unique_ptr<QMainWindow> window = makeStyledWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(recorder.warnings(), warnings);
}

VELDRA_TEST_MAIN(TestThemes)
#include "tst_themes.moc"
