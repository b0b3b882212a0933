// Times the project file work a user waits for, each against its floor in plain Qt, measured
// interleaved in the same run:
//   open    SceneDocument::open()             vs  QFile::readAll + QJsonDocument::fromJson
//   save    SceneDocument::save()             vs  QJsonDocument::toJson + QSaveFile
//   export  Html5Exporter::exportProject()    vs  the same two files' bytes written with QSaveFile
// at 10, 100 and 1000 scenes of five texts each. Prints the median of each side and the ratio.
//   bench_projectio [runs]      (default 11; run with QT_QPA_PLATFORM=offscreen)

#include "benchreport.h"
#include "html5exporter.h"
#include "projectformat.h"
#include "scenedocument.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

const int elementsPerScene = 5;
const int scenesPerSample = 2000; // repetitions x scenes of one timed sample, to stay above 1 ms

Project makeProject(int scenes)
{
    Project project;
    for (int s = 0; s < scenes; ++s) {
        Scene scene{
                QStringLiteral("Scene %1").arg(s + 1), QColor(s % 256, 0x24, 0x2c), 1000 + s, {}};
        for (int e = 0; e < elementsPerScene; ++e)
            scene.elements << TextElement{
                    QStringLiteral("Text %1 of scene %2, \u00e9\u2713").arg(e + 1).arg(s + 1),
                    QRectF(10.5 * e, 40 * e, 600, 80),
                    QColor(0xff, 0xff, 0xff, e == 2 ? 0x80 : 0xff),
                    24 + e,
                    TextElement::Entrance(e),
                    100 * e};
        project.scenes << scene;
    }
    return project;
}

bool writeFile(const QString &strPath, const QByteArray &bytes)
{
    QSaveFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QByteArray readFile(const QString &strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Nanoseconds per repetition.
double timed(int repetitions, const std::function<bool()> &work)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < repetitions; ++i) {
        if (!work()) {
            std::fprintf(stderr, "bench_projectio: a step failed\n");
            std::exit(1);
        }
    }
    return double(timer.nsecsElapsed()) / repetitions;
}

struct Samples
{
    std::vector<double> measured;
    std::vector<double> floor;
};

// Alternates which side goes first, so that neither always finds the caches warmed by the other.
void sample(Samples &samples, int run, int repetitions, const std::function<bool()> &measured,
            const std::function<bool()> &floor)
{
    if (run % 2) {
        samples.floor.push_back(timed(repetitions, floor));
        samples.measured.push_back(timed(repetitions, measured));
    } else {
        samples.measured.push_back(timed(repetitions, measured));
        samples.floor.push_back(timed(repetitions, floor));
    }
}

void benchmark(const BenchReport &report, const QDir &folder, int scenes, int runs)
{
    const Project project = makeProject(scenes);
    const int repetitions = qMax(1, scenesPerSample / scenes);
    const QString projectPath = folder.filePath(QStringLiteral("project.veldra"));
    const QString floorPath = folder.filePath(QStringLiteral("floor.json"));
    const QString exportFolder = folder.filePath(QStringLiteral("export"));
    const QString floorFolder = folder.filePath(QStringLiteral("floor-export"));
    QString error;
    if (!writeFile(projectPath, ProjectFormat::write(project)) ||
        !Html5Exporter::exportProject(project, exportFolder, &error) ||
        !QDir().mkpath(floorFolder)) {
        std::fprintf(stderr, "bench_projectio: cannot prepare %s\n", qPrintable(folder.path()));
        std::exit(1);
    }
    const QJsonDocument json = QJsonDocument::fromJson(readFile(projectPath));
    const QByteArray index = readFile(QDir(exportFolder).filePath(Html5Exporter::indexFileName()));
    const QByteArray style = readFile(QDir(exportFolder).filePath(Html5Exporter::styleFileName()));

    SceneDocument document;
    document.setFileName(projectPath);
    Samples open, save, exported;
    for (int run = 0; run < runs; ++run) {
        sample(
                open, run, repetitions, [&] { return document.open(); },
                [&] { return QJsonDocument::fromJson(readFile(projectPath)).isObject(); });
        sample(
                save, run, repetitions, [&] { return document.save(projectPath); },
                [&] { return writeFile(floorPath, json.toJson()); });
        sample(
                exported, run, repetitions,
                [&] { return Html5Exporter::exportProject(project, exportFolder, &error); },
                [&] {
                    return writeFile(QDir(floorFolder).filePath(Html5Exporter::styleFileName()),
                                     style) &&
                           writeFile(QDir(floorFolder).filePath(Html5Exporter::indexFileName()),
                                     index);
                });
    }
    const bool targeted = scenes == 1000;
    const QString size = QStringLiteral(", %1 scenes").arg(scenes);
    report.addTimes("open" + size, open.measured, "read + fromJson", open.floor,
                    targeted ? "<= 1.5" : "-");
    report.addTimes("save" + size, save.measured, "toJson + QSaveFile", save.floor,
                    targeted ? "<= 1.3" : "-");
    report.addTimes("export" + size, exported.measured, "same bytes with QSaveFile",
                    exported.floor);
}

} // namespace

int main(int argc, char *argv[])
{
    // Backups and settings of the document stay in a scratch home.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(home.filePath("state")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 11;
    if (runs < 1) {
        std::fprintf(stderr, "usage: bench_projectio [runs]\n");
        return 2;
    }
    const BenchReport report(QStringLiteral("projectio"));
    for (int scenes : {10, 100, 1000}) {
        QTemporaryDir folder;
        benchmark(report, QDir(folder.path()), scenes, runs);
    }
    return 0;
}
