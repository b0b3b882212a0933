#include "ithemesmanager.h"

#include "appdirfolder.h"
#include "corefixture.h"
#include "testmain.h"

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
};

VELDRA_TEST_MAIN(TestThemes)
#include "tst_themes.moc"
