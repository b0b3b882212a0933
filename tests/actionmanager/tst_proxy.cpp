#include "tst_actionmanager.h"

#include "proxyaction.h"

#include <QtTest>

namespace {

QIcon colouredIcon(Qt::GlobalColor colour)
{
    QPixmap pixmap(8, 8);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

void describe(QAction *action, const QString &name, Qt::GlobalColor colour)
{
    action->setText(name);
    action->setToolTip(name + " tip");
    action->setStatusTip(name + " status");
    action->setWhatsThis(name + " help");
    action->setIcon(colouredIcon(colour));
    action->setIconText(name + " icon");
}

} // namespace

void TestActionManager::newProxyIsDetached()
{
    ProxyAction proxy(nullptr);
    QVERIFY(!proxy.isEnabled());
    QVERIFY(proxy.isVisible());
    QCOMPARE(proxy.action(), nullptr);
    QVERIFY(!proxy.shortcutVisibleInToolTip());
    const auto anyAttribute = ProxyAction::Attribute(
            int(ProxyAction::HideWhenDetached | ProxyAction::FollowText | ProxyAction::FollowIcon));
    QVERIFY(!proxy.hasAttribute(anyAttribute));
    proxy.setAttribute(ProxyAction::FollowIcon);
    QVERIFY(proxy.hasAttribute(anyAttribute));
}

void TestActionManager::initializeCopiesWithoutConnecting()
{
    // The texts and the icon are covered by followTextAndIcon().
    QAction source;
    source.setIconVisibleInMenu(false);
    source.setMenuRole(QAction::PreferencesRole);
    source.setCheckable(true);
    ProxyAction proxy(nullptr);
    proxy.initialize(&source);
    QVERIFY(!proxy.isIconVisibleInMenu());
    QCOMPARE(proxy.menuRole(), QAction::PreferencesRole);
    QVERIFY(proxy.isCheckable());
    QVERIFY(!proxy.isEnabled());
    QCOMPARE(proxy.action(), nullptr);

    source.setChecked(true);
    QVERIFY(!proxy.isChecked());
    QSignalSpy triggered(&source, &QAction::triggered);
    proxy.setEnabled(true);
    proxy.trigger();
    QCOMPARE(triggered.count(), 0);

    QAction separator;
    separator.setSeparator(true);
    proxy.initialize(&separator);
    QVERIFY(proxy.isSeparator());
}

void TestActionManager::proxyMirrorsFollowedAction_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("checked");

    QTest::newRow("enabled, visible, unchecked") << true << true << false;
    QTest::newRow("disabled") << false << true << false;
    QTest::newRow("hidden and checked") << true << false << true;
    QTest::newRow("disabled, hidden, checked") << false << false << true;
}

void TestActionManager::proxyMirrorsFollowedAction()
{
    QFETCH(bool, enabled);
    QFETCH(bool, visible);
    QFETCH(bool, checked);

    QAction action;
    action.setCheckable(true);
    ProxyAction proxy(nullptr);
    const auto setState = [&action](bool bEnabled, bool bVisible, bool bChecked) {
        action.setEnabled(bEnabled);
        action.setVisible(bVisible);
        action.setChecked(bChecked);
    };
    const auto proxyState = [&proxy] {
        return QList<bool>{proxy.isEnabled(), proxy.isVisible(), proxy.isChecked()};
    };
    // A hidden QAction reports itself disabled.
    setState(enabled, visible, checked);
    proxy.setAction(&action);
    QCOMPARE(proxyState(), (QList<bool>{enabled && visible, visible, checked}));
    setState(!enabled, !visible, !checked);
    QCOMPARE(proxyState(), (QList<bool>{!enabled && !visible, !visible, !checked}));
}

void TestActionManager::proxyForwardsTriggerAndCheck()
{
    QAction action;
    action.setCheckable(true);
    ProxyAction proxy(nullptr);
    proxy.setAction(&action);
    QSignalSpy triggered(&action, &QAction::triggered);

    proxy.trigger();
    QCOMPARE(triggered.count(), 1);
    QCOMPARE(triggered.first().first().toBool(), true);
    QVERIFY(action.isChecked());

    action.setChecked(false);
    QVERIFY(!proxy.isChecked());
    proxy.setChecked(true);
    QVERIFY(action.isChecked());
    QCOMPARE(triggered.count(), 1);
}

void TestActionManager::setActionConnectsOnlyTheFollowedAction()
{
    QAction first;
    QAction second;
    ProxyAction proxy(nullptr);
    proxy.setAction(&first);
    proxy.setEnabled(false);
    proxy.setAction(&first);
    QVERIFY2(!proxy.isEnabled(), "following the same action again copied its state");

    proxy.setEnabled(true);
    QSignalSpy firstTriggered(&first, &QAction::triggered);
    proxy.trigger();
    QCOMPARE(firstTriggered.count(), 1);

    proxy.setAction(&second);
    QCOMPARE(proxy.action(), &second);
    QSignalSpy secondTriggered(&second, &QAction::triggered);
    first.setEnabled(false);
    QVERIFY(proxy.isEnabled());
    proxy.trigger();
    QCOMPARE(firstTriggered.count(), 1);
    QCOMPARE(secondTriggered.count(), 1);
}

