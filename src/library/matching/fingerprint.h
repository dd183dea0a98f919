#pragma once

#include "spectrum/ramandata.h"

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

// The scale of widths set by the analysis' peak-width control: ((slider + 51) / 50)^2, or 1 when
// that is not in (0, 5]; slider -1 gives 1.
double fingerprintWidthScale(int sliderValue);
// Widths (check, fit, maximum) times the scale, the candidate noise factor divided by it.
FingerprintParameters scaledForPeakWidth(FingerprintParameters parameters, double widthScale);

// First quartile of the windowed standard deviations; NaN when no window has any spread.
double estimateNoise(const QVector<double> &y);

// The fingerprint of a spectrum normalised to maximum 1 on a uniform grid. An empty or
// non-normalised spectrum gives an invalid fingerprint (and a warning).
SpectrumFingerprint buildFingerprint(const RamanData<Wavenumbers> &spectrum,
                                     const FingerprintParameters &parameters);

// Score 0..10 of a measured fingerprint against a library one; -1 when either has no peaks.
double matchFingerprints(const SpectrumFingerprint &measured, const SpectrumFingerprint &library,
                         const FingerprintParameters &parameters);

// A library-side fingerprint whose peaks live elsewhere, sorted by strictly increasing position
// (as the peaks of a combined fingerprint are).
struct SortedPeaksFingerprint
{
    const FingerprintPeak *peaks = nullptr;
    int count = 0;
    double xFirst = -1.0;
    double xLast = -1.0;
    double noise = 0.0;
    // Per peak: FingerprintMatcher::nearestMeasuredPeak of its position, when known beforehand.
    const int *nearestMeasured = nullptr;
};

// matchFingerprints for one measured fingerprint against very many library-side ones: the
// measured side is indexed once, the library side is read in place, nothing is allocated per
// match (up to 128 measured and 256 library peaks). Gives exactly matchFingerprints' score.
class FingerprintMatcher
{
public:
    FingerprintMatcher(const SpectrumFingerprint &measured,
                       const FingerprintParameters &parameters);

    double match(const SortedPeaksFingerprint &library) const;
    // The measured peak a library peak at this position pairs with, -1 when it lies outside the
    // measured range. It does not depend on the other library peaks, so it can be found once
    // per library peak instead of once per match.
    int nearestMeasuredPeak(double position) const;

private:
    SpectrumFingerprint m_measured;
    FingerprintParameters m_parameters;
    QVector<double> m_positions;     // distinct measured peak positions, ascending
    QVector<int> m_firstIndex;       // smallest peak index at each of m_positions
    QVector<int> m_distinctOf;       // per peak: its index in m_positions
    QVector<int> m_sameFirst;        // per peak: the smallest index at its position
    QVector<int> m_sameNext;         // per peak: the next larger index at its position, or -1
    QVector<double> m_heightFactors; // per peak: its share of an unmatched-peak penalty
};

// Cosine similarity times 10 over the common range of two spectra on the same grid.
double correlateSpectra(const RamanData<Wavenumbers> &a, const RamanData<Wavenumbers> &b);
