#include "messagerecorder.h"

QList<MessageRecorder::Entry> MessageRecorder::s_entries;
QtMessageHandler MessageRecorder::s_previous = nullptr;

MessageRecorder::MessageRecorder()
{
    s_entries.clear();
    s_previous = qInstallMessageHandler(&MessageRecorder::record);
}

MessageRecorder::~MessageRecorder()
{
    qInstallMessageHandler(s_previous);
    s_previous = nullptr;
}

QStringList MessageRecorder::messages(QtMsgType type) const
{
    QStringList result;
    for (const Entry &entry : qAsConst(s_entries)) {
        if (entry.type == type)
            result << entry.text;
    }
    return result;
}

QStringList MessageRecorder::warnings() const
{
    return messages(QtWarningMsg);
}

void MessageRecorder::clear()
{
    s_entries.clear();
}

void MessageRecorder::record(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    s_entries.append({type, text});
    if (s_previous)
        s_previous(type, context, text);
}
