#pragma once

#include "icreatedocumentdlg.h"
#include "scenes_global.h"

QT_BEGIN_NAMESPACE
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QSpinBox;
QT_END_NAMESPACE

/*!
 * The new-project dialog: the project's name and folder, and the stage's width, height and
 * frame rate. It can only be accepted with values that make a project; while they do not, a
 * line under the fields says why. A folder that does not exist yet is made on OK. The dialog
 * starts in the folder of the last new project (kept in the settings), else in the documents
 * folder.
 */
class SCENES_EXPORT CreateProjectDialog : public ICreateDocumentDlg
{
    Q_OBJECT

public:
    explicit CreateProjectDialog(QWidget *parent = nullptr);
    ~CreateProjectDialog() override;

    // folder/name.veldra, or empty while the values do not make a project.
    QString getFileName() override;
    int getParameter1() override; // stage width
    int getParameter2() override; // stage height
    int getParameter3() override; // frame rate

    void accept() override;

private:
    QSpinBox *addSpinBox(const QString &strObjectName, int nMin, int nMax, int nValue);
    QString folderText() const;
    QString problem() const;
    QString fileName() const;
    void validate();
    void browse();

    QLineEdit *m_pNameEdit = nullptr;         // child
    QLineEdit *m_pFolderEdit = nullptr;       // child
    QSpinBox *m_pWidthSpin = nullptr;         // child
    QSpinBox *m_pHeightSpin = nullptr;        // child
    QSpinBox *m_pFrameRateSpin = nullptr;     // child
    QLabel *m_pProblemLabel = nullptr;        // child
    QDialogButtonBox *m_pButtonBox = nullptr; // child
};