void TestActionManager::detachedProxy_data()
{
    QTest::addColumn<bool>("hideWhenDetached");
    QTest::newRow("no attribute") << false;
    QTest::newRow("HideWhenDetached") << true;
}

void TestActionManager::detachedProxy()
{
    QFETCH(bool, hideWhenDetached);

    QAction action;
    ProxyAction proxy(nullptr);
    if (hideWhenDetached)
        proxy.setAttribute(ProxyAction::HideWhenDetached);
    QCOMPARE(proxy.isVisible(), !hideWhenDetached);

    proxy.setAction(&action);
    QVERIFY(proxy.isEnabled());
    QVERIFY(proxy.isVisible());

    proxy.setAction(nullptr);
    QVERIFY(!proxy.isEnabled());
    QCOMPARE(proxy.isVisible(), !hideWhenDetached);
}

void TestActionManager::followTextAndIcon_data()
{
    QTest::addColumn<bool>("followText");
    QTest::addColumn<bool>("followIcon");

    QTest::newRow("neither") << false << false;
    QTest::newRow("FollowText") << true << false;
    QTest::newRow("FollowIcon") << false << true;
    QTest::newRow("both") << true << true;
}

void TestActionManager::followTextAndIcon()
{
    QFETCH(bool, followText);
    QFETCH(bool, followIcon);

    QAction first;
    describe(&first, "First", Qt::red);
    QAction second;
    describe(&second, "Second", Qt::blue);
    ProxyAction proxy(nullptr);
    if (followText)
        proxy.setAttribute(ProxyAction::FollowText);
    if (followIcon)
        proxy.setAttribute(ProxyAction::FollowIcon);
    proxy.initialize(&first);
    proxy.setAction(&second);

    const QString textSource = followText ? "Second" : "First";
    QCOMPARE(proxy.text(), textSource);
    QCOMPARE(proxy.toolTip(), textSource + " tip");
    QCOMPARE(proxy.statusTip(), textSource + " status");
    QCOMPARE(proxy.whatsThis(), textSource + " help");
    const QAction &iconSource = followIcon ? second : first;
    QCOMPARE(proxy.icon().cacheKey(), iconSource.icon().cacheKey());
    QCOMPARE(proxy.iconText(), iconSource.iconText());

    second.setText("Renamed");
    QCOMPARE(proxy.text(), followText ? QStringLiteral("Renamed") : QStringLiteral("First"));
}

void TestActionManager::toolTipShowsShortcut_data()
{
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<QString>("toolTip");

    QTest::newRow("shown") << true << QKeySequence("Ctrl+S") << "Save\tCtrl+S";
    QTest::newRow("two chords") << true << QKeySequence("Ctrl+K, Ctrl+C") << "Save\tCtrl+K, Ctrl+C";
    QTest::newRow("empty shortcut") << true << QKeySequence() << "Save";
    QTest::newRow("not shown") << false << QKeySequence("Ctrl+S") << "Save";
}

void TestActionManager::toolTipShowsShortcut()
{
    QFETCH(bool, shown);
    QFETCH(QKeySequence, shortcut);
    QFETCH(QString, toolTip);

    QAction action;
    action.setToolTip("Save");
    ProxyAction proxy(nullptr);
    proxy.initialize(&action);
    proxy.setShortcutVisibleInToolTip(shown);
    proxy.setShortcut(shortcut);
    QCOMPARE(proxy.toolTip(), toolTip);
    if (shown && !shortcut.isEmpty())
        QCOMPARE(ProxyAction::stringWithAppendedShortcut("Save", shortcut), toolTip);

    proxy.setShortcutVisibleInToolTip(false);
    QCOMPARE(proxy.toolTip(), QStringLiteral("Save"));
}

void TestActionManager::destroyedFollowedActionLeavesLastState()
{
    auto action = std::make_unique<QAction>();
    action->setCheckable(true);
    action->setChecked(true);
    ProxyAction proxy(nullptr);
    proxy.setAction(action.get());
    action.reset();

    QCOMPARE(proxy.action(), nullptr);
    proxy.setAction(nullptr);
    QVERIFY(proxy.isEnabled());
    QVERIFY(proxy.isChecked());

    proxy.setAttribute(ProxyAction::HideWhenDetached);
    QVERIFY(!proxy.isEnabled());
    QVERIFY(!proxy.isVisible());
}
