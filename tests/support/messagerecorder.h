#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

/*!
 * Records the Qt messages (qDebug, qInfo, qWarning, ...) written while it lives and passes each
 * on to the handler it replaced, so QTest::ignoreMessage keeps working. For checks that
 * something was logged, or that nothing was. One recorder at a time.
 */
class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();

    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    QStringList messages(QtMsgType type) const;
    QStringList warnings() const;
    void clear();

private:
    static void record(QtMsgType type, const QMessageLogContext &context, const QString &text);

    struct Entry
    {
        QtMsgType type;
        QString text;
    };
    static QList<Entry> s_entries;
    static QtMessageHandler s_previous;
};
