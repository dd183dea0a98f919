#pragma once

#include <QVector>

// A fitted peak of a spectrum.
struct FingerprintPeak
{
    double position = 0.0; // 1/cm
    float width = 0.0f;    // half width at half maximum of the fitted parabola, 1/cm
    float height = 0.0f;   // relative to the spectrum's maximum
    float weight = 0.0f;   // importance in matching
};

// A spectrum reduced to its peaks, for fast matching.
struct SpectrumFingerprint
{
    QVector<FingerprintPeak> peaks; // strongest candidate first
    double xFirst = -1.0;
    double xLast = -1.0;
    double noise = 0.0;

    // Built from a usable spectrum (it may still have no peaks).
    bool isValid() const { return xFirst != -1.0 || xLast != -1.0; }
};

// The tuning values of peak search and matching.
struct FingerprintParameters
{
    double maxWavenumDiff = 10;
    double unrecognizableNoiseFactor = 15;
    double clearUnmatchedPenalty = 4;
    double uncertaintyWavenumDiff = 1.5;
    double uncertaintyWidth = 1.5;
    double uncertaintyEnergy = 2.5;
    double peakNoiseFactor = 25;
    double significantNoiseFactor = 15;
    double checkWidth = 16;
    double halfFitSize = 4;
    double mustDropTo = 0.93;
    double clearWhenDropsTo = 0.35;
    double clearExtraScore = 1.5;
    double minHeight = 0.005;
    double maxWidth = 70;
    bool ignoreUnmatchedMeasured = false;

    // The set used for the fingerprints of library spectra: fewer, surer peaks.
    static FingerprintParameters librarySet()
    {
        FingerprintParameters p;
        p.peakNoiseFactor = 75;
        return p;
    }
};
