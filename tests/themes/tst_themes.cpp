#include "ithemesmanager.h"

#include "imainmenuwidget.h"
#include "vdnotificationbar.h"

#include "appdirfolder.h"
#include "corefixture.h"
#include "messagerecorder.h"
#include "testmain.h"

#include <extensionsystem/pluginmanager.h>

#include <QMainWindow>
#include <QMdiArea>

#include <memory>

namespace {

const QString key = QStringLiteral("Veldra/Theme");

IThemesManager &themes()
{
    return IThemesManager::getInstance();
}

QString catalogueIds()
{
    QStringList entries;
    for (const ThemesInfo *info : themes().getThemes())
        entries << (info->name == info->id ? info->id : info->id + "/" + info->name);
    return entries.join(' ');
}

// Non-ASCII text shows whether the file is read as UTF-8.
QString sheetOf(const QString &fileName)
{
    return "/* " + fileName + " \u2014 gr\u00fc\u00df */ QLabel { color: red; }";
}

} // namespace

class TestThemes : public QObject
{
    Q_OBJECT

    // Puts the style sheets next to the executable, then initialises the manager.
    bool initializeWith(const QString &fileNames)
    {
        for (const QString &name : fileNames.split(' ', Qt::SkipEmptyParts))
            m_styles->writeFile(name, sheetOf(name).toUtf8());
        return themes().initialize();
    }

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<AppDirFolder> m_styles;

private slots:
    void init()
    {
        m_fixture = std::make_unique<CoreFixture>(false);
        m_styles = std::make_unique<AppDirFolder>(QStringLiteral("resources/styles"));
    }
    void cleanup()
    {
        qApp->setStyleSheet(QString());
        m_styles.reset();
        m_fixture.reset();
    }

    void catalogue_data()
    {
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("ids");
        const auto row = [](const char *name, const char *files, const char *ids) {
            QTest::newRow(name) << QString(files) << QString(ids);
        };

        row("sorted, others ignored",
            "veldra_light.qss veldra_dark.qss veldra_Blue.qss other_red.qss veldra_green.css",
            "Blue Dark Light");
        row("underscore kept", "veldra_blue_night.qss", "Blue_night");
        row("rest unchanged", "veldra_hIGH_Contrast.qss", "HIGH_Contrast");
        row("cut at the last dot", "veldra_sepia.v2.qss", "Sepia.v2");
    }

    void catalogue()
    {
        QFETCH(QString, files);
        QFETCH(QString, ids);

        initializeWith(files);
        // The manager lives for the whole process: a second run rebuilds, it does not append.
        themes().initialize();
        QCOMPARE(catalogueIds(), ids);
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
        row("first start without styles", "", QVariant(), "", "Dark");
        row("not a text", both, QStringList{"Light", "Dark"}, "Dark", QStringList{"Light", "Dark"});
    }

    void storedThemeApplied()
    {
        QFETCH(QString, files);
        QFETCH(QVariant, stored);
        QFETCH(QString, applied);
        QFETCH(QVariant, storedAfter);

        if (stored.isValid())
            m_fixture->userSettings()->setValue(key, stored);
        if (stored.userType() == QMetaType::QStringList)
            QTest::ignoreMessage(QtWarningMsg,
                                 "\"Veldra/Theme\" does not hold a text; using \"Dark\"");
        QCOMPARE(initializeWith(files), !applied.isEmpty());
        const QString fileName = "veldra_" + applied.toLower() + ".qss";
        QCOMPARE(qApp->styleSheet(), applied.isEmpty() ? QString() : sheetOf(fileName));
        QCOMPARE(themes().getCurrentThemeId(), applied);
        QCOMPARE(themes().getCurrentThemeName(), applied);
        QCOMPARE(m_fixture->userSettings()->value(key), storedAfter);
    }

    void choiceIsStoredForTheNextStart()
    {
        ExtensionSystem::PluginManager::setSettings(nullptr);
        QVERIFY(initializeWith("veldra_dark.qss veldra_light.qss")); // no store: the default
        QCOMPARE(themes().getCurrentThemeId(), QStringLiteral("Dark"));
        QTest::ignoreMessage(
                QtWarningMsg,
                "IThemesManager::saveThemes: no settings store, \"Light\" is not stored");
        QVERIFY(!themes().saveThemes("Light"));

        themes().setSettings(m_fixture->userSettings());
        for (const QString &id : {QString("light"), QString("Ocean"), QString()})
            QVERIFY2(!themes().saveThemes(id), qPrintable(id));
        QVERIFY(!m_fixture->userSettings()->contains(key));
        QVERIFY(themes().saveThemes("Light"));
        QCOMPARE(m_fixture->userSettings()->value(key).toString(), QStringLiteral("Light"));
        QCOMPARE(themes().getSaveThemeId(), QStringLiteral("Light"));
        // Takes effect at the next start only.
        QCOMPARE(themes().getCurrentThemeId(), QStringLiteral("Dark"));
        QCOMPARE(qApp->styleSheet(), sheetOf("veldra_dark.qss"));
    }

    void shippedSheetsParse_data()
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

    // The window chrome under a tabbed MDI area, with the widgets whose rules set properties: a
    // misspelt property name is warned about when the widget is polished.
    void shippedSheetsParse()
    {
        QFETCH(QString, sheet);
        QFETCH(QStringList, warnings);

        MessageRecorder recorder;
        qApp->setStyleSheet(sheet);
        QMainWindow window;
        auto titleBar = new IMainMenuWidget(&window, "Veldra", QIcon());
        titleBar->getNotificationBar()->show("message", VDNotificationBar::Warning, "button", true);
        window.setMenuWidget(titleBar);
        auto mdi = new QMdiArea;
        mdi->setViewMode(QMdiArea::TabbedView);
        mdi->addSubWindow(new QWidget);
        window.setCentralWidget(mdi);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(recorder.warnings(), warnings);
    }
};

VELDRA_TEST_MAIN(TestThemes)
#include "tst_themes.moc"
