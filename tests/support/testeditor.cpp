#include "testeditor.h"

TestEditor::TestEditor(std::shared_ptr<CallLog> log)
    : m_log(log ? std::move(log) : std::make_shared<CallLog>())
{
    connect(this, &IEditor::documentLoaded, this,
            [this] { record(QStringLiteral("documentLoaded")); });
    connect(this, &IEditor::documentDataChanged, this,
            [this] { record(QStringLiteral("documentDataChanged")); });
    connect(this, &IEditor::documentUnloading, this,
            [this] { record(QStringLiteral("documentUnloading")); });
    connect(this, &IEditor::documentTitleChanged, this,
            [this] { record(QStringLiteral("documentTitleChanged")); });
    connect(this, &IEditor::documentModifyChanged, this,
            [this] { record(QStringLiteral("documentModifyChanged")); });
    connect(this, &IEditor::aboutToActivate, this,
            [this] { record(QStringLiteral("aboutToActivate")); });
    connect(this, &IEditor::aboutToDeactivate, this,
            [this] { record(QStringLiteral("aboutToDeactivate")); });
    connect(this, &IEditor::undoStackChanged, this,
            [this] { record(QStringLiteral("undoStackChanged")); });
}

TestEditor::~TestEditor()
{
    record(QStringLiteral("~TestEditor"));
}

std::shared_ptr<CallLog> TestEditor::callLog() const
{
    return m_log;
}

void TestEditor::record(const QString &operation)
{
    m_log->record(this, QStringLiteral("TestEditor::") + operation);
}
