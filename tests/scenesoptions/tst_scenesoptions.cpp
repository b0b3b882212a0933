#include "appearanceoptionspage.h"
#include "keyboardoptionspage.h"
#include "sceneeditorcommands.h"
#include "scenesoptionsdialog.h"
#include "shortcutsettings.h"

#include "actionmanager.h"
#include "contextaction.h"
#include "contextmanager.h"
#include "documentmanager.h"
#include "ilanguagemanager.h"
#include "ioptionpage.h"
#include "ithemesmanager.h"
#include "mainwindow.h"

#include "appdirfolder.h"
#include "corefixture.h"
#include "settingsondisk.h"
#include "testmain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <memory>

namespace {
using Shortcuts = QMap<QString, QKeySequence>;

template<typename T>
T *child(QWidget *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}

// The page's row of the command with the id.
QModelIndex rowOf(KeyboardOptionsPage &page, const QString &id)
{
    const QAbstractItemModel *model = child<QTreeWidget>(&page, "commandTree")->model();
    return model->match(model->index(0, 0), Qt::UserRole + 1, id, 1, Qt::MatchExactly).value(0);
}

// "File.New=Ctrl+N;File.Exit=" as edits made the way the user does: select the command's row,
// then type the keys or clear them.
void editShortcuts(KeyboardOptionsPage &page, const QString &edits)
{
    for (const QString &edit : edits.split(';', Qt::SkipEmptyParts)) {
        const QModelIndex row = rowOf(page, edit.section('=', 0, 0));
        QVERIFY2(row.isValid(), qPrintable(edit));
        child<QTreeWidget>(&page, "commandTree")->setCurrentIndex(row);
        if (edit.endsWith('='))
            child<QPushButton>(&page, "clearButton")->click();
        else
            child<QKeySequenceEdit>(&page, "keySequenceEdit")
                    ->setKeySequence(QKeySequence(edit.section('=', 1)));
    }
}

Shortcuts registryShortcuts()
{
    Shortcuts shortcuts;
    for (const ContextAction *command : ActionManager::getActions())
        shortcuts.insert(command->getId(), command->getKeySequence());
    return shortcuts;
}
} // namespace

class TestScenesOptions : public QObject
{
    Q_OBJECT

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<SceneEditorCommands> m_editorCommands;

private slots:
    void init()
    {
        m_fixture = std::make_unique<CoreFixture>();
        m_editorCommands = std::make_unique<SceneEditorCommands>();
    }
    void cleanup()
    {
        m_editorCommands.reset();
        m_fixture.reset();
        qApp->setStyleSheet(QString());
    }

    void conflictWarning_data()
    {
        QTest::addColumn<QString>("registrations"); // extra commands: "id:context ..."
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QStringList>("named"); // what the warning calls the commands; empty: none

        const auto row = [](const char *name, const char *registrations, const char *edits,
                            const char *named) {
            QTest::newRow(name) << QString(registrations) << QString(edits)
                                << QString(named).split('|', Qt::SkipEmptyParts);
        };
        row("two global commands", "", "File.New=Ctrl+Shift+F9;File.Exit=Ctrl+Shift+F9",
            "File \u25B8 Exit|File \u25B8 New");
        row("different keys", "", "File.New=Ctrl+Shift+F9;File.Exit=Ctrl+Shift+F8", "");
        row("scene editor's default", "", "Help.About=Del", "Delete Text|Help \u25B8 About");
        row("two editors", "Test.A:first Test.B:second", "Test.A=F9;Test.B=F9", "");
        row("one editor", "Test.A:first Test.B:first", "Test.A=F9;Test.B=F9", "Test.A|Test.B");
        row("editor and global", "Test.A:first", "Test.A=F9;File.New=F9", "File \u25B8 New|Test.A");
    }
    void conflictWarning()
    {
        QFETCH(QString, registrations);
        QFETCH(QString, edits);
        QFETCH(QStringList, named);
        QWidget first, second;
        ContextManager::registerContext(&first, "Test.First", "First");
        ContextManager::registerContext(&second, "Test.Second", "Second");
        for (const QString &registration : registrations.split(' ', Qt::SkipEmptyParts))
            ActionManager::registerAction(new QAction(&first), registration.section(':', 0, 0),
                                          registration.endsWith("first") ? &first : &second);

        KeyboardOptionsPage page;
        page.initValues();
        editShortcuts(page, edits);

        auto *warning = child<QLabel>(&page, "conflictLabel");
        QCOMPARE(!warning->isHidden(), !named.isEmpty());
        QCOMPARE(warning->text().count("share the shortcut"), named.isEmpty() ? 0 : 1);
        for (const QString &name : named)
            QVERIFY2(warning->text().contains('"' + name + '"'), qPrintable(warning->text()));
        m_fixture.reset(); // while the context widgets exist
    }

