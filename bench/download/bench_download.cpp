// Fetches one URL with the update downloader and prints, on one line:
//   <seconds> <bytes> <peak resident growth in KiB>
// The file lands in $HOME/Downloads/, so run it with HOME pointing at a scratch folder.

#include "downloader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

namespace {

const int timeoutMs = 300000;

// A value in KiB from /proc/self/status ("VmRSS", "VmHWM"), or -1.
qint64 statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Lets VmHWM start again from the current resident size (Linux 4.0 and later).
void resetPeakResidentSize()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_download <url>\n");
        return 2;
    }
    const QUrl url(QString::fromLocal8Bit(argv[1]));

    Downloader downloader;
    downloader.setUseCustomInstallProcedures(true);
    downloader.setFileName(QStringLiteral("bench_download.bin"));

    QString filePath;
    QObject::connect(&downloader, &Downloader::downloadFinished, &app,
                     [&filePath](const QString &, const QString &path) {
                         filePath = path;
                         QCoreApplication::exit(0);
                     });
    QTimer::singleShot(timeoutMs, &app, [] { QCoreApplication::exit(1); });

    resetPeakResidentSize();
    const qint64 residentBefore = statusKiB("VmRSS");
    QElapsedTimer timer;
    timer.start();
    downloader.startDownload(url);
    const int result = QCoreApplication::exec();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const qint64 peak = statusKiB("VmHWM");

    if (result != 0 || filePath.isEmpty()) {
        std::fprintf(stderr, "bench_download: the download did not finish\n");
        return 1;
    }
    std::printf("%.6f %lld %lld\n", seconds, static_cast<long long>(QFileInfo(filePath).size()),
                static_cast<long long>(peak - residentBefore));
    return 0;
}
