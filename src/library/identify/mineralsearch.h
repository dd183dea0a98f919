#pragma once

#include "library/identify/searchquery.h"
#include "library/matching/fingerprint.h"
#include "library/matching/fingerprintmatcher.h"
#include "spectrum/processingparameters.h"
#include "spectrum/ramandata.h"

#include <QCoreApplication>
#include <QHash>
#include <QVector>

#include <memory>

class QIODevice;

class ReferenceLibrary;

// How far an answer of the mineral search can be trusted.
enum class IdentificationConfidence { Confident, Likely, Uncertain };

// The tuning values of the mineral search. The defaults were chosen by five-fold cross-validation
// by sample on the public RRUFF spectra: each value on four folds, scored on the fifth; every fold
// chose these (or a neighbour within 0.05).
struct MineralSearchParameters
{
    // Share of the peak (fingerprint) score in a spectrum's score; the rest is the shape score.
    double peakWeight = 0.2;
    // How far a mineral's score moves from its best spectrum's towards its second best one's: a
    // mineral whose reference spectra agree with each other and with the query ranks above one
    // that owes its place to a single spectrum among several.
    double secondSpectrumWeight = 0.1;
    // Shortest x range, in 1/cm, that a query and a library spectrum must share to be compared.
    double minimumOverlap = 100.0;
    // The confidence rule (scores 0..10, margin = best mineral's score minus the next one's):
    // "sicher" when the lead is at least confidentMargin - confidentSlope * (score - 9) and the
    // score at least confidentScore, so a close match needs less lead than a loose one. Tuned by
    // tuneMineralConfidence (97.5 % right, a mineral left out of the library still answered
    // "uncertain" for 85 %): on four folds each it chose leads of 1.1 to 1.2 and slopes of 0.1 to
    // 0.6, which held 97.4 % on the fifth; these are its choice on all five. The score floor only
    // keeps odd spectra out.
    double confidentMargin = 1.15;
    double confidentSlope = 0.4;
    double confidentScore = 7.0;
    double likelyMargin = 0.7;
    double likelyScore = 9.3;
    // Two leaders change places when the first leads by less than leaderLeanWeight times how far
    // the spectrum leans to the second on the bands that tell their references apart (lean
    // -0.5..0.5, so only leads below half the weight). Chosen on four folds each: 1.0 to 1.4,
    // 1.4 by three; top-1 rose from 80.1 % to 81.1 % on the fifth, top-5 stayed. 1.0 did as
    // well on the five folds but lost a query on loo/.
    double leaderLeanWeight = 1.4;
    // The variance of each bin among a mineral's references is floored at this share of its
    // mean, so that a bin where two references agree by chance does not decide alone. Chosen on
    // four folds each: 0.01 to 0.1.
    double leaderVarianceFloor = 0.01;
};

IdentificationConfidence confidenceOf(const MineralSearchParameters &parameters, double bestScore,
                                      double margin);

// An answer of known truth, for choosing the confidence rule: the best mineral's score and lead,
// and the same with the right mineral left out of the library.
struct ConfidenceExample
{
    double score = 0.0;
    double margin = 0.0;
    double absentScore = 0.0;
    double absentMargin = 0.0;
    bool right = false;
};

// The confidence rule that calls most examples "sicher" while at least `precision` (0..1) of
// those are right and at least `absentUncertain` of the examples, searched without their mineral,
// stay "unsicher"; `base` gives the values that are not tuned.
MineralSearchParameters tuneMineralConfidence(const QVector<ConfidenceExample> &examples,
                                              double precision, double absentUncertain,
                                              MineralSearchParameters base = {});

// One mineral of an answer, represented by its best-matching library spectrum.
struct MineralHit
{
    QString name;
    int spectrum = -1;  // library index
    double score = 0.0; // 0..10
    double shape = 0.0; // cosine of the root intensities over the common range (the better
                        // view), 0..1
    double peaks = 0.0; // fingerprint score, 0..10 (0 when either side has no peaks)
};

struct MineralIdentification
{
    QVector<MineralHit> minerals; // best first
    double margin = 0.0;          // best score minus the next mineral's
    IdentificationConfidence confidence = IdentificationConfidence::Uncertain;
    // The first two were put in order by the bands that tell them apart, so the first may score
    // less than the second.
    bool reordered = false;
    QString problem; // English reason why there is no answer; empty when there is one
};

// A measured spectrum made ready for comparison: root intensities on the search grid.
struct MineralQuery
{
    int firstBin = 0;     // grid index of root[0]
    QVector<float> root;  // square root of the intensities above a broad background and the noise
                          // floor, maximum 1
    QVector<float> sharp; // the same above a background that leaves only sharp bands; same size
    QVector<double> squares;      // prefix sums of root^2, size root.size() + 1
    QVector<double> sharpSquares; // prefix sums of sharp^2
    QVector<double> linear;       // the processed intensities themselves, maximum 1
    SpectrumFingerprint peaks;
    QString problem; // why it cannot be searched; empty when it can
    bool isValid() const { return problem.isEmpty(); }
};

