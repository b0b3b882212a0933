#pragma once

#include <QMap>
#include <QObject>
#include <QString>

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

    ContextAction *createCommand(const QString &id);
    void destroyCommand(ContextAction *command);
    void readShortcut(ContextAction *command) const;
    void registerContainer(const QString &id, ActionContainer *container);

    QMap<QString, ContextAction *> m_commands;     // owned
    QMap<QString, ActionContainer *> m_containers; // not owned
    QWidget *m_currentContext = nullptr;           // not owned
    QSettings *m_settings = nullptr;               // not owned

public slots:
    void containerDestroyed();
};
