#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QTimer>

/*!
 * Answers modal message boxes while it lives: a timer looks for the active modal QMessageBox,
 * records what it shows and clicks the wanted button. Queued answers are used in order, then
 * the default answer. QMessageBox::NoButton ends the box with done(-1); an answer the box does
 * not offer presses Escape. Every test that makes a box keeps an answerer alive, or it hangs.
 */
class MessageBoxAnswerer : public QObject
{
    Q_OBJECT

public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QPointer<QWidget> parent;
    };

    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok);

    void enqueue(QMessageBox::StandardButton answer) { m_queue.enqueue(answer); }
    void setDefaultAnswer(QMessageBox::StandardButton answer) { m_defaultAnswer = answer; }

    int count() const { return m_boxes.size(); }
    QList<Box> boxes() const { return m_boxes; }
    Box last() const { return m_boxes.isEmpty() ? Box() : m_boxes.constLast(); }

private:
    void answerActiveBox();

    QTimer m_timer;
    QQueue<QMessageBox::StandardButton> m_queue;
    QMessageBox::StandardButton m_defaultAnswer;
    QList<Box> m_boxes;
    QPointer<QMessageBox> m_answering;
};
