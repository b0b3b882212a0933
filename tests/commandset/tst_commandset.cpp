#include "actioncontainer.h"
#include "actionmanager.h"
#include "commandmatcher.h"
#include "contextaction.h"
#include "contextmanager.h"
#include "ilanguagemanager.h"
#include "ioptionsdlg.h"
#include "mainwindow.h"

#include "appdirfolder.h"
#include "corefixture.h"
#include "messageboxanswerer.h"
#include "testdocumentfactory.h"
#include "testmain.h"
#include "urlrecorder.h"

#include <extensionsystem/pluginmanager.h>

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QToolBar>
#include <QTreeWidget>

using ExtensionSystem::PluginManager;

namespace {

// A menu as the user reads it: texts joined by "|", "-" for separators, " >" after sub-menus.
QString entries(const QList<QAction *> &actions)
{
    QStringList result;
    for (const QAction *action : actions)
        result << (action->isSeparator() ? QStringLiteral("-")
                                         : action->text() + (action->menu() ? " >" : ""));
    return result.join(QLatin1Char('|'));
}

// An options dialog that only counts how often it is shown.
class CountingOptionsDlg : public IOptionsDlg
{
public:
    int shown = 0;
    void showDialog() override { ++shown; }
    void initDialog() override {}
    void onApply() override {}
    void onCancel() override {}
    void onOK() override {}
    void onPageChanged(int) override {}
    void addPage(IOptionPage *) override {}
    IOptionPage *getPage(int) override { return nullptr; }
    int getPageCount() override { return 0; }
};

// A factory in the object pool while it lives; the dialog stays the factory's.
class OptionsFactory : public TestDocumentFactory
{
public:
    OptionsFactory() { PluginManager::addObject(this); }
    ~OptionsFactory() override
    {
        PluginManager::removeObject(this);
        delete dialog;
    }
    IOptionsDlg *createOptionsDlg() override
    {
        TestDocumentFactory::createOptionsDlg();
        return dialog;
    }

    CountingOptionsDlg *const dialog = new CountingOptionsDlg;
};

} // namespace

class TestCommandSet : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppDirFolder> m_translations;
    std::unique_ptr<CoreFixture> m_fixture;
    QStringList m_helpFiles;

    MainWindow *window() const { return m_fixture->mainWindow(); }

    void createWindow(const QString &storedLanguage)
    {
        m_fixture = std::make_unique<CoreFixture>(false);
        if (!storedLanguage.isEmpty())
            m_fixture->userSettings()->setValue("Veldra/Language", storedLanguage);
        QVERIFY(ILanguageManager::getInstance().initialize());
        m_fixture->createMainWindow();
    }

