#include "benchreport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

BenchReport::BenchReport(const QString &strBenchmark)
    : m_strBenchmark(strBenchmark)
{}

double BenchReport::median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    const auto middle = samples.begin() + samples.size() / 2;
    std::nth_element(samples.begin(), middle, samples.end());
    if (samples.size() % 2)
        return *middle;
    return (*middle + *std::max_element(samples.begin(), middle)) / 2;
}

QString BenchReport::duration(double nanoseconds)
{
    static const char *const units[] = {"ns", "\u00b5s", "ms", "s"};
    int unit = 0;
    while (unit < 3 && std::abs(nanoseconds) >= 1000) {
        nanoseconds /= 1000;
        ++unit;
    }
    return QString::number(nanoseconds, 'g', 3) + ' ' + QString::fromUtf8(units[unit]);
}

void BenchReport::addTimes(const QString &strCase, const std::vector<double> &measured,
                           const QString &strFloor, const std::vector<double> &floor,
                           const QString &strTarget) const
{
    const double measuredMedian = median(measured);
    const double floorMedian = median(floor);
    addLine(strCase, duration(measuredMedian), strFloor, duration(floorMedian),
            floorMedian > 0 ? measuredMedian / floorMedian : 0, strTarget);
}

void BenchReport::addLine(const QString &strCase, const QString &strFigure, const QString &strFloor,
                          const QString &strFloorFigure, double ratio,
                          const QString &strTarget) const
{
    const QByteArray ratioText = QByteArray::number(ratio, 'f', 2);
    std::printf("%-28s %10s   %-28s %10s   ratio %s (target %s)\n", qPrintable(strCase),
                strFigure.toUtf8().constData(), qPrintable(strFloor),
                strFloorFigure.toUtf8().constData(), ratioText.constData(), qPrintable(strTarget));
    std::printf("bench: %s | %s | %s | %s | %s | %s | %s\n", qPrintable(m_strBenchmark),
                qPrintable(strCase), strFigure.toUtf8().constData(), qPrintable(strFloor),
                strFloorFigure.toUtf8().constData(), ratioText.constData(), qPrintable(strTarget));
    std::fflush(stdout);
}
