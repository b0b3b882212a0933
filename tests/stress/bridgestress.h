#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

/*!
 * Starts the real application and attacks its welcome-page bridge as a hostile page or local
 * process would: connections from a sandboxed frame (Origin "null") and without the secret,
 * thousands of requests that each open a message box, a thousand connections at once, a client
 * that never reads its answers, and a flood of malformed messages. After each attack the
 * application must still be running and answer a query.
 *
 * It prints what it sent, what was let in and the application's resident memory before and
 * after; run() is false when the application died, stopped answering or let in a client it
 * should have refused.
 */
class BridgeStress
{
public:
    struct Counts
    {
        int refusedConnections = 1000;
        int nestedBoxCalls = 3000;
        int simultaneousConnections = 1000;
        int stalledRequests = 1000;
        int malformedMessages = 100000;
    };

    BridgeStress(const QString &appPath, const Counts &counts);
    ~BridgeStress();

    bool run();

private:
    bool start();
    bool check(const char *attack, bool passed);
    bool answers();
    qint64 residentKiB() const;

    bool attackWithoutSecret();
    bool attackWithNestedBoxes();
    bool attackWithManyConnections();
    bool attackWithStalledClient();
    bool attackWithMalformedMessages();

    const QString m_appPath;
    const Counts m_counts;
    QTemporaryDir m_home;
    QProcess m_app;
    quint16 m_port = 0;
    QString m_token;
};
