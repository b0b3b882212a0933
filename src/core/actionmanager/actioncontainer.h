#pragma once

#include "core_global.h"

#include <QList>
#include <QObject>

#include <cstddef>

QT_BEGIN_NAMESPACE
class QAction;
class QMenu;
class QMenuBar;
QT_END_NAMESPACE

class ContextAction;

/*!
 * Wraps one menu or the menu bar and places commands and sub-menus in it relative to other
 * commands and sub-menus. It remembers what it placed through the public insert operations so
 * that clear() can take it out again. It owns neither the wrapped widget nor what it places.
 */
class CORE_EXPORT ActionContainer : public QObject
{
    Q_OBJECT
    friend class ActionManagerPrivate;

public:
    enum OnAllDisabledBehavior { Disable = 0, Hide, Show };

    virtual void setMenu(QMenu *menu);
    virtual void setMenuBar(QMenuBar *menuBar);
    virtual QMenu *getMenu() const;
    virtual QMenuBar *getMenuBar() const;

protected:
    virtual void insertAction(QAction *before, QAction *action);

public:
    // A null 'before' appends at the end.
    virtual void insertAction(ContextAction *action, ContextAction *before = nullptr);

protected:
    virtual void insertMenu(QAction *before, QMenu *menu);

public:
    virtual void insertMenu(ActionContainer *menu, ActionContainer *before);
    virtual void insertMenu(ActionContainer *menu, ContextAction *before = nullptr);
    // Lets insertMenu(menu, nullptr) pick the appending form without a cast.
    void insertMenu(ActionContainer *menu, std::nullptr_t);

    virtual ContextAction *insertSeparator(ActionContainer *before, QAction **separator = nullptr);
    virtual ContextAction *insertSeparator(ContextAction *before, QAction **separator = nullptr);

protected:
    virtual void removeMenu(QMenu *menu);
    virtual void removeAction(QAction *action);

public:
    void clear();
    void setOnAllDisabledBehavior(OnAllDisabledBehavior behavior);
    OnAllDisabledBehavior onAllDisabledBehavior() const;

protected:
    explicit ActionContainer(const QString &id);
    ~ActionContainer() override;

private slots:
    void scheduleUpdate();
    void update();
    void itemDestroyed();

private:
    ContextAction *addSeparator(QAction *before, QAction **separator);
    void track(QObject *item);

    QList<QObject *> m_items; // not owned
    OnAllDisabledBehavior m_onAllDisabledBehavior = Disable;
};
