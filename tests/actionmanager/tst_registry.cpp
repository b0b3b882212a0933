#include "tst_actionmanager.h"

#include "actioncontainer.h"
#include "actionmanager.h"
#include "contextaction.h"
#include "contextmanager.h"
#include "mainwindow.h"

#include "corefixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QtTest>

void TestActionManager::registrySignals()
{
    QStringList events;
    QObject receiver;
    connect(ActionManager::getInstance(), &ActionManager::commandListChanged, &receiver,
            [&events] { events << "listChanged"; });
    connect(ActionManager::getInstance(), &ActionManager::commandAdded, &receiver,
            [&events](const QString &id) { events << "added " + id; });
    const QStringList registration = {"listChanged", "added Test.Alpha"};
    QAction *first = newAction("First");
    QAction *second = newAction("Second");

    ActionManager::registerAction(first, "Test.Alpha", mainWindow());
    QCOMPARE(events, registration);
    events.clear();
    ActionManager::registerAction(second, "Test.Alpha", newWidget("panel"));
    QCOMPARE(events, registration);

    events.clear();
    ActionManager::unregisterAction(first, "Test.Unknown");
    QCOMPARE(events, QStringList());
    ActionManager::unregisterAction(first, "Test.Alpha");
    QCOMPARE(events, QStringList{"listChanged"});
    QVERIFY(ActionManager::getAction("Test.Alpha"));

    events.clear();
    ActionManager::unregisterAction(second, "Test.Alpha");
    QCOMPARE(events, QStringList{"listChanged"});
    QCOMPARE(ActionManager::getAction("Test.Alpha"), nullptr);
}

void TestActionManager::getActionsInIdOrder()
{
    const QStringList ids = {"Test.File.SaveAs", "Test.a", "Test.Edit.Preferences",
                             "Test.File.Save",   "Test.B", "Test.File.New"};
    for (const QString &id : ids)
        newCommand(id);

    QStringList listed;
    for (const ContextAction *command : ActionManager::getActions()) {
        if (ids.contains(command->getId()))
            listed << command->getId();
    }
    const QStringList expected = {"Test.B",         "Test.Edit.Preferences", "Test.File.New",
                                  "Test.File.Save", "Test.File.SaveAs",      "Test.a"};
    QCOMPARE(listed, expected);
}

void TestActionManager::lastUnregistrationRemovesCommandEverywhere()
{
    QAction *mainAction = newAction("Main");
    QAction *panelAction = newAction("Panel");
    ContextAction *command = ActionManager::registerAction(mainAction, "Test.Alpha", mainWindow());
    ActionManager::registerAction(panelAction, "Test.Alpha", newWidget("panel"));
    ContextAction *beta = newCommand("Test.Beta");
    ActionContainer *menu = keep(ActionManager::createMenuContainer("Menu", "Test.Menu"));
    ActionContainer *bar = keep(ActionManager::createMenuBarContainer("Test.Bar"));
    menu->insertAction(command);
    menu->insertAction(beta);
    bar->insertAction(command);
    QPointer<QAction> proxy = command->getAction();
    const QAction *proxyAddress = proxy.data();

    ActionManager::unregisterAction(mainAction, "Test.Alpha");
    QCOMPARE(ActionManager::getAction("Test.Alpha"), command);
    QVERIFY(menu->getMenu()->actions().contains(proxy));

    ActionManager::unregisterAction(panelAction, "Test.Alpha");
    QCOMPARE(ActionManager::getAction("Test.Alpha"), nullptr);
    QVERIFY(proxy.isNull());
    QCOMPARE(menu->getMenu()->actions(), QList<QAction *>{beta->getAction()});
    QVERIFY(bar->getMenuBar()->actions().isEmpty());
    QVERIFY(!mainWindow()->actions().contains(const_cast<QAction *>(proxyAddress)));

    // clear() must not touch the destroyed command.
    menu->clear();
    QVERIFY(menu->getMenu()->actions().isEmpty());
}

void TestActionManager::savedShortcutRoundTrip_data()
{
    QTest::addColumn<QString>("portable");
    QTest::newRow("one chord") << "Ctrl+S";
    QTest::newRow("two chords") << "Ctrl+K, Ctrl+C";
    QTest::newRow("function key") << "Ctrl+Shift+F5";
    QTest::newRow("empty shortcut removes the key") << "";
}

