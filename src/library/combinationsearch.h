#pragma once

#include "library/matching/fingerprintmatcher.h"
#include "library/ramanlibraryspectrum.h"

#include <QFuture>
#include <QVector>

// A pair of library spectra (indices into the library searched) whose summed fingerprint scores
// against a measured one.
struct LinearCombinationResult
{
    int first = -1;
    int second = -1;
    double score = -1.0;
};

// How many of the best combinations a search keeps.
constexpr int combinationResultsKept = 150;
// Peaks of two combined fingerprints closer than this (1/cm) count as one.
constexpr double combinedPeakDistance = 10.0;

// The fingerprint of the sum of two spectra: the peaks of both by position, dropping any closer
// than combinedPeakDistance to the last kept one, the mean noise and the wider range.
SpectrumFingerprint combinedFingerprint(const SpectrumFingerprint &a, const SpectrumFingerprint &b);

// The peaks of combinedFingerprint from peaks already sorted by position, written to `out`
// (room for countA + countB peaks); returns how many were kept.
int combinePeaks(const FingerprintPeak *a, int countA, const FingerprintPeak *b, int countB,
                 FingerprintPeak *out);
// The same, carrying a value per peak along from tagsA and tagsB to tagsOut.
int combinePeaks(const FingerprintPeak *a, const int *tagsA, int countA, const FingerprintPeak *b,
                 const int *tagsB, int countB, FingerprintPeak *out, int *tagsOut);

// Scores every ordered pair (i, j) of library fingerprints, self-pairs included, against the
// measured fingerprint on the global thread pool and returns at once; `sorted` holds the peaks of
// `fingerprints`. The result holds the combinationResultsKept best pairs, best first; progress
// counts finished i. The search keeps the library's vectors alive (they are implicitly shared).
// A measured fingerprint without peaks, or an
// empty library, gives a finished future with no combinations.
QFuture<QVector<LinearCombinationResult>>
startCombinationSearch(const QVector<rruff_infos> &spectra,
                       const QVector<SpectrumFingerprint> &fingerprints,
                       const SortedLibraryPeaks &sorted, const SpectrumFingerprint &measured,
                       const FingerprintParameters &parameters);

// The results with every pair of spectrum numbers listed once (in either order), best first,
// without pairs of one mineral; `spectra` are those of the library searched.
QVector<LinearCombinationResult> distinctPairs(const QVector<LinearCombinationResult> &results,
                                               const QVector<rruff_infos> &spectra);

// How far a search over librarySize spectra has come, from the future's progress value and
// maximum and the milliseconds since it started.
struct CombinationProgress
{
    qint64 done = 0;  // combinations
    qint64 total = 0; // combinations
    qint64 remainingSeconds = 0;
};
CombinationProgress combinationProgress(int value, int maximum, int librarySize, qint64 elapsedMs);
