#include "calllog.h"

void CallLog::record(const QObject *, const QString &call)
{
    m_calls.append(call);
}
