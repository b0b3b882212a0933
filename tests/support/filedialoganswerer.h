#pragma once

#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QString>
#include <QTimer>

class QFileDialog;

/*!
 * Answers Qt's own (not native) modal file dialogs while it lives, with the next queued path, as
 * if the user had typed it and accepted: a save dialog still adds its default suffix and asks
 * before replacing a file. An empty queued path, or an empty queue, cancels the dialog.
 */
class FileDialogAnswerer : public QObject
{
    Q_OBJECT

public:
    FileDialogAnswerer();

    // Absolute path to choose in the next dialog; an empty string cancels it.
    void enqueue(const QString &strPath) { m_queue.enqueue(strPath); }

    int count() const { return m_count; }
    QString lastDirectory() const { return m_lastDirectory; }

private:
    void poll();

    QTimer m_timer;
    QQueue<QString> m_queue;
    int m_count = 0;
    QString m_lastDirectory;
    QPointer<QFileDialog> m_answering;
};
