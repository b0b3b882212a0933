#pragma once

#include <QList>
#include <QString>
#include <QStringList>

QT_BEGIN_NAMESPACE
class QObject;
QT_END_NAMESPACE

/*!
 * The calls the test doubles receive, in order, as "Class::operation" entries such as
 * "TestDocument::save" or "TestEditor::aboutToActivate". The doubles that work together share
 * one log (std::shared_ptr), so a test sees the order across all of them. Each entry also keeps
 * the address of the object that recorded it, only to tell objects apart.
 */
class CallLog
{
public:
    void record(const QObject *object, const QString &call);
    void clear();

    QStringList calls() const;
    QStringList callsOf(const QObject *object) const;
    int count(const QString &call) const;

private:
    struct Entry
    {
        const QObject *object;
        QString call;
    };
    QList<Entry> m_entries;
};
