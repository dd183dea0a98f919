#pragma once

// Synthetic Raman spectra with Lorentzian bands, for tests that need spectra of known content.

#include "spectrum/ramandata.h"

#include <QVector>

#include <cmath>

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
