#include "actioncontainer.h"
#include "actionmanager.h"
#include "contextaction.h"
#include "ilanguagemanager.h"
#include "ioptionpage.h"
#include "mainwindow.h"

#include "appdirfolder.h"
#include "corefixture.h"
#include "messageboxanswerer.h"
#include "messagerecorder.h"
#include "testdocumentfactory.h"
#include "testmain.h"
#include "testoptionsdlg.h"
#include "urlrecorder.h"

#include <extensionsystem/pluginmanager.h>

#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolBar>

#include <algorithm>
#include <functional>

using ExtensionSystem::PluginManager;

namespace {

QAction *proxy(const QString &id)
{
    ContextAction *command = ActionManager::getAction(id);
    return command ? command->getAction() : nullptr;
}

// A menu or menu bar as the user reads it: texts, "-" for separators, " >" after sub-menus.
QStringList entries(const QList<QAction *> &actions)
{
    QStringList result;
    for (const QAction *action : actions) {
        if (action->isSeparator())
            result << QStringLiteral("-");
        else
            result << action->text() + (action->menu() ? QStringLiteral(" >") : QString());
    }
    return result;
}

// The Language menu, the View menu's only entry.
QMenu *viewLanguageMenu()
{
    const QList<QAction *> viewEntries =
            ActionManager::getActionContainer(QStringLiteral("MenuBar.View"))->getMenu()->actions();
    return viewEntries.size() == 1 ? viewEntries.first()->menu() : nullptr;
}

QAction *languageEntry(const QString &id)
{
    const QList<QAction *> items = viewLanguageMenu()->actions();
    const auto found = std::find_if(items.cbegin(), items.cend(), [&id](QAction *entry) {
        return entry->data().toString() == id;
    });
    return found == items.cend() ? nullptr : *found;
}

// "slot onApply()", "signal dataChanged()": the methods a class declares itself.
QStringList ownMethods(const QMetaObject &metaObject)
{
    QStringList result;
    for (int i = metaObject.methodOffset(); i < metaObject.methodCount(); ++i) {
        const QMetaMethod method = metaObject.method(i);
        const char *kind = method.methodType() == QMetaMethod::Signal ? "signal " : "slot ";
        if (method.access() == QMetaMethod::Public)
            result << QLatin1String(kind) + QString::fromLatin1(method.methodSignature());
    }
    return result;
}

class OptionsFactory : public TestDocumentFactory
{
public:
    explicit OptionsFactory(IOptionsDlg *dialog)
        : m_dialog(dialog)
    {}

    IOptionsDlg *createOptionsDlg() override
    {
        TestDocumentFactory::createOptionsDlg();
        return m_dialog;
    }

private:
    IOptionsDlg *m_dialog;
};

const char *const s_helpChildVariable = "VELDRA_TEST_HELP_CHILD";

} // namespace

class TestCommandSet : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commandTable_data();
    void commandTable();
    void menuLayout_data();
    void menuLayout();
    void recentProjectSlots();
    void fileToolbar();
    void languageMenu();
    void languageChanged_data();
    void languageChanged();
    void optionsDialogComesOnceFromFirstFactory();
    void preferencesWithoutFactoryDoesNothing();
    void helpContents_data();
    void helpContents();
    void optionsMetaObjects();
    void optionPageFlags_data();
    void optionPageFlags();

private:
    MainWindow *window() const { return m_fixture->mainWindow(); }
    // A factory in the object pool that hands out a dialog of its own.
    TestOptionsDlg *addOptionsFactory();

    std::unique_ptr<AppDirFolder> m_translations;
    std::unique_ptr<CoreFixture> m_fixture;
    QStringList m_helpFiles;
    QList<TestDocumentFactory *> m_factories;
    QList<QPointer<TestOptionsDlg>> m_dialogs; // the window may delete the one it took
};

void TestCommandSet::init()
{
    m_translations = std::make_unique<AppDirFolder>(QStringLiteral("translations"));
    QVERIFY(m_translations->writeFile(QStringLiteral("veldra_de_DE.qm")));
    QVERIFY(m_translations->writeFile(QStringLiteral("veldra_fr_FR.qm")));
    m_fixture = std::make_unique<CoreFixture>(false);
    m_fixture->userSettings()->setValue(QStringLiteral("Veldra/Language"), QStringLiteral("de_DE"));
    QVERIFY(ILanguageManager::getInstance().initialize());
    m_fixture->createMainWindow();
}

