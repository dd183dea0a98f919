#include "spectrum/calibration.h"

#include "core/logging.h"
#include "spectrum/quadraticfit.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
