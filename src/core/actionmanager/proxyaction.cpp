#include "proxyaction.h"

#include <QEvent>
#include <QMetaMethod>

#include <algorithm>

namespace {
ProxyAction *s_batchUnderWay = nullptr;
} // namespace

ProxyAction::ProxyAction(QObject *parent)
    : QAction(parent)
{
    // Triggering and checking go to whichever action is followed at the time, so re-pointing
    // the proxy moves none of its connections.
    connect(this, &QAction::triggered, this, [this](bool checked) {
        if (m_action)
            emit m_action->triggered(checked);
    });
    connect(this, &QAction::toggled, this, [this](bool checked) {
        if (m_action)
            m_action->setChecked(checked);
    });
    // That was the proxy's own connection. After a batch it would only hand the followed action
    // the checked state just copied from it, so the batch may leave it out.
    m_toggledHeard = false;
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
    m_action = action;
    if (action)
        listenTo(action);
    updateState();
}

void ProxyAction::listenTo(QAction *action)
{
    if (std::find(m_listenedTo.cbegin(), m_listenedTo.cend(), action) != m_listenedTo.cend())
        return;
    m_listenedTo.append(action);
    connect(action, &QAction::changed, this, [this, action] {
        if (m_action == action)
            actionChanged();
    });
    connect(action, &QObject::destroyed, this, [this, action] { forget(action); });
}

// A destroyed action leaves the proxy in its last state; it only reads as followed no more.
void ProxyAction::forget(QAction *action)
{
    m_listenedTo.erase(std::find(m_listenedTo.cbegin(), m_listenedTo.cend(), action));
    if (m_action == action)
        m_action = nullptr;
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

void ProxyAction::setChangeListener(std::function<void()> listener)
{
    m_changeListener = std::move(listener);
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
    detach();
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

bool ProxyAction::event(QEvent *event)
{
    const bool handled = QAction::event(event);
    // Every effective property change sends ActionChanged to the action itself, just before
    // changed() and whether signals are blocked or not. Any change outside a batch, a new
    // shortcut included, rewrites the tool tip before listeners hear of it; a batch writes it
    // itself when it copies one and only notes that something changed.
    if (event->type() == QEvent::ActionChanged) {
        if (m_inBatch) {
            noteChangeInBatch();
        } else {
            updateToolTipWithKeySequence();
            notifyChangeListener();
        }
    }
    return handled;
}

// Listeners are noted, never forgotten: a disconnect may not say which signal it concerns.
void ProxyAction::connectNotify(const QMetaMethod &signal)
{
    QAction::connectNotify(signal);
    if (signal == QMetaMethod::fromSignal(&QAction::changed))
        m_changedHeard = true;
    else if (signal == QMetaMethod::fromSignal(&QAction::toggled))
        m_toggledHeard = true;
}

void ProxyAction::update(QAction *action, bool initializing)
{
    if (!action)
        return;
    beginBatch();
    copyState(action, initializing);
    endBatch();
}

void ProxyAction::copyState(QAction *action, bool initializing)
{
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
        const bool wasChecked = isChecked();
        setChecked(action->isChecked());
        m_toggledInBatch = isChecked() != wasChecked;
        setEnabled(action->isEnabled());
        setVisible(action->isVisible());
    }
}

void ProxyAction::detach()
{
    beginBatch();
    if (hasAttribute(HideWhenDetached))
        setVisible(false);
    setEnabled(false);
    endBatch();
}

void ProxyAction::beginBatch()
{
    m_inBatch = true;
    m_outerBatch = s_batchUnderWay;
    s_batchUnderWay = this;
    m_changedInBatch = false;
    m_toggledInBatch = false;
    m_wasBlocked = blockSignals(true);
}

void ProxyAction::endBatch()
{
    blockSignals(m_wasBlocked);
    m_inBatch = false;
    s_batchUnderWay = m_outerBatch;
    if (m_changedInBatch) {
        notifyChangeListener();
        if (m_changedHeard)
            emit changed();
    }
    if (m_toggledInBatch && m_toggledHeard)
        emit toggled(isChecked());
}

ProxyAction *ProxyAction::batchUnderWay()
{
    return s_batchUnderWay;
}

void ProxyAction::noteChangeInBatch()
{
    m_changedInBatch = true;
}

// Where changed() is emitted next, unless the proxy's signals are blocked.
void ProxyAction::notifyChangeListener()
{
    if (m_changeListener && !signalsBlocked())
        m_changeListener();
}