void TestActionManager::savedShortcutRoundTrip()
{
    QFETCH(QString, portable);
    const QKeySequence shortcut = QKeySequence::fromString(portable, QKeySequence::PortableText);

    ContextAction *command = newCommand("Test.Alpha");
    command->setKeySequence(QKeySequence("Ctrl+1"));
    ActionManager::saveSettings();
    command->setKeySequence(shortcut);
    ActionManager::saveSettings();
    const QVariant stored = storedValue("Shortcuts/Test.Alpha");
    QCOMPARE(stored.isValid(), !portable.isEmpty());
    QCOMPARE(stored.toString(), portable);

    command->setKeySequence(QKeySequence("Ctrl+2"));
    ActionManager::readFromSettings();
    QCOMPARE(command->getKeySequence(), shortcut);
}

void TestActionManager::readFromSettings_data()
{
    QTest::addColumn<QString>("stored"); // value of Test.Alpha; empty: the group is empty
    QTest::addColumn<QKeySequence>("alpha");
    QTest::addColumn<QKeySequence>("beta");

    QTest::newRow("empty group restores defaults")
            << "" << QKeySequence("Ctrl+1") << QKeySequence("Ctrl+2");
    QTest::newRow("one stored key, others empty")
            << "Ctrl+K, Ctrl+C" << QKeySequence("Ctrl+K, Ctrl+C") << QKeySequence();
}

void TestActionManager::readFromSettings()
{
    QFETCH(QString, stored);
    QFETCH(QKeySequence, alpha);
    QFETCH(QKeySequence, beta);

    ContextAction *alphaCommand = newCommand("Test.Alpha");
    ContextAction *betaCommand = newCommand("Test.Beta");
    alphaCommand->setDefaultKeySequence(QKeySequence("Ctrl+1"));
    betaCommand->setDefaultKeySequence(QKeySequence("Ctrl+2"));
    alphaCommand->setKeySequence(QKeySequence("Ctrl+7"));
    betaCommand->setKeySequence(QKeySequence("Ctrl+8"));
    QSettings *store = m_fixture->userSettings();
    store->remove("Shortcuts");
    if (!stored.isEmpty())
        store->setValue("Shortcuts/Test.Alpha", stored);

    ActionManager::readFromSettings();
    QCOMPARE(alphaCommand->getKeySequence(), alpha);
    QCOMPARE(betaCommand->getKeySequence(), beta);
}

void TestActionManager::storedShortcutWinsOverDefault()
{
    m_fixture.reset();
    m_fixture = std::make_unique<CoreFixture>(false);
    m_fixture->userSettings()->setValue("Shortcuts/Test.Alpha", "Ctrl+K, Ctrl+C");
    m_fixture->createMainWindow();

    ContextAction *alpha = newCommand("Test.Alpha");
    ContextAction *beta = newCommand("Test.Beta");
    QCOMPARE(alpha->getKeySequence(), QKeySequence("Ctrl+K, Ctrl+C"));
    QVERIFY(beta->getKeySequence().isEmpty());
    alpha->setDefaultKeySequence(QKeySequence("Ctrl+1"));
    beta->setDefaultKeySequence(QKeySequence("Ctrl+2"));
    QCOMPARE(alpha->getKeySequence(), QKeySequence("Ctrl+K, Ctrl+C"));
    QCOMPARE(beta->getAction()->shortcut(), QKeySequence("Ctrl+2"));

    ActionManager::resetToDefault();
    QCOMPARE(alpha->getKeySequence(), QKeySequence("Ctrl+1"));
    QCOMPARE(alpha->getDefaultKeySequence(), QKeySequence("Ctrl+1"));
}

void TestActionManager::separatorsAreNotStored()
{
    ActionContainer *menu = keep(ActionManager::createMenuContainer("Menu", "Test.Menu"));
    ContextAction *alpha = newCommand("Test.Alpha");
    alpha->setKeySequence(QKeySequence("Ctrl+1"));
    menu->insertAction(alpha);
    ContextAction *separator = menu->insertSeparator(alpha);
    const QString key = "Shortcuts/" + separator->getId();
    separator->setKeySequence(QKeySequence("Ctrl+9"));

    ActionManager::saveSettings();
    QVERIFY(storedValue("Shortcuts/Test.Alpha").isValid());
    QVERIFY(!storedValue(key).isValid());

    m_fixture->userSettings()->setValue(key, "Ctrl+8");
    ActionManager::readFromSettings();
    ActionManager::resetToDefault();
    QCOMPARE(separator->getKeySequence(), QKeySequence("Ctrl+9"));
}

