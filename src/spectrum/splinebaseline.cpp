#include "spectrum/splinebaseline.h"

#include "core/logging.h"
#include "spectrum/cubicspline.h"
#include "spectrum/interpolation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr qint64 pointsPerSupportPoint = 8;

bool allFinite(const QVector<double> &values)
{
    return std::all_of(values.cbegin(), values.cend(), [](double v) { return std::isfinite(v); });
}

QVector<double> subtracted(const QVector<double> &y, const QVector<double> &baseline)
{
    QVector<double> result(y.size());
    for (int i = 0; i < y.size(); ++i)
        result[i] = y[i] - baseline[i];
    return result;
}

struct SupportPoints
{
    QVector<double> x;
    QVector<double> y;
};

// Segment minima of the data averaged in pairs, which halves the noise the minima would pick up.
SupportPoints chooseSupportPoints(const QVector<double> &fullX, const QVector<double> &fullY,
                                  int count)
{
    const int n = fullX.size() / 2;
    QVector<double> x(n);
    QVector<double> y(n);
    for (int i = 0; i < n; ++i) {
        x[i] = (fullX[2 * i] + fullX[2 * i + 1]) / 2.0;
        y[i] = (fullY[2 * i] + fullY[2 * i + 1]) / 2.0;
    }
    const auto [minIt, maxIt] = std::minmax_element(y.cbegin(), y.cend());
    const double yMin = *minIt;
    const double range = *maxIt - yMin;
    const double quarter = 0.25 * n;

    // Skip a steep start (the edge of the laser filter): begin where the data first falls while
    // still clearly above its minimum, then at the first point as low as the early data gets.
    int start = 1;
    while (start < quarter && !(y[start] <= y[start - 1] && y[start] - yMin >= 0.025 * range))
        ++start;
    double earlyMinimum = std::numeric_limits<double>::infinity();
    for (int i = start; i < int(0.33 * n); ++i)
        earlyMinimum = std::min(earlyMinimum, y[i]);
    int low = 0;
    while (low < quarter && y[low] > earlyMinimum)
        ++low;

    SupportPoints support;
    const int first = low + 1;
    const int length = (n - first) / count;
    for (int segment = 0; segment < count; ++segment) {
        const int begin = first + segment * length;
        const int end = std::min(begin + length, n);
        if (end <= begin || end - begin < 0.25 * length)
            continue;
        const auto lowest = std::min_element(y.cbegin() + begin, y.cbegin() + end);
        support.x.append(x[int(lowest - y.cbegin())]);
        support.y.append(*lowest);
    }
    // Anchors the end of the spline beyond the data, so the last segment is not extrapolated.
    support.x.append(x.last() + 0.5 * (x.last() - x.first()));
    support.y.append(y.last());
    return support;
}

} // namespace

QVector<double> splineSupportPositions(const QVector<double> &x, const QVector<double> &y,
                                       unsigned supportPoints)
{
    if (x.size() != y.size() || supportPoints == 0 || x.size() <= 8 * qint64(supportPoints))
        return {};
    QVector<double> positions = chooseSupportPoints(x, y, int(supportPoints)).x;
    positions.removeLast(); // the anchor beyond the data
    return positions;
}

QVector<double> splineBaseline(const QVector<double> &x, const QVector<double> &y,
                               unsigned supportPoints, bool dynamic)
{
    if (x.size() != y.size()) {
        qCWarning(logDataAlgorithms)
            << "cannot fit a spline baseline to data of sizes" << x.size() << y.size();
        return y;
    }
    if (supportPoints == 0) {
        qCWarning(logDataAlgorithms) << "no support points for a spline baseline";
        return y;
    }
    if (x.size() <= pointsPerSupportPoint * supportPoints) {
        qCInfo(logDataAlgorithms) << "data of size" << x.size()
                                  << "is too small for baseline correction, skipping it";
        return y;
    }
    if (!allFinite(x) || !allFinite(y)) {
        qCWarning(logDataAlgorithms) << "non-finite data, no spline baseline";
        return y;
    }

    SupportPoints support = chooseSupportPoints(x, y, int(supportPoints));
    CubicSpline spline = naturalCubicSpline(support.x, support.y);
    if (spline.isEmpty())
        return y;
    QVector<double> residual = subtracted(y, splineValues(spline, x));

    if (dynamic && support.x.size() >= 3) {
        const double threshold = -0.005 * *std::max_element(y.cbegin(), y.cend());
        for (int move = 0; move < int(supportPoints) - 2; ++move) {
            // Left of this the steep start of the spectrum would attract every move.
            const double searchFrom = (support.x[1] + support.x[2]) / 2.0;
            const int first = int(std::upper_bound(x.cbegin(), x.cend(), searchFrom) - x.cbegin());
            if (first >= x.size())
                break;
            const auto deepest = std::min_element(residual.cbegin() + first, residual.cend());
            if (*deepest > threshold)
                break;
            const int k = int(deepest - residual.cbegin());
            int nearest = 0;
            for (int j = 1; j < support.x.size(); ++j) {
                if (std::fabs(support.x[j] - x[k]) < std::fabs(support.x[nearest] - x[k]))
                    nearest = j;
            }
            support.x[nearest] = x[k];
            support.y[nearest] = y[k];
            const CubicSpline moved = naturalCubicSpline(support.x, support.y);
            if (moved.isEmpty())
                break;
            spline = moved;
            residual = subtracted(y, splineValues(spline, x));
        }
    }
    return residual;
}

QVector<double> manualSplineBaseline(const QVector<double> &x, const QVector<double> &y,
                                     const QVector<double> &controlPoints)
{
    QVector<double> positions;
    for (double p : controlPoints) {
        if (std::isfinite(p))
            positions.append(p);
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    if (positions.size() < 3) {
        qCWarning(logDataAlgorithms) << "not enough control points given";
        return y;
    }
    if (x.isEmpty() || x.size() != y.size()) {
        qCWarning(logDataAlgorithms)
            << "cannot fit a spline baseline to data of sizes" << x.size() << y.size();
        return y;
    }
    QVector<double> values(positions.size());
    for (int i = 0; i < positions.size(); ++i)
        values[i] = valueAt(x, y, positions[i]);
    const CubicSpline spline = naturalCubicSpline(positions, values);
    if (spline.isEmpty())
        return y;
    return subtracted(y, splineValues(spline, x));
}