void TestCommandSet::cleanup()
{
    for (TestDocumentFactory *factory : qAsConst(m_factories))
        PluginManager::removeObject(factory);
    qDeleteAll(m_factories);
    m_factories.clear();
    m_fixture.reset();
    for (const QPointer<TestOptionsDlg> &dialog : qAsConst(m_dialogs))
        delete dialog.data();
    m_dialogs.clear();
    m_translations.reset();
    for (const QString &name : qAsConst(m_helpFiles))
        QFile::remove(QDir(QCoreApplication::applicationDirPath()).filePath(name));
    m_helpFiles.clear();
}

TestOptionsDlg *TestCommandSet::addOptionsFactory()
{
    auto *dialog = new TestOptionsDlg;
    m_dialogs.append(dialog);
    m_factories.append(new OptionsFactory(dialog));
    PluginManager::addObject(m_factories.last());
    return dialog;
}

void TestCommandSet::commandTable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hasIcon");
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("menu");

    using K = QKeySequence;
    const struct
    {
        const char *id, *text;
        bool icon;
        K key;
        const char *description;
        bool enabled;
        const char *menu;
    } rows[] = {
            {"File.New", "&New", true, K::New, "Create a new project", true, "File"},
            {"File.Open_Project", "&Open Project", true, K::Open, "Open an existing project", true,
             "File"},
            {"File.Save", "&Save", true, K::Save, "Save current project", false, "File"},
            {"File.SaveAs.Project", "Other Project", false, K::SaveAs,
             "Save the current project as a new one", false, "SaveAs"},
            {"File.Close", "&Close", false, K::Close, "Close current project", false, "File"},
            {"File.Preview_Current_Scene_In_Browser", "Preview Current Scene In Browser", false,
             K(0x0C000053), "", true, "File"},
            {"File.Preview_Project_In_Browser", "Preview Project In Browser", false, K(0x0C000050),
             "", true, "File"},
            {"File.Export_To_HTML5", "Export to HTML5", false, K(0x0C000045), "", true, "File"},
            {"File.Exit", "E&xit", false, K::Quit, "Quit the program", true, "File"},
            {"Edit.Preferences", "&Preferences", true, K::Preferences, "", true, "Edit"},
            {"Help.About", "About", false, K(), "", true, "Help"},
            {"Help.Help_Contents", "Help Contents", false, K(0x01000030), "", true, "Help"},
            {"Help.Community", "User Community", false, K(), "", true, "Help"},
            {"Help.CheckUpdates", "Check Updates...", false, K(), "", true, "Help"},
            {"Help.UserAccount", "My Account", false, K(), "", true, "Help"},
            {"Help.SignInOut", "Sign In", false, K(), "", true, "Help"},
    };
    for (const auto &row : rows) {
        const QString menu = QLatin1String(row.menu) == QLatin1String("SaveAs")
                                     ? QStringLiteral("File.SaveAs")
                                     : QStringLiteral("MenuBar.") + QLatin1String(row.menu);
        QTest::newRow(row.id) << row.text << row.icon << row.key << row.description << row.enabled
                              << menu;
    }
}

void TestCommandSet::commandTable()
{
    QFETCH(QString, text);
    QFETCH(bool, hasIcon);
    QFETCH(QKeySequence, key);
    QFETCH(QString, description);
    QFETCH(bool, enabled);
    QFETCH(QString, menu);

    ContextAction *command = ActionManager::getAction(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(command);
    QAction *action = command->getAction();
    QCOMPARE(action->text(), text);
    QCOMPARE(!action->icon().isNull(), hasIcon);
    QCOMPARE(command->getDefaultKeySequence(), key);
    QCOMPARE(command->getDescription(), description);
    QCOMPARE(action->isEnabled(), enabled);
    QVERIFY(action->isVisible());
    QVERIFY(ActionManager::getActionContainer(menu)->getMenu()->actions().contains(action));
}

// Entries separated by "|"; "-" is a separator, " >" marks a sub-menu.
void TestCommandSet::menuLayout_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Veldra.MenuBar") << "" << true << "&File >|&Edit >|&View >|&Help >";
    QTest::newRow("MenuBar.File")
            << "&File" << true
            << "&New|&Open Project|Recent Projects >|-|&Save|Save As >|&Close|-|"
               "Preview Current Scene In Browser|Preview Project In Browser|Export to "
               "HTML5|-|E&xit";
    QTest::newRow("File.SaveAs") << "Save As" << false << "Other Project";
    QTest::newRow("MenuBar.Edit") << "&Edit" << true << "&Preferences";
    QTest::newRow("MenuBar.View") << "&View" << true << "Language >";
    QTest::newRow("MenuBar.Help")
            << "&Help" << true
            << "About|Help Contents|User Community|Check Updates...|-|My Account|Sign In";
}

