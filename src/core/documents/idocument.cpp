#include "idocument.h"

#include "icore.h"
#include "irecentfilesmanager.h"
#include "iui.h"
#include "mainwindow.h"

#include <QFileInfo>
#include <QUndoStack>

IDocument::IDocument(QObject *parent)
    : QObject(parent)
{}

IDocument::~IDocument() = default;

QString IDocument::getFileName() const
{
    return m_strFileName;
}

void IDocument::setFileName(const QString &strFileName)
{
    m_strFileName = strFileName;
}

QUndoStack *IDocument::getUndoStack() const
{
    return m_pUndoStack;
}

void IDocument::setIsTempDocument(bool bTempDocument)
{
    m_bTempDocument = bTempDocument;
}

bool IDocument::isOpenAsBackup() const
{
    return m_bOpenAsBackup;
}

void IDocument::setOpenAsBackup(bool bOpenAsBackup)
{
    m_bOpenAsBackup = bOpenAsBackup;
}

bool IDocument::isModified() const
{
    if (isTempDocument())
        return true;
    return m_pUndoStack && !m_pUndoStack->isClean();
}

void IDocument::submitCommand(QUndoCommand *pCommand)
{
    Q_UNUSED(pCommand)
}

bool IDocument::isTempDocument() const
{
    return m_bTempDocument;
}

bool IDocument::open()
{
    emit aboutToOpen();
    return true;
}

bool IDocument::close()
{
    if (!isModified()) {
        emit aboutToClose();
        return true;
    }
    const QString name = QFileInfo(getFileName()).completeBaseName();
    const QMessageBox::StandardButton answer = IUi::question(
            ICore::getMainWindow(), tr("Veldra"), tr("Save changes made to %1?").arg(name),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        return closeAfterYes();
    if (answer == QMessageBox::No)
        return closeAfterNo();
    return false;
}

bool IDocument::save()
{
    return true;
}

bool IDocument::save(const QString &strFile)
{
    Q_UNUSED(strFile)
    return true;
}

bool IDocument::saveAs()
{
    return true;
}

bool IDocument::revert()
{
    return true;
}

void IDocument::cleanTempDir()
{}

bool IDocument::saveBackup()
{
    return false;
}

bool IDocument::closeAfterYes()
{
    if (isTempDocument()) {
        const QString oldFileName = getFileName();
        if (!saveAs())
            return false;
        // The project now lives under the path the user chose: swap it in the recent list.
        IRecentFilesManager *recentFiles = IRecentFilesManager::getInstance();
        recentFiles->removeRecentFile(oldFileName);
        recentFiles->addRecentFile(getFileName());
    } else if (!save()) {
        const QString name = QFileInfo(getFileName()).completeBaseName();
        IUi::information(ICore::getMainWindow(), tr("Veldra"),
                         tr("Could not save project %1").arg(name), QMessageBox::Ok,
                         QMessageBox::Ok);
        return false;
    }
    emit aboutToClose();
    return true;
}

bool IDocument::closeAfterNo()
{
    // An unsaved temporary project is discarded, so it must not stay among the recent ones.
    if (isTempDocument())
        IRecentFilesManager::getInstance()->removeRecentFile(getFileName());
    emit aboutToClose();
    return true;
}
