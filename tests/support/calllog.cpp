#include "calllog.h"

void CallLog::record(const QObject *object, const QString &call)
{
    m_entries.append({object, call});
}

void CallLog::clear()
{
    m_entries.clear();
}

QStringList CallLog::calls() const
{
    QStringList result;
    for (const Entry &entry : m_entries)
        result.append(entry.call);
    return result;
}

QStringList CallLog::callsOf(const QObject *object) const
{
    QStringList result;
    for (const Entry &entry : m_entries) {
        if (entry.object == object)
            result.append(entry.call);
    }
    return result;
}

int CallLog::count(const QString &call) const
{
    return calls().count(call);
}
