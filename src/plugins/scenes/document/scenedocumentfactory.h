#pragma once

#include "idocumentfactory.h"
#include "scenes_global.h"

#include <QList>
#include <QPointer>

/*!
 * The project type of the scenes plug-in: ".veldra" files and their compressed form
 * ".veldrapack". What it creates belongs to the caller, except the options dialogs: the main
 * window only keeps its dialog, so the factory deletes them with itself.
 */
class SCENES_EXPORT SceneDocumentFactory : public IDocumentFactory
{
    Q_OBJECT

public:
    explicit SceneDocumentFactory(QObject *parent = nullptr);
    ~SceneDocumentFactory() override;

    // The file-dialog filter for both suffixes, shared by Open and Save As.
    static QString fileFilter();

public slots:
    IDocument *createDocument() override;
    IEditor *createEditor() override;
    QStringList getSupportedSuffixes() override;
    IOptionsDlg *createOptionsDlg() override;
    ICreateDocumentDlg *createDocumentDlg() override;
    QString getOpenFileName() override;

private:
    QList<QPointer<IOptionsDlg>> m_optionsDialogs;
};
