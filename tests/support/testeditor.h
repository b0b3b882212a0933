#pragma once

#include "calllog.h"
#include "ieditor.h"

#include <memory>

/*!
 * An editor that records each signal IEditor declares as it is emitted
 * ("TestEditor::documentLoaded", "TestEditor::aboutToActivate", ...) and its destruction
 * ("TestEditor::~TestEditor").
 */
class TestEditor : public IEditor
{
    Q_OBJECT

public:
    explicit TestEditor(std::shared_ptr<CallLog> log = nullptr);
    ~TestEditor() override;

    std::shared_ptr<CallLog> callLog() const { return m_log; }

private slots:
    void recordSignal();

private:
    std::shared_ptr<CallLog> m_log;
};
