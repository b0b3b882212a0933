#include "ieditor.h"

IEditor::IEditor(QObject *parent)
    : QObject(parent)
{}

IEditor::~IEditor() = default;

IDocument *IEditor::getDocument() const
{
    return m_pDocument;
}

void IEditor::setDocument(IDocument *pDocument)
{
    m_pDocument = pDocument;
    if (!pDocument)
        return;
    connect(pDocument, &IDocument::aboutToOpen, this, &IEditor::documentLoaded);
    connect(pDocument, &IDocument::dataChanged, this, &IEditor::documentDataChanged);
    connect(pDocument, &IDocument::aboutToClose, this, &IEditor::documentUnloading);
    connect(pDocument, &IDocument::titleChanged, this, &IEditor::documentTitleChanged);
    connect(pDocument, &IDocument::modifyChanged, this, &IEditor::documentModifyChanged);
    connect(pDocument, &IDocument::undoStackChanged, this, &IEditor::undoStackChanged);
}
