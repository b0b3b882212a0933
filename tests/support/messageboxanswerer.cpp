#include "messageboxanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

MessageBoxAnswerer::MessageBoxAnswerer(QMessageBox::StandardButton answer)
    : m_defaultAnswer(answer)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::answerActiveBox);
    m_timer.start();
}

void MessageBoxAnswerer::answerActiveBox()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box == m_answering)
        return;
    m_answering = box;
    const QMessageBox::StandardButton wanted =
            m_queue.isEmpty() ? m_defaultAnswer : m_queue.dequeue();
    const QMessageBox::StandardButton defaultButton =
            box->defaultButton() ? box->standardButton(box->defaultButton())
                                 : QMessageBox::NoButton;
    m_boxes.append({box->windowTitle(), box->text(), box->standardButtons(), defaultButton,
                    box->parentWidget()});

    if (wanted == QMessageBox::NoButton) {
        box->done(-1);
    } else if (QAbstractButton *button = box->button(wanted)) {
        button->click();
    } else {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &escape);
    }
}
