#include "library/combinationsearch.h"

#include "core/logging.h"
#include "library/matching/fingerprintmatcher.h"

#include <QFutureInterface>
#include <QSet>
#include <QVarLengthArray>
#include <QtConcurrent>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numeric>

SpectrumFingerprint combinedFingerprint(const SpectrumFingerprint &a, const SpectrumFingerprint &b)
{
    QVector<FingerprintPeak> peaks = a.peaks + b.peaks;
    std::stable_sort(
        peaks.begin(), peaks.end(),
        [](const FingerprintPeak &p, const FingerprintPeak &q) { return p.position < q.position; });
    SpectrumFingerprint sum;
    for (const FingerprintPeak &peak : qAsConst(peaks)) {
        if (sum.peaks.isEmpty()
            || std::fabs(peak.position - sum.peaks.constLast().position) >= combinedPeakDistance)
            sum.peaks.append(peak);
    }
    sum.noise = (a.noise + b.noise) / 2.0;
    sum.xFirst = std::min(a.xFirst, b.xFirst);
    sum.xLast = std::max(a.xLast, b.xLast);
    return sum;
}

namespace {

template<bool Tagged>
int combine(const FingerprintPeak *a, const int *tagsA, int countA, const FingerprintPeak *b,
            const int *tagsB, int countB, FingerprintPeak *out, int *tagsOut)
{
    int ia = 0, ib = 0, kept = 0;
    while (ia < countA || ib < countB) {
        // At equal positions a's peak comes first, as in a stable sort of a's peaks then b's.
        const bool takeA = ib == countB || (ia < countA && !(b[ib].position < a[ia].position));
        const FingerprintPeak &peak = takeA ? a[ia] : b[ib];
        if (kept == 0
            || std::fabs(peak.position - out[kept - 1].position) >= combinedPeakDistance) {
            if constexpr (Tagged)
                tagsOut[kept] = takeA ? tagsA[ia] : tagsB[ib];
            out[kept++] = peak;
        }
        ++(takeA ? ia : ib);
    }
    return kept;
}

} // namespace

int combinePeaks(const FingerprintPeak *a, int countA, const FingerprintPeak *b, int countB,
                 FingerprintPeak *out)
{
    return combine<false>(a, nullptr, countA, b, nullptr, countB, out, nullptr);
}

int combinePeaks(const FingerprintPeak *a, const int *tagsA, int countA, const FingerprintPeak *b,
                 const int *tagsB, int countB, FingerprintPeak *out, int *tagsOut)
{
    return combine<true>(a, tagsA, countA, b, tagsB, countB, out, tagsOut);
}

namespace {

// What every task of one search reads. The vectors are shallow copies: nobody can free them under
// the workers.
struct SearchState
{
    SearchState(const QVector<SpectrumFingerprint> &fingerprints, const SortedLibraryPeaks &sorted,
                const SpectrumFingerprint &measured, const FingerprintParameters &parameters)
        : fingerprints(fingerprints)
        , sorted(sorted)
        , matcher(measured, parameters)
    {
        for (int i = 0; i < sorted.size(); ++i) {
            for (int k = 0; k < sorted.count(i); ++k)
                nearestMeasured.append(matcher.nearestMeasuredPeak(sorted.peaks(i)[k].position));
            offsets.append(nearestMeasured.size());
        }
    }

    const QVector<SpectrumFingerprint> fingerprints;
    const SortedLibraryPeaks sorted;
    const FingerprintMatcher matcher;
    QVector<int> nearestMeasured; // per sorted peak: the measured peak it pairs with
    QVector<int> offsets{0};      // fingerprint i: nearestMeasured[offsets[i], offsets[i + 1])
};

// True when fingerprints i and j have a peak at exactly the same position.
bool sharePosition(const SortedLibraryPeaks &sorted, int i, int j)
{
    const FingerprintPeak *a = sorted.peaks(i);
    const FingerprintPeak *b = sorted.peaks(j);
    for (int ia = 0, ib = 0, na = sorted.count(i), nb = sorted.count(j); ia < na && ib < nb;) {
        if (a[ia].position < b[ib].position)
            ++ia;
        else if (b[ib].position < a[ia].position)
            ++ib;
        else
            return true;
    }
    return false;
}

// The map step: library spectrum i combined with the spectra from i on, both ways.
class CombineWithAll
{
public:
    using result_type = QVector<LinearCombinationResult>;

    explicit CombineWithAll(std::shared_ptr<const SearchState> state)
        : m_state(std::move(state))
    {}

