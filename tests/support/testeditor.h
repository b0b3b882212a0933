#pragma once

#include "calllog.h"
#include "ieditor.h"

#include <memory>

/*!
 * An editor that records each of its own signals as it is emitted ("TestEditor::documentLoaded",
 * "TestEditor::aboutToActivate", ...) and its destruction ("TestEditor::~TestEditor").
 * IEditor::setDocument() is not virtual, so the binding itself shows in getDocument() and in
 * the document signals the editor forwards afterwards.
 */
class TestEditor : public IEditor
{
    Q_OBJECT

public:
    explicit TestEditor(std::shared_ptr<CallLog> log = nullptr);
    ~TestEditor() override;

    std::shared_ptr<CallLog> callLog() const;

private:
    void record(const QString &operation);

    std::shared_ptr<CallLog> m_log;
};