void TestCommandSet::menuLayout()
{
    QFETCH(QString, title);
    QFETCH(bool, enabled);
    QFETCH(QString, expected);

    ActionContainer *container =
            ActionManager::getActionContainer(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(container);
    QMenu *menu = container->getMenu();
    QMenuBar *menuBar = container->getMenuBar();
    QVERIFY(menu || menuBar);
    if (menu) {
        QCOMPARE(menu->title(), title);
        QCOMPARE(menu->isEnabled(), enabled);
    }
    const QList<QAction *> actions = menu ? menu->actions() : menuBar->actions();
    QCOMPARE(entries(actions).join(QLatin1Char('|')), expected);
}

void TestCommandSet::recentProjectSlots()
{
    QMenu *menu =
            ActionManager::getActionContainer(QStringLiteral("File.Recent_Projects"))->getMenu();
    QCOMPARE(menu->title(), QStringLiteral("Recent Projects"));
    QVERIFY(!menu->isEnabled()); // the stored list is empty
    QCOMPARE(menu->actions().size(), 10);
    for (int n = 1; n <= 10; ++n) {
        QAction *action = proxy(QStringLiteral("File.Recent_Projects.Project_%1").arg(n));
        QCOMPARE(menu->actions().value(n - 1), action);
        QVERIFY(!action->isVisible());
    }
}

void TestCommandSet::fileToolbar()
{
    QToolBar *toolbar = window()->findChild<QToolBar *>(QStringLiteral("m_pFileToolbar"));
    QVERIFY(toolbar);
    QCOMPARE(window()->getFileToolbar(), toolbar);
    QCOMPARE(toolbar->windowTitle(), QStringLiteral("File"));

    const QList<QAction *> actions = toolbar->actions();
    QCOMPARE(actions.size(), 7);
    QVERIFY(actions.at(3)->isSeparator());
    const QList<QAction *> expected = {
            proxy(QStringLiteral("File.New")),
            proxy(QStringLiteral("File.Open_Project")),
            proxy(QStringLiteral("File.Save")),
            actions.at(3),
            proxy(QStringLiteral("File.Preview_Current_Scene_In_Browser")),
            proxy(QStringLiteral("File.Preview_Project_In_Browser")),
            proxy(QStringLiteral("File.Export_To_HTML5"))};
    QCOMPARE(actions, expected);
}

void TestCommandSet::languageMenu()
{
    QMenu *languages = viewLanguageMenu();
    QVERIFY(languages);
    QVERIFY(!languages->icon().isNull());

    const QList<LanguageInfo *> &records = ILanguageManager::getInstance().getLanguages();
    QCOMPARE(records.size(), 3);
    QCOMPARE(languages->actions().size(), records.size());
    for (int i = 0; i < records.size(); ++i) {
        const QAction *entry = languages->actions().at(i);
        QCOMPARE(entry->text(), QStringLiteral("%1 (%2)").arg(records.at(i)->nativeLanguage,
                                                              records.at(i)->country));
        QCOMPARE(entry->data(), QVariant(records.at(i)->id));
        QVERIFY(entry->isCheckable());
        QCOMPARE(entry->isChecked(), records.at(i)->id == QLatin1String("de_DE"));
    }
}

void TestCommandSet::languageChanged_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<bool>("storeWorks");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored");

    QTest::newRow("language in use") << "de_DE" << true << ""
                                     << "de_DE";
    QTest::newRow("another language")
            << "fr_FR" << true << "The changed language will take effect from next run."
            << "fr_FR";
    QTest::newRow("store fails") << "fr_FR" << false << "Failed to change language."
                                 << "de_DE";
}

