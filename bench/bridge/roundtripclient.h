#pragma once

#include <QEventLoop>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QWebSocket>

/*!
 * A page's side of the bridge, driven by the event loop: it calls the published object's
 * "echo" slot as qwebchannel.js would (one JSON text message) and sends the next call as soon as
 * the answer with the call's id has come back. Against a plain echo server the answer is the
 * call itself.
 */
class RoundTripClient : public QObject
{
    Q_OBJECT

public:
    RoundTripClient();

    // Connects (with the Origin of a page loaded from disk); false when refused or unanswered.
    bool open(const QUrl &url);
    // Asks the channel for its objects and finds the "echo" slot of strObject.
    bool initialize(const QString &strObject);
    // Makes the same calls as other, for a server that only echoes them.
    void callLike(const RoundTripClient &other);
    // Makes nCalls calls with strArgument one after the other; false when an answer is missing
    // or wrong.
    bool run(int nCalls, const QString &strArgument);

private:
    void send(const QJsonObject &message);
    void sendCall();
    void receive(const QString &strMessage);
    bool waitForAnswer();
    void spin(); // runs the event loop until something quits it, at most ten seconds

    QWebSocket m_socket;
    QEventLoop m_loop;
    QString m_strObject;
    QString m_strArgument;
    int m_nMethod = -1;
    int m_nId = 0;
    int m_nCallsLeft = 0;
    QJsonObject m_answer; // the last message with the awaited id
};