    // Pairs (i, j) and (j, i) for every j >= i. Their combined peaks differ only where both
    // spectra have a peak at exactly the same position (the first one's is kept), so the second
    // order is matched only then.
    result_type operator()(int i) const
    {
        const SearchState &s = *m_state;
        const int n = s.fingerprints.size();
        result_type results;
        results.reserve(2 * (n - i));
        QVarLengthArray<FingerprintPeak, 256> combined(2 * s.sorted.mostPeaks());
        QVarLengthArray<int, 256> combinedNearest(2 * s.sorted.mostPeaks());
        const int *nearest = s.nearestMeasured.constData();
        const int *offsets = s.offsets.constData();
        SortedPeaksFingerprint sum;
        sum.peaks = combined.constData();
        sum.nearestMeasured = combinedNearest.constData();
        const auto score = [&](int first, int second) {
            const SpectrumFingerprint &a = s.fingerprints.at(first);
            const SpectrumFingerprint &b = s.fingerprints.at(second);
            sum.count = combinePeaks(s.sorted.peaks(first), nearest + offsets[first],
                                     s.sorted.count(first), s.sorted.peaks(second),
                                     nearest + offsets[second], s.sorted.count(second),
                                     combined.data(), combinedNearest.data());
            sum.xFirst = std::min(a.xFirst, b.xFirst);
            sum.xLast = std::max(a.xLast, b.xLast);
            sum.noise = (a.noise + b.noise) / 2.0;
            const double value = s.matcher.match(sum);
            return std::isnan(value) ? -1.0 : value;
        };
        for (int j = i; j < n; ++j) {
            const double forward = score(i, j);
            results.append({i, j, forward});
            if (j != i)
                results.append({j, i, sharePosition(s.sorted, i, j) ? score(j, i) : forward});
        }
        return results;
    }

private:
    std::shared_ptr<const SearchState> m_state;
};

// Best score first; ties in library order, so that the result does not depend on which task
// finished first.
bool ranksBefore(const LinearCombinationResult &a, const LinearCombinationResult &b)
{
    if (a.score != b.score)
        return a.score > b.score;
    if (a.first != b.first)
        return a.first < b.first;
    return a.second < b.second;
}

// The reduce step: at most the kept best plus one task's results are held at any time.
struct KeepBest
{
    void operator()(QVector<LinearCombinationResult> &kept,
                    const QVector<LinearCombinationResult> &found) const
    {
        kept += found;
        if (kept.size() > combinationResultsKept) {
            std::nth_element(kept.begin(), kept.begin() + combinationResultsKept, kept.end(),
                             ranksBefore);
            kept.resize(combinationResultsKept);
        }
        std::sort(kept.begin(), kept.end(), ranksBefore);
    }
};

QFuture<QVector<LinearCombinationResult>> finishedSearch()
{
    QFutureInterface<QVector<LinearCombinationResult>> search;
    search.reportStarted();
    const QVector<LinearCombinationResult> none;
    search.reportFinished(&none);
    return search.future();
}

} // namespace

QFuture<QVector<LinearCombinationResult>>
startCombinationSearch(const QVector<rruff_infos> &spectra,
                       const QVector<SpectrumFingerprint> &fingerprints,
                       const SortedLibraryPeaks &sorted, const SpectrumFingerprint &measured,
                       const FingerprintParameters &parameters)
{
    if (measured.peaks.isEmpty()) {
        qCWarning(logDataAlgorithms) << "two-mineral search: the measured spectrum has no peaks";
        return finishedSearch();
    }
    if (fingerprints.isEmpty() || fingerprints.size() != spectra.size()
        || sorted.size() != fingerprints.size()) {
        qCWarning(logDataLibraries) << "two-mineral search: no library spectra to combine";
        return finishedSearch();
    }
    qCDebug(logDataLibraries) << "two-mineral search over" << fingerprints.size() << "spectra";
    auto state = std::make_shared<const SearchState>(fingerprints, sorted, measured, parameters);
    QVector<int> indices(fingerprints.size());
    std::iota(indices.begin(), indices.end(), 0);
    return QtConcurrent::mappedReduced<QVector<LinearCombinationResult>>(
        indices, CombineWithAll(std::move(state)), KeepBest(),
        QtConcurrent::UnorderedReduce | QtConcurrent::SequentialReduce);
}

QVector<LinearCombinationResult> distinctPairs(const QVector<LinearCombinationResult> &results,
                                               const QVector<rruff_infos> &spectra)
{
    QVector<LinearCombinationResult> distinct;
    QSet<QPair<QString, QString>> listed;
    for (const LinearCombinationResult &result : results) {
        if (result.first < 0 || result.second < 0 || result.first >= spectra.size()
            || result.second >= spectra.size())
            continue;
        // Two spectra of one mineral are no mixture to offer.
        if (spectra[result.first].name.compare(spectra[result.second].name, Qt::CaseInsensitive)
            == 0)
            continue;
        const QString &a = spectra[result.first].number;
        const QString &b = spectra[result.second].number;
        const QPair<QString, QString> ids = a <= b ? qMakePair(a, b) : qMakePair(b, a);
        if (listed.contains(ids))
            continue;
        listed.insert(ids);
        distinct.append(result);
    }
    return distinct;
}

CombinationProgress combinationProgress(int value, int maximum, int librarySize, qint64 elapsedMs)
{
    CombinationProgress progress;
    const qint64 t = elapsedMs < 2 ? 1 : elapsedMs;
    progress.done = qint64(value) * librarySize;
    progress.total = qint64(maximum) * librarySize;
    const qint64 rate = progress.done / t; // combinations per millisecond
    progress.remainingSeconds = rate > 0 ? (progress.total - progress.done) / rate / 1000 : 0;
    return progress;
}
