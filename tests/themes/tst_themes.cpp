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

    void catalogue()
    {
        initializeWith("veldra_light.qss veldra_dark.qss veldra_hIGH_Contrast.v2.qss "
                       "other_red.qss veldra_green.css");
        // The manager lives for the whole process: a second run rebuilds, it does not append.
        themes().initialize();
        QStringList entries;
        for (const ThemesInfo *info : themes().getThemes())
            entries << info->id + (info->name == info->id ? "" : "/" + info->name);
        QCOMPARE(entries, QStringList({"Dark", "HIGH_Contrast.v2", "Light"}));
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

        if (stored.isValid())
            m_fixture->userSettings()->setValue(key, stored);
        if (stored.userType() == QMetaType::QStringList)
            QTest::ignoreMessage(QtWarningMsg,
                                 "\"Veldra/Theme\" does not hold a text; using \"Dark\"");
        QCOMPARE(initializeWith(files), !applied.isEmpty());
        const QString fileName = "veldra_" + applied.toLower() + ".qss";
        QCOMPARE(qApp->styleSheet(), applied.isEmpty() ? QString() : sheetOf(fileName));
        QCOMPARE(themes().getCurrentThemeId() + themes().getCurrentThemeName(), applied + applied);
        QCOMPARE(m_fixture->userSettings()->value(key), storedAfter);
    }

    void choiceIsStoredForTheNextStart()
    {
        ExtensionSystem::PluginManager::setSettings(nullptr);
        QVERIFY(initializeWith("veldra_dark.qss veldra_light.qss")); // no store: the default
        QTest::ignoreMessage(
                QtWarningMsg,
                "IThemesManager::saveThemes: no settings store, \"Light\" is not stored");
        QVERIFY(!themes().saveThemes("Light"));

        themes().setSettings(m_fixture->userSettings());
        QVERIFY(!themes().saveThemes("light"));
        QVERIFY(!m_fixture->userSettings()->contains(key));
        QVERIFY(themes().saveThemes("Light"));
        QCOMPARE(themes().getSaveThemeId(), QStringLiteral("Light"));
        // Takes effect at the next start only.
        QCOMPARE(themes().getCurrentThemeId(), QStringLiteral("Dark"));
        QCOMPARE(qApp->styleSheet(), sheetOf("veldra_dark.qss"));
    }

    void shippedSheetsParse_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Dark") << "veldra_dark.qss";
        QTest::newRow("Light") << "veldra_light.qss";
    }

    // The window chrome under a tabbed MDI area, with the widgets whose rules set properties: a
    // misspelt property name is warned about when the widget is polished.
    void shippedSheetsParse()
    {
        QFETCH(QString, name);

        QFile file(QStringLiteral(VELDRA_SHIPPED_STYLES_DIR "/") + name);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        MessageRecorder recorder;
        qApp->setStyleSheet(QString::fromUtf8(file.readAll()));
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
        QCOMPARE(recorder.warnings(), QStringList());
    }
};

VELDRA_TEST_MAIN(TestThemes)
#include "tst_themes.moc"
