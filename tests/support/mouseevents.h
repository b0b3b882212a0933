#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

/*
 * Mouse events delivered synchronously at a global position, the way the window system
 * delivers them. QTest::mouseMove only moves the real cursor (asynchronously and without
 * buttons), so it cannot drive a drag; these carry the buttons held.
 */
namespace VeldraTest {

inline void sendMouseEvent(QWidget *widget, QEvent::Type type, const QPoint &globalPos,
                           Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, widget->mapFromGlobal(globalPos), globalPos, button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void mouseMoveTo(QWidget *widget, const QPoint &globalPos,
                        Qt::MouseButtons buttons = Qt::NoButton)
{
    sendMouseEvent(widget, QEvent::MouseMove, globalPos, Qt::NoButton, buttons);
}

inline void mousePressAt(QWidget *widget, const QPoint &globalPos, Qt::MouseButton button)
{
    sendMouseEvent(widget, QEvent::MouseButtonPress, globalPos, button, button);
}

inline void mouseReleaseAt(QWidget *widget, const QPoint &globalPos, Qt::MouseButton button)
{
    sendMouseEvent(widget, QEvent::MouseButtonRelease, globalPos, button, Qt::NoButton);
}

} // namespace VeldraTest
