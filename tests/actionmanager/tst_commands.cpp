#include "tst_actionmanager.h"

#include "actionmanager.h"
#include "contextaction.h"
#include "contextmanager.h"
#include "mainwindow.h"
#include "proxyaction.h"

#include <QLineEdit>
#include <QtTest>

void TestActionManager::registrationMakesOneCommandPerId()
{
    QAction *mainAction = newAction("Alpha");
    mainAction->setToolTip("Alpha tip");
    QAction *panelAction = newAction("Alpha in panel");
    ContextAction *command = ActionManager::registerAction(mainAction, "Test.Alpha", mainWindow());
    QVERIFY(command);
    QCOMPARE(ActionManager::registerAction(panelAction, "Test.Alpha", newWidget("panel")), command);
    QCOMPARE(ActionManager::getAction("Test.Alpha"), command);
    QCOMPARE(command->getId(), QStringLiteral("Test.Alpha"));

    QAction *proxy = command->getAction();
    QCOMPARE(proxy->objectName(), QStringLiteral("Test.Alpha"));
    QCOMPARE(proxy->shortcutContext(), Qt::ApplicationShortcut);
    QCOMPARE(mainWindow()->actions().count(proxy), 1);
    QCOMPARE(proxy->text(), QStringLiteral("Alpha"));

    command->setKeySequence(QKeySequence("Ctrl+Shift+A"));
    QCOMPARE(proxy->shortcut(), QKeySequence("Ctrl+Shift+A"));
    QCOMPARE(proxy->toolTip(), QStringLiteral("Alpha tip\tCtrl+Shift+A"));
}

void TestActionManager::firstActionForAContextWins()
{
    QWidget *panel = newWidget("panel");
    QAction *first = newAction("First");
    QAction *second = newAction("Second");
    ActionManager::registerAction(first, "Test.Alpha", panel);
    ContextAction *command = ActionManager::registerAction(second, "Test.Alpha", panel);
    ActionManager::setContext(panel);
    QCOMPARE(proxyOf(command)->action(), first);

    QSignalSpy secondTriggered(second, &QAction::triggered);
    command->getAction()->trigger();
    QCOMPARE(secondTriggered.count(), 0);

    // The ignored action was never attached, so this leaves the command without actions.
    ActionManager::unregisterAction(first, "Test.Alpha");
    QCOMPARE(ActionManager::getAction("Test.Alpha"), nullptr);
}

void TestActionManager::proxyFollowsOverrideOfContext_data()
{
    QTest::addColumn<bool>("onMainWindow");
    QTest::addColumn<bool>("onPanel");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("followed"); // empty: detached

    QTest::newRow("panel only, in panel") << false << true << "panel"
                                          << "panel";
    QTest::newRow("panel only, main window") << false << true << "main"
                                             << "";
    QTest::newRow("panel only, elsewhere") << false << true << "stranger"
                                           << "";
    QTest::newRow("panel only, no context") << false << true << "none"
                                            << "";
    QTest::newRow("both, in panel") << true << true << "panel"
                                    << "panel";
    QTest::newRow("both, main window") << true << true << "main"
                                       << "main";
    QTest::newRow("both, elsewhere") << true << true << "stranger"
                                     << "main";
    QTest::newRow("both, no context") << true << true << "none"
                                      << "main";
    QTest::newRow("main window only, in panel") << true << false << "panel"
                                                << "main";
}

void TestActionManager::proxyFollowsOverrideOfContext()
{
    QFETCH(bool, onMainWindow);
    QFETCH(bool, onPanel);
    QFETCH(QString, context);
    QFETCH(QString, followed);

    QWidget *panel = newWidget("panel");
    QWidget *stranger = newWidget("stranger");
    const QHash<QString, QWidget *> widgets = {
            {"panel", panel}, {"main", mainWindow()}, {"stranger", stranger}, {"none", nullptr}};
    const QHash<QString, QAction *> actions = {{"panel", newAction("Panel")},
                                               {"main", newAction("Main")}};
    ContextAction *command = nullptr;
    if (onMainWindow)
        command = ActionManager::registerAction(actions["main"], "Test.Alpha", mainWindow());
    if (onPanel)
        command = ActionManager::registerAction(actions["panel"], "Test.Alpha", panel);

    ActionManager::setContext(context == "panel" ? stranger : panel);
    ActionManager::setContext(widgets.value(context));
    ProxyAction *proxy = proxyOf(command);
    QCOMPARE(proxy->action(), actions.value(followed));
    QCOMPARE(proxy->isEnabled(), !followed.isEmpty());

    QSignalSpy mainTriggered(actions["main"], &QAction::triggered);
    QSignalSpy panelTriggered(actions["panel"], &QAction::triggered);
    proxy->trigger();
    QCOMPARE(mainTriggered.count(), int(followed == "main"));
    QCOMPARE(panelTriggered.count(), int(followed == "panel"));
}

void TestActionManager::focusMovesCommandsToContext()
{
    auto *panel = new QWidget(mainWindow());
    auto *inPanel = new QLineEdit(panel);
    auto *outside = new QLineEdit(mainWindow());
    outside->move(0, 100);
    ContextManager::registerContext(panel, "Test.Panel", "Panel");
    QAction *panelAction = newAction("Panel");
    ProxyAction *proxy = proxyOf(ActionManager::registerAction(panelAction, "Test.Alpha", panel));

    QVERIFY(giveFocus(outside));
    QCOMPARE(proxy->action(), nullptr);
    QVERIFY(!proxy->isEnabled());

    QVERIFY(giveFocus(inPanel));
    QCOMPARE(proxy->action(), panelAction);
    QVERIFY(proxy->isEnabled());

    QVERIFY(giveFocus(outside));
    QVERIFY(!proxy->isEnabled());
}

void TestActionManager::destroyedOverrideAction()
{
    QWidget *panel = newWidget("panel");
    QAction *mainAction = newAction("Main");
    auto panelAction = std::make_unique<QAction>("Panel");
    panelAction->setCheckable(true);
    panelAction->setChecked(true);
    ContextAction *command = ActionManager::registerAction(mainAction, "Test.Alpha", mainWindow());
    ActionManager::registerAction(panelAction.get(), "Test.Alpha", panel);
    ProxyAction *proxy = proxyOf(command);

    ActionManager::setContext(panel);
    panelAction.reset();
    QCOMPARE(proxy->action(), nullptr);
    QVERIFY2(proxy->isEnabled() && proxy->isChecked(), "the last state was not kept");
    QVERIFY(!command->isEmpty());

    ActionManager::setContext(mainWindow());
    QCOMPARE(proxy->action(), mainAction);
    ActionManager::setContext(panel);
    QVERIFY2(!proxy->isEnabled(), "the destroyed entry of the panel should detach the proxy");

    // Unregistering any action drops the destroyed entry; the panel then uses the main action.
    ActionManager::unregisterAction(newAction("Unrelated"), "Test.Alpha");
    QCOMPARE(ActionManager::getAction("Test.Alpha"), command);
    QCOMPARE(proxy->action(), mainAction);
    ActionManager::setContext(panel);
    QCOMPARE(proxy->action(), mainAction);
}
