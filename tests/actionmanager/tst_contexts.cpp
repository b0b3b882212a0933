#include "tst_actionmanager.h"

#include "actionmanager.h"
#include "contextaction.h"
#include "contextmanager.h"
#include "mainwindow.h"
#include "proxyaction.h"

#include <QLineEdit>
#include <QtTest>

void TestActionManager::activeContextIsNearestRegisteredAncestor_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("context"); // widget of the expected context; empty: main window
    QTest::addColumn<QString>("id");

    QTest::newRow("the widget itself") << "inner"
                                       << "inner"
                                       << "Test.Inner";
    QTest::newRow("its parent") << "leaf"
                                << "inner"
                                << "Test.Inner";
    QTest::newRow("its grandparent") << "grandLeaf"
                                     << "inner"
                                     << "Test.Inner";
    QTest::newRow("outer ancestor") << "sibling"
                                    << "outer"
                                    << "Test.Outer";
    QTest::newRow("nothing registered above") << "stranger"
                                              << ""
                                              << "Global";
    QTest::newRow("null widget") << ""
                                 << ""
                                 << "Global";
}

void TestActionManager::activeContextIsNearestRegisteredAncestor()
{
    QFETCH(QString, widget);
    QFETCH(QString, context);
    QFETCH(QString, id);

    QWidget *outer = newWidget("outer");
    QWidget *inner = newWidget("inner", outer);
    newWidget("grandLeaf", newWidget("leaf", inner));
    newWidget("sibling", outer);
    newWidget("stranger");
    ContextManager::registerContext(outer, "Test.Outer", "outer");
    ContextManager::registerContext(inner, "Test.Inner", "inner");

    QWidget *focus = widget.isEmpty() ? nullptr : m_widgets->findChild<QWidget *>(widget);
    const Context active = ContextManager::getActiveContext(focus);
    QCOMPARE(active.id, id);
    if (context.isEmpty()) {
        QCOMPARE(active.widget, mainWindow());
        QCOMPARE(active.name, QStringLiteral("Global"));
        QVERIFY(ContextManager::isGlobalContext(active));
    } else {
        QCOMPARE(active.widget, m_widgets->findChild<QWidget *>(context));
        QCOMPARE(active.name, context);
    }
}

void TestActionManager::firstContextOfAWidgetWins()
{
    QWidget *panel = newWidget("panel");
    QWidget *child = newWidget("child", panel);
    ContextManager::registerContext(panel, "Test.First", "First");
    ContextManager::registerContext(panel, "Test.Second", "Second");

    QCOMPARE(ContextManager::getActiveContext(child).id, QStringLiteral("Test.First"));
    QCOMPARE(ContextManager::getContextId(panel), QStringLiteral("Test.First"));
    QCOMPARE(ContextManager::getContextName(panel), QStringLiteral("First"));
    QCOMPARE(ContextManager::getContextName(QStringLiteral("Test.Second")),
             QStringLiteral("Second"));
}

void TestActionManager::duplicateContextKeepsFirstName()
{
    QWidget *panel = newWidget("panel");
    ContextManager::registerContext(panel, "Test.Panel", "First");
    const Context again = ContextManager::registerContext(Context{panel, "Test.Panel", "Second"});

    QCOMPARE(again.name, QStringLiteral("Second"));
    QCOMPARE(again.widget, panel);
    const QList<Context> contexts = ContextManager::getContexts();
    const auto onPanel = [panel](const Context &c) { return c.widget == panel; };
    QCOMPARE(int(std::count_if(contexts.cbegin(), contexts.cend(), onPanel)), 1);
    QCOMPARE(ContextManager::getContextName(panel), QStringLiteral("First"));
}

void TestActionManager::unregisterContext()
{
    QWidget *panel = newWidget("panel");
    QWidget *child = newWidget("child", panel);
    QWidget *other = newWidget("other");
    ContextManager::registerContext(panel, "Test.Panel", "Panel");
    ContextManager::registerContext(other, "Test.Panel", "Other");

    ContextManager::unregisterContext(panel, "Test.Other");
    QCOMPARE(ContextManager::getActiveContext(child).widget, panel);

    ContextManager::unregisterContext(panel, "Test.Panel");
    QCOMPARE(ContextManager::getActiveContext(child).id, QStringLiteral("Global"));
    QCOMPARE(ContextManager::getContextWidget("Test.Panel"), other);
}

void TestActionManager::isGlobalContextComparesIdOnly_data()
{
    QTest::addColumn<bool>("onMainWindow");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("global");

    QTest::newRow("Global id, other widget and name") << false << "Global"
                                                      << "Panel" << true;
    QTest::newRow("Global id, main window") << true << "Global"
                                            << "" << true;
    QTest::newRow("other id, Global name") << true << "Test.Panel"
                                           << "Global" << false;
    QTest::newRow("id in other case") << true << "global"
                                      << "Global" << false;
    QTest::newRow("empty id") << true << ""
                              << "Global" << false;
}

void TestActionManager::isGlobalContextComparesIdOnly()
{
    QFETCH(bool, onMainWindow);
    QFETCH(QString, id);
    QFETCH(QString, name);
    QFETCH(bool, global);

    QWidget *widget = onMainWindow ? mainWindow() : newWidget("panel");
    QCOMPARE(ContextManager::isGlobalContext(Context{widget, id, name}), global);
}

void TestActionManager::lookupMissesAreEmpty()
{
    QWidget *stranger = newWidget("stranger");
    const QStringList misses = {ContextManager::getContextId(stranger),
                                ContextManager::getContextName(stranger),
                                ContextManager::getContextName(QStringLiteral("Test.Unknown"))};
    for (const QString &miss : misses) {
        QVERIFY(miss.isEmpty());
        QVERIFY(!miss.isNull());
    }
    QCOMPARE(ContextManager::getContextWidget("Global"), nullptr);

    ContextManager::registerContext(stranger, "Global", "Pretender");
    QCOMPARE(ContextManager::getContextWidget("Global"), stranger);
}

void TestActionManager::emptyContextIdDoesNotSwitchCommands_data()
{
    QTest::addColumn<QString>("contextId");
    QTest::addColumn<bool>("switches");

    QTest::newRow("empty id") << "" << false;
    QTest::newRow("named id") << "Test.Panel" << true;
}

void TestActionManager::emptyContextIdDoesNotSwitchCommands()
{
    QFETCH(QString, contextId);
    QFETCH(bool, switches);

    auto *panel = new QLineEdit(mainWindow());
    auto *elsewhere = new QLineEdit(mainWindow());
    ContextManager::registerContext(panel, contextId, "Panel");
    ContextManager::registerContext(elsewhere, "Test.Elsewhere", "Elsewhere");
    QAction *mainAction = newAction("Main");
    QAction *panelAction = newAction("Panel");
    ActionManager::registerAction(mainAction, "Test.Alpha", mainWindow());
    ProxyAction *proxy = proxyOf(ActionManager::registerAction(panelAction, "Test.Alpha", panel));

    QVERIFY(giveFocus(elsewhere));
    QCOMPARE(proxy->action(), mainAction);
    QVERIFY(giveFocus(panel));
    QCOMPARE(ContextManager::getActiveContext(panel).widget, panel);
    QCOMPARE(proxy->action(), switches ? panelAction : mainAction);
}
