#pragma once

#include "core_global.h"

#include <QObject>

class QEvent;

/*!
 * An application-wide event filter that reports every activation change and otherwise lets
 * all events through untouched. The main window uses it to switch its shadow strips between
 * their active and inactive look and to hand activation back from a strip to itself.
 */
class CORE_EXPORT EventFilter : public QObject
{
    Q_OBJECT

public:
    explicit EventFilter(QObject *parent = nullptr);

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void activationChangeFiltered();
};