// Ranks minerals, not spectra: each library spectrum is scored by the cosine of the square roots
// of both spectra (above their background and twice their noise) over the range both cover (the
// whole band shape; the root keeps weak bands in play next to one dominant band) mixed with the
// fingerprint score (band positions, found on both sides by the same rules). The cosine is taken
// twice, above a background that keeps everything narrower than 200 1/cm and above one that keeps
// only sharp bands (narrower than 40 1/cm); the better one counts, so that luminescence humps or
// background left over under the bands of a measured spectrum do not hide them. A mineral counts
// with its best spectrum, moved a tenth of the way towards its second best. The confidence comes
// from how far the best mineral leads the next. Built from a loaded library; keeps what it needs.
class MineralSearch
{
    Q_DECLARE_TR_FUNCTIONS(MineralSearch)

public:
    explicit MineralSearch(const ReferenceLibrary &library,
                           MineralSearchParameters parameters = {});
    // The search of `library`: read from the user's cache folder when it was stored there for
    // the same state of the library before, else built and stored there (a library read without
    // a cache is built every time).
    static std::shared_ptr<const MineralSearch> forLibrary(const ReferenceLibrary &library);

    int spectrumCount() const { return m_offsets.size(); }
    const MineralSearchParameters &parameters() const { return m_parameters; }
    void setParameters(const MineralSearchParameters &parameters) { m_parameters = parameters; }

    // The whole search: prepare, score every spectrum, rank minerals.
    MineralIdentification identify(const SearchQuery &query,
                                   const FingerprintParameters &fingerprint) const;

    // The steps of identify, for callers that reuse a query or leave spectra out.
    MineralQuery prepare(const SearchQuery &query, const FingerprintParameters &fingerprint) const;
    // Per library spectrum: the cosine of root intensities (0 where the common range is too short).
    QVector<double> shapeScores(const MineralQuery &query) const;
    QVector<double> peakScores(const MineralQuery &query,
                               const FingerprintParameters &fingerprint) const;
    // Minerals from per-spectrum scores; spectra whose `excluded` entry is true do not take part.
    MineralIdentification rank(const QVector<double> &shape, const QVector<double> &peaks,
                               const QVector<bool> &excluded = {}) const;
    // The second stage of rank, as a mineralogist looks at two close neighbours of one group:
    // where the spectrum lies between the two leaders' references (all of each mineral's that
    // are not `excluded`) on the bands where they differ consistently, +0.5 at the first's mean,
    // -0.5 at the second's; the leaders change places when it leans to the second by more than
    // their scores part them (see leaderLeanWeight). A swapped answer keeps its scores, so its
    // margin is 0 and it stays uncertain.
    void orderCloseLeaders(const MineralQuery &query, MineralIdentification &answer,
                           const QVector<bool> &excluded = {}) const;

    // The same cosine for a query made from any non-negative curve on the grid (mixture residues).
    static MineralQuery queryFromGrid(int firstBin, const QVector<double> &intensities);

    // Grid of the search: bin k lies at k * librarySearchStep.
    static int binOf(double x);
    // "sicher", "wahrscheinlich", "unsicher", translated.
    static QString confidenceText(IdentificationConfidence confidence);
    // "confident", "likely", "uncertain" for files and the command line.
    static const char *confidenceKeyword(IdentificationConfidence confidence);

    const QString &mineralOf(int spectrum) const { return m_names.at(m_mineral.at(spectrum)); }
    int mineralIndexOf(int spectrum) const { return m_mineral.at(spectrum); }
    int mineralCount() const { return m_names.size(); }

private:
    MineralSearch() = default;
    // What cannot be derived cheaply from the library: the stored views and the fingerprints.
    bool read(QIODevice &device, const ReferenceLibrary &library);
    bool write(QIODevice &device) const;
    // Everything else, from the library and what read() filled in.
    void deriveFrom(const ReferenceLibrary &library);
    // The lean of orderCloseLeaders (0 when the spectrum and the two best spectra share too short
    // a range, or the two minerals have fewer than three references there).
    double leanBetween(const MineralQuery &query, const MineralHit &first, const MineralHit &second,
                       const QVector<bool> &excluded) const;

    MineralSearchParameters m_parameters;
    // Root intensities of all library spectra one after another, times 65535.
    QVector<quint16> m_root;
    QVector<quint16> m_sharp; // the sharp view, laid out as m_root
    QVector<int> m_offsets;   // start of each spectrum in m_root
    QVector<int> m_firstBins;
    QVector<int> m_counts;
    QVector<int> m_mineral; // per spectrum: index into m_names
    QVector<QString> m_names;
    QVector<SpectrumFingerprint> m_fingerprints; // library bands found as a query's are
    SortedLibraryPeaks m_sortedPeaks;
};
