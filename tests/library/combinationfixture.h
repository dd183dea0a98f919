#pragma once

#include "library/combinationsearch.h"
#include "testfiles.h"

#include <QRandomGenerator>

// Positions on a grid of `step` 1/cm, so that equal and equally distant positions occur.
inline SpectrumFingerprint randomFingerprint(QRandomGenerator &random, int maxPeaks,
                                             double step = 0.25, int span = 1600)
{
    SpectrumFingerprint f;
    f.xFirst = 50 + random.bounded(200);
    f.xLast = 1000 + random.bounded(1500);
    f.noise = 0.001 + random.bounded(0.02);
    const int count = int(random.bounded(maxPeaks + 1));
    for (int k = 0; k < count; ++k) {
        FingerprintPeak peak;
        peak.position = step * random.bounded(int(span / step));
        peak.width = float(1 + random.bounded(30.0));
        peak.height = float(0.01 + random.bounded(1.0));
        peak.weight = float(0.05 + random.bounded(1.5));
        f.peaks.append(peak);
    }
    return f;
}

struct CombinationLibrary
{
    QVector<rruff_infos> spectra;
    QVector<SpectrumFingerprint> fingerprints;

    QFuture<QVector<LinearCombinationResult>> search(const SpectrumFingerprint &measured,
                                                     const FingerprintParameters &parameters
                                                     = FingerprintParameters()) const
    {
        return startCombinationSearch(spectra, fingerprints, SortedLibraryPeaks(fingerprints),
                                      measured, parameters);
    }
};

// A measured fingerprint of at least `minimumPeaks` peaks.
inline SpectrumFingerprint randomMeasured(quint32 seed, int minimumPeaks, int maxPeaks,
                                          double step = 0.25, int span = 1600)
{
    QRandomGenerator random(seed);
    SpectrumFingerprint measured;
    while (measured.peaks.size() < minimumPeaks)
        measured = randomFingerprint(random, maxPeaks, step, span);
    return measured;
}

inline CombinationLibrary randomCombinationLibrary(int count, quint32 seed, int maxPeaks = 30,
                                                   double step = 0.25, int span = 1600)
{
    QRandomGenerator random(seed);
    CombinationLibrary library;
    for (int i = 0; i < count; ++i) {
        rruff_infos info;
        info.name = S("Mineral%1").arg(i);
        info.number = QString::number(1000 + i);
        library.spectra.append(info);
        library.fingerprints.append(randomFingerprint(random, maxPeaks, step, span));
    }
    return library;
}
