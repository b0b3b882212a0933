#pragma once

#include "core_global.h"

#include <QObject>
#include <QString>
#include <QStringList>

class ICreateDocumentDlg;
class IDocument;
class IEditor;
class IOptionsDlg;

/*!
 * What a plug-in registers in the host's object pool to supply a project type: its documents,
 * editors, new-project dialog and options dialog. Everything it creates belongs to the caller.
 */
class CORE_EXPORT IDocumentFactory : public QObject
{
    Q_OBJECT

public:
    explicit IDocumentFactory(QObject *parent);
    ~IDocumentFactory() override;

public slots:
    virtual IDocument *createDocument() = 0;
    virtual IEditor *createEditor() = 0;
    // Lower-case suffixes without the dot.
    virtual QStringList getSupportedSuffixes() = 0;
    virtual IOptionsDlg *createOptionsDlg() = 0;
    virtual ICreateDocumentDlg *createDocumentDlg() = 0;
    // The project file the user picked, or an empty string when cancelled.
    virtual QString getOpenFileName() = 0;
};