namespace {

enum BadCall {
    RegisterNullAction,
    RegisterEmptyId,
    RegisterNullContext,
    UnregisterNullAction,
    UnregisterEmptyId,
    RegisterContextWithoutWidget,
    InsertNullCommand,
    InsertNullMenuBeforeCommand,
    InsertNullMenuBeforeMenu,
};

} // namespace

void TestActionManager::badInputIsRefused_data()
{
    QTest::addColumn<int>("call");
    QTest::addColumn<QString>("warning"); // empty: a warning is optional

    const QString registerWarning = "^ActionManager::registerAction";
    const QString insertMenuWarning = "^ActionContainer::insertMenu";
    QTest::newRow("registerAction, null action") << int(RegisterNullAction) << registerWarning;
    QTest::newRow("registerAction, empty id") << int(RegisterEmptyId) << registerWarning;
    QTest::newRow("registerAction, null context") << int(RegisterNullContext) << registerWarning;
    QTest::newRow("unregisterAction, null action") << int(UnregisterNullAction) << "";
    QTest::newRow("unregisterAction, empty id") << int(UnregisterEmptyId) << "";
    QTest::newRow("registerContext, null widget")
            << int(RegisterContextWithoutWidget) << "^ContextManager::registerContext";
    QTest::newRow("insertAction, null command")
            << int(InsertNullCommand) << "^ActionContainer::insertAction";
    QTest::newRow("insertMenu, null menu before a command")
            << int(InsertNullMenuBeforeCommand) << insertMenuWarning;
    QTest::newRow("insertMenu, null menu before a menu")
            << int(InsertNullMenuBeforeMenu) << insertMenuWarning;
}

void TestActionManager::badInputIsRefused()
{
    QFETCH(int, call);
    QFETCH(QString, warning);

    ActionContainer *menu = keep(ActionManager::createMenuContainer("Menu", "Test.Menu"));
    ActionContainer *sub = keep(ActionManager::createMenuContainer("Sub", "Test.Sub"));
    ContextAction *kept = newCommand("Test.Kept");
    QAction *action = newAction("Bad");
    const int contextCount = ContextManager::getContexts().size();
    int added = 0;
    QObject receiver;
    connect(ActionManager::getInstance(), &ActionManager::commandAdded, &receiver,
            [&added] { ++added; });
    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));

    switch (BadCall(call)) {
    case RegisterNullAction:
        QCOMPARE(ActionManager::registerAction(nullptr, "Test.Bad", mainWindow()), nullptr);
        break;
    case RegisterEmptyId:
        QCOMPARE(ActionManager::registerAction(action, QString(), mainWindow()), nullptr);
        break;
    case RegisterNullContext:
        QCOMPARE(ActionManager::registerAction(action, "Test.Bad", nullptr), nullptr);
        break;
    case UnregisterNullAction:
        ActionManager::unregisterAction(nullptr, "Test.Kept");
        break;
    case UnregisterEmptyId:
        ActionManager::unregisterAction(action, QString());
        break;
    case RegisterContextWithoutWidget:
        ContextManager::registerContext(nullptr, "Test.Bad", "Bad");
        break;
    case InsertNullCommand:
        menu->insertAction(nullptr, kept);
        break;
    case InsertNullMenuBeforeCommand:
        menu->insertMenu(nullptr, kept);
        break;
    case InsertNullMenuBeforeMenu:
        menu->insertMenu(nullptr, sub);
        break;
    }

    QCOMPARE(ActionManager::getAction("Test.Bad"), nullptr);
    QCOMPARE(ActionManager::getAction(QString()), nullptr);
    QCOMPARE(ActionManager::getAction("Test.Kept"), kept);
    QCOMPARE(added, 0);
    QCOMPARE(ContextManager::getContexts().size(), contextCount);
    QVERIFY(menu->getMenu()->actions().isEmpty());
}
