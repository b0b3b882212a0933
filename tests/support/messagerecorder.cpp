#include "messagerecorder.h"

namespace {
QList<QPair<QtMsgType, QString>> s_entries;
QtMessageHandler s_previous = nullptr;

void record(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    s_entries.append({type, text});
    if (s_previous)
        s_previous(type, context, text);
}
} // namespace

MessageRecorder::MessageRecorder()
{
    s_entries.clear();
    s_previous = qInstallMessageHandler(record);
}

MessageRecorder::~MessageRecorder()
{
    qInstallMessageHandler(s_previous);
}

QStringList MessageRecorder::messages(QtMsgType type) const
{
    QStringList result;
    for (const auto &entry : qAsConst(s_entries))
        if (entry.first == type)
            result << entry.second;
    return result;
}
