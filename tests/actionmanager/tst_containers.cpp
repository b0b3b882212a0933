#include "tst_actionmanager.h"

#include "actioncontainer.h"
#include "actionmanager.h"
#include "contextaction.h"
#include "mainwindow.h"
#include "proxyaction.h"

#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QtTest>

namespace {

QWidget *wrappedWidget(const ActionContainer *container)
{
    if (QMenu *menu = container->getMenu())
        return menu;
    return container->getMenuBar();
}

} // namespace

void TestActionManager::containerKinds_data()
{
    QTest::addColumn<bool>("isBar");
    QTest::newRow("menu") << false;
    QTest::newRow("menu bar") << true;
}

void TestActionManager::containerKinds()
{
    QFETCH(bool, isBar);

    const QString id = isBar ? "Test.MenuBar" : "Test.Menu";
    ActionContainer *container = keep(isBar ? ActionManager::createMenuBarContainer(id)
                                            : ActionManager::createMenuContainer("First", id));
    QCOMPARE(container->getMenu() == nullptr, isBar);
    QCOMPARE(container->getMenuBar() == nullptr, !isBar);
    QWidget *wrapped = wrappedWidget(container);
    QCOMPARE(wrapped->objectName(), id);
    QCOMPARE(wrapped->parent(), nullptr);
    QCOMPARE(ActionManager::getActionContainer(id), container);

    ActionContainer *again = isBar ? ActionManager::createMenuBarContainer(id)
                                   : ActionManager::createMenuContainer("Second", id);
    QCOMPARE(again, container);
    if (!isBar)
        QCOMPARE(container->getMenu()->title(), QStringLiteral("First"));
}

void TestActionManager::placesCommandsAndMenus_data()
{
    containerKinds_data();
}

void TestActionManager::placesCommandsAndMenus()
{
    QFETCH(bool, isBar);

    ActionContainer *container = keep(isBar ? ActionManager::createMenuBarContainer("Test.Bar")
                                            : ActionManager::createMenuContainer("M", "Test.Menu"));
    ContextAction *alpha = newCommand("Test.Alpha");
    ContextAction *beta = newCommand("Test.Beta");
    QList<ActionContainer *> subs;
    for (const QString &name : QStringList{"One", "Two", "Three"})
        subs << keep(ActionManager::createMenuContainer(name, "Test.Sub." + name));

    container->insertAction(alpha, nullptr);
    container->insertMenu(subs[0], nullptr);
    container->insertAction(beta, alpha);
    container->insertMenu(subs[1], subs[0]);
    container->insertMenu(subs[2], alpha);

    const QList<QAction *> expected = {beta->getAction(), subs[2]->getMenu()->menuAction(),
                                       alpha->getAction(), subs[1]->getMenu()->menuAction(),
                                       subs[0]->getMenu()->menuAction()};
    QCOMPARE(wrappedWidget(container)->actions(), expected);
}

void TestActionManager::separatorIdsAreConsecutive()
{
    ActionContainer *menu = keep(ActionManager::createMenuContainer("Menu", "Test.Menu"));
    ActionContainer *sub = keep(ActionManager::createMenuContainer("Sub", "Test.Sub"));
    ContextAction *alpha = newCommand("Test.Alpha");
    menu->insertAction(alpha);
    menu->insertMenu(sub);

    QAction *created = nullptr;
    QList<ContextAction *> separators;
    separators << menu->insertSeparator(alpha, &created);
    separators << menu->insertSeparator(sub);
    separators << menu->insertSeparator(alpha);

    const QRegularExpression idPattern("^Separator\\.(\\d+)$");
    QList<int> numbers;
    for (ContextAction *separator : qAsConst(separators)) {
        QVERIFY(separator);
        const QRegularExpressionMatch match = idPattern.match(separator->getId());
        QVERIFY2(match.hasMatch(), qPrintable(separator->getId()));
        numbers << match.captured(1).toInt();
        QCOMPARE(ActionManager::getAction(separator->getId()), separator);
        QVERIFY(separator->isSeparator());
        QVERIFY(separator->getAction()->isSeparator());
    }
    QCOMPARE(numbers[1], numbers[0] + 1);
    QCOMPARE(numbers[2], numbers[1] + 1);

    QVERIFY(created && created->isSeparator());
    QCOMPARE(created->parent(), menu);
    QCOMPARE(proxyOf(separators[0])->action(), created);

    const QList<QAction *> expected = {separators[0]->getAction(), separators[2]->getAction(),
                                       alpha->getAction(), separators[1]->getAction(),
                                       sub->getMenu()->menuAction()};
    QCOMPARE(menu->getMenu()->actions(), expected);
}

void TestActionManager::clearTakesOutTrackedItems_data()
{
    containerKinds_data();
}

void TestActionManager::clearTakesOutTrackedItems()
{
    QFETCH(bool, isBar);

    ActionContainer *container = keep(isBar ? ActionManager::createMenuBarContainer("Test.Bar")
                                            : ActionManager::createMenuContainer("M", "Test.Menu"));
    ActionContainer *sub = keep(ActionManager::createMenuContainer("Sub", "Test.Sub"));
    QAction *alphaAction = newAction("Alpha");
    ContextAction *alpha = ActionManager::registerAction(alphaAction, "Test.Alpha", mainWindow());
    ContextAction *beta = newCommand("Test.Beta");
    sub->insertAction(beta);
    ContextAction *subSeparator = sub->insertSeparator(beta);
    container->insertAction(alpha);
    container->insertMenu(sub);
    ContextAction *separator = container->insertSeparator(alpha);
    QAction manual("Manual");
    wrappedWidget(container)->addAction(&manual);

    container->clear();

    QCOMPARE(wrappedWidget(container)->actions(),
             (QList<QAction *>{separator->getAction(), &manual}));
    QCOMPARE(sub->getMenu()->actions(), QList<QAction *>{subSeparator->getAction()});
    QCOMPARE(ActionManager::getAction("Test.Alpha"), alpha);
    QCOMPARE(ActionManager::getAction("Test.Beta"), beta);
    QCOMPARE(ActionManager::getActionContainer("Test.Sub"), sub);

    // What clear() took out is no longer tracked, so destroying it leaves nothing dangling.
    ActionManager::unregisterAction(alphaAction, "Test.Alpha");
    container->clear();
    QCOMPARE(wrappedWidget(container)->actions().size(), 2);
}

void TestActionManager::deletedContainerIsForgotten()
{
    ActionContainer *parent = keep(ActionManager::createMenuContainer("Parent", "Test.Parent"));
    ActionContainer *doomed = ActionManager::createMenuContainer("Doomed", "Test.Doomed");
    std::unique_ptr<QMenu> doomedMenu(doomed->getMenu());
    parent->insertMenu(doomed);

    delete static_cast<QObject *>(doomed);
    QCOMPARE(ActionManager::getActionContainer("Test.Doomed"), nullptr);
    QCOMPARE(ActionManager::getActionContainer("Test.Parent"), parent);

    // The destroyed sub-container is no longer tracked: clear() leaves its menu alone.
    parent->clear();
    QCOMPARE(parent->getMenu()->actions(), QList<QAction *>{doomedMenu->menuAction()});

    ActionContainer *again = keep(ActionManager::createMenuContainer("Again", "Test.Doomed"));
    QCOMPARE(again->getMenu()->title(), QStringLiteral("Again"));
}
