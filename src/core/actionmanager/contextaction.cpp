#include "contextaction.h"

#include "actionmanager_p.h"

#include "contextmanager.h"
#include "icore.h"
#include "mainwindow.h"
#include "proxyaction.h"

#include <QAction>

ContextAction::ContextAction(const QString &id)
    : m_id(id)
    , m_proxy(new ProxyAction(this))
{
    m_proxy->setShortcutVisibleInToolTip(true);
    connect(m_proxy, &QAction::changed, this, &ContextAction::updateActiveState);
}

ContextAction::~ContextAction()
{
    delete m_proxy;
}

QString ContextAction::getId() const
{
    return m_id;
}

QAction *ContextAction::getAction() const
{
    return m_proxy;
}

QString ContextAction::getDescription() const
{
    return m_description;
}

void ContextAction::setDescription(const QString &description)
{
    m_description = description;
}

QKeySequence ContextAction::getKeySequence() const
{
    return m_proxy->shortcut();
}

void ContextAction::setKeySequence(const QKeySequence &key)
{
    m_proxy->setShortcut(key);
}

QKeySequence ContextAction::getDefaultKeySequence() const
{
    return m_defaultKey;
}

void ContextAction::setDefaultKeySequence(const QKeySequence &key)
{
    m_defaultKey = key;
    if (m_proxy->shortcut().isEmpty())
        m_proxy->setShortcut(key);
}

bool ContextAction::isEmpty() const
{
    return m_contextActions.isEmpty();
}

bool ContextAction::isSeparator() const
{
    return m_proxy && m_proxy->isSeparator();
}

void ContextAction::setVisible(bool bVisible)
{
    for (const QPointer<QAction> &action : qAsConst(m_contextActions)) {
        if (action)
            action->setVisible(bVisible);
    }
}

void ContextAction::setCurrentContext(QWidget *context)
{
    QWidget *mainWindow = ICore::getMainWindow();
    m_currentContext = context;
    const auto found = m_contextActions.constFind(context);
    if (context && found != m_contextActions.cend()) {
        m_proxy->setAction(found.value());
    } else {
        m_currentContext = mainWindow;
        m_proxy->setAction(mainWindow ? m_contextActions.value(mainWindow) : nullptr);
    }
    if (m_currentContext != mainWindow) {
        if (ActionManagerPrivate *registry = ActionManagerPrivate::current())
            registry->noteAwayFromMainWindow(this);
    }
    updateActiveState();
}

bool ContextAction::isActive() const
{
    return m_active;
}

bool ContextAction::hasAttribute(ActionAttribute attribute) const
{
    return m_attributes & attribute;
}

void ContextAction::setAttribute(ActionAttribute attribute)
{
    m_attributes |= attribute;
    m_proxy->setAttribute(proxyAttribute(attribute));
}

void ContextAction::removeAttribute(ActionAttribute attribute)
{
    m_attributes &= ~attribute;
    m_proxy->removeAttribute(proxyAttribute(attribute));
}

bool ContextAction::isScriptable() const
{
    for (const bool scriptable : qAsConst(m_scriptableMap)) {
        if (scriptable)
            return true;
    }
    return false;
}

bool ContextAction::isScriptable(const QString &contextId) const
{
    QWidget *context = contextId == ContextManager::getGlobalContext().id
                               ? static_cast<QWidget *>(ICore::getMainWindow())
                               : ContextManager::getContextWidget(contextId);
    const QPointer<QAction> action = m_contextActions.value(context);
    return action && m_scriptableMap.value(action.data(), false);
}

QString ContextAction::stringWithAppendedShortcut(const QString &text)
{
    return ProxyAction::stringWithAppendedShortcut(text, getKeySequence());
}

QList<QWidget *> ContextAction::getContextWidgets() const
{
    QList<QWidget *> contexts;
    for (auto it = m_contextActions.cbegin(); it != m_contextActions.cend(); ++it) {
        if (it.value())
            contexts.append(it.key());
    }
    return contexts;
}

void ContextAction::updateActiveState()
{
    setActive(m_proxy->isEnabled() && m_proxy->isVisible() && !m_proxy->isSeparator());
}

void ContextAction::addOverrideAction(QAction *action, QWidget *context, bool scriptable)
{
    if (m_contextActions.isEmpty())
        m_proxy->initialize(action);
    if (m_contextActions.contains(context)) {
        setCurrentContext(context);
        return;
    }
    m_contextActions.insert(context, action);
    m_scriptableMap.insert(action, scriptable);
    setCurrentContext(context);
}

void ContextAction::removeOverrideAction(QAction *action)
{
    for (auto it = m_contextActions.begin(); it != m_contextActions.end();) {
        if (!it.value() || it.value() == action)
            it = m_contextActions.erase(it);
        else
            ++it;
    }
    setCurrentContext(m_currentContext);
}

void ContextAction::setActive(bool bActive)
{
    if (bActive == m_active)
        return;
    m_active = bActive;
    emit activeStateChanged();
}

ProxyAction::Attribute ContextAction::proxyAttribute(ActionAttribute attribute)
{
    switch (attribute) {
    case Hide:
        return ProxyAction::HideWhenDetached;
    case UpdateText:
        return ProxyAction::FollowText;
    case UpdateIcon:
        return ProxyAction::FollowIcon;
    }
    return ProxyAction::Attribute(0);
}
