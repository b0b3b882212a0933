#include "contextaction.h"

#include "actionmanager_p.h"

#include "contextmanager.h"
#include "icore.h"
#include "mainwindow.h"
#include "proxyaction.h"

#include <QAction>
#include <QMetaMethod>

#include <algorithm>
#include <functional>

ContextAction::ContextAction(const QString &id)
    : m_proxy(new ProxyAction(this))
    , m_id(id)
{
    m_proxy->setShortcutVisibleInToolTip(true);
    // A direct call rather than a connection to changed(): a switch then emits that signal only
    // when someone else listens to it.
    m_proxy->setChangeListener([this] { updateActiveState(); });
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
    for (const ContextEntry &entry : qAsConst(m_contextActions)) {
        if (entry.action)
            entry.action->setVisible(bVisible);
    }
}

void ContextAction::setCurrentContext(QWidget *context)
{
    followContext(context);
    if (m_currentContext != ICore::getMainWindow()) {
        if (ActionManagerPrivate *registry = ActionManagerPrivate::current())
            registry->noteAwayFromMainWindow(this);
    }
}

// Points the proxy at the implementation for the context, else at the main window's; the
// registry's list of the commands away from the main window is left to the caller.
void ContextAction::followContext(QWidget *context)
{
    QWidget *mainWindow = ICore::getMainWindow();
    m_currentContext = context;
    const ContextEntry *entry = context ? entryFor(context) : nullptr;
    if (!entry) {
        m_currentContext = mainWindow;
        entry = mainWindow ? entryFor(mainWindow) : nullptr;
    }
    m_proxy->setAction(entry ? entry->action : nullptr);
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
    const ContextEntry *entry = entryFor(context);
    return entry && entry->action && m_scriptableMap.value(entry->action, false);
}

QString ContextAction::stringWithAppendedShortcut(const QString &text)
{
    return ProxyAction::stringWithAppendedShortcut(text, getKeySequence());
}

QList<QWidget *> ContextAction::getContextWidgets() const
{
    QList<QWidget *> contexts;
    for (const ContextEntry &entry : m_contextActions) {
        if (entry.action)
            contexts.append(entry.context);
    }
    return contexts;
}

const ContextAction::ContextEntry *ContextAction::entryFor(const QWidget *context) const
{
    for (const ContextEntry &entry : m_contextActions) {
        if (entry.context == context)
            return &entry;
    }
    return nullptr;
}

// The contexts of every entry, a destroyed action's included.
QList<QWidget *> ContextAction::entryContexts() const
{
    QList<QWidget *> contexts;
    for (const ContextEntry &entry : m_contextActions)
        contexts.append(entry.context);
    return contexts;
}

void ContextAction::updateActiveState()
{
    setActive(m_proxy->isEnabled() && m_proxy->isVisible() && !m_proxy->isSeparator());
}

void ContextAction::markDestroyed(const QAction *action)
{
    for (ContextEntry &entry : m_contextActions) {
        if (entry.action == action)
            entry.action = nullptr;
    }
}

void ContextAction::addOverrideAction(QAction *action, QWidget *context, bool scriptable)
{
    if (m_contextActions.isEmpty())
        m_proxy->initialize(action);
    if (entryFor(context)) {
        setCurrentContext(context);
        return;
    }
    const auto place = std::lower_bound(m_contextActions.cbegin(), m_contextActions.cend(), context,
                                        [](const ContextEntry &entry, QWidget *key) {
                                            return std::less<>()(entry.context, key);
                                        });
    m_contextActions.insert(place, ContextEntry{context, action});
    // The entry stays when its action is destroyed and reads as null from then on. The proxy
    // receives, so that the command itself takes part in no connection.
    connect(action, &QObject::destroyed, m_proxy, [this, action] { markDestroyed(action); });
    m_scriptableMap.insert(action, scriptable);
    setCurrentContext(context);
}

void ContextAction::removeOverrideAction(QAction *action)
{
    const auto gone = std::remove_if(m_contextActions.begin(), m_contextActions.end(),
                                     [action](const ContextEntry &entry) {
                                         return !entry.action || entry.action == action;
                                     });
    m_contextActions.erase(gone, m_contextActions.cend());
    setCurrentContext(m_currentContext);
}

void ContextAction::setActive(bool bActive)
{
    if (bActive == m_active)
        return;
    m_active = bActive;
    // Unheard, the signal is not emitted at all: emitting would read the command's private data
    // on every switch that changes its state.
    if (m_activeStateHeard)
        emit activeStateChanged();
}

// A listener is noted, never forgotten: a disconnect may not say which signal it concerns.
void ContextAction::connectNotify(const QMetaMethod &signal)
{
    QObject::connectNotify(signal);
    if (signal == QMetaMethod::fromSignal(&ContextAction::activeStateChanged))
        m_activeStateHeard = true;
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
