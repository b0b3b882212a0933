#pragma once

#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QString>
#include <QTimer>

class QFileDialog;

/*!
 * Answers modal file dialogs while it lives. The dialogs must be Qt's own widgets, that is made
 * with QFileDialog::DontUseNativeDialog (a platform dialog cannot be reached from a test).
 *
 * A timer finds the active modal QFileDialog, records its title and folder, and answers it with
 * the next queued path (a folder in a folder dialog): the path is selected and the dialog accepted,
 * exactly as if the user had typed it and pressed the accept button (so a save dialog still adds
 * its default suffix and asks before replacing a file — keep a MessageBoxAnswerer alive for that).
 * An empty queued path, or an empty queue, cancels the dialog.
 */
class FileDialogAnswerer : public QObject
{
    Q_OBJECT

public:
    FileDialogAnswerer();
    ~FileDialogAnswerer() override;

    // Absolute path to choose in the next dialog; an empty string cancels it.
    void enqueue(const QString &strPath);

    int count() const;
    QString lastTitle() const;
    QString lastDirectory() const;

private:
    void poll();

    QTimer m_timer;
    QQueue<QString> m_queue;
    int m_count = 0;
    QString m_lastTitle;
    QString m_lastDirectory;
    QPointer<QFileDialog> m_answering;
};
