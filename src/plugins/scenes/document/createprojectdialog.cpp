#include "createprojectdialog.h"

#include "icore.h"
#include "projectformat.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {
const QString forbiddenNameCharacters = QStringLiteral("/\\:*?\"<>|");
// In the group the main window looks for to tell the first start from the others.
const QString lastFolderKey = QStringLiteral("Designer/LastProjectFolder");

// The folder of the last new project while it exists, else the documents folder (made if it is
// missing), else the home folder: always one a project can be saved in.
QString initialFolder()
{
    const QSettings *settings = ICore::settings();
    const QString last = settings ? settings->value(lastFolderKey).toString() : QString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir().mkpath(documents))
        return documents;
    return QDir::homePath();
}
} // namespace

CreateProjectDialog::CreateProjectDialog(QWidget *parent)
    : ICreateDocumentDlg(parent)
{
    setWindowTitle(tr("New Project"));

    m_pNameEdit = new QLineEdit(this);
    m_pNameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_pNameEdit->setPlaceholderText(tr("Name of the project"));
    m_pFolderEdit = new QLineEdit(QDir::toNativeSeparators(initialFolder()), this);
    m_pFolderEdit->setObjectName(QStringLiteral("folderEdit"));
    auto *browseButton = new QPushButton(tr("Browse..."), this);
    browseButton->setObjectName(QStringLiteral("browseButton"));
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_pFolderEdit);
    folderRow->addWidget(browseButton);

    m_pWidthSpin = addSpinBox(QStringLiteral("widthSpin"), ProjectFormat::MinStageSize,
                              ProjectFormat::MaxStageSize, 1280);
    m_pHeightSpin = addSpinBox(QStringLiteral("heightSpin"), ProjectFormat::MinStageSize,
                               ProjectFormat::MaxStageSize, 720);
    m_pFrameRateSpin = addSpinBox(QStringLiteral("frameRateSpin"), ProjectFormat::MinFrameRate,
                                  ProjectFormat::MaxFrameRate, 30);
    m_pWidthSpin->setSuffix(tr(" px"));
    m_pHeightSpin->setSuffix(tr(" px"));
    m_pFrameRateSpin->setSuffix(tr(" fps"));

    auto *form = new QFormLayout;
    form->addRow(tr("&Name:"), m_pNameEdit);
    // A row holding a layout gives its label no buddy; the folder field gets it explicitly.
    auto *folderLabel = new QLabel(tr("&Folder:"), this);
    folderLabel->setBuddy(m_pFolderEdit);
    form->addRow(folderLabel, folderRow);
    form->addRow(tr("&Width:"), m_pWidthSpin);
    form->addRow(tr("&Height:"), m_pHeightSpin);
    form->addRow(tr("F&rame rate:"), m_pFrameRateSpin);

    m_pProblemLabel = new QLabel(this);
    m_pProblemLabel->setObjectName(QStringLiteral("problemLabel"));
    m_pProblemLabel->setWordWrap(true);
    m_pButtonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_pProblemLabel);
    layout->addWidget(m_pButtonBox);

    connect(m_pNameEdit, &QLineEdit::textChanged, this, &CreateProjectDialog::validate);
    connect(m_pFolderEdit, &QLineEdit::textChanged, this, &CreateProjectDialog::validate);
    connect(browseButton, &QPushButton::clicked, this, &CreateProjectDialog::browse);
    connect(m_pButtonBox, &QDialogButtonBox::accepted, this, &CreateProjectDialog::accept);
    connect(m_pButtonBox, &QDialogButtonBox::rejected, this, &CreateProjectDialog::reject);
    validate();
}

CreateProjectDialog::~CreateProjectDialog() = default;

QString CreateProjectDialog::getFileName()
{
    return problem().isEmpty() ? fileName() : QString();
}

int CreateProjectDialog::getParameter1()
{
    return m_pWidthSpin->value();
}

int CreateProjectDialog::getParameter2()
{
    return m_pHeightSpin->value();
}

int CreateProjectDialog::getParameter3()
{
    return m_pFrameRateSpin->value();
}

// The folder may have changed on disk since the last edit, so the values are checked again.
void CreateProjectDialog::accept()
{
    validate();
    if (!problem().isEmpty())
        return;
    const QString folder = QDir::cleanPath(QDir::fromNativeSeparators(folderText()));
    if (!QDir().mkpath(folder)) {
        m_pProblemLabel->setText(
                tr("The folder %1 cannot be created.").arg(QDir::toNativeSeparators(folder)));
        return;
    }
    validate(); // a folder just made may still refuse writing
    if (!problem().isEmpty())
        return;
    if (QSettings *settings = ICore::settings())
        settings->setValue(lastFolderKey, folder);
    ICreateDocumentDlg::accept();
}

QSpinBox *CreateProjectDialog::addSpinBox(const QString &strObjectName, int nMin, int nMax,
                                          int nValue)
{
    auto *spinBox = new QSpinBox(this);
    spinBox->setObjectName(strObjectName);
    spinBox->setRange(nMin, nMax);
    spinBox->setValue(nValue);
    return spinBox;
}

QString CreateProjectDialog::folderText() const
{
    return m_pFolderEdit->text().trimmed();
}

QString CreateProjectDialog::problem() const
{
    const QString name = m_pNameEdit->text().trimmed();
    const QString folder = folderText();
    const QFileInfo folderInfo(folder);
    if (name.isEmpty())
        return tr("Enter a name for the project.");
    for (const QChar character : name) {
        if (forbiddenNameCharacters.contains(character) ||
            character.category() == QChar::Other_Control)
            return tr("A project name cannot contain any of these characters: / \\ : * ? \" < > |");
    }
    if (!QDir::isAbsolutePath(QDir::fromNativeSeparators(folder)))
        return tr("Enter the full path of the folder for the project.");
    if (folderInfo.exists() && !folderInfo.isDir())
        return tr("%1 is a file, not a folder.").arg(QDir::toNativeSeparators(folder));
    if (!folderInfo.exists())
        return QString(); // made on OK
    if (!folderInfo.isWritable())
        return tr("The folder %1 cannot be written to.").arg(QDir::toNativeSeparators(folder));
    if (QFileInfo::exists(fileName()))
        return tr("A project named %1 already exists in this folder.").arg(name);
    return QString();
}

QString CreateProjectDialog::fileName() const
{
    const QString name = m_pNameEdit->text().trimmed() + QLatin1String(".veldra");
    return QDir::cleanPath(QDir(QDir::fromNativeSeparators(folderText())).absoluteFilePath(name));
}

void CreateProjectDialog::validate()
{
    const QString text = problem();
    const bool madeOnOk = text.isEmpty() && !QFileInfo::exists(folderText());
    m_pProblemLabel->setText(madeOnOk ? tr("The folder %1 does not exist yet; OK creates it.")
                                                .arg(QDir::toNativeSeparators(folderText()))
                                      : text);
    m_pButtonBox->button(QDialogButtonBox::Ok)->setEnabled(text.isEmpty());
}

void CreateProjectDialog::browse()
{
    const QString folder = QFileDialog::getExistingDirectory(
            this, tr("Choose Folder"), m_pFolderEdit->text(),
            QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (!folder.isEmpty())
        m_pFolderEdit->setText(QDir::toNativeSeparators(folder));
}
