#pragma once

#include <QMetaType>
#include <QVector>

#include <limits>

// Units of a spectrum's x axis, used as compile-time tags.
struct RawPixels
{
}; // detector column index
struct Nanometers
{
}; // wavelength in nm
struct Wavenumbers
{
}; // Raman shift in 1/cm

// One spectrum: equally long x and y sequences, implicitly shared. A record whose sequences differ
// in length has size -1; every per-point operation then does nothing.
template<typename Unit>
struct RamanData
{
    QVector<double> x;
    QVector<double> y;

    int size() const { return x.size() == y.size() ? x.size() : -1; }
    bool isEmpty() const { return x.isEmpty() || y.isEmpty(); }

    // Keeps the points with min <= x <= max; x must be ascending.
    void cut(double min, double max);
    // y divided by sqrt(sum(y^2) / 10).
    RamanData normalized() const;
    // y divided by its largest value, which is stored into *maximum when given.
    RamanData normalizedToMaximum(double *maximum = nullptr) const;
    // Weighted bin means on the grid k * step; x must be ascending.
    RamanData resampled(double step) const;
    // Savitzky-Golay smoothing of y, assuming the spacing of the first two points throughout.
    RamanData smoothed(unsigned order, unsigned width) const;

    bool operator==(const RamanData &other) const { return x == other.x && y == other.y; }
    bool operator!=(const RamanData &other) const { return !(*this == other); }
};

extern template struct RamanData<RawPixels>;
extern template struct RamanData<Nanometers>;
extern template struct RamanData<Wavenumbers>;

Q_DECLARE_METATYPE(RamanData<RawPixels>)
Q_DECLARE_METATYPE(RamanData<Nanometers>)
Q_DECLARE_METATYPE(RamanData<Wavenumbers>)

// Registers the spectrum types for queued connections and futures.
void registerRamanDataMetaTypes();

// wavelength(i) = a*i^2 + b*i + c for pixel index i; all NaN without a calibration.
struct CalibrationParameters
{
    double a = std::numeric_limits<double>::quiet_NaN();
    double b = std::numeric_limits<double>::quiet_NaN();
    double c = std::numeric_limits<double>::quiet_NaN();
};

struct LaserWavelengthSettings
{
    static constexpr quint32 UseNominal = 1;

    quint32 mode = UseNominal;
    double searchMinimum = 0.0;
    double searchMaximum = 0.0;
    double nominalWavelength = 0.0; // also the fallback whenever measuring fails
};

struct QuadraticCoefficients
{
    double a = 0.0; // of x^2
    double b = 0.0;
    double c = 0.0;
};

// Least-squares y ~ a*x^2 + b*x + c by Cramer's rule; a singular system gives non-finite values.
QuadraticCoefficients fitQuadratic(const QVector<double> &x, const QVector<double> &y);

RamanData<Nanometers> calibrated(const RamanData<RawPixels> &data,
                                 const CalibrationParameters &parameters);
double extractLaserWavelength(const RamanData<Nanometers> &data,
                              const LaserWavelengthSettings &settings);
RamanData<Wavenumbers> toRamanShift(const RamanData<Nanometers> &data,
                                    const LaserWavelengthSettings &settings);
