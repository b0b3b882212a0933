#include "eventfilter.h"

#include <QEvent>

EventFilter::EventFilter(QObject *parent)
    : QObject(parent)
{}

bool EventFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event && event->type() == QEvent::ActivationChange) {
        emit activationChangeFiltered();
        return false;
    }
    return QObject::eventFilter(watched, event);
}
