#pragma once

#include <QMetaType>
#include <QVector>

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
