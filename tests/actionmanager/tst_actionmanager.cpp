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

ActionContainer *newContainer(bool isBar, const QString &id, const QString &title = "Menu")
{
    return isBar ? ActionManager::createMenuBarContainer(id)
                 : ActionManager::createMenuContainer(title, id);
}

ProxyAction *proxyOf(const ContextAction *command)
{
    return qobject_cast<ProxyAction *>(command->getAction());
}

} // namespace

// Contexts, proxy actions, commands, containers and the command registry with its shortcut store.
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
        QWidget *outer = newWidget();
        QWidget *inner = newWidget(outer);
        ContextManager::registerContext(outer, "Test.Outer", "Outer");
        ContextManager::registerContext(inner, "Test.Inner", "Inner");
        ContextManager::registerContext(inner, "Test.Later", "Later");
        const Context leaf = ContextManager::getActiveContext(newWidget(newWidget(inner)));
        QCOMPARE(leaf.widget, inner);
        QCOMPARE(leaf.id, QStringLiteral("Test.Inner"));
        for (QWidget *unregistered : {newWidget(), static_cast<QWidget *>(nullptr)}) {
            const Context global = ContextManager::getActiveContext(unregistered);
            QCOMPARE(global.widget, mainWindow());
            QCOMPARE(global.id + global.name, QStringLiteral("GlobalGlobal"));
        }

        QWidget *panel = newWidget();
        QWidget *other = newWidget();
        const int before = ContextManager::getContexts().size();
        ContextManager::registerContext(panel, "Test.First", "First");
        ContextManager::registerContext(panel, "Test.Second", "Second");
        ContextManager::registerContext(other, "Test.Second", "Other");
        const Context again =
                ContextManager::registerContext(Context{panel, "Test.First", "Again"});
        QCOMPARE(again.name, QStringLiteral("Again"));
        QCOMPARE(ContextManager::getContexts().size(), before + 3);
        QCOMPARE(ContextManager::getContextId(panel), QStringLiteral("Test.First"));
        QCOMPARE(ContextManager::getContextName(panel), QStringLiteral("First"));
        QCOMPARE(ContextManager::getContextName(QString("Test.Second")), QStringLiteral("Second"));

        ContextManager::unregisterContext(panel, "Test.Unknown");
        ContextManager::unregisterContext(panel, "Test.First");
        QCOMPARE(ContextManager::getContextId(panel), QStringLiteral("Test.Second"));
        ContextManager::unregisterContext(panel, "Test.Second");
        QCOMPARE(ContextManager::getContextWidget("Test.Second"), other);

        // Only the id decides what is global.
        QVERIFY(ContextManager::isGlobalContext(Context{panel, "Global", "Panel"}));
        QVERIFY(!ContextManager::isGlobalContext(Context{mainWindow(), "global", "Global"}));
        QCOMPARE(ContextManager::getContextWidget("Global"), nullptr);
        ContextManager::registerContext(panel, "Global", "Pretender");
        QCOMPARE(ContextManager::getContextWidget("Global"), panel);
    }

    void proxyFollowsAction_data()
    {
        QTest::addColumn<bool>("hideWhenDetached");
        QTest::newRow("no attribute") << false;
        QTest::newRow("HideWhenDetached") << true;
    }

    void proxyFollowsAction()
    {
        QFETCH(bool, hideWhenDetached);

        auto first = std::make_unique<QAction>();
        QAction second;
        first->setCheckable(true);
        ProxyAction proxy;
        QVERIFY(!proxy.isEnabled());
        if (hideWhenDetached)
            proxy.setAttribute(ProxyAction::HideWhenDetached);
        QCOMPARE(proxy.isVisible(), !hideWhenDetached);
        proxy.setAction(first.get());
        QVERIFY(proxy.isEnabled() && proxy.isVisible() && proxy.isCheckable());
        first->setEnabled(false);
        QVERIFY(!proxy.isEnabled());
        first->setEnabled(true);

        QSignalSpy firstTriggered(first.get(), &QAction::triggered);
        proxy.trigger();
        QCOMPARE(firstTriggered.count(), 1);
        QCOMPARE(firstTriggered.first().first().toBool(), true);
        QVERIFY(first->isChecked());
        first->setChecked(false);
        QVERIFY(!proxy.isChecked());
        proxy.setChecked(true);
        QVERIFY(first->isChecked());

        proxy.setEnabled(false);
        proxy.setAction(first.get());
        QVERIFY2(!proxy.isEnabled(), "following the same action again copied its state");
        second.setCheckable(true);
        QSignalSpy toggled(&proxy, &QAction::toggled);
        proxy.setAction(&second);
        QCOMPARE(toggled.count(), 1);
        first->setEnabled(false);
        QVERIFY(proxy.isEnabled());
        proxy.trigger();
        QCOMPARE(firstTriggered.count(), 1);
        proxy.setAction(nullptr);
        QVERIFY(!proxy.isEnabled());
        QCOMPARE(proxy.isVisible(), !hideWhenDetached);

        // Following an action again follows its changes again. A destroyed action leaves the
        // proxy as it was until something runs its state update.
        proxy.setAction(first.get());
        first->setEnabled(true);
        first.reset();
        QCOMPARE(proxy.action(), nullptr);
        proxy.setAction(nullptr);
        QVERIFY(proxy.isEnabled() && proxy.isVisible() && proxy.isChecked());
        proxy.setAttribute(ProxyAction::FollowIcon);
        QVERIFY(!proxy.isEnabled());
        QCOMPARE(proxy.isVisible(), !hideWhenDetached);
    }

    void initializeAndFollowTextAndIcon_data()
    {
        QTest::addColumn<bool>("followText"); // otherwise FollowIcon
        QTest::newRow("FollowText") << true;
        QTest::newRow("FollowIcon") << false;
    }

    void initializeAndFollowTextAndIcon()
    {
        QFETCH(bool, followText);

        QAction first("First");
        QAction second("Second");
        for (QAction *action : {&first, &second}) {
            for (const char *name : {"toolTip", "statusTip", "whatsThis", "iconText"})
                action->setProperty(name, action->text() + name);
            action->setIcon(QIcon(QPixmap(8, 8)));
        }
        first.setIconVisibleInMenu(false);
        first.setCheckable(true);
        first.setChecked(true);
        ProxyAction proxy;
        proxy.setAttribute(followText ? ProxyAction::FollowText : ProxyAction::FollowIcon);

        // Initialising copies once and connects nothing.
        proxy.initialize(&first);
        QVERIFY(proxy.isCheckable() && !proxy.isChecked() && !proxy.isEnabled());
        QSignalSpy firstTriggered(&first, &QAction::triggered);
        proxy.setEnabled(true);
        proxy.trigger();
        QCOMPARE(firstTriggered.count(), 0);

        // Re-pointing copies everything that differs at once: one changed() for all of it.
        QSignalSpy changed(&proxy, &QAction::changed);
        proxy.setAction(&second);
        QCOMPARE(changed.count(), 1);
        const QAction &textSource = followText ? second : first;
        for (const char *name : {"text", "toolTip", "statusTip", "whatsThis"})
            QCOMPARE(proxy.property(name), textSource.property(name));
        const QAction &iconSource = followText ? first : second;
        QCOMPARE(proxy.icon().cacheKey(), iconSource.icon().cacheKey());
        QCOMPARE(proxy.iconText(), iconSource.iconText());
        QCOMPARE(proxy.isIconVisibleInMenu(), iconSource.isIconVisibleInMenu());
        second.setText("Renamed");
        QCOMPARE(proxy.text(), followText ? QStringLiteral("Renamed") : QStringLiteral("First"));
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
        ContextAction *command =
                ActionManager::registerAction(mainAction, "Test.Alpha", mainWindow());
        QCOMPARE(ActionManager::registerAction(panelAction, "Test.Alpha", panel), command);
        QCOMPARE(ActionManager::registerAction(newAction("Ignored"), "Test.Alpha", panel), command);
        const QStringList registration = {"listChanged", "added Test.Alpha"};
        QCOMPARE(events, registration + registration + registration);
        QCOMPARE(proxyOf(command)->action(), panelAction);

        QPointer<QAction> proxy = command->getAction();
        QCOMPARE(proxy->objectName(), QStringLiteral("Test.Alpha"));
        QCOMPARE(proxy->shortcutContext(), Qt::ApplicationShortcut);
        QCOMPARE(mainWindow()->actions().count(proxy), 1);
        QCOMPARE(proxy->text(), QStringLiteral("Alpha"));
        command->setKeySequence(QKeySequence("Ctrl+Shift+A"));
        QCOMPARE(proxy->toolTip(), QStringLiteral("Alpha tip\tCtrl+Shift+A"));
        command->setKeySequence(QKeySequence());
        QCOMPARE(proxy->toolTip(), QStringLiteral("Alpha tip"));

        events.clear();
        ActionManager::unregisterAction(mainAction, "Test.Unknown");
        ActionManager::unregisterAction(mainAction, "Test.Alpha");
        QCOMPARE(events, QStringList{"listChanged"});
        QCOMPARE(ActionManager::getAction("Test.Alpha"), command);
        // The ignored action was never attached, so the panel's action is the last one.
        ActionManager::unregisterAction(panelAction, "Test.Alpha");
        QCOMPARE(events.size(), 2);
        QCOMPARE(ActionManager::getAction("Test.Alpha"), nullptr);
        QVERIFY(proxy.isNull());
        // Switching to the context the command had must not reach the destroyed command.
        ActionManager::setContext(panel);
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
        QTest::newRow("two plug-ins, in the first") << twoPlugins << "panel" << "panel";
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
        const QHash<QString, QWidget *> widgets = {
                {"main", mainWindow()}, {"panel", panel}, {"editor", newWidget()}};
        QWidget *stranger = newWidget();
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
        ActionManager::setContext(context == "stranger" ? stranger : widgets.value(context));
        QCOMPARE(proxyOf(command)->action(), actions.value(followed));
        QCOMPARE(proxyOf(command)->isEnabled(), !followed.isEmpty());
        proxyOf(command)->trigger();
        QCOMPARE(handled, followed.isEmpty() ? QStringList() : QStringList{followed});

        // A registration for a third widget moves the command there at once; the next switch,
        // even to the same context, brings it back in step with the registry.
        ActionManager::registerAction(newAction("Third"), "Test.Alpha", newWidget());
        ActionManager::setContext(context == "stranger" ? stranger : widgets.value(context));
        QCOMPARE(proxyOf(command)->action(), actions.value(followed));
    }

    void destroyedOverrideAction()
    {
        QWidget *panel = newWidget();
        QAction *mainAction = newAction("Main");
        auto panelAction = std::make_unique<QAction>("Panel");
        panelAction->setCheckable(true);
        panelAction->setChecked(true);
        ContextAction *command =
                ActionManager::registerAction(mainAction, "Test.Alpha", mainWindow());
        ActionManager::registerAction(panelAction.get(), "Test.Alpha", panel);
        ProxyAction *proxy = proxyOf(command);

        panelAction.reset();
        QCOMPARE(proxy->action(), nullptr);
        QVERIFY2(proxy->isEnabled() && proxy->isChecked(), "the last state was not kept");
        ActionManager::setContext(mainWindow());
        QCOMPARE(proxy->action(), mainAction);
        ActionManager::setContext(panel);
        QVERIFY2(!proxy->isEnabled(), "the destroyed entry of the panel should detach the proxy");

        // Unregistering any action drops the destroyed entry; the panel then uses the main action.
        ActionManager::unregisterAction(newAction("Unrelated"), "Test.Alpha");
        QCOMPARE(ActionManager::getAction("Test.Alpha"), command);
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
        ActionContainer *container = newContainer(isBar, id, "First");
        QWidget *wrapped =
                isBar ? static_cast<QWidget *>(container->getMenuBar()) : container->getMenu();
        QCOMPARE(container->getMenu() == nullptr, isBar);
        QCOMPARE(container->getMenuBar() == nullptr, !isBar);
        QCOMPARE(wrapped->objectName(), id);
        QCOMPARE(ActionManager::getActionContainer(id), container);
        QCOMPARE(newContainer(isBar, id, "Second"), container);
        if (!isBar)
            QCOMPARE(container->getMenu()->title(), QStringLiteral("First"));

        ContextAction *alpha = newCommand("Test.Alpha");
        ContextAction *beta = newCommand("Test.Beta");
        QAction *gammaAction = newAction("Gamma");
        ContextAction *gamma =
                ActionManager::registerAction(gammaAction, "Test.Gamma", mainWindow());
        ActionContainer *sub = newContainer(false, "Test.Sub");
        ActionContainer *other = newContainer(false, "Test.Other");
        ActionContainer *doomed = newContainer(false, "Test.Doomed");
        const std::unique_ptr<QMenu> doomedMenu(doomed->getMenu());
        container->insertAction(alpha);
        container->insertMenu(sub, nullptr);
        container->insertAction(gamma, alpha);
        container->insertMenu(other, sub);
        container->insertMenu(doomed, alpha);

        sub->insertAction(beta);
        QAction *created = nullptr;
        const QList<ContextAction *> separators = {container->insertSeparator(alpha, &created),
                                                   container->insertSeparator(other),
                                                   sub->insertSeparator(beta)};
        const int first = separators[0]->getId().section('.', 1).toInt();
        for (int i = 0; i < separators.size(); ++i) {
            QCOMPARE(separators[i]->getId(), QStringLiteral("Separator.%1").arg(first + i));
            QCOMPARE(ActionManager::getAction(separators[i]->getId()), separators[i]);
            QVERIFY(separators[i]->isSeparator());
        }
        QCOMPARE(proxyOf(separators[0])->action(), created);
        QAction manual("Manual");
        wrapped->addAction(&manual);
        QCOMPARE(wrapped->actions(),
                 (QList<QAction *>{gamma->getAction(), doomedMenu->menuAction(),
                                   separators[0]->getAction(), alpha->getAction(),
                                   separators[1]->getAction(), other->getMenu()->menuAction(),
                                   sub->getMenu()->menuAction(), &manual}));

        delete static_cast<QObject *>(doomed);
        ActionManager::unregisterAction(gammaAction, "Test.Gamma");
        QCOMPARE(ActionManager::getActionContainer("Test.Doomed"), nullptr);
        // Destroyed items are forgotten; untracked separators and foreign entries stay.
        container->clear();
        QCOMPARE(wrapped->actions(),
                 (QList<QAction *>{doomedMenu->menuAction(), separators[0]->getAction(),
                                   separators[1]->getAction(), &manual}));
        QCOMPARE(sub->getMenu()->actions(), QList<QAction *>{separators[2]->getAction()});
        QCOMPARE(ActionManager::getAction("Test.Alpha"), alpha);
        QCOMPARE(ActionManager::getActionContainer("Test.Sub"), sub);
    }

    void getActionsInIdOrder()
    {
        for (const char *id :
             {"Test.File.SaveAs", "Test.a", "Test.Edit.Preferences", "Test.File.Save", "Test.B"})
            newCommand(id);
        QStringList listed;
        for (const ContextAction *command : ActionManager::getActions())
            listed << command->getId();
        QCOMPARE(listed.filter("Test."),
                 (QStringList{"Test.B", "Test.Edit.Preferences", "Test.File.Save",
                              "Test.File.SaveAs", "Test.a"}));
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
        QCOMPARE(beta->getKeySequence(), QKeySequence("Ctrl+2"));
        alpha->setKeySequence(QKeySequence("Ctrl+7"));
        beta->setKeySequence(QKeySequence("Ctrl+8"));
        ActionManager::readFromSettings();
        QCOMPARE(alpha->getKeySequence(), alphaStored);
        QCOMPARE(beta->getKeySequence(),
                 stored.isEmpty() ? QKeySequence("Ctrl+2") : QKeySequence());

        // Separators are neither saved nor read; a cleared shortcut loses its key.
        ActionContainer *menu = newContainer(false, "Test.Menu");
        menu->insertAction(alpha);
        ContextAction *separator = menu->insertSeparator(alpha);
        separator->setKeySequence(QKeySequence("Ctrl+9"));
        const QString separatorKey = "Shortcuts/" + separator->getId();
        ActionManager::resetToDefault();
        ActionManager::saveSettings();
        alpha->setKeySequence(storedKey);
        ActionManager::saveSettings();
        settings->sync();
        QCOMPARE(valueOnDisk(settings->fileName(), "Shortcuts/Test.Alpha").isValid(),
                 !stored.isEmpty());
        QCOMPARE(valueOnDisk(settings->fileName(), "Shortcuts/Test.Alpha").toString(), stored);
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
        ActionContainer *menu = newContainer(false, "Test.Menu");
        ContextAction *kept = newCommand("Test.Kept");
        QAction *action = newAction("Bad");
        const int contextCount = ContextManager::getContexts().size();
        QSignalSpy added(ActionManager::getInstance(), &ActionManager::commandAdded);
        for (const char *pattern :
             {"^ActionManager::registerAction", "^ActionManager::registerAction",
              "^ActionManager::registerAction", "^ContextManager::registerContext",
              "^ActionContainer::insertAction", "^ActionContainer::insertMenu"})
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(pattern));

        QCOMPARE(ActionManager::registerAction(nullptr, "Test.Bad", mainWindow()), nullptr);
        QCOMPARE(ActionManager::registerAction(action, QString(), mainWindow()), nullptr);
        QCOMPARE(ActionManager::registerAction(action, "Test.Bad", nullptr), nullptr);
        ActionManager::unregisterAction(nullptr, "Test.Kept");
        ActionManager::unregisterAction(action, QString());
        ContextManager::registerContext(nullptr, "Test.Bad", "Bad");
        menu->insertAction(nullptr, kept);
        menu->insertMenu(nullptr, kept);

        QCOMPARE(ActionManager::getAction("Test.Kept"), kept);
        QCOMPARE(added.count(), 0);
        QCOMPARE(ContextManager::getContexts().size(), contextCount);
        QVERIFY(menu->getMenu()->actions().isEmpty());
    }

private:
    MainWindow *mainWindow() const { return m_fixture->mainWindow(); }
    QAction *newAction(const QString &text) { return new QAction(text, m_owner.get()); }
    QWidget *newWidget(QWidget *parent = nullptr)
    {
        return new QWidget(parent ? parent : m_owner.get());
    }
    ContextAction *newCommand(const QString &id)
    {
        return ActionManager::registerAction(newAction(id), id, mainWindow());
    }

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<QWidget> m_owner; // owns the test's actions and widgets outside the window
};

VELDRA_TEST_MAIN(TestActionManager)
#include "tst_actionmanager.moc"
