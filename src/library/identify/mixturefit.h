#pragma once

#include "library/identify/mineralsearch.h"

class ReferenceLibrary;

// The tuning values of the mixture fit.
struct MixtureFitParameters
{
    int components = 2;         // 2 or 3
    int singleCandidates = 12;  // best minerals of the single search that enter the fit
    int residualSeeds = 5;      // single fits whose remainder is searched for further minerals
    int residualCandidates = 8; // minerals taken from each remainder
    int partnerSeeds = 2;       // best single fits whose residual every library spectrum is
                                // tried to lower
    int partnerCandidates = 8;  // minerals taken from each of those
    int tripleSeeds = 8;        // best pairs extended to triples
    int backgroundTerms = 6;    // Legendre polynomials (degree 0..5) for a smooth background
    int results = 10;
};

struct MixtureComponent
{
    QString name;
    int spectrum = -1;     // library index
    double fraction = 0.0; // share of the fitted band intensity (area over the fitted range)
};

// One fitted combination: measured ~ sum of c_i * library_i (c_i > 0) + smooth background.
struct MixtureFit
{
    QVector<MixtureComponent> components; // largest fraction first
    // Share of the measured intensity energy the fit leaves unexplained, 0..1: the residual inside
    // the fitted range plus everything outside it.
    double residual = 1.0;
    double firstX = 0.0; // fitted range, 1/cm
    double lastX = 0.0;
};

// Fits the measured spectrum as a non-negative combination of two or three library spectra over
// their common range. Candidates are the best minerals of the single search, the minerals most
// like what a single-spectrum fit leaves over, and those that would lower the residual of the best
// single fits most as a second component. Distinct mineral sets, best fit first;
// empty (and `problem` set) when the spectrum cannot be searched.
QVector<MixtureFit> fitMixtures(const MineralSearch &search, const ReferenceLibrary &library,
                                const MineralQuery &query, const FingerprintParameters &fingerprint,
                                const MixtureFitParameters &parameters, QString *problem = nullptr);
