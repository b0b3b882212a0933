#include "actioncontainer.h"
#include "actionmanager.h"
#include "contextaction.h"
#include "contextmanager.h"
#include "mainwindow.h"
#include "proxyaction.h"

#include "corefixture.h"
#include "settingsondisk.h"
#include "testmain.h"

#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

#include <memory>

namespace {

ProxyAction *proxyOf(const ContextAction *command)
{
    return qobject_cast<ProxyAction *>(command->getAction());
}

} // namespace

class TestActionManager : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_fixture = std::make_unique<CoreFixture>();
        m_owner = std::make_unique<QWidget>();
    }
    void cleanup()
    {
        m_owner.reset();
        m_fixture.reset();
    }

    void contexts()
    {
        QWidget *panel = newWidget();
        QWidget *other = newWidget();
        ContextManager::registerContext(panel, "Test.First", "First");
        ContextManager::registerContext(panel, "Test.Second", "Second");
        ContextManager::registerContext(other, "Test.Second", "Other");
        const Context leaf = ContextManager::getActiveContext(newWidget(newWidget(panel)));
        QCOMPARE(leaf.widget, panel);
        QCOMPARE(leaf.id, QStringLiteral("Test.First"));
        const Context global = ContextManager::getActiveContext(newWidget());
        QCOMPARE(global.widget, mainWindow());
        QCOMPARE(global.id + global.name, QStringLiteral("GlobalGlobal"));
        QCOMPARE(ContextManager::getContextName(QString("Test.Second")), QStringLiteral("Second"));

        ContextManager::unregisterContext(panel, "Test.First");
        QCOMPARE(ContextManager::getContextId(panel), QStringLiteral("Test.Second"));
        ContextManager::unregisterContext(panel, "Test.Second");
        QCOMPARE(ContextManager::getContextWidget("Test.Second"), other);
        // Only the id decides what is global.
        QVERIFY(ContextManager::isGlobalContext(Context{panel, "Global", "Panel"}));
        QVERIFY(!ContextManager::isGlobalContext(Context{mainWindow(), "global", "Global"}));
    }

    void proxyFollowsAction_data()
    {
        QTest::addColumn<bool>("followText"); // otherwise FollowIcon
        QTest::newRow("FollowText") << true;
        QTest::newRow("FollowIcon") << false;
    }

    void proxyFollowsAction()
    {
        QFETCH(bool, followText);

        QAction first("First");
        QAction second("Second");
        for (QAction *action : {&first, &second}) {
            action->setToolTip(action->text() + "tip");
            action->setIconText(action->text() + "icon");
            action->setIcon(QIcon(QPixmap(8, 8)));
            action->setCheckable(true);
        }
        ProxyAction proxy;
        proxy.setAttribute(followText ? ProxyAction::FollowText : ProxyAction::FollowIcon);
        proxy.setAttribute(ProxyAction::HideWhenDetached);
        QVERIFY(!proxy.isVisible());

        // Initialising copies once and connects nothing.
        proxy.initialize(&first);
        QVERIFY(proxy.isCheckable() && !proxy.isEnabled());
        QSignalSpy firstTriggered(&first, &QAction::triggered);
        proxy.setEnabled(true);
        proxy.trigger();
        QCOMPARE(firstTriggered.count(), 0);

        // Re-pointing copies everything that differs at once: one changed() for all of it.
        QSignalSpy changed(&proxy, &QAction::changed);
        proxy.setAction(&second);
        QCOMPARE(changed.count(), 1);
        const QAction &textSource = followText ? second : first;
        const QAction &iconSource = followText ? first : second;
        QCOMPARE(proxy.toolTip(), textSource.toolTip());
        QCOMPARE(proxy.icon().cacheKey(), iconSource.icon().cacheKey());
        QCOMPARE(proxy.iconText(), iconSource.iconText());
        second.setText("Renamed");
        QCOMPARE(proxy.text(), followText ? QStringLiteral("Renamed") : QStringLiteral("First"));

        // The state follows, and the proxy drives the action it follows.
        second.setEnabled(false);
        QVERIFY(!proxy.isEnabled());
        second.setEnabled(true);
        QSignalSpy secondTriggered(&second, &QAction::triggered);
        proxy.trigger();
        QCOMPARE(secondTriggered.count(), 1);
        QVERIFY(second.isChecked());
        proxy.setChecked(false);
        QVERIFY(!second.isChecked());
        proxy.setAction(nullptr);
        QVERIFY(!proxy.isEnabled() && !proxy.isVisible());
    }

    void commandLifeCycle()
    {
        QStringList events;
        QObject receiver;
        connect(ActionManager::getInstance(), &ActionManager::commandListChanged, &receiver,
                [&events] { events << "listChanged"; });
        connect(ActionManager::getInstance(), &ActionManager::commandAdded, &receiver,
                [&events](const QString &id) { events << "added " + id; });
        QAction *mainAction = newAction("Alpha");
        mainAction->setToolTip("Alpha tip");
        QAction *panelAction = newAction("Panel");
        QWidget *panel = newWidget();
        ContextAction *command = newCommand("Test.Alpha", mainAction);
        QCOMPARE(ActionManager::registerAction(panelAction, "Test.Alpha", panel), command);
        QCOMPARE(events, QStringList({"listChanged", "added Test.Alpha", "listChanged",
                                      "added Test.Alpha"}));
        QCOMPARE(proxyOf(command)->action(), panelAction);

        QPointer<QAction> proxy = command->getAction();
        QCOMPARE(proxy->objectName(), QStringLiteral("Test.Alpha"));
        QCOMPARE(proxy->shortcutContext(), Qt::ApplicationShortcut);
        QCOMPARE(mainWindow()->actions().count(proxy), 1);
        QCOMPARE(proxy->text(), QStringLiteral("Alpha"));
        command->setKeySequence(QKeySequence("Ctrl+Shift+A"));
        QCOMPARE(proxy->toolTip(), QStringLiteral("Alpha tip\tCtrl+Shift+A"));

        events.clear();
        ActionManager::unregisterAction(mainAction, "Test.Alpha");
        QCOMPARE(events, QStringList{"listChanged"});
        QCOMPARE(ActionManager::getAction("Test.Alpha"), command);
        ActionManager::unregisterAction(panelAction, "Test.Alpha");
        QCOMPARE(ActionManager::getAction("Test.Alpha"), nullptr);
        QVERIFY(proxy.isNull());
        // Switching to the context the command had must not reach the destroyed command.
        ActionManager::setContext(panel);

        for (const char *id : {"Test.a", "Test.File.Save", "Test.B"})
            newCommand(id);
        QStringList listed;
        for (const ContextAction *each : ActionManager::getActions())
            listed << each->getId();
        QCOMPARE(listed.filter("Test."), QStringList({"Test.B", "Test.File.Save", "Test.a"}));
    }

    void proxyFollowsOverrideOfContext_data()
    {
        QTest::addColumn<QStringList>("implementers"); // contexts with their own action
        QTest::addColumn<QString>("context");          // "none": null
        QTest::addColumn<QString>("followed");         // empty: detached
        const QStringList both = {"main", "panel"};
        const QStringList twoPlugins = {"panel", "editor"};
        // clang-format off
        QTest::newRow("panel only, in panel") << QStringList{"panel"} << "panel" << "panel";
        QTest::newRow("panel only, elsewhere") << QStringList{"panel"} << "stranger" << "";
        QTest::newRow("both, in panel") << both << "panel" << "panel";
        QTest::newRow("both, elsewhere") << both << "stranger" << "main";
        QTest::newRow("both, no context") << both << "none" << "main";
        QTest::newRow("main window only, in panel") << QStringList{"main"} << "panel" << "main";
        QTest::newRow("two plug-ins, in the second") << twoPlugins << "editor" << "editor";
        // clang-format on
    }

    // The proxy follows the implementation of the focus context, and triggering it runs that
    // implementation's handler alone.
    void proxyFollowsOverrideOfContext()
    {
        QFETCH(QStringList, implementers);
        QFETCH(QString, context);
        QFETCH(QString, followed);

        QWidget *panel = newWidget();
        QWidget *stranger = newWidget();
        const QHash<QString, QWidget *> widgets = {{"main", mainWindow()},
                                                   {"panel", panel},
                                                   {"editor", newWidget()},
                                                   {"stranger", stranger}};
        QHash<QString, QAction *> actions;
        QStringList handled;
        ContextAction *command = nullptr;
        for (const QString &implementer : implementers) {
            QAction *action = actions[implementer] = newAction(implementer);
            connect(action, &QAction::triggered, this,
                    [&handled, implementer] { handled << implementer; });
            command = ActionManager::registerAction(action, "Test.Alpha", widgets[implementer]);
        }

        // Start elsewhere, so that the proxy has to move.
        ActionManager::setContext(context == "panel" ? stranger : panel);
        ActionManager::setContext(widgets.value(context));
        QCOMPARE(proxyOf(command)->action(), actions.value(followed));
        QCOMPARE(proxyOf(command)->isEnabled(), !followed.isEmpty());
        proxyOf(command)->trigger();
        QCOMPARE(handled, followed.isEmpty() ? QStringList() : QStringList{followed});

        // A registration for a third widget moves the command there at once; the next switch,
        // even to the same context, brings it back in step with the registry.
        ActionManager::registerAction(newAction("Third"), "Test.Alpha", newWidget());
        ActionManager::setContext(widgets.value(context));
        QCOMPARE(proxyOf(command)->action(), actions.value(followed));
    }

    void destroyedOverrideAction()
    {
        QWidget *panel = newWidget();
        QAction *mainAction = newAction("Main");
        auto panelAction = std::make_unique<QAction>("Panel");
        ContextAction *command = newCommand("Test.Alpha", mainAction);
        ActionManager::registerAction(panelAction.get(), "Test.Alpha", panel);
        ProxyAction *proxy = proxyOf(command);

        panelAction.reset();
        QCOMPARE(proxy->action(), nullptr);
        QVERIFY2(proxy->isEnabled(), "the last state was not kept");
        ActionManager::setContext(mainWindow());
        QCOMPARE(proxy->action(), mainAction);
        ActionManager::setContext(panel);
        QVERIFY2(!proxy->isEnabled(), "the destroyed entry of the panel should detach the proxy");
        // Unregistering any action drops the destroyed entry; the panel then uses the main action.
        ActionManager::unregisterAction(newAction("Unrelated"), "Test.Alpha");
        QCOMPARE(proxy->action(), mainAction);
    }

    // A registration that the signals of a switch cause is not lost: the next switch moves that
    // command as well.
    void registrationDuringSwitch()
    {
        QWidget *panel = newWidget();
        QAction *panelAction = newAction("Panel");
        panelAction->setEnabled(false);
        ContextAction *alpha = newCommand("Test.Alpha");
        ActionManager::registerAction(panelAction, "Test.Alpha", panel);
        ActionManager::setContext(mainWindow());
        ContextAction *late = nullptr;
        QObject listener;
        connect(alpha->getAction(), &QAction::changed, &listener, [&] {
            if (!late)
                late = ActionManager::registerAction(newAction("Late"), "Test.Late", newWidget());
        });

        ActionManager::setContext(panel);
        QVERIFY(late && proxyOf(late)->isEnabled());
        ActionManager::setContext(mainWindow());
        QVERIFY2(!proxyOf(late)->isEnabled(), "the command registered meanwhile was not moved");
    }

    void containerPlacesAndClears_data()
    {
        QTest::addColumn<bool>("isBar");
        QTest::newRow("menu") << false;
        QTest::newRow("menu bar") << true;
    }

    void containerPlacesAndClears()
    {
        QFETCH(bool, isBar);

        const QString id = isBar ? "Test.Bar" : "Test.Menu";
        ActionContainer *container = isBar ? ActionManager::createMenuBarContainer(id)
                                           : ActionManager::createMenuContainer("First", id);
        QWidget *wrapped =
                isBar ? static_cast<QWidget *>(container->getMenuBar()) : container->getMenu();
        QCOMPARE(wrapped->objectName(), id);
        QCOMPARE(ActionManager::getActionContainer(id), container);
        QCOMPARE(isBar ? ActionManager::createMenuBarContainer(id)
                       : ActionManager::createMenuContainer("Second", id),
                 container);
        QCOMPARE(wrapped->property("title").toString(), isBar ? "" : "First");
        delete static_cast<QObject *>(ActionManager::createMenuContainer("Doomed", "Test.Doomed"));
        QCOMPARE(ActionManager::getActionContainer("Test.Doomed"), nullptr);

        ContextAction *alpha = newCommand("Test.Alpha");
        ContextAction *beta = newCommand("Test.Beta");
        QAction *gammaAction = newAction("Gamma");
        ContextAction *gamma = newCommand("Test.Gamma", gammaAction);
        ActionContainer *sub = ActionManager::createMenuContainer("Sub", "Test.Sub");
        ActionContainer *other = ActionManager::createMenuContainer("Other", "Test.Other");
        container->insertAction(alpha);
        container->insertMenu(sub, nullptr);
        container->insertAction(gamma, alpha);
        container->insertMenu(other, sub);
        sub->insertAction(beta);
        QAction *created = nullptr;
        const QList<ContextAction *> separators = {container->insertSeparator(alpha, &created),
                                                   sub->insertSeparator(beta)};
        const int first = separators[0]->getId().section('.', 1).toInt();
        QCOMPARE(separators[1]->getId(), QStringLiteral("Separator.%1").arg(first + 1));
        QCOMPARE(ActionManager::getAction(separators[1]->getId()), separators[1]);
        QVERIFY(separators[0]->isSeparator());
        QCOMPARE(proxyOf(separators[0])->action(), created);
        QAction manual("Manual");
        wrapped->addAction(&manual);
        QCOMPARE(wrapped->actions(),
                 (QList<QAction *>{gamma->getAction(), separators[0]->getAction(),
                                   alpha->getAction(), other->getMenu()->menuAction(),
                                   sub->getMenu()->menuAction(), &manual}));

        ActionManager::unregisterAction(gammaAction, "Test.Gamma");
        // Destroyed items are forgotten; untracked separators and foreign entries stay.
        container->clear();
        QCOMPARE(wrapped->actions(), (QList<QAction *>{separators[0]->getAction(), &manual}));
        QCOMPARE(sub->getMenu()->actions(), QList<QAction *>{separators[1]->getAction()});
        QCOMPARE(ActionManager::getAction("Test.Alpha"), alpha);
    }

    void shortcutStore_data()
    {
        QTest::addColumn<QString>("stored"); // of Test.Alpha, portable; empty: the group is empty
        QTest::newRow("empty group restores defaults") << "";
        QTest::newRow("one chord") << "Ctrl+Shift+F5";
        QTest::newRow("two chords") << "Ctrl+K, Ctrl+C";
    }

    void shortcutStore()
    {
        QFETCH(QString, stored);
        const QKeySequence storedKey = QKeySequence::fromString(stored, QKeySequence::PortableText);
        QSettings *settings = m_fixture->userSettings();

        // Registration reads the stored shortcut; a default fills in only an empty one.
        if (!stored.isEmpty())
            settings->setValue("Shortcuts/Test.Alpha", stored);
        ContextAction *alpha = newCommand("Test.Alpha");
        ContextAction *beta = newCommand("Test.Beta");
        alpha->setDefaultKeySequence(QKeySequence("Ctrl+1"));
        beta->setDefaultKeySequence(QKeySequence("Ctrl+2"));
        const QKeySequence alphaStored = stored.isEmpty() ? QKeySequence("Ctrl+1") : storedKey;
        QCOMPARE(alpha->getKeySequence(), alphaStored);
        alpha->setKeySequence(QKeySequence("Ctrl+7"));
        beta->setKeySequence(QKeySequence("Ctrl+8"));
        ActionManager::readFromSettings();
        QCOMPARE(alpha->getKeySequence(), alphaStored);
        QCOMPARE(beta->getKeySequence(),
                 stored.isEmpty() ? QKeySequence("Ctrl+2") : QKeySequence());

        // Separators are neither saved nor read; a cleared shortcut loses its key.
        ActionContainer *menu = ActionManager::createMenuContainer("Menu", "Test.Menu");
        menu->insertAction(alpha);
        ContextAction *separator = menu->insertSeparator(alpha);
        separator->setKeySequence(QKeySequence("Ctrl+9"));
        const QString separatorKey = "Shortcuts/" + separator->getId();
        ActionManager::resetToDefault();
        ActionManager::saveSettings();
        alpha->setKeySequence(storedKey);
        ActionManager::saveSettings();
        settings->sync();
        const QVariant onDisk = valueOnDisk(settings->fileName(), "Shortcuts/Test.Alpha");
        QCOMPARE(onDisk.isValid(), !stored.isEmpty());
        QCOMPARE(onDisk.toString(), stored);
        QVERIFY(!valueOnDisk(settings->fileName(), separatorKey).isValid());
        alpha->setKeySequence(QKeySequence("Ctrl+2"));
        settings->setValue(separatorKey, "Ctrl+8");
        ActionManager::readFromSettings();
        QCOMPARE(alpha->getKeySequence(), storedKey);
        ActionManager::resetToDefault();
        QCOMPARE(alpha->getKeySequence(), QKeySequence("Ctrl+1"));
        QCOMPARE(separator->getKeySequence(), QKeySequence("Ctrl+9"));
    }

    void badInputIsRefused()
    {
        ActionContainer *menu = ActionManager::createMenuContainer("Menu", "Test.Menu");
        ContextAction *kept = newCommand("Test.Kept");
        QSignalSpy added(ActionManager::getInstance(), &ActionManager::commandAdded);
        for (const char *pattern :
             {"^ActionManager::registerAction", "^ActionManager::registerAction",
              "^ActionContainer::insertAction"})
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(pattern));
        QCOMPARE(ActionManager::registerAction(nullptr, "Test.Bad", mainWindow()), nullptr);
        QCOMPARE(ActionManager::registerAction(newAction("Bad"), "Test.Bad", nullptr), nullptr);
        ActionManager::unregisterAction(nullptr, "Test.Kept");
        menu->insertAction(nullptr, kept);
        QCOMPARE(ActionManager::getAction("Test.Kept"), kept);
        QCOMPARE(added.count(), 0);
        QVERIFY(menu->getMenu()->actions().isEmpty());
    }

private:
    MainWindow *mainWindow() const { return m_fixture->mainWindow(); }
    QAction *newAction(const QString &text) { return new QAction(text, m_owner.get()); }
    QWidget *newWidget(QWidget *parent = nullptr)
    {
        return new QWidget(parent ? parent : m_owner.get());
    }
    ContextAction *newCommand(const QString &id, QAction *action = nullptr)
    {
        return ActionManager::registerAction(action ? action : newAction(id), id, mainWindow());
    }

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<QWidget> m_owner; // owns the test's actions and widgets outside the window
};

VELDRA_TEST_MAIN(TestActionManager)
#include "tst_actionmanager.moc"
