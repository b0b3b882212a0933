#pragma once

#include "core_global.h"
#include "idocument.h"

#include <QObject>
#include <QPointer>

/*!
 * The base of the views through which the user works on one document. setDocument() binds the
 * editor and re-emits the document's signals as the editor's own, so the editor's widgets only
 * ever listen to the editor. aboutToActivate() and aboutToDeactivate() come from EditorManager.
 */
class CORE_EXPORT IEditor : public QObject
{
    Q_OBJECT

public:
    explicit IEditor(QObject *parent = nullptr);
    ~IEditor() override;

    IDocument *getDocument() const;
    // Earlier documents stay connected; the core binds each editor once.
    void setDocument(IDocument *pDocument);

signals:
    void documentLoaded();
    void documentDataChanged(QObject *pUpdateInfo);
    void documentUnloading();
    void documentTitleChanged();
    void documentModifyChanged(bool isModified);
    void aboutToActivate();
    void aboutToDeactivate();
    void undoStackChanged();

private:
    QPointer<IDocument> m_pDocument; // not owned
};
