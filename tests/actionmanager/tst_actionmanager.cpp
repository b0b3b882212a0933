#include "actioncontainer.h"
#include "actionmanager.h"
#include "contextaction.h"
#include "mainwindow.h"
#include "proxyaction.h"

#include "corefixture.h"
#include "settingsondisk.h"
#include "testmain.h"

#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QToolButton>

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

    // Every listener hears a switch, a tool bar's button included, and a registration that its
    // signals cause is not lost: the next switch moves that command as well.
    void registrationDuringSwitch()
    {
        QWidget *panel = newWidget();
        QAction *panelAction = newAction("Panel");
        panelAction->setEnabled(false);
        panelAction->setCheckable(true);
        panelAction->setChecked(true);
        ContextAction *alpha = newCommand("Test.Alpha");
        ActionManager::registerAction(panelAction, "Test.Alpha", panel);
        ActionManager::setContext(mainWindow());
        ContextAction *late = nullptr;
        QObject listener;
        connect(alpha->getAction(), &QAction::changed, &listener, [&] {
            if (!late)
                late = ActionManager::registerAction(newAction("Late"), "Test.Late", newWidget());
        });
        QSignalSpy toggled(alpha->getAction(), &QAction::toggled);
        QSignalSpy activeStateChanged(alpha, &ContextAction::activeStateChanged);
        QToolButton button;
        button.setDefaultAction(alpha->getAction());
        QVERIFY(button.isEnabled());

        ActionManager::setContext(panel);
        QVERIFY(!button.isEnabled());
        QVERIFY(late && proxyOf(late)->isEnabled());
        QCOMPARE(toggled.count(), 1);
        QCOMPARE(toggled.first().first(), QVariant(true));
        QCOMPARE(activeStateChanged.count(), 1);
        QVERIFY(!alpha->isActive());
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

private:
    MainWindow *mainWindow() const { return m_fixture->mainWindow(); }
    QAction *newAction(const QString &text) { return new QAction(text, m_owner.get()); }
    QWidget *newWidget() { return new QWidget(m_owner.get()); }
    ContextAction *newCommand(const QString &id, QAction *action = nullptr)
    {
        return ActionManager::registerAction(action ? action : newAction(id), id, mainWindow());
    }

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<QWidget> m_owner; // owns the test's actions and widgets outside the window
};

VELDRA_TEST_MAIN(TestActionManager)
#include "tst_actionmanager.moc"
