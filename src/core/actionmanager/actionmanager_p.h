#pragma once

#include <QHash>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVector>

QT_BEGIN_NAMESPACE
class QSettings;
class QWidget;
QT_END_NAMESPACE

class ActionContainer;
class ContextAction;

class ActionManagerPrivate : public QObject
{
    Q_OBJECT

public:
    ActionManagerPrivate();
    ~ActionManagerPrivate() override;

    static ActionManagerPrivate *current();
    static bool idLess(const ContextAction *first, const ContextAction *second);

    ContextAction *createCommand(const QString &id);
    void destroyCommand(ContextAction *command);
    void indexContexts(ContextAction *command);
    void unindexContexts(ContextAction *command, const QList<QWidget *> &contexts);
    void noteAwayFromMainWindow(ContextAction *command);
    void forgetAwayFromMainWindow(ContextAction *command);
    void moveCommandsTo(QWidget *context);
    void readShortcut(ContextAction *command) const;
    void registerContainer(const QString &id, ActionContainer *container);

    QMap<QString, ContextAction *> m_commands;     // owned
    QMap<QString, ActionContainer *> m_containers; // not owned
    QWidget *m_currentContext = nullptr;           // not owned
    QSettings *m_settings = nullptr;               // not owned

    // Context widget -> the commands with an entry for it (a destroyed action's entry included),
    // in id order.
    QHash<QWidget *, QVector<ContextAction *>> m_commandsByContext;
    // The commands that may follow another context's implementation than the main window's, in
    // id order; every other command is known to follow the main window's, so a switch can leave
    // it alone. Flat lists, as a switch walks them from end to end.
    QVector<ContextAction *> m_commandsAwayFromMainWindow;
    int m_switchDepth = 0; // switches under way (a listener may start another)

public slots:
    void containerDestroyed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