    // Reset All and Discard undo each other. Changed, two-chord and cleared shortcuts, of global
    // and editor commands alike, survive a restart.
    void shortcutsResetDiscardSurviveRestart()
    {
        const Shortcuts defaults = registryShortcuts();
        ActionManager::getAction("File.New")->setKeySequence(QKeySequence("F9"));
        ActionManager::getAction("File.Exit")->setKeySequence(QKeySequence());
        const Shortcuts edited = registryShortcuts();
        {
            KeyboardOptionsPage page;
            page.initValues();
            QSignalSpy changed(&page, &IOptionPage::dataChanged);
            const auto tableText = [&page] {
                return rowOf(page, "File.New").siblingAtColumn(1).data().toString();
            };
            child<QPushButton>(&page, "resetAllButton")->click();
            QCOMPARE(changed.count(), 1);
            QCOMPARE(registryShortcuts(), defaults);
            QCOMPARE(tableText(), defaults.value("File.New").toString(QKeySequence::NativeText));
            page.discardChanges();
            QCOMPARE(registryShortcuts(), edited);
            QCOMPARE(tableText(), QString("F9"));

            editShortcuts(page, "File.New=Ctrl+K, Ctrl+N;File.Exit=;Help.About=Alt+F12;"
                                "Scenes.AddText=Ctrl+Shift+F9;Scenes.DeleteText=");
            page.saveChanges();
        }
        const Shortcuts saved = registryShortcuts();

        m_editorCommands.reset(); // the next run reads a copy of the settings file on disk
        CoreFixture::restartFromDisk(m_fixture);
        m_editorCommands = std::make_unique<SceneEditorCommands>();
        // A command added since the last save keeps its default.
        QAction later;
        ActionManager::registerAction(&later, "Test.Later", m_fixture->mainWindow())
                ->setDefaultKeySequence(QKeySequence("F12"));
        ShortcutSettings::load();

        Shortcuts expected = saved;
        expected.insert("Test.Later", QKeySequence("F12"));
        QCOMPARE(registryShortcuts(), expected);
    }

    // What the page shows unchanged is stored as it is shown.
    void appearanceStoresChoice()
    {
        AppDirFolder styles("resources/styles");
        AppDirFolder translations("translations");
        QVERIFY(styles.writeFile("veldra_dark.qss") && styles.writeFile("veldra_light.qss"));
        QVERIFY(translations.writeFile("veldra_fr_FR.qm") &&
                translations.writeFile("veldra_de_DE.qm"));
        IThemesManager::getInstance().initialize();
        ILanguageManager::getInstance().initialize();

        AppearanceOptionsPage page;
        page.initValues();
        auto *themes = child<QComboBox>(&page, "themeCombo");
        auto *languages = child<QComboBox>(&page, "languageCombo");
        QCOMPARE(themes->currentData().toString(), QString("Dark"));
        QCOMPARE(languages->itemText(languages->findData("de_DE")), QString("Deutsch (Germany)"));
        languages->setCurrentIndex(languages->findData("de_DE"));
        page.saveChanges();

        const QString file = m_fixture->filePath("user.ini");
        QCOMPARE(valueOnDisk(file, "Veldra/Theme").toString(), QString("Dark"));
        QCOMPARE(valueOnDisk(file, "Veldra/Language").toString(), QString("de_DE"));
    }

    void dialogButtons_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("apply") << int(QDialogButtonBox::Apply);
        QTest::newRow("ok") << int(QDialogButtonBox::Ok);
        QTest::newRow("cancel") << int(QDialogButtonBox::Cancel);
    }
    void dialogButtons()
    {
        QFETCH(int, button);
        const bool saved = button != QDialogButtonBox::Cancel;
        const bool visible = button == QDialogButtonBox::Apply;
        DocumentManager::setAutoBackupEnabled(true);
        m_fixture->mainWindow()->show();
        ScenesOptionsDialog dialog;
        auto *another = new IOptionPage; // another plug-in's page, added before the first show
        dialog.addPage(another);
        dialog.showDialog();
        QCOMPARE(dialog.getPageCount(), 4);
        QCOMPARE(dialog.getPage(3), another);
        auto *buttons = child<QDialogButtonBox>(&dialog, "");
        QPushButton *apply = buttons->button(QDialogButtonBox::Apply);
        QVERIFY(!apply->isEnabled());

        child<QCheckBox>(dialog.getPage(0), "autoBackupCheck")->setChecked(false);
        QVERIFY(apply->isEnabled());

        buttons->button(QDialogButtonBox::StandardButton(button))->click();
        QCOMPARE(DocumentManager::isAutobackupEnabled(), !saved);
        QCOMPARE(dialog.isVisible(), visible);
        QVERIFY(!apply->isEnabled());

        // A closed dialog shows what was changed elsewhere meanwhile when it opens again.
        if (!visible)
            DocumentManager::setAutoBackupEnabled(!DocumentManager::isAutobackupEnabled());
        dialog.showDialog();
        QCOMPARE(child<QCheckBox>(dialog.getPage(0), "autoBackupCheck")->isChecked(),
                 DocumentManager::isAutobackupEnabled());
    }
};

VELDRA_TEST_MAIN(TestScenesOptions)
#include "tst_scenesoptions.moc"
