#ifndef BENCHKIT_H
#define BENCHKIT_H

// Small helpers the benchmarks share: percentiles of a sample and the
// addresses of a whole wall.

#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

// The nearest-rank percentile (p in 0..1) of a non-empty sample.
inline double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const std::size_t rank = std::size_t(std::ceil(p * values.size()));
    return values[std::min(values.size() - 1, rank > 0 ? rank - 1 : 0)];
}

inline double median(const std::vector<double> &values)
{
    return percentile(values, 0.5);
}

// Every screen of a wall of columns x rows, column by column: "11", "12", ...
inline QStringList wallAddresses(int columns, int rows)
{
    QStringList addresses;
    for (int column = 1; column <= columns; ++column) {
        for (int row = 1; row <= rows; ++row)
            addresses.append(QString::number(column, 16).toUpper() + QString::number(row, 16).toUpper());
    }
    return addresses;
}

#endif // BENCHKIT_H