void TestCommandSet::languageChanged()
{
    QFETCH(QString, choice);
    QFETCH(bool, storeWorks);
    QFETCH(QString, message);
    QFETCH(QString, stored);

    if (!storeWorks) {
        ILanguageManager::getInstance().setSettings(nullptr);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no settings store"));
    }
    QAction *chosen = languageEntry(choice);
    QAction *inUse = languageEntry(QStringLiteral("de_DE"));
    QVERIFY(chosen && inUse);

    MessageBoxAnswerer answerer;
    chosen->trigger();
    QCOMPARE(answerer.count(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(answerer.last().text, message);
        QCOMPARE(answerer.last().title, QStringLiteral("Veldra"));
        QCOMPARE(answerer.last().parent.data(), static_cast<QWidget *>(window()));
    }
    QVERIFY(inUse->isChecked());
    QCOMPARE(chosen->isChecked(), chosen == inUse);
    QCOMPARE(m_fixture->userSettings()->value(QStringLiteral("Veldra/Language")).toString(),
             stored);
    QCOMPARE(ILanguageManager::getInstance().getCurrentLangId(), QStringLiteral("de_DE"));
}

void TestCommandSet::optionsDialogComesOnceFromFirstFactory()
{
    TestOptionsDlg *dialog = addOptionsFactory();
    TestOptionsDlg *otherDialog = addOptionsFactory();

    QCOMPARE(window()->getOptionsDialog(), dialog);
    QCOMPARE(window()->getOptionsDialog(), dialog);
    proxy(QStringLiteral("Edit.Preferences"))->trigger();
    proxy(QStringLiteral("Edit.Preferences"))->trigger();
    const QString asked = QStringLiteral("TestDocumentFactory::createOptionsDlg");
    QCOMPARE(m_factories.first()->callLog()->count(asked), 1);
    QCOMPARE(m_factories.last()->callLog()->count(asked), 0);
    QCOMPARE(dialog->callLog()->calls(),
             QStringList({"TestOptionsDlg::showDialog", "TestOptionsDlg::showDialog"}));
    QCOMPARE(otherDialog->callLog()->calls(), QStringList());
}

void TestCommandSet::preferencesWithoutFactoryDoesNothing()
{
    QCOMPARE(window()->getOptionsDialog(), nullptr);
    proxy(QStringLiteral("Edit.Preferences"))->trigger();

    // A factory that comes later is still asked.
    TestOptionsDlg *dialog = addOptionsFactory();
    proxy(QStringLiteral("Edit.Preferences"))->trigger();
    QCOMPARE(dialog->callLog()->calls(), QStringList({"TestOptionsDlg::showDialog"}));
}

void TestCommandSet::helpContents_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QStringList>("logged");

    const QString pt = QStringLiteral("veldra_help_pt.pdf");
    const QString en = QStringLiteral("veldra_help_en.pdf");
    const QString localizedMissing = QStringLiteral("Localized help file not found:  ") + pt;
    const QString tryEnglish = QStringLiteral("Trying to open English help file instead:  ") + en;
    QTest::newRow("language code cut at _")
            << "pt_BR" << QStringList{pt, en, "veldra_help_pt_BR.pdf"} << pt << QStringList();
    QTest::newRow("English fallback") << "pt_BR" << QStringList{en, "veldra_help_pt_BR.pdf"} << en
                                      << QStringList{localizedMissing, tryEnglish};
    QTest::newRow("missing") << "pt_BR" << QStringList() << ""
                             << QStringList{localizedMissing, tryEnglish,
                                            "Help file not found:  " + en};
    QTest::newRow("name without _")
            << "C" << QStringList{"veldra_help_C.pdf", en} << "veldra_help_C.pdf" << QStringList();
}

// QLocale::system() is read once per process, so rows for another locale run this executable
// again, for that row only, with LC_ALL set.
void TestCommandSet::helpContents()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, files);
    QFETCH(QString, opened);
    QFETCH(QStringList, logged);

    if (QLocale::system().name() != locale) {
        QVERIFY2(!qEnvironmentVariableIsSet(s_helpChildVariable), "LC_ALL did not take effect");
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), locale + QStringLiteral(".UTF-8"));
        environment.insert(QString::fromLatin1(s_helpChildVariable), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(
                QCoreApplication::applicationFilePath(),
                {QStringLiteral("helpContents:") + QString::fromLatin1(QTest::currentDataTag())});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAll().constData());
        return;
    }

    const QDir folder(QCoreApplication::applicationDirPath());
    m_helpFiles = files;
    for (const QString &name : files) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QStringList expectedLog;
    for (const QString &line : qAsConst(logged)) {
        const int colon = line.indexOf(QLatin1Char(':'));
        expectedLog << line.left(colon + 3) + QLatin1Char('"') +
                               folder.filePath(line.mid(colon + 3)) + QLatin1Char('"');
    }

    UrlRecorder urls;
    MessageBoxAnswerer answerer;
    MessageRecorder messages;
    proxy(QStringLiteral("Help.Help_Contents"))->trigger();

    QCOMPARE(messages.messages(QtInfoMsg), expectedLog);
    if (opened.isEmpty()) {
        QCOMPARE(urls.urls(), QList<QUrl>());
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.last().text, QStringLiteral("Help document is missing."));
        QCOMPARE(answerer.last().title, QString());
        QCOMPARE(answerer.last().icon, QMessageBox::NoIcon);
        QCOMPARE(answerer.last().parent.data(), nullptr);
    } else {
        QCOMPARE(urls.urls(), QList<QUrl>{QUrl::fromLocalFile(folder.filePath(opened))});
        QCOMPARE(answerer.count(), 0);
    }
}

