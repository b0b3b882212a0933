#include "roundtripclient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>

namespace {

// Message types of the web channel's protocol.
constexpr int initType = 3;
constexpr int idleType = 4;
constexpr int invokeType = 6;

constexpr int timeoutMs = 10000;

} // namespace

RoundTripClient::RoundTripClient()
    : m_socket(QStringLiteral("file://"))
{
    connect(&m_socket, &QWebSocket::connected, &m_loop, &QEventLoop::quit);
    connect(&m_socket, &QWebSocket::disconnected, &m_loop, &QEventLoop::quit);
    connect(&m_socket, &QWebSocket::textMessageReceived, this, &RoundTripClient::receive);
}

bool RoundTripClient::open(const QUrl &url)
{
    m_socket.open(url);
    spin();
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

bool RoundTripClient::initialize(const QString &strObject)
{
    m_strObject = strObject;
    send({{QStringLiteral("type"), initType}, {QStringLiteral("id"), ++m_nId}});
    if (!waitForAnswer())
        return false;
    const QJsonObject object =
            m_answer.value(QStringLiteral("data")).toObject().value(strObject).toObject();
    for (const QJsonValue &method : object.value(QStringLiteral("methods")).toArray()) {
        if (method.toArray().at(0).toString() == QLatin1String("echo"))
            m_nMethod = method.toArray().at(1).toInt(-1);
    }
    send({{QStringLiteral("type"), idleType}});
    return m_nMethod >= 0;
}

void RoundTripClient::callLike(const RoundTripClient &other)
{
    m_strObject = other.m_strObject;
    m_nMethod = other.m_nMethod;
}

bool RoundTripClient::run(int nCalls, const QString &strArgument)
{
    m_strArgument = strArgument;
    m_nCallsLeft = nCalls;
    sendCall();
    return waitForAnswer() && m_nCallsLeft == 0;
}

void RoundTripClient::send(const QJsonObject &message)
{
    m_socket.sendTextMessage(
            QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
}

void RoundTripClient::sendCall()
{
    send({{QStringLiteral("type"), invokeType},
          {QStringLiteral("object"), m_strObject},
          {QStringLiteral("method"), m_nMethod},
          {QStringLiteral("args"), QJsonArray{m_strArgument}},
          {QStringLiteral("id"), ++m_nId}});
}

// An answer to the call in flight is either the channel's response, carrying the argument back
// as its data, or the echoed call, carrying it in its arguments.
void RoundTripClient::receive(const QString &strMessage)
{
    const QJsonObject message = QJsonDocument::fromJson(strMessage.toUtf8()).object();
    if (message.value(QStringLiteral("id")).toInt(-1) != m_nId)
        return;
    m_answer = message;
    if (m_nCallsLeft > 0) {
        const QJsonValue data = message.contains(QStringLiteral("data"))
                                        ? message.value(QStringLiteral("data"))
                                        : message.value(QStringLiteral("args")).toArray().at(0);
        if (data.toString() != m_strArgument) {
            m_nCallsLeft = -1;
            m_loop.quit();
            return;
        }
        if (--m_nCallsLeft > 0) {
            sendCall();
            return;
        }
    }
    m_loop.quit();
}

bool RoundTripClient::waitForAnswer()
{
    m_answer = QJsonObject();
    spin();
    return !m_answer.isEmpty() && m_nCallsLeft >= 0;
}

void RoundTripClient::spin()
{
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &m_loop, &QEventLoop::quit);
    timeout.start(timeoutMs);
    m_loop.exec();
}
