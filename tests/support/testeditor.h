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
    explicit TestEditor(std::shared_ptr<CallLog> log = std::make_shared<CallLog>());
    ~TestEditor() override;

private slots:
    void recordSignal();

private:
    std::shared_ptr<CallLog> m_log;
};
