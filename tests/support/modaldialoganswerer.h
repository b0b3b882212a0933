#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

/*!
 * Answers the next modal dialog of a given class while it lives: a timer looks for the active
 * modal widget and, when it is a Dialog, calls the answer function on it once (the function
 * fills it in and accepts or rejects it). answered() tells whether that happened. Use it for
 * dialogs run with exec() that are not message boxes (MessageBoxAnswerer handles those).
 */
class ModalDialogAnswerer : public QObject
{
    Q_OBJECT

public:
    explicit ModalDialogAnswerer(std::function<bool(QWidget *)> answer);

    template<typename Dialog>
    static ModalDialogAnswerer *answerNext(std::function<void(Dialog *)> answer,
                                           QObject *parent = nullptr)
    {
        auto *answerer = new ModalDialogAnswerer([answer](QWidget *widget) {
            auto *dialog = qobject_cast<Dialog *>(widget);
            if (dialog)
                answer(dialog);
            return dialog != nullptr;
        });
        answerer->setParent(parent);
        return answerer;
    }

    bool answered() const;

private:
    void poll();

    std::function<bool(QWidget *)> m_answer;
    QTimer m_timer;
    bool m_bAnswered = false;
};
