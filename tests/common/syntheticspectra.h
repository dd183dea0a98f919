#pragma once

// Synthetic Raman spectra with Lorentzian bands, for tests that need spectra of known content.

#include "spectrum/ramandata.h"

#include <QMetaType>
#include <QVector>

#include <cmath>
#include <functional>
#include <random>

struct SyntheticBand
{
    double position;
    double height;
    double hwhm;
};

// Bands over [first, last] with the given step, a little deterministic noise and an optional
// sloping background.
inline RamanData<Wavenumbers> syntheticSpectrum(const QVector<SyntheticBand> &bands,
                                                quint32 seed = 1, double noise = 0.002,
                                                double first = 100, double last = 1500,
                                                double step = 1.25, double slope = 0.0)
{
    RamanData<Wavenumbers> s;
    quint32 state = seed * 2654435761u + 12345u;
    for (double x = first; x <= last + 1e-9; x += step) {
        double y = slope * (x - first) / (last - first);
        for (const SyntheticBand &b : bands)
            y += b.height / (1 + std::pow((x - b.position) / b.hwhm, 2));
        state = state * 1664525u + 1013904223u;
        y += noise * ((state >> 8) / double(1 << 24) - 0.5);
        s.x.append(x);
        s.y.append(y);
    }
    return s;
}

// Ground truth for background removal: Lorentzian bands of height 1000 on a known background with
// Gaussian noise, on the 1.25 1/cm grid from 100 to 3850 1/cm.
struct SyntheticSpectrum
{
    RamanData<Wavenumbers> data;
    QVector<double> bands;
};

using Background = std::function<double(double)>;
Q_DECLARE_METATYPE(Background)

inline SyntheticSpectrum spectrumOnBackground(const Background &background, double noise = 5.0)
{
    std::mt19937 generator(7);
    std::normal_distribution<double> gaussian(0.0, noise);
    SyntheticSpectrum s;
    for (int i = 0; i <= 3000; ++i) {
        const double x = 100.0 + 1.25 * i;
        double band = 0.0;
        for (double centre : {460.0, 1085.0, 1350.0, 2900.0})
            band += 1000.0 / (1.0 + std::pow((x - centre) / 4.0, 2));
        s.data.x.append(x);
        s.data.y.append(background(x) + band + (noise > 0.0 ? gaussian(generator) : 0.0));
        s.bands.append(band);
    }
    return s;
}

inline double polynomialBackground(double x)
{
    const double u = (x - 100.0) / 3750.0;
    return 400.0 + 3000.0 * u - 2000.0 * u * u;
}

inline double fluorescenceBackground(double x)
{
    return 300.0 + 1500.0 * std::exp(-std::pow((x - 2200.0) / 1400.0, 2));
}

// Passes when the corrected spectrum is within a few noise widths of the bands alone.
inline bool closeToBands(const QVector<double> &corrected, const QVector<double> &bands)
{
    double sum = 0.0, largest = 0.0;
    for (int i = 0; i < bands.size(); ++i) {
        sum += std::fabs(corrected[i] - bands[i]);
        largest = std::max(largest, std::fabs(corrected[i] - bands[i]));
    }
    return corrected.size() == bands.size() && sum / bands.size() < 15.0 && largest < 60.0;
}
