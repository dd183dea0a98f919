#pragma once

#include "library/combinationsearch.h"
#include "library/identify/mineralsearch.h"
#include "library/identify/mixturefit.h"
#include "library/identify/searchquery.h"

#include <functional>
#include <memory>

class ReferenceLibrary;

// Every way of searching the reference library.
enum class SearchMethod {
    Fingerprint, // band positions
    Correlation, // whole spectrum: cosine on the search grid
    Automatic,   // correlation for spectra too noisy for bands, else fingerprint
    Lines,       // picked lines against the library's bands
    LinesOnly,   // the same; library bands that were not picked do not count against it
    Mineral,     // minerals ranked with a confidence
    Pairs,       // two-mineral search over all pairs of fingerprints
    MixtureFit,  // non-negative fit of two or three library spectra
};

struct SearchParameters
{
    FingerprintParameters fingerprint;
    SpectrumFingerprint lines; // Lines, LinesOnly
    // Correlation: only the part of the spectrum between these (when minimum < maximum).
    double visibleMinimum = 0.0;
    double visibleMaximum = 0.0;
    int components = 2; // MixtureFit: 2 or 3 spectra
    int results = 10;   // MixtureFit: fits kept
    // Pairs: called about every 100 ms with the search's progress value and maximum; false
    // cancels the search.
    std::function<bool(int, int)> progress;
};

// What a search found; library spectra are named by their index in the library searched.
struct SearchResult
{
    // Per library spectrum (0..10, -1: none; the mineral search: each mineral's best spectrum
    // its score, the others -1); empty when the query cannot be searched so.
    QVector<double> scores;
    MineralIdentification minerals;         // Mineral
    QVector<LinearCombinationResult> pairs; // Pairs, best first
    QVector<MixtureFit> mixtures;           // MixtureFit, best first
    QString problem;                        // English; why there is no answer
};

// Blocks (the scans run on the global pool). `minerals` is the library's mineral search, built
// or read from the user's cache folder when null and needed.
SearchResult searchLibrary(const ReferenceLibrary &library, SearchMethod method,
                           const SearchQuery &query, const SearchParameters &options,
                           const MineralSearch *minerals = nullptr);

// The pair search of `spectrum` on the global pool, for callers that show its progress: the
// future's progress counts library spectra done, cancelling it stops the search, and its result
// is SearchResult::pairs. The search keeps the library alive.
QFuture<QVector<LinearCombinationResult>>
startPairSearch(std::shared_ptr<const ReferenceLibrary> library, RamanData<Wavenumbers> spectrum,
                ProcessingParameters processing, SearchParameters parameters);

// Correlation for spectra too noisy for bands (mean below 20 times the noise of their fingerprint).
bool looksTooNoisyForBands(const RamanData<Wavenumbers> &measured);
