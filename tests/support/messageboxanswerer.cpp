#include "messageboxanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

MessageBoxAnswerer::MessageBoxAnswerer(QMessageBox::StandardButton answer)
    : m_defaultAnswer(answer)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::poll);
    m_timer.start();
}

MessageBoxAnswerer::~MessageBoxAnswerer() = default;

void MessageBoxAnswerer::enqueue(QMessageBox::StandardButton answer)
{
    m_queue.enqueue(answer);
}

void MessageBoxAnswerer::setDefaultAnswer(QMessageBox::StandardButton answer)
{
    m_defaultAnswer = answer;
}

int MessageBoxAnswerer::count() const
{
    return m_boxes.size();
}

QList<MessageBoxAnswerer::Box> MessageBoxAnswerer::boxes() const
{
    return m_boxes;
}

MessageBoxAnswerer::Box MessageBoxAnswerer::last() const
{
    return m_boxes.isEmpty() ? Box() : m_boxes.constLast();
}

void MessageBoxAnswerer::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box == m_answering)
        return;
    answer(box);
}

void MessageBoxAnswerer::answer(QMessageBox *box)
{
    m_answering = box;
    const QMessageBox::StandardButton wanted =
            m_queue.isEmpty() ? m_defaultAnswer : m_queue.dequeue();

    Box seen;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.buttons = box->standardButtons();
    seen.defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton())
                                              : QMessageBox::NoButton;
    seen.parent = box->parentWidget();
    seen.answered = wanted;
    m_boxes.append(seen);

    if (wanted == QMessageBox::NoButton) {
        box->done(-1);
    } else if (QAbstractButton *button = box->button(wanted)) {
        button->click();
    } else {
        m_boxes.last().answered = QMessageBox::NoButton;
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &escape);
    }
}
