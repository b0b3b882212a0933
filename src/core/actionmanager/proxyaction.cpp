#include "proxyaction.h"

ProxyAction::ProxyAction(QObject *parent)
    : QAction(parent)
{
    connect(this, &QAction::changed, this, &ProxyAction::updateToolTipWithKeySequence);
    updateState();
}

QAction *ProxyAction::action() const
{
    return m_action;
}

void ProxyAction::setAction(QAction *action)
{
    if (m_action == action)
        return;
    disconnectAction();
    m_action = action;
    connectAction();
    updateState();
}

void ProxyAction::initialize(QAction *action)
{
    update(action, true);
}

void ProxyAction::setAttribute(Attribute attribute)
{
    m_attributes |= attribute;
    updateState();
}

void ProxyAction::removeAttribute(Attribute attribute)
{
    m_attributes &= ~Attributes(attribute);
    updateState();
}

bool ProxyAction::hasAttribute(Attribute attribute) const
{
    return m_attributes & attribute;
}

void ProxyAction::setShortcutVisibleInToolTip(bool visible)
{
    m_showShortcut = visible;
    updateToolTipWithKeySequence();
}

bool ProxyAction::shortcutVisibleInToolTip() const
{
    return m_showShortcut;
}

QString ProxyAction::stringWithAppendedShortcut(const QString &text, const QKeySequence &keys)
{
    return QStringLiteral("%1\t%2").arg(text, keys.toString(QKeySequence::NativeText));
}

void ProxyAction::actionChanged()
{
    update(m_action, false);
}

void ProxyAction::updateState()
{
    if (m_action) {
        update(m_action, false);
        return;
    }
    if (hasAttribute(HideWhenDetached))
        setVisible(false);
    setEnabled(false);
}

void ProxyAction::updateToolTipWithKeySequence()
{
    if (m_blockToolTipUpdate)
        return;
    m_blockToolTipUpdate = true;
    if (m_showShortcut && !shortcut().isEmpty())
        setToolTip(stringWithAppendedShortcut(m_toolTip, shortcut()));
    else
        setToolTip(m_toolTip);
    m_blockToolTipUpdate = false;
}

void ProxyAction::connectAction()
{
    if (!m_action)
        return;
    connect(m_action, &QAction::changed, this, &ProxyAction::actionChanged);
    connect(this, &QAction::triggered, m_action, &QAction::triggered);
    connect(this, &QAction::toggled, m_action, &QAction::setChecked);
}

void ProxyAction::disconnectAction()
{
    if (!m_action)
        return;
    disconnect(m_action, &QAction::changed, this, &ProxyAction::actionChanged);
    disconnect(this, &QAction::triggered, m_action, &QAction::triggered);
    disconnect(this, &QAction::toggled, m_action, &QAction::setChecked);
}

void ProxyAction::update(QAction *action, bool initializing)
{
    if (!action)
        return;
    disconnectAction();
    disconnect(this, &QAction::changed, this, &ProxyAction::updateToolTipWithKeySequence);

    if (initializing) {
        setSeparator(action->isSeparator());
        setMenuRole(action->menuRole());
    }
    if (initializing || hasAttribute(FollowIcon)) {
        setIcon(action->icon());
        setIconText(action->iconText());
        setIconVisibleInMenu(action->isIconVisibleInMenu());
    }
    if (initializing || hasAttribute(FollowText)) {
        setText(action->text());
        m_toolTip = action->toolTip();
        updateToolTipWithKeySequence();
        setStatusTip(action->statusTip());
        setWhatsThis(action->whatsThis());
    }
    setCheckable(action->isCheckable());
    if (!initializing) {
        setChecked(action->isChecked());
        setEnabled(action->isEnabled());
        setVisible(action->isVisible());
    }

    connectAction();
    connect(this, &QAction::changed, this, &ProxyAction::updateToolTipWithKeySequence);
}
