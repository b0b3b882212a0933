#include "modaldialoganswerer.h"

#include <QApplication>

ModalDialogAnswerer::ModalDialogAnswerer(std::function<bool(QWidget *)> answer)
    : m_answer(std::move(answer))
{
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &ModalDialogAnswerer::poll);
    m_timer.start();
}

bool ModalDialogAnswerer::answered() const
{
    return m_bAnswered;
}

void ModalDialogAnswerer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || !m_answer(modal))
        return;
    m_bAnswered = true;
    m_timer.stop();
}
