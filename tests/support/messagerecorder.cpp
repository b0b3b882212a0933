#include "messagerecorder.h"

#include <QList>
#include <QPair>

namespace {
QList<QPair<QtMsgType, QString>> s_entries;
QtMessageHandler s_previous = nullptr;
} // namespace

MessageRecorder::MessageRecorder()
{
    s_entries.clear();
    s_previous = qInstallMessageHandler(&MessageRecorder::record);
}

MessageRecorder::~MessageRecorder()
{
    qInstallMessageHandler(s_previous);
}

QStringList MessageRecorder::messages(QtMsgType type) const
{
    QStringList result;
    for (const auto &entry : qAsConst(s_entries)) {
        if (entry.first == type)
            result << entry.second;
    }
    return result;
}

void MessageRecorder::record(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    s_entries.append({type, text});
    if (s_previous)
        s_previous(type, context, text);
}
