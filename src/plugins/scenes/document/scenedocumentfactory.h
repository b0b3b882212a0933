#pragma once

#include "idocumentfactory.h"
#include "scenes_global.h"

/*!
 * The project type of the scenes plug-in: ".veldra" files and their compressed form
 * ".veldrapack". Everything it creates belongs to the caller.
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
};