void TestCommandSet::optionsMetaObjects()
{
    QCOMPARE(IOptionsDlg::staticMetaObject.superClass(), &QDialog::staticMetaObject);
    QCOMPARE(ownMethods(IOptionsDlg::staticMetaObject),
             QStringList({"slot onApply()", "slot onCancel()", "slot onOK()",
                          "slot onPageChanged(int)"}));
    const QMetaObject &dialogMeta = IOptionsDlg::staticMetaObject;
    QCOMPARE(dialogMeta.method(dialogMeta.indexOfSlot("onPageChanged(int)")).parameterNames(),
             QList<QByteArray>{"nPage"});
    QCOMPARE(ownMethods(IOptionPage::staticMetaObject), QStringList({"signal dataChanged()"}));

    // By name, as a string-connected button would: the concrete dialog's code runs.
    TestOptionsDlg dialog;
    QPushButton ok;
    QVERIFY(connect(&ok, SIGNAL(clicked()), &dialog, SLOT(onOK())));
    QVERIFY(QMetaObject::invokeMethod(&dialog, "onPageChanged", Q_ARG(int, 3)));
    QVERIFY(QMetaObject::invokeMethod(&dialog, "onApply"));
    QVERIFY(QMetaObject::invokeMethod(&dialog, "onCancel"));
    ok.click();
    QCOMPARE(dialog.callLog()->calls(),
             QStringList({"TestOptionsDlg::onPageChanged(3)", "TestOptionsDlg::onApply",
                          "TestOptionsDlg::onCancel", "TestOptionsDlg::onOK"}));
}

void TestCommandSet::optionPageFlags_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("initialized");

    QTest::newRow("new page") << QStringList() << false << false;
    QTest::newRow("setChanged(true)") << QStringList{"setChanged(true)"} << true << false;
    QTest::newRow("setChanged(false) still marks")
            << QStringList{"setChanged(false)"} << true << false;
    QTest::newRow("saveChanges clears")
            << QStringList{"setChanged(true)", "saveChanges"} << false << false;
    QTest::newRow("discardChanges clears")
            << QStringList{"setChanged(true)", "discardChanges"} << false << false;
    QTest::newRow("initValues") << QStringList{"initValues", "saveChanges"} << false << true;
    QTest::newRow("initValues then setNeedInitConfig2UI")
            << QStringList{"initValues", "setChanged(true)", "setNeedInitConfig2UI"} << true
            << false;
}

void TestCommandSet::optionPageFlags()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, changed);
    QFETCH(bool, initialized);

    const QHash<QString, std::function<void(IOptionPage &)>> operations = {
            {"setChanged(true)", [](IOptionPage &page) { page.setChanged(true); }},
            {"setChanged(false)", [](IOptionPage &page) { page.setChanged(false); }},
            {"initValues", &IOptionPage::initValues},
            {"saveChanges", &IOptionPage::saveChanges},
            {"discardChanges", &IOptionPage::discardChanges},
            {"setNeedInitConfig2UI", &IOptionPage::setNeedInitConfig2UI},
    };
    QWidget parent;
    IOptionPage page(&parent);
    QCOMPARE(page.parentWidget(), &parent);
    for (const QString &step : qAsConst(steps))
        operations.value(step)(page);
    QCOMPARE(page.isChanged(), changed);
    QCOMPARE(page.isInitialized(), initialized);
}

VELDRA_TEST_MAIN(TestCommandSet)
#include "tst_commandset.moc"
