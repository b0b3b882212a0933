#pragma once

#include <QString>

#include <vector>

/*!
 * Turns timed samples into what a benchmark prints: the median of each side, a readable line
 * and the machine-readable line that bench/run collects,
 *     bench: <benchmark> | <case> | <figure> | <floor> | <floor figure> | <ratio> | <target>
 * Times are given in nanoseconds and printed in the unit that suits them.
 */
class BenchReport
{
public:
    explicit BenchReport(const QString &strBenchmark);

    static double median(std::vector<double> samples);
    // "12.3 ms", "456 µs", "789 ns": three significant digits.
    static QString duration(double nanoseconds);

    // Prints both lines for one case; the ratio is measured / floor. strTarget is "-" when the
    // case has none.
    void addTimes(const QString &strCase, const std::vector<double> &measured,
                  const QString &strFloor, const std::vector<double> &floor,
                  const QString &strTarget = QStringLiteral("-")) const;
    // The same for figures that are already formatted, such as throughputs.
    void addLine(const QString &strCase, const QString &strFigure, const QString &strFloor,
                 const QString &strFloorFigure, double ratio, const QString &strTarget) const;

private:
    QString m_strBenchmark;
};
