#pragma once

#include <QStringList>

QT_BEGIN_NAMESPACE
class QObject;
QT_END_NAMESPACE

// The calls the test doubles receive, in order, as "Class::operation" ("TestDocument::save");
// doubles that work together share one log, so a test sees the order across all of them.
class CallLog
{
public:
    void record(const QObject *, const QString &call) { m_calls.append(call); }
    void clear() { m_calls.clear(); }
    QStringList calls() const { return m_calls; }
    int count(const QString &call) const { return m_calls.count(call); }

private:
    QStringList m_calls;
};
