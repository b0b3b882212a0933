#pragma once

#include "core_global.h"
#include "proxyaction.h"

#include <QKeySequence>
#include <QList>
#include <QMap>
#include <QObject>
#include <QVarLengthArray>

QT_BEGIN_NAMESPACE
class QAction;
class QWidget;
QT_END_NAMESPACE

/*!
 * One command of the application, known by its id. Its proxy action is what menus, tool bars and
 * shortcuts use; behind it stands one implementation ("override action") per context widget.
 * The proxy follows the override action of the current context, or the main window's when the
 * context has none. Commands are created and destroyed by the ActionManager only.
 */
class CORE_EXPORT ContextAction : public QObject
{
    Q_OBJECT
    friend class ActionManager;
    friend class ActionManagerPrivate;

public:
    enum ActionAttribute {
        Hide = 0x01,       // hide the proxy while it follows nothing
        UpdateText = 0x02, // follow the text of the current implementation
        UpdateIcon = 0x04, // follow the icon of the current implementation
    };

    QString getId() const;
    QAction *getAction() const;

    QString getDescription() const;
    void setDescription(const QString &description);

    QKeySequence getKeySequence() const;
    void setKeySequence(const QKeySequence &key);
    QKeySequence getDefaultKeySequence() const;
    void setDefaultKeySequence(const QKeySequence &key);

    bool isEmpty() const;
    bool isSeparator() const;
    void setVisible(bool bVisible);
    void setCurrentContext(QWidget *context);

    bool isActive() const;
    bool hasAttribute(ActionAttribute attribute) const;
    void setAttribute(ActionAttribute attribute);
    void removeAttribute(ActionAttribute attribute);
    bool isScriptable() const;
    bool isScriptable(const QString &contextId) const;
    QString stringWithAppendedShortcut(const QString &text);
    // The context widgets the command has a live implementation for.
    QList<QWidget *> getContextWidgets() const;

signals:
    void keySequenceChanged();
    void activeStateChanged();

private slots:
    void updateActiveState();

protected:
    void connectNotify(const QMetaMethod &signal) override;

private:
    explicit ContextAction(const QString &id);
    ~ContextAction() override;

    struct ContextEntry
    {
        QWidget *context; // not owned
        QAction *action;  // not owned; null once destroyed
    };

    void followContext(QWidget *context);
    const ContextEntry *entryFor(const QWidget *context) const;
    QList<QWidget *> entryContexts() const;
    void markDestroyed(const QAction *action);
    void addOverrideAction(QAction *action, QWidget *context, bool scriptable);
    void removeOverrideAction(QAction *action);
    void setActive(bool bActive);
    static ProxyAction::Attribute proxyAttribute(ActionAttribute attribute);

    // First what a context switch reads, side by side.
    ProxyAction *m_proxy = nullptr;      // owned (child)
    QWidget *m_currentContext = nullptr; // not owned
    bool m_active = false;
    bool m_activeStateHeard = false;   // someone connected to activeStateChanged()
    bool m_awayFromMainWindow = false; // listed by the registry as possibly away from it
    // The override actions, one entry per context widget in the widgets' address order. A
    // command rarely has more than a few (the main window's and one per kind of editor or panel),
    // so up to four are kept in the command itself.
    QVarLengthArray<ContextEntry, 4> m_contextActions;
    QString m_id;
    QKeySequence m_defaultKey;
    QString m_description;
    QMap<QAction *, bool> m_scriptableMap;
    int m_attributes = 0;
};
