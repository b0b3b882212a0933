#include "filedialoganswerer.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

namespace {

// Puts the path where the user would: a folder dialog is opened on the folder with an empty name
// field; a file dialog gets the file's folder and its name typed into the name field, which
// selectFile() alone leaves untouched while the field has the keyboard focus.
void choose(QFileDialog *dialog, const QString &path)
{
    auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    const bool folders = dialog->fileMode() == QFileDialog::Directory ||
                         dialog->testOption(QFileDialog::ShowDirsOnly);
    if (folders) {
        dialog->setDirectory(path);
        if (nameEdit)
            nameEdit->clear();
        return;
    }
    dialog->selectFile(path);
    if (nameEdit)
        nameEdit->setText(QFileInfo(path).fileName());
}

} // namespace

FileDialogAnswerer::FileDialogAnswerer()
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &FileDialogAnswerer::poll);
    m_timer.start();
}

void FileDialogAnswerer::poll()
{
    auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || dialog == m_answering)
        return;
    m_answering = dialog;
    ++m_count;
    m_lastDirectory = dialog->directory().absolutePath();
    const QString path = m_queue.isEmpty() ? QString() : m_queue.dequeue();
    if (path.isEmpty()) {
        dialog->reject();
        return;
    }
    choose(dialog, path);
    // QFileDialog hides accept(); through QDialog it still runs the file dialog's own checks.
    static_cast<QDialog *>(dialog)->accept();
}
