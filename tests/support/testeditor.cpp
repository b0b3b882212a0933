#include "testeditor.h"

#include <QMetaMethod>

TestEditor::TestEditor(std::shared_ptr<CallLog> log)
    : m_log(std::move(log))
{
    const QMetaObject &editor = IEditor::staticMetaObject;
    const QMetaMethod recorder = metaObject()->method(metaObject()->indexOfSlot("recordSignal()"));
    for (int i = editor.methodOffset(); i < editor.methodCount(); ++i) {
        if (editor.method(i).methodType() == QMetaMethod::Signal)
            connect(this, editor.method(i), this, recorder);
    }
}

TestEditor::~TestEditor()
{
    m_log->record(this, QStringLiteral("TestEditor::~TestEditor"));
}

void TestEditor::recordSignal()
{
    const QByteArray name = metaObject()->method(senderSignalIndex()).name();
    m_log->record(this, QStringLiteral("TestEditor::") + QString::fromLatin1(name));
}
