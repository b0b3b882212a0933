#include "tst_actionmanager.h"

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

TestActionManager::TestActionManager() = default;
TestActionManager::~TestActionManager() = default;

void TestActionManager::init()
{
    m_fixture = std::make_unique<CoreFixture>();
    m_actions = std::make_unique<QObject>();
    m_widgets = std::make_unique<QWidget>();
}

void TestActionManager::cleanup()
{
    m_actions.reset();
    for (const QPointer<ActionContainer> &container : qAsConst(m_containers)) {
        if (!container)
            continue;
        delete container->getMenu();
        delete container->getMenuBar();
        delete static_cast<QObject *>(container.data());
    }
    m_containers.clear();
    m_widgets.reset();
    m_fixture.reset();
}

MainWindow *TestActionManager::mainWindow() const
{
    return m_fixture->mainWindow();
}

QAction *TestActionManager::newAction(const QString &text)
{
    return new QAction(text, m_actions.get());
}

QWidget *TestActionManager::newWidget(const QString &name, QWidget *parent)
{
    auto *widget = new QWidget(parent ? parent : m_widgets.get());
    widget->setObjectName(name);
    return widget;
}

ContextAction *TestActionManager::newCommand(const QString &id)
{
    return ActionManager::registerAction(newAction(id), id, mainWindow());
}

ActionContainer *TestActionManager::keep(ActionContainer *container)
{
    m_containers << container;
    return container;
}

ProxyAction *TestActionManager::proxyOf(const ContextAction *command)
{
    return qobject_cast<ProxyAction *>(command->getAction());
}

bool TestActionManager::giveFocus(QWidget *widget)
{
    MainWindow *window = mainWindow();
    if (!window->isVisible()) {
        window->show();
        if (!QTest::qWaitForWindowExposed(window))
            return false;
    }
    QApplication::setActiveWindow(window);
    widget->setFocus();
    return QTest::qWaitFor([widget] { return widget->hasFocus(); });
}

QVariant TestActionManager::storedValue(const QString &key) const
{
    m_fixture->userSettings()->sync();
    return valueOnDisk(m_fixture->userSettings()->fileName(), key);
}

VELDRA_TEST_MAIN(TestActionManager)
