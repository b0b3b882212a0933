#pragma once

#include "core_global.h"

#include <QList>
#include <QObject>
#include <QString>

QT_BEGIN_NAMESPACE
class QAction;
class QSettings;
class QWidget;
QT_END_NAMESPACE

class ActionContainer;
class ContextAction;

/*!
 * The registry of commands and menu containers. Each command id has one ContextAction; every
 * registration adds an implementation of it for one context widget. setContext() moves every
 * command to the given context. Shortcuts are read from, saved to and reset in the settings
 * store's group "Shortcuts". The main window creates the single instance; all operations are
 * static.
 */
class CORE_EXPORT ActionManager : public QObject
{
    Q_OBJECT
    friend class MainWindow;

public:
    static ActionManager *getInstance();

    static void initialize();
    static void setSettings(QSettings *settings);

    static ContextAction *registerAction(QAction *action, const QString &id, QWidget *context,
                                         bool scriptable = false);
    static void unregisterAction(QAction *action, const QString &id,
                                 const QString &context = QString());
    static ContextAction *getAction(const QString &id);
    static QList<ContextAction *> getActions();

    static ActionContainer *createMenuContainer(const QString &title, const QString &id);
    static ActionContainer *createMenuBarContainer(const QString &id);
    static ActionContainer *getActionContainer(const QString &id);

    static void setContext(QWidget *context);

    static void readFromSettings();
    static void saveSettings();
    static void resetToDefault();

signals:
    void commandListChanged();
    void commandAdded(QString strId);

private:
    ActionManager();
    ~ActionManager() override;

    // The main window calls it after installing its own application-wide filter.
    static void installContextSwitchFilter();
};
