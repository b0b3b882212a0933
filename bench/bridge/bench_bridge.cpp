// Times calls from a page to the application through the welcome page's bridge: the
// application's WebSocketClientWrapper (Origin check, per-run secret, limits) and
// WebSocketTransport under a QWebChannel, as the main window wires them. A client speaks the
// web channel's JSON protocol over a real QWebSocket on loopback, as qwebchannel.js does, and
// waits for each answer before the next call. Floors, measured interleaved in the same run:
//   raw WebSocket echo   a server that sends every text message straight back
//   bare QWebChannel     the same channel and object over a transport that checks nothing
// Prints the median time of one round trip over each and the ratios.
//   bench_bridge [runs]      (default 11)

#include "baretransport.h"
#include "benchobject.h"
#include "benchreport.h"
#include "roundtripclient.h"
#include "websocketclientwrapper.h"
#include "websockettransport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUrlQuery>
#include <QWebChannel>
#include <QWebSocket>
#include <QWebSocketServer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

const QString objectName = QStringLiteral("bench");

QUrl serverUrl(const QWebSocketServer &server, const QString &strToken = QString())
{
    QUrl url(QStringLiteral("ws://127.0.0.1/"));
    url.setPort(server.serverPort());
    if (!strToken.isEmpty())
        url.setQuery(QUrlQuery{{QStringLiteral("token"), strToken}});
    return url;
}

bool listen(QWebSocketServer &server)
{
    return server.listen(QHostAddress::LocalHost, 0);
}

void fail(const char *what)
{
    std::fprintf(stderr, "bench_bridge: %s\n", what);
    std::exit(1);
}

// Nanoseconds per round trip.
double timed(RoundTripClient &client, int calls, const QString &argument)
{
    QElapsedTimer timer;
    timer.start();
    if (!client.run(calls, argument))
        fail("a call went unanswered or came back wrong");
    return double(timer.nsecsElapsed()) / calls;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 11;
    if (runs < 1) {
        std::fprintf(stderr, "usage: bench_bridge [runs]\n");
        return 2;
    }

    QWebSocketServer echoServer(QStringLiteral("echo"), QWebSocketServer::NonSecureMode);
    QObject::connect(&echoServer, &QWebSocketServer::newConnection, &echoServer, [&echoServer] {
        QWebSocket *socket = echoServer.nextPendingConnection();
        QObject::connect(socket, &QWebSocket::textMessageReceived, socket,
                         [socket](const QString &text) { socket->sendTextMessage(text); });
    });

    BenchObject bareObject;
    QWebChannel bareChannel;
    bareChannel.registerObject(objectName, &bareObject);
    QWebSocketServer bareServer(QStringLiteral("bare"), QWebSocketServer::NonSecureMode);
    QObject::connect(&bareServer, &QWebSocketServer::newConnection, &bareServer, [&] {
        bareChannel.connectTo(new BareTransport(bareServer.nextPendingConnection()));
    });

    // The application's bridge, wired as the main window wires it.
    BenchObject bridgeObject;
    QWebChannel bridgeChannel;
    bridgeChannel.registerObject(objectName, &bridgeObject);
    QWebSocketServer bridgeServer(QStringLiteral("VDServer"), QWebSocketServer::NonSecureMode);
    if (!listen(echoServer) || !listen(bareServer) || !listen(bridgeServer))
        fail("cannot listen on loopback");
    WebSocketClientWrapper wrapper(&bridgeServer);
    QObject::connect(&wrapper, &WebSocketClientWrapper::clientConnected, &bridgeChannel,
                     &QWebChannel::connectTo);

    RoundTripClient bridge, bare, echo;
    if (!bridge.open(serverUrl(bridgeServer, wrapper.secret())) ||
        !bare.open(serverUrl(bareServer)) || !echo.open(serverUrl(echoServer)))
        fail("a client cannot connect");
    if (!bridge.initialize(objectName) || !bare.initialize(objectName))
        fail("a channel does not describe its object");
    echo.callLike(bridge);

    const BenchReport report(QStringLiteral("bridge"));
    struct Case
    {
        QString name;
        QString argument;
        int calls;
    };
    const Case cases[] = {
            {QStringLiteral("call, 16 B argument"), QString(16, QLatin1Char('a')), 400},
            {QStringLiteral("call, 16 KiB argument"), QString(16384, QLatin1Char('a')), 100}};
    for (const Case &c : cases) {
        RoundTripClient *clients[] = {&bridge, &bare, &echo};
        std::vector<double> samples[3];
        for (int run = 0; run < runs; ++run) {
            for (int i = 0; i < 3; ++i) { // each goes first in turn
                const int which = (run + i) % 3;
                samples[which].push_back(timed(*clients[which], c.calls, c.argument));
            }
        }
        report.addTimes(c.name, samples[0], QStringLiteral("raw WebSocket echo"), samples[2]);
        report.addTimes(c.name, samples[0], QStringLiteral("bare QWebChannel"), samples[1],
                        QStringLiteral("<= 1.1"));
    }
    return 0;
}
