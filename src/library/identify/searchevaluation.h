#pragma once

#include "library/identify/groupanswer.h"
#include "library/identify/mineralsearch.h"
#include "library/identify/mixturefit.h"
#include "library/identify/search.h"

#include <random>

class ReferenceLibrary;

// How well the searches name the minerals of spectra whose minerals are known: a lab checks its
// own library with it (each sample searched against the others) and we keep our figures with it.

// A spectrum file named in the reference scheme: mineral first, sample (RRUFF id) second.
struct LabelledSpectrum
{
    RamanData<Wavenumbers> data;
    QString mineral;
    QString sample;
    QString file; // name within its folder
};

// The readable spectrum files (*.txt) of `folder` named in the scheme, by name; others are
// skipped with a warning.
QVector<LabelledSpectrum> labelledSpectra(const QString &folder);

enum LeftOut {
    LeaveOutNothing = 0,
    LeaveOutOwnSample = 1, // a library searching its own spectra
    LeaveOutOwnMineral = 2 // asking for a mineral the library lacks
};

// Per library spectrum: true where it takes no part in the search for `query`. With `folds` > 0
// the spectra of the query's fold are left out too (K-fold evaluation by sample).
QVector<bool> leftOut(const ReferenceLibrary &library, const LabelledSpectrum &query, int leaveOut,
                      int folds = 0);

// The fold (0..folds-1) of a sample: crc32 of its RRUFF id's ASCII bytes modulo `folds`, so that
// every program that splits a library so gets the same folds.
int sampleFold(const QString &sample, int folds);

// Rank (0 = best) of `mineral` among the first five spectra or minerals; -1 when not among them.
int spectrumRank(const ReferenceLibrary &library, const QVector<double> &scores,
                 const QVector<bool> &excluded, const QString &mineral);
int mineralRank(const MineralIdentification &answer, const QString &mineral);

struct HitRates
{
    int queries = 0;
    int answered = 0; // queries the method could search at all
    int top1 = 0;
    int top5 = 0;
    void add(bool searched, int rank);
    double top1Percent() const { return 100.0 * top1 / std::max(queries, 1); }
    double top5Percent() const { return 100.0 * top5 / std::max(queries, 1); }
};

// One query's fate; ranks as above, -2 where the method did not run.
struct EvaluatedQuery
{
    QString file;
    QString mineral;
    int fingerprintRank = -2;
    int correlationRank = -2;
    int mineralRank = -2;
    QString answer; // the mineral search's first mineral
    // By the rule tuned without the query's fold; from the best score and lead in `example`.
    IdentificationConfidence confidence = IdentificationConfidence::Uncertain;
    bool uncertainWhenAbsent = false; // with the query's mineral left out too
    ConfidenceExample example;
    int fold = 0;
    GroupAnswer group; // with its confidence from the rule tuned without the query's fold
    bool groupRight = false;
};

struct SearchEvaluation
{
    HitRates fingerprint, correlation, mineral;
    int confident = 0, confidentRight = 0;
    int likely = 0, likelyRight = 0;
    int uncertainWhenAbsent = 0;
    int groupRight = 0, groupConfident = 0, groupConfidentRight = 0;
    // With folds: per fold, the rules tuned on the other folds; last, the ones tuned on all.
    QVector<MineralSearchParameters> mineralRules;
    QVector<GroupAnswerParameters> groupRules;
    QVector<EvaluatedQuery> queries;

    double percentOfQueries(int count) const
    {
        return 100.0 * count / std::max(int(queries.size()), 1);
    }
    double confidentRightPercent() const { return 100.0 * confidentRight / std::max(confident, 1); }
};

// Searches every query with the given `methods` (of mineral, fingerprint, correlation), leaving out
// per query what `leaveOut` (bits of LeftOut) names. With `folds` > 0 each query is searched
// without the spectra of its fold, a query whose mineral has no spectrum in the other folds is not
// counted, and the answers of each fold are trusted by the rules tuned on the other folds to
// `tunedPrecision`, the mineral rule keeping `absentUncertain` (else by the default rules).
SearchEvaluation evaluateSearches(const ReferenceLibrary &library,
                                  const QVector<LabelledSpectrum> &queries, int leaveOut,
                                  const QVector<SearchMethod> &methods,
                                  const ProcessingParameters &processing,
                                  const FingerprintParameters &fingerprint, int folds = 0);
constexpr double tunedPrecision = 0.975;
constexpr double absentUncertain = 0.85;

// A generated mixture: library spectra (each scaled to unit area over the range all of them
// cover) weighted `weights`, plus a fluorescence background (a broad Gaussian as high as the
// strongest band, on a sloping line) and Gaussian noise of 1 % of the strongest band. Empty when
// the spectra share less than 600 1/cm.
RamanData<Wavenumbers> generatedMixture(const ReferenceLibrary &library,
                                        const QVector<int> &members, const QVector<double> &weights,
                                        std::mt19937 &random);

// Random distinct-mineral sets of `size` library spectra that overlap by at least 600 1/cm; fewer
// than `count` when the library has too few such sets.
QVector<QVector<int>> mixtureMembers(const ReferenceLibrary &library, int count, int size,
                                     std::mt19937 &random);

// Rank (0 = best) of the fit that names exactly the minerals of `members`; -1 when none does.
int mixtureRank(const ReferenceLibrary &library, const QVector<MixtureFit> &fits,
                const QVector<int> &members);

// How often the mixture fit names exactly the minerals of each of `sets`, mixed with `weights` as
// generatedMixture makes it: first, and among the first five.
HitRates evaluateMixtureFit(const ReferenceLibrary &library, const MineralSearch &search,
                            const QVector<QVector<int>> &sets, const QVector<double> &weights,
                            std::mt19937 &random, const ProcessingParameters &processing,
                            const FingerprintParameters &fingerprint);