private slots:
    void init()
    {
        m_translations = std::make_unique<AppDirFolder>(QStringLiteral("translations"));
        QVERIFY(m_translations->writeFile(QStringLiteral("veldra_de_DE.qm")));
        QVERIFY(m_translations->writeFile(QStringLiteral("veldra_fr_FR.qm")));
        createWindow("de_DE");
    }

    void cleanup()
    {
        m_fixture.reset();
        m_translations.reset();
        for (const QString &name : qAsConst(m_helpFiles))
            QFile::remove(QDir(QCoreApplication::applicationDirPath()).filePath(name));
        m_helpFiles.clear();
    }

    void commandTable_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("description");

        using K = QKeySequence;
        const auto row = [](const char *id, K key, const char *description = "") {
            QTest::newRow(id) << key << description;
        };
        row("File.New", K::New, "Create a new project");
        row("File.Open_Project", K::Open, "Open an existing project");
        row("File.Save", K::Save, "Save current project");
        row("File.SaveAs.Project", K::SaveAs, "Save the current project as a new one");
        row("File.Close", K::Close, "Close current project");
        row("File.Preview_Current_Scene_In_Browser", K(0x0C000053));
        row("File.Preview_Project_In_Browser", K(0x0C000050));
        row("File.Export_To_HTML5", K(0x0C000045));
        row("File.Exit", K::Quit, "Quit the program");
        row("Edit.Preferences", K::Preferences);
        row("Veldra.Command_Palette", K(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
            "Find a command by its name and run it");
        row("Help.About", K());
        row("Help.Help_Contents", K(Qt::Key_F1));
        row("Help.Community", K());
        row("Help.CheckUpdates", K());
        row("Help.UserAccount", K());
        row("Help.SignInOut", K());
    }

    void commandTable()
    {
        QFETCH(QKeySequence, key);
        QFETCH(QString, description);

        const QString id = QString::fromLatin1(QTest::currentDataTag());
        const QStringList withIcon = {"File.New", "File.Open_Project", "File.Save",
                                      "Edit.Preferences"};
        const QStringList disabled = {"File.Save", "File.SaveAs.Project", "File.Close"};
        ContextAction *command = ActionManager::getAction(id);
        QAction *action = command->getAction();
        QCOMPARE(!action->icon().isNull(), withIcon.contains(id));
        QCOMPARE(command->getDefaultKeySequence(), key);
        QCOMPARE(command->getDescription(), description);
        QCOMPARE(action->isEnabled(), !disabled.contains(id));
    }

    void menuLayout_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("expected");

        QTest::newRow("Veldra.MenuBar") << "" << true << "&File >|&Edit >|&View >|&Help >";
        QTest::newRow("MenuBar.File")
                << "&File" << true
                << "&New|&Open Project|Recent Projects >|-|&Save|Save As >|"
                   "&Close|-|Preview Current Scene In Browser|Preview Project "
                   "In Browser|Export to HTML5|-|E&xit";
        QTest::newRow("File.SaveAs") << "Save As" << false << "Other Project";
        // Ten hidden slots, filled from the stored list, which is empty here.
        QTest::newRow("File.Recent_Projects") << "Recent Projects" << false << QString(9, '|');
        QTest::newRow("MenuBar.Edit") << "&Edit" << true << "&Preferences";
        QTest::newRow("MenuBar.View") << "&View" << true << "Language >";
        QTest::newRow("m_pFileToolbar")
                << "File" << true
                << "&New|&Open Project|&Save|-|Preview Current Scene In Browser|"
                   "Preview Project In Browser|Export to HTML5";
        QTest::newRow("MenuBar.Help")
                << "&Help" << true
                << "About|Help Contents|User Community|Check Updates...|-|My Account|Sign In";
    }

    void menuLayout()
    {
        QFETCH(QString, title);
        QFETCH(bool, enabled);
        QFETCH(QString, expected);

        const QString id = QString::fromLatin1(QTest::currentDataTag());
        ActionContainer *container = ActionManager::getActionContainer(id);
        QWidget *holder = window()->getFileToolbar();
        if (id != holder->objectName())
            holder = container->getMenu() ? static_cast<QWidget *>(container->getMenu())
                                          : container->getMenuBar();
        QVERIFY(holder && holder->objectName() == id);
        QCOMPARE(holder->property(id == "m_pFileToolbar" ? "windowTitle" : "title").toString(),
                 title);
        QCOMPARE(holder->isEnabled(), enabled);
        QCOMPARE(entries(holder->actions()), expected);
    }

    // Lists are joined by ","; a candidate is "text" or "menus|text", and its id is its text.
    void paletteRanking_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("candidates");
        QTest::addColumn<QString>("recent");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *query, const char *candidates,
                            const char *recent, const char *expected) {
            QTest::newRow(name) << query << candidates << recent << expected;
        };
        row("prefix, word start, contiguous, scattered", "exp",
            "Exit Preview,Reexport,Save,Export to HTML5,Open Expert View", "",
            "Export to HTML5,Open Expert View,Reexport,Exit Preview");
        row("any case, outer spaces, in order", " eXP ", "Save,export,pxe", "", "export");
        row("shorter first", "sa", "Save As Project,Save", "", "Save,Save As Project");
        row("recent first among equals", "p", "Preview,Open Project,Preferences",
            "Open Project,Preferences", "Preferences,Preview,Open Project");
        row("empty: recent, then alphabetical", "", "Zoom,About,Exit,Save", "Save,Exit",
            "Save,Exit,About,Zoom");
        row("through the menus, after the texts", "save other",
            "File \u25B8 Save As|Other Project,File|Save,Save Other Things", "",
            "Save Other Things,Other Project");
    }

    void paletteRanking()
    {
        QFETCH(QString, query);
        QFETCH(QString, candidates);
        QFETCH(QString, recent);
        QFETCH(QString, expected);

        QList<CommandMatcher::Candidate> given;
        for (const QString &candidate : candidates.split(',')) {
            const QString text = candidate.section('|', -1);
            given.append({text, text, candidate.section('|', 0, -2)});
        }
        QStringList ranked;
        const QStringList recentIds = recent.split(',', Qt::SkipEmptyParts);
        for (const CommandMatcher::Candidate &match : CommandMatcher::rank(query, given, recentIds))
            ranked << match.id;
        QCOMPARE(ranked.join(','), expected);
    }

    // With the keyboard alone, from a context widget whose own implementation must run.
    void commandPalette()
    {
        // Next after the palette in the tab chain: where a closing palette alone leaves the focus.
        new QLineEdit(window());
        auto *work = new QLineEdit(window());
        ContextManager::registerContext(work, QStringLiteral("Test.Work"), QStringLiteral("Work"));
        auto *zebra = new QAction(QStringLiteral("Zebra &Crossing"), work);
        ActionManager::registerAction(zebra, QStringLiteral("Test.Zebra"), work);
        auto *palette = window()->findChild<QFrame *>(QStringLiteral("commandPalette"));
        auto *edit = window()->findChild<QLineEdit *>(QStringLiteral("commandEdit"));
        auto *list = window()->findChild<QTreeWidget *>(QStringLiteral("commandList"));
        QVERIFY(palette && edit && list);
        QSignalSpy runs(zebra, &QAction::triggered);
        const auto rows = [list] {
            QStringList result;
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                const QTreeWidgetItem *item = list->topLevelItem(i);
                result << item->text(0) + '|' + item->text(1) + '|' + item->text(2);
            }
            return result;
        };
        const auto openPalette = [this, palette, edit] {
            QTest::keyClick(window(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
            return !palette->isHidden() && QApplication::focusWidget() == edit;
        };
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        QApplication::setActiveWindow(window());
        work->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), work);

        QVERIFY(openPalette());
        // Enabled commands with a text, but not the palette itself: text, menus, shortcut.
        const QString listed = rows().join('\n');
        QVERIFY(listed.contains("Zebra Crossing||"));
        QVERIFY(listed.contains("Exit|File|" + QKeySequence(QKeySequence::Quit).toString()));
        QVERIFY(!listed.contains(QRegularExpression("^(Save|Command Palette)?\\|",
                                                    QRegularExpression::MultilineOption)));
        QTest::keyClicks(edit, QStringLiteral("zebra"));
        QCOMPARE(rows(), QStringList{"Zebra Crossing||"});
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_COMPARE(runs.count(), 1);
        QVERIFY(palette->isHidden() && QApplication::focusWidget() == work);
        QCOMPARE(m_fixture->userSettings()->value("Veldra/RecentCommands").toStringList(),
                 QStringList{"Test.Zebra"});

        // Escape closes it without running anything; the focus goes back where it was.
        QVERIFY(openPalette());
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(palette->isHidden() && QApplication::focusWidget() == work);
        QCOMPARE(runs.count(), 1);
    }

    void languageChanged_data()
    {
        QTest::addColumn<QString>("stored"); // the language in use
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("storeWorks");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const char *stored, const char *choice,
                            bool storeWorks, const char *message) {
            QTest::newRow(name) << stored << choice << storeWorks << message;
        };
        const char *later = "The changed language will take effect from next run.";
        row("nothing stored", "", "fr_FR", true, later);
        row("language in use", "de_DE", "de_DE", true, "");
        row("store fails", "de_DE", "fr_FR", false, "Failed to change language.");
    }

    // The language in use stays marked: a change takes effect at the next start.
    void languageChanged()
    {
        QFETCH(QString, stored);
        QFETCH(QString, choice);
        QFETCH(bool, storeWorks);
        QFETCH(QString, message);

        createWindow(stored);
        if (!storeWorks) {
            ILanguageManager::getInstance().setSettings(nullptr);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no settings store"));
        }
        QMenu *languages = ActionManager::getActionContainer("MenuBar.View")
                                   ->getMenu()
                                   ->actions()
                                   .value(0)
                                   ->menu();
        QVERIFY(languages && !languages->icon().isNull());
        QCOMPARE(entries(languages->actions()),
                 QStringLiteral("American English (United States)|Deutsch (Germany)|"
                                "fran\u00e7ais (France)"));
        MessageBoxAnswerer answerer;
        const QStringList ids = {"en_US", "de_DE", "fr_FR"};
        languages->actions().value(ids.indexOf(choice))->trigger();
        QCOMPARE(answerer.count(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(answerer.last().text, message);
        QString marks;
        for (const QAction *entry : languages->actions())
            marks += entry->data().toString() + (entry->isChecked() ? "* " : " ");
        const QString inUse = stored.isEmpty() ? "en_US" : stored;
        QCOMPARE(marks, QString("en_US de_DE fr_FR ").replace(inUse + ' ', inUse + "* "));
        QCOMPARE(m_fixture->userSettings()->value("Veldra/Language").toString(),
                 storeWorks ? choice : stored);
    }

    void preferencesAsksFirstFactoryOnce()
    {
        QAction *preferences = ActionManager::getAction("Edit.Preferences")->getAction();
        QCOMPARE(window()->getOptionsDialog(), nullptr);
        preferences->trigger(); // no factory yet: nothing to show, a later one is still asked
        OptionsFactory first;
        OptionsFactory second;
        QCOMPARE(window()->getOptionsDialog(), first.dialog);
        preferences->trigger();
        preferences->trigger();
        const QString asked = QStringLiteral("TestDocumentFactory::createOptionsDlg");
        QCOMPARE(first.callLog()->count(asked), 1);
        QCOMPARE(second.callLog()->count(asked), 0);
        QCOMPARE(first.dialog->shown, 2);
    }

    void helpContents_data()
    {
        QTest::addColumn<QString>("file"); // the only help document; empty: none
        QTest::newRow("English") << "veldra_help_en.pdf";
        QTest::newRow("missing") << "";
    }

    void helpContents()
    {
        QFETCH(QString, file);

        const QDir folder(QCoreApplication::applicationDirPath());
        if (!file.isEmpty()) {
            m_helpFiles << file;
            QVERIFY(QFile(folder.filePath(file)).open(QIODevice::WriteOnly));
        }
        UrlRecorder urls;
        MessageBoxAnswerer answerer;
        ActionManager::getAction("Help.Help_Contents")->getAction()->trigger();
        QCOMPARE(answerer.count(), file.isEmpty() ? 1 : 0);
        if (file.isEmpty())
            QCOMPARE(answerer.last().text, QStringLiteral("Help document is missing."));
        else
            QCOMPARE(urls.urls(), QList<QUrl>{QUrl::fromLocalFile(folder.filePath(file))});
    }
};

VELDRA_TEST_MAIN(TestCommandSet)
#include "tst_commandset.moc"
