#pragma once

#include <QStringList>
#include <QtGlobal>

/*!
 * Records the Qt messages written while it lives and passes each on to the handler it replaced,
 * so QTest::ignoreMessage keeps working. One recorder at a time.
 */
class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();

    QStringList messages(QtMsgType type) const;
    QStringList warnings() const { return messages(QtWarningMsg); }

private:
    static void record(QtMsgType type, const QMessageLogContext &context, const QString &text);
};
