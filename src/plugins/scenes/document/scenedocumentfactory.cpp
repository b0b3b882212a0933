#include "scenedocumentfactory.h"

#include "createprojectdialog.h"
#include "icore.h"
#include "mainwindow.h"
#include "scenedocument.h"
#include "sceneeditor.h"
#include "scenesoptionsdialog.h"

#include <QCoreApplication>
#include <QFileDialog>

SceneDocumentFactory::SceneDocumentFactory(QObject *parent) : IDocumentFactory(parent) {}

SceneDocumentFactory::~SceneDocumentFactory()
{
    for (const QPointer<IOptionsDlg> &dialog : qAsConst(m_optionsDialogs))
        delete dialog.data();
}

QString SceneDocumentFactory::fileFilter()
{
    return QCoreApplication::translate("SceneDocumentFactory",
                                       "Veldra projects (*.veldra *.veldrapack)");
}

IDocument *SceneDocumentFactory::createDocument()
{
    return new SceneDocument();
}

IEditor *SceneDocumentFactory::createEditor()
{
    return new SceneEditor();
}

QStringList SceneDocumentFactory::getSupportedSuffixes()
{
    return {QStringLiteral("veldra"), QStringLiteral("veldrapack")};
}

IOptionsDlg *SceneDocumentFactory::createOptionsDlg()
{
    auto *dialog = new ScenesOptionsDialog();
    m_optionsDialogs.append(dialog);
    return dialog;
}

ICreateDocumentDlg *SceneDocumentFactory::createDocumentDlg()
{
    return new CreateProjectDialog(ICore::getMainWindow());
}

QString SceneDocumentFactory::getOpenFileName()
{
    return QFileDialog::getOpenFileName(ICore::getMainWindow(), tr("Open Project"), QString(),
                                        fileFilter());
}
