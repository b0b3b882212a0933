#pragma once

#include <QStringList>

// Records the Qt messages written while it lives and passes each on to the handler it replaced,
// so QTest::ignoreMessage keeps working. One recorder at a time.
class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();

    QStringList messages(QtMsgType type) const;
    QStringList warnings() const { return messages(QtWarningMsg); }
};
