// The web floors of the start-up benchmark, one per run, reporting the same markers as the probe
// plug-in in the application (see StartupMarkers), "mapped" and "bridge":
//   startup_floor webview-window <page file>  a QMainWindow holding a QWebEngineView that loads
//                                             the page
//   startup_floor webview <page file>         a bare QWebEngineView loading the page
// The page gets the port of a bare web channel server (no secret check, nothing published), so
// its bridge connects the way the welcome page's does.

#include "baretransport.h"
#include "startupmarkers.h"

#include <QApplication>
#include <QFileInfo>
#include <QHostAddress>
#include <QMainWindow>
#include <QUrl>
#include <QUrlQuery>
#include <QWebChannel>
#include <QWebEngineView>
#include <QWebSocket>
#include <QWebSocketServer>

#include <cstdio>
#include <memory>

namespace {

const QSize windowSize(1280, 800);

struct Bridge
{
    QWebSocketServer server{QStringLiteral("Bench"), QWebSocketServer::NonSecureMode};
    QWebChannel channel;

    Bridge()
    {
        if (!server.listen(QHostAddress::LocalHost, 0))
            qFatal("startup_floor: cannot listen on the loopback address");
        QObject::connect(&server, &QWebSocketServer::newConnection, &server, [this] {
            channel.connectTo(new BareTransport(server.nextPendingConnection()));
        });
    }

    QUrl pageUrl(const QString &strPageFile) const
    {
        QUrl url = QUrl::fromLocalFile(QFileInfo(strPageFile).absoluteFilePath());
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("port"), QString::number(server.serverPort()));
        query.addQueryItem(QStringLiteral("theme"), QStringLiteral("Dark"));
        url.setQuery(query);
        url.setFragment(QStringLiteral("token=bench"));
        return url;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString pageFile = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const bool needsPage =
            mode == QLatin1String("webview-window") || mode == QLatin1String("webview");
    if ((mode != QLatin1String("mainwindow") && !needsPage) || (needsPage && pageFile.isEmpty())) {
        std::fprintf(stderr, "usage: startup_floor mainwindow | webview-window <page file> | "
                             "webview <page file>\n");
        return 2;
    }

    StartupMarkers markers;
    std::unique_ptr<Bridge> bridge;
    std::unique_ptr<QWidget> window;
    QWebEngineView *view = nullptr;
    if (mode == QLatin1String("webview")) {
        window = std::make_unique<QWebEngineView>();
        view = static_cast<QWebEngineView *>(window.get());
    } else {
        auto *mainWindow = new QMainWindow;
        window.reset(mainWindow);
        if (needsPage) {
            view = new QWebEngineView;
            mainWindow->setCentralWidget(view);
        }
    }
    if (view) {
        bridge = std::make_unique<Bridge>();
        markers.watchBridge();
        view->load(bridge->pageUrl(pageFile));
    }
    markers.watchWindow(window.get());
    window->resize(windowSize);
    window->show();
    return QApplication::exec();
}
