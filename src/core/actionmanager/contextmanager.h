#pragma once

#include "core_global.h"

#include <QList>
#include <QObject>
#include <QString>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

/*!
 * A named widget of the user interface in which commands may have their own implementation.
 */
struct CORE_EXPORT Context
{
    QWidget *widget = nullptr; // not owned
    QString id;                // compared exactly
    QString name;              // for display
};

/*!
 * The registry of contexts. It answers which context the user works in: the nearest registered
 * ancestor of a widget, else the global context (the main window, id and name "Global").
 * The main window creates the single instance; all operations are static.
 */
class CORE_EXPORT ContextManager : public QObject
{
    Q_OBJECT
    friend class MainWindow;

public:
    static Context registerContext(const Context &context);
    static Context registerContext(QWidget *widget, const QString &id, const QString &name);
    static void unregisterContext(QWidget *widget, const QString &id);

    static Context getActiveContext(QWidget *widget);
    static QString getContextId(QWidget *widget);
    static QString getContextName(QWidget *widget);
    static QString getContextName(const QString &id);
    static QWidget *getContextWidget(const QString &id);
    static QList<Context> getContexts();

    static Context getGlobalContext();
    static bool isGlobalContext(const Context &context);

    static ContextManager *getInstance();

private:
    ContextManager();
    ~ContextManager() override;
};
