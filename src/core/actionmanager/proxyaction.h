#pragma once

#include "core_global.h"

#include <QAction>
#include <QKeySequence>
#include <QVarLengthArray>

#include <functional>

/*!
 * An action that stands in for another one and can be re-pointed at any time. It mirrors the
 * followed action's enabled, visible and checked state, forwards its own triggering to it and
 * can show its shortcut in its tool tip. With nothing to follow it is disabled (and hidden with
 * HideWhenDetached).
 */
class CORE_EXPORT ProxyAction : public QAction
{
    Q_OBJECT
    friend class ActionManagerPrivate;

public:
    enum Attribute {
        HideWhenDetached = 0x1,
        FollowText = 0x2,
        FollowIcon = 0x4,
    };
    Q_DECLARE_FLAGS(Attributes, Attribute)

    explicit ProxyAction(QObject *parent = nullptr);

    QAction *action() const;
    void setAction(QAction *action);
    void initialize(QAction *action);

    void setAttribute(Attribute attribute);
    void removeAttribute(Attribute attribute);
    bool hasAttribute(Attribute attribute) const;

    // The owner's listener hears of every change of the proxy's state through a direct call, just
    // before changed() reaches the connected listeners, and as often.
    void setChangeListener(std::function<void()> listener);

    void setShortcutVisibleInToolTip(bool visible);
    bool shortcutVisibleInToolTip() const;

    static QString stringWithAppendedShortcut(const QString &text, const QKeySequence &keys);

private slots:
    void actionChanged();
    void updateState();
    void updateToolTipWithKeySequence();

protected:
    bool event(QEvent *event) override;
    void connectNotify(const QMetaMethod &signal) override;

private:
    void listenTo(QAction *action);
    void forget(QAction *action);
    void update(QAction *action, bool initializing);
    void copyState(QAction *action, bool initializing);
    void detach();
    void beginBatch();
    void endBatch();
    void notifyChangeListener();
    // The command registry's switch filter hears a batch's own ActionChanged events first.
    static ProxyAction *batchUnderWay();
    void noteChangeInBatch();

    QAction *m_action = nullptr; // not owned; null again once it is destroyed
    // Every living action followed so far. The proxy stays connected to its changed(), which
    // only counts while that action is the one followed, so going back to an action connects
    // nothing again. A few actions per proxy are the rule, so they are kept in the proxy itself.
    QVarLengthArray<QAction *, 4> m_listenedTo;
    std::function<void()> m_changeListener;
    Attributes m_attributes;
    bool m_showShortcut = false;
    QString m_toolTip;
    bool m_blockToolTipUpdate = false;
    // While a batch of state copies runs, the proxy's own signals are held back and whether
    // anything changed is noted, so listeners hear one changed() (and one toggled()) at its end.
    bool m_inBatch = false;
    ProxyAction *m_outerBatch = nullptr; // another proxy's batch that this one runs inside
    bool m_wasBlocked = false;
    bool m_changedInBatch = false;
    bool m_toggledInBatch = false;
    // Whether anyone but the proxy itself has connected to changed() or toggled(). A batch emits
    // neither to nobody: a switch then touches none of the proxy's connection data.
    bool m_changedHeard = false;
    bool m_toggledHeard = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(ProxyAction::Attributes)
