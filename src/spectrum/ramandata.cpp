#include "spectrum/ramandata.h"

#include "core/logging.h"
#include "spectrum/savitzkygolay.h"

#include <algorithm>
#include <climits>
#include <cmath>

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

QuadraticCoefficients fitQuadratic(const QVector<double> &x, const QVector<double> &y)
{
    const int n = std::min(x.size(), y.size());
    double s0 = n, s1 = 0, s2 = 0, s3 = 0, s4 = 0, t0 = 0, t1 = 0, t2 = 0;
    for (int i = 0; i < n; ++i) {
        const double xi = x[i];
        const double xi2 = xi * xi;
        s1 += xi;
        s2 += xi2;
        s3 += xi2 * xi;
        s4 += xi2 * xi2;
        t0 += y[i];
        t1 += xi * y[i];
        t2 += xi2 * y[i];
    }
    // Normal equations for the unknowns (c, b, a):
    //   | s0 s1 s2 |         | t0 |
    //   | s1 s2 s3 | (c b a) = | t1 |
    //   | s2 s3 s4 |         | t2 |
    const auto det3 = [](double a11, double a12, double a13, double a21, double a22, double a23,
                         double a31, double a32, double a33) {
        return a11 * (a22 * a33 - a23 * a32) - a12 * (a21 * a33 - a23 * a31)
               + a13 * (a21 * a32 - a22 * a31);
    };
    const double det = det3(s0, s1, s2, s1, s2, s3, s2, s3, s4);
    const double detC = det3(t0, s1, s2, t1, s2, s3, t2, s3, s4);
    const double detB = det3(s0, t0, s2, s1, t1, s3, s2, t2, s4);
    const double detA = det3(s0, s1, t0, s1, s2, t1, s2, s3, t2);
    return {detA / det, detB / det, detC / det};
}

RamanData<Nanometers> calibrated(const RamanData<RawPixels> &data,
                                 const CalibrationParameters &parameters)
{
    if (!std::isfinite(parameters.a)) {
        qCWarning(logDataAlgorithms) << "invalid calibration parameters, returning unchanged data";
        return {data.x, data.y};
    }
    const int n = data.size();
    if (n < 0)
        return {};
    RamanData<Nanometers> result{QVector<double>(n), data.y};
    for (int i = 0; i < n; ++i) {
        const double pixel = i;
        result.x[i] = (pixel * parameters.a) * pixel + pixel * parameters.b + parameters.c;
    }
    return result;
}

double extractLaserWavelength(const RamanData<Nanometers> &data,
                              const LaserWavelengthSettings &settings)
{
    if (settings.mode == LaserWavelengthSettings::UseNominal)
        return settings.nominalWavelength;
    const QVector<double> &x = data.x;
    if (std::is_sorted_until(x.cbegin(), x.cend()) != x.cend()) {
        qCWarning(logDataAlgorithms) << "Refusing to extract laser wavelength from unsorted data";
        return settings.nominalWavelength;
    }
    const auto lo = std::upper_bound(x.cbegin(), x.cend(), settings.searchMinimum);
    const auto hi = std::upper_bound(x.cbegin(), x.cend(), settings.searchMaximum);
    if (data.size() <= 0 || lo == x.cend() || hi == x.cend()) {
        qCWarning(logDataAlgorithms) << "No data in laser peak search range";
        return settings.nominalWavelength;
    }
    const int first = int(lo - x.cbegin());
    const int end = int(hi - x.cbegin());
    int peak = first;
    for (int i = first + 1; i < end; ++i) {
        if (data.y[i] > data.y[peak])
            peak = i;
    }
    if (peak == first || peak == end) {
        qCWarning(logDataAlgorithms)
            << "Laser peak is at corner of search range, cannot determine wavelength";
        return settings.nominalWavelength;
    }
    const QVector<double> dx{x[peak - 1] - x[peak], 0.0, x[peak + 1] - x[peak]};
    const QVector<double> dy{data.y[peak - 1], data.y[peak], data.y[peak + 1]};
    const QuadraticCoefficients q = fitQuadratic(dx, dy);
    const double offset
        = std::fabs(q.a) > 1e-12 ? q.b / (-2.0 * q.a) : std::numeric_limits<double>::quiet_NaN();
    const double wavelength = x[peak] + offset;
    qCDebug(logDataAlgorithms) << "compued laser wavelength:" << wavelength;
    return wavelength;
}

RamanData<Wavenumbers> toRamanShift(const RamanData<Nanometers> &data,
                                    const LaserWavelengthSettings &settings)
{
    const double laser = extractLaserWavelength(data, settings);
    const int n = data.size();
    if (n < 0)
        return {};
    RamanData<Wavenumbers> result{QVector<double>(n), data.y};
    for (int i = 0; i < n; ++i)
        result.x[i] = (1.0 / laser) * 1e7 - (1.0 / data.x[i]) * 1e7;
    return result;
}
