#include "spectrum/ramandata.h"

#include "core/logging.h"
#include "spectrum/savitzkygolay.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

namespace {

// Bins of one re-binned spectrum; far beyond any real spectrum, well within memory.
constexpr double maximumResampledPoints = 1 << 22;

} // namespace

template<typename Unit>
void RamanData<Unit>::cut(double min, double max)
{
    if (min == max) {
        qCWarning(logDataAlgorithms) << "empty cut limits, ignoring";
        return;
    }
    if (size() < 0)
        return;
    const auto lo = std::lower_bound(x.cbegin(), x.cend(), min);
    const auto hi = std::upper_bound(x.cbegin(), x.cend(), max);
    if (lo == x.cend()) {
        qCWarning(logDataAlgorithms) << "cut range is completely out of data bounds";
        x.resize(0);
        y.resize(0);
        return;
    }
    const int first = int(lo - x.cbegin());
    // min > max: keep everything from the lower bound on.
    const int end = hi < lo ? x.size() : int(hi - x.cbegin());
    if (first == 0 && end == x.size())
        return;
    x = x.mid(first, end - first);
    y = y.mid(first, end - first);
}

template<typename Unit>
RamanData<Unit> RamanData<Unit>::normalized() const
{
    double sumOfSquares = 0.0;
    for (int i = 0; i < size(); ++i)
        sumOfSquares += y[i] * y[i];
    const double norm = std::sqrt(sumOfSquares / 10.0);
    if (!std::isfinite(norm) || std::fabs(norm) <= 1e-12) {
        qCWarning(logDataAlgorithms) << "invalid norm" << norm << "computed from given vector";
        qCDebug(logDataAlgorithms) << "note: vector was" << y;
        return *this;
    }
    RamanData result{x, QVector<double>(y.size())};
    for (int i = 0; i < y.size(); ++i)
        result.y[i] = y[i] / norm;
    return result;
}

template<typename Unit>
RamanData<Unit> RamanData<Unit>::normalizedToMaximum(double *maximum) const
{
    if (size() <= 0) {
        if (maximum)
            *maximum = std::numeric_limits<double>::quiet_NaN();
        return size() == 0 ? RamanData{} : *this;
    }
    const double m = *std::max_element(y.cbegin(), y.cend());
    if (!std::isfinite(m))
        qCWarning(logDataAlgorithms) << "non-finite norm computed from vector:" << y;
    RamanData result{x, QVector<double>(y.size())};
    for (int i = 0; i < y.size(); ++i)
        result.y[i] = y[i] / m;
    if (maximum)
        *maximum = m;
    return result;
}

/*
 * Bin k covers [(k-0.5)*step, (k+0.5)*step]. The input points at both ends of a bin only partly
 * belong to it and are weighted by the fraction of their neighbouring interval inside the bin:
 *
 *        lower                         upper
 *   x[p]   |   x[p+1] ... x[c-1]         |   x[c]
 *     wlo                        whi
 */
template<typename Unit>
RamanData<Unit> RamanData<Unit>::resampled(double step) const
{
    if (x.isEmpty() || y.isEmpty() || size() < 0)
        return {};
    // Refused: x that is not finite and ascending (the bin walk below would never end) and grids
    // too large for memory.
    const bool ascending
        = std::all_of(x.cbegin(), x.cend(), [](double v) { return std::isfinite(v); })
          && std::is_sorted(x.cbegin(), x.cend());
    const double firstBin = x.first() / step;
    const double lastBin = x.last() / step + 1.0;
    if (!ascending || !(step > 0.0) || !(std::fabs(firstBin) < INT_MAX)
        || !(std::fabs(lastBin) < INT_MAX) || lastBin - firstBin > maximumResampledPoints) {
        qCWarning(logDataAlgorithms) << "cannot resample" << size() << "points with step" << step
                                     << "over" << x.first() << "to" << x.last();
        return {};
    }

    RamanData result;
    const int capacity = int(lastBin) - int(firstBin) + 1;
    result.x.reserve(capacity);
    result.y.reserve(capacity);

    const int n = size();
    int k = int(firstBin);
    int c = 0;
    do {
        const double upper = (k + 0.5) * step;
        const double lower = (k - 0.5) * step;
        const int p = std::max(c - 1, 0);
        while (c < n && x[c] < upper)
            ++c;
        if (c == n)
            break;
        if (c == 0) {
            // The first point lies in the upper half of bin k: nothing of the data below it.
            ++k;
            continue;
        }
        // Repeated x values leave an interval of length zero: it then counts whole.
        const double spanLo = x[p + 1] - x[p];
        const double spanHi = x[c] - x[c - 1];
        const double wlo = spanLo > 0.0 ? (x[p + 1] - lower) / spanLo : 1.0;
        const double whi = spanHi > 0.0 ? (upper - x[c - 1]) / spanHi : 1.0;
        double sum = wlo * y[p] + whi * y[c];
        for (int j = p + 1; j < c; ++j)
            sum += y[j];
        result.x.append(k * step);
        result.y.append(sum / (wlo + whi + (c - p - 1)));
        ++k;
    } while (c < n);
    return result;
}

template<typename Unit>
RamanData<Unit> RamanData<Unit>::smoothed(unsigned order, unsigned width) const
{
    if (size() < 2)
        return *this;
    return RamanData{x, savitzkyGolaySmoothed(y, order, width, x[1] - x[0])};
}

template struct RamanData<RawPixels>;
template struct RamanData<Nanometers>;
template struct RamanData<Wavenumbers>;

void registerRamanDataMetaTypes()
{
    qRegisterMetaType<RamanData<RawPixels>>("RamanData<RawPixels>");
}
