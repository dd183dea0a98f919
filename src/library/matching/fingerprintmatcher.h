#pragma once

#include "library/matching/fingerprint.h"

#include <QVector>

// A library-side fingerprint read in place: its peaks sorted by position (ascending), as the
// peaks of a combined fingerprint are or as SortedLibraryPeaks keeps them.
struct SortedPeaksFingerprint
{
    const FingerprintPeak *peaks = nullptr;
    int count = 0;
    double xFirst = -1.0;
    double xLast = -1.0;
    double noise = 0.0;
    // Per peak: FingerprintMatcher::nearestMeasuredPeak of its position, when known beforehand.
    const int *nearestMeasured = nullptr;
    // Per peak: its index in the fingerprint's own order, which decides ties between equally
    // near peaks and the order of the sums; none when that order is this one.
    const int *storedIndex = nullptr;
};

// The peaks of every library fingerprint sorted by position once, for FingerprintMatcher.
class SortedLibraryPeaks
{
public:
    SortedLibraryPeaks() = default;
    explicit SortedLibraryPeaks(const QVector<SpectrumFingerprint> &fingerprints);

    int size() const { return m_offsets.size() - 1; }
    const FingerprintPeak *peaks(int i) const { return m_peaks.constData() + m_offsets[i]; }
    int count(int i) const { return m_offsets[i + 1] - m_offsets[i]; }
    int mostPeaks() const { return m_mostPeaks; }
    // Fingerprint i (the one these were sorted from) as the matcher reads it.
    SortedPeaksFingerprint view(int i, const SpectrumFingerprint &fingerprint) const;

private:
    QVector<FingerprintPeak> m_peaks; // each fingerprint's peaks by position, one after another
    QVector<int> m_storedIndex;       // per peak: its index in its fingerprint
    QVector<int> m_offsets{0};        // fingerprint i: m_peaks[m_offsets[i], m_offsets[i + 1])
    int m_mostPeaks = 0;
};

// Score 0..10 of a measured fingerprint against very many library-side ones; -1 when either has
// no peaks. The measured side is indexed once, the library side is read in place, nothing is
// allocated per match (up to 128 measured and 256 library peaks).
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

// The plain reading of the matching rules (nearest peaks by linear search, matched peaks taken
// out of copies), kept as the oracle FingerprintMatcher is tested against; too slow for searches.
double matchFingerprints(const SpectrumFingerprint &measured, const SpectrumFingerprint &library,
                         const FingerprintParameters &parameters);
