#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariant>

#include <memory>

class ActionContainer;
class ContextAction;
class CoreFixture;
class MainWindow;
class ProxyAction;

QT_BEGIN_NAMESPACE
class QAction;
class QWidget;
QT_END_NAMESPACE

/*
 * Contexts, proxy actions, commands, containers and the command registry with its shortcut
 * store. The test functions live in one source file per area (contexts, proxy, commands,
 * containers, registry); this file declares them together since they share one fixture.
 */
class TestActionManager : public QObject
{
    Q_OBJECT

public:
    TestActionManager();
    ~TestActionManager() override;

private slots:
    void init();
    void cleanup();

    // tst_contexts.cpp
    void activeContextIsNearestRegisteredAncestor_data();
    void activeContextIsNearestRegisteredAncestor();
    void firstContextOfAWidgetWins();
    void duplicateContextKeepsFirstName();
    void unregisterContext();
    void isGlobalContextComparesIdOnly_data();
    void isGlobalContextComparesIdOnly();
    void lookupMissesAreEmpty();
    void emptyContextIdDoesNotSwitchCommands_data();
    void emptyContextIdDoesNotSwitchCommands();

    // tst_proxy.cpp
    void newProxyIsDetached();
    void initializeCopiesWithoutConnecting();
    void proxyMirrorsFollowedAction_data();
    void proxyMirrorsFollowedAction();
    void proxyForwardsTriggerAndCheck();
    void setActionConnectsOnlyTheFollowedAction();
    void detachedProxy_data();
    void detachedProxy();
    void followTextAndIcon_data();
    void followTextAndIcon();
    void toolTipShowsShortcut_data();
    void toolTipShowsShortcut();
    void destroyedFollowedActionLeavesLastState();

    // tst_commands.cpp
    void registrationMakesOneCommandPerId();
    void firstActionForAContextWins();
    void proxyFollowsOverrideOfContext_data();
    void proxyFollowsOverrideOfContext();
    void focusMovesCommandsToContext();
    void destroyedOverrideAction();

    // tst_containers.cpp
    void containerKinds_data();
    void containerKinds();
    void placesCommandsAndMenus_data();
    void placesCommandsAndMenus();
    void separatorIdsAreConsecutive();
    void clearTakesOutTrackedItems_data();
    void clearTakesOutTrackedItems();
    void deletedContainerIsForgotten();

    // tst_registry.cpp
    void registrySignals();
    void getActionsInIdOrder();
    void lastUnregistrationRemovesCommandEverywhere();
    void savedShortcutRoundTrip_data();
    void savedShortcutRoundTrip();
    void readFromSettings_data();
    void readFromSettings();
    void storedShortcutWinsOverDefault();
    void separatorsAreNotStored();
    void badInputIsRefused_data();
    void badInputIsRefused();

private:
    MainWindow *mainWindow() const;
    // An action owned by the test function.
    QAction *newAction(const QString &text);
    // A widget outside the main window, owned by the test function.
    QWidget *newWidget(const QString &name, QWidget *parent = nullptr);
    // A command with one action registered for the main window.
    ContextAction *newCommand(const QString &id);
    // Deletes the container and its menu or menu bar after the test function.
    ActionContainer *keep(ActionContainer *container);
    static ProxyAction *proxyOf(const ContextAction *command);
    bool giveFocus(QWidget *widget);
    // Syncs the user store, then reads a key from its file as a new process would.
    QVariant storedValue(const QString &key) const;

    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<QObject> m_actions;
    std::unique_ptr<QWidget> m_widgets;
    QList<QPointer<ActionContainer>> m_containers;
};
