#include "library/matching/fingerprintmatcher.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

float ratioOf(float a, float b)
{
    return std::min(a, b) == -1.0f ? 1.0f : a / b;
}

float folded(float ratio)
{
    return ratio > 1.0f ? 1.0f / ratio : ratio;
}

// The similarity s of a candidate pair; false when the two are too far apart. Weak peaks
// get a wider position tolerance, up to twice the normal one.
inline bool scorePair(const FingerprintPeak &a, const FingerprintPeak &b,
                      const FingerprintParameters &p, double *s, float *meanWeight)
{
    const double dPos = a.position - b.position;
    // tol is at most 2, so pairs further apart never match, whatever their weights.
    if (std::fabs(dPos) > 2.0 * p.maxWavenumDiff)
        return false;
    *meanWeight = (a.weight + b.weight) / 2.0f;
    const float tol = std::clamp(1.0f / std::sqrt(*meanWeight), 1.0f, 2.0f);
    const double tMax = tol * p.maxWavenumDiff;
    const double tPerfect = tol * p.uncertaintyWavenumDiff;
    if (std::isnan(dPos) || std::fabs(dPos) > tMax)
        return false;
    *s = 1.0;
    if (std::fabs(dPos) > tPerfect)
        *s = 1.0 - (std::fabs(dPos) - tPerfect) / (tMax - tPerfect);
    const float w = folded(ratioOf(a.width, b.width));
    if (w < 1.0 / p.uncertaintyWidth)
        *s *= 0.2 * p.uncertaintyWidth * w + 0.8;
    const float e = folded(ratioOf(a.height, b.height));
    if (std::sqrt(e) < 1.0 / p.uncertaintyEnergy)
        *s *= 0.7 * p.uncertaintyEnergy * e + 0.3;
    return true;
}

// Unmatched peaks near the low end of the range count less: their bands are often cut off.
inline double positionFactor(double position, double lo, double hi)
{
    return lo == -1.0 ? 1.0 : std::min((position - lo) / (lo + 0.07 * (hi - lo)), 1.0);
}

inline double heightFactor(const FingerprintPeak &q, double noise, const FingerprintParameters &p)
{
    return std::min(q.height / (noise * p.unrecognizableNoiseFactor), 1.0);
}

inline float penaltyOf(const FingerprintPeak &q, double positionFactor, double heightFactor,
                       const FingerprintParameters &p)
{
    const float value = float(q.weight * positionFactor * heightFactor);
    return value > 1.0f ? float(p.clearUnmatchedPenalty) : value;
}

inline float unmatchedPenalty(const FingerprintPeak &q, double noise, double lo, double hi,
                              const FingerprintParameters &p)
{
    return penaltyOf(q, positionFactor(q.position, lo, hi), heightFactor(q, noise, p), p);
}

/*
 * The scoring both matchers share. The candidate pairs (measured index, library index) are
 * scored in order; claim(ia, ib) takes the peaks of a matching pair out of the unmatched ones.
 * Then addLibraryPenalties and addMeasuredPenalties add the penalties of the peaks left to the
 * denominator. Sums are single precision and in a fixed order, so both give the same bits.
 */
template<typename Claim, typename AddLibrary, typename AddMeasured>
double scorePairs(const std::pair<int, int> *pairs, int pairCount, const FingerprintPeak *a,
                  const FingerprintPeak *b, const FingerprintParameters &p, Claim claim,
                  AddLibrary addLibraryPenalties, AddMeasured addMeasuredPenalties)
{
    float acc = 0.0f;
    float denominator = 0.0f;
    for (int k = 0; k < pairCount; ++k) {
        const auto [ia, ib] = pairs[k];
        double s = 0.0;
        float meanWeight = 0.0f;
        if (!scorePair(a[ia], b[ib], p, &s, &meanWeight))
            continue;
        claim(ia, ib);
        acc += float(s) * meanWeight;
        denominator += meanWeight;
    }
    addLibraryPenalties(denominator);
    if (!p.ignoreUnmatchedMeasured)
        addMeasuredPenalties(denominator);
    const float score = std::fabs(denominator) > 1e-12f ? 10.0f * acc / denominator : 10.0f * acc;
    return double(score);
}

// The nearest of ascending positions to q, given the first one not below q; among equally near
// ones the one of smallest rank (the earliest in the order a front-to-back scan would see).
template<typename PositionAt, typename RankAt>
inline int nearestAround(int firstNotBelow, int count, double q, PositionAt positionAt,
                         RankAt rankAt)
{
    double best = std::numeric_limits<double>::infinity();
    int bestK = -1;
    int bestRank = std::numeric_limits<int>::max();
    const auto consider = [&](int k) {
        const double distance = std::fabs(positionAt(k) - q);
        if (distance > best)
            return false;
        if (distance < best || rankAt(k) < bestRank) {
            bestK = k;
            bestRank = rankAt(k);
        }
        best = distance;
        return true;
    };
    for (int k = firstNotBelow - 1; k >= 0 && consider(k); --k) {
    }
    for (int k = firstNotBelow; k < count && consider(k); ++k) {
    }
    return bestK;
}

} // namespace

SortedLibraryPeaks::SortedLibraryPeaks(const QVector<SpectrumFingerprint> &fingerprints)
{
    m_offsets.reserve(fingerprints.size() + 1);
    QVector<int> order;
    for (const SpectrumFingerprint &fingerprint : fingerprints) {
        const QVector<FingerprintPeak> &peaks = fingerprint.peaks;
        order.resize(peaks.size());
        std::iota(order.begin(), order.end(), 0);
        // Stable: equal positions stay in stored order, which the matcher relies on.
        std::stable_sort(order.begin(), order.end(),
                         [&peaks](int a, int b) { return peaks[a].position < peaks[b].position; });
        for (int index : qAsConst(order)) {
            m_peaks.append(peaks[index]);
            m_storedIndex.append(index);
        }
        m_offsets.append(m_peaks.size());
        m_mostPeaks = std::max(m_mostPeaks, int(peaks.size()));
    }
}

SortedPeaksFingerprint SortedLibraryPeaks::view(int i, const SpectrumFingerprint &fingerprint) const
{
    SortedPeaksFingerprint sorted;
    sorted.peaks = peaks(i);
    sorted.count = count(i);
    sorted.xFirst = fingerprint.xFirst;
    sorted.xLast = fingerprint.xLast;
    sorted.noise = fingerprint.noise;
    sorted.storedIndex = m_storedIndex.constData() + m_offsets[i];
    return sorted;
}

FingerprintMatcher::FingerprintMatcher(const SpectrumFingerprint &measured,
                                       const FingerprintParameters &parameters)
    : m_measured(measured)
    , m_parameters(parameters)
{
    const int n = measured.peaks.size();
    QVector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&measured](int a, int b) {
        return measured.peaks[a].position < measured.peaks[b].position;
    });
    m_distinctOf.resize(n);
    m_sameFirst.resize(n);
    m_sameNext.resize(n);
    for (int k = 0; k < n;) {
        // A run of equal positions, in index order thanks to the stable sort.
        int end = k + 1;
        while (end < n && measured.peaks[order[end]].position == measured.peaks[order[k]].position)
            ++end;
        for (int r = k; r < end; ++r) {
            m_distinctOf[order[r]] = m_positions.size();
            m_sameFirst[order[r]] = order[k];
            m_sameNext[order[r]] = r + 1 < end ? order[r + 1] : -1;
        }
        m_positions.append(measured.peaks[order[k]].position);
        m_firstIndex.append(order[k]);
        k = end;
    }
    for (const FingerprintPeak &peak : measured.peaks)
        m_heightFactors.append(heightFactor(peak, measured.noise, parameters));
}

int FingerprintMatcher::nearestMeasuredPeak(double position) const
{
    if (!(position > m_measured.xFirst && position < m_measured.xLast) || m_positions.isEmpty())
        return -1;
    const double *positions = m_positions.constData();
    const int *firstIndex = m_firstIndex.constData();
    const int firstNotBelow
        = int(std::lower_bound(m_positions.cbegin(), m_positions.cend(), position)
              - m_positions.cbegin());
    return firstIndex[nearestAround(
        firstNotBelow, m_positions.size(), position, [positions](int j) { return positions[j]; },
        [firstIndex](int j) { return firstIndex[j]; })];
}

double FingerprintMatcher::match(const SortedPeaksFingerprint &B) const
{
    const FingerprintPeak *aPeaks = m_measured.peaks.constData();
    const FingerprintParameters &p = m_parameters;
    const int na = m_measured.peaks.size();
    const int nb = B.count;
    if (na == 0 || nb == 0)
        return -1.0;
    const FingerprintPeak *bPeaks = B.peaks;
    const int *stored = B.storedIndex;
    const double *positions = m_positions.constData();
    const int *firstIndex = m_firstIndex.constData();
    const int distinct = m_positions.size();
    const auto libraryPosition = [bPeaks](int k) { return bPeaks[k].position; };
    const auto libraryRank = [stored](int k) { return stored ? stored[k] : k; };

    // Both sides are walked in position order, so each nearest neighbour is found next to where
    // the previous one was.
    QVarLengthArray<int, 128> nearestOfDistinct(distinct);
    for (int d = 0, k = 0; d < distinct; ++d) {
        while (k < nb && bPeaks[k].position < positions[d])
            ++k;
        nearestOfDistinct[d] = nearestAround(k, nb, positions[d], libraryPosition, libraryRank);
    }
    const int *nearestMeasured = B.nearestMeasured;
    QVarLengthArray<int, 256> nearestFound;
    if (!nearestMeasured) {
        nearestFound.resize(nb);
        for (int k = 0, d = 0; k < nb; ++k) {
            const double position = bPeaks[k].position;
            while (d < distinct && positions[d] < position)
                ++d;
            nearestFound[k] = -1;
            if (position > m_measured.xFirst && position < m_measured.xLast)
                nearestFound[k] = firstIndex[nearestAround(
                    d, distinct, position, [positions](int j) { return positions[j]; },
                    [firstIndex](int j) { return firstIndex[j]; })];
        }
        nearestMeasured = nearestFound.constData();
    }
    // The library side is summed in its own order.
    QVarLengthArray<int, 256> sortedOf(stored ? nb : 0);
    for (int k = 0; stored && k < nb; ++k)
        sortedOf[stored[k]] = k;

    QVarLengthArray<std::pair<int, int>, 384> pairs;
    QVarLengthArray<int, 128> partnerOfA(na);
    for (int ia = 0; ia < na; ++ia) {
        partnerOfA[ia] = -1;
        const double position = aPeaks[ia].position;
        if (position > B.xFirst && position < B.xLast) {
            partnerOfA[ia] = nearestOfDistinct[m_distinctOf[ia]];
            pairs.append({ia, partnerOfA[ia]});
        }
    }
    for (int s = 0; s < nb; ++s) {
        const int kb = stored ? sortedOf[s] : s;
        const int ia = nearestMeasured[kb];
        if (ia != -1 && partnerOfA[ia] != kb)
            pairs.append({ia, kb});
    }

    QVarLengthArray<bool, 128> removedA(na);
    QVarLengthArray<bool, 256> removedB(nb);
    std::fill(removedA.begin(), removedA.end(), false);
    std::fill(removedB.begin(), removedB.end(), false);
    const auto claim = [&](int ia, int kb) {
        // The first unmatched peak at each position: measured ones through their chains, library
        // ones are neighbours in stored order after the stable sort.
        int j = m_sameFirst[ia];
        while (j != -1 && removedA[j])
            j = m_sameNext[j];
        if (j != -1)
            removedA[j] = true;
        const double position = bPeaks[kb].position;
        int k = kb;
        while (k > 0 && bPeaks[k - 1].position == position)
            --k;
        while (k < nb && bPeaks[k].position == position && removedB[k])
            ++k;
        if (k < nb && bPeaks[k].position == position)
            removedB[k] = true;
    };
    const double lo = std::min(m_measured.xFirst, B.xFirst);
    const double hi = std::max(m_measured.xLast, B.xLast);
    return scorePairs(
        pairs.constData(), pairs.size(), aPeaks, bPeaks, p, claim,
        [&](float &denominator) {
            for (int s = 0; s < nb; ++s) {
                const int kb = stored ? sortedOf[s] : s;
                if (!removedB[kb])
                    denominator += unmatchedPenalty(bPeaks[kb], B.noise, lo, hi, p);
            }
        },
        [&](float &denominator) {
            for (int ia = 0; ia < na; ++ia) {
                if (!removedA[ia])
                    denominator
                        += penaltyOf(aPeaks[ia], positionFactor(aPeaks[ia].position, lo, hi),
                                     m_heightFactors[ia], p);
            }
        });
}

namespace {

int nearestPeak(const QVector<FingerprintPeak> &peaks, double position)
{
    int best = 0;
    double bestDistance = std::fabs(peaks[0].position - position);
    for (int j = 1; j < peaks.size(); ++j) {
        const double distance = std::fabs(peaks[j].position - position);
        if (distance < bestDistance) {
            best = j;
            bestDistance = distance;
        }
    }
    return best;
}

// Takes the first peak at the given position out of the copy.
void removeFirstAt(QVector<FingerprintPeak> &peaks, double position)
{
    const auto found = std::find_if(peaks.begin(), peaks.end(), [position](const auto &peak) {
        return peak.position == position;
    });
    if (found != peaks.end())
        peaks.erase(found);
}

void addPenalties(float &denominator, const SpectrumFingerprint &owner,
                  const QVector<FingerprintPeak> &left, double lo, double hi,
                  const FingerprintParameters &p)
{
    for (const FingerprintPeak &q : left)
        denominator += unmatchedPenalty(q, owner.noise, lo, hi, p);
}

} // namespace

double matchFingerprints(const SpectrumFingerprint &A, const SpectrumFingerprint &B,
                         const FingerprintParameters &p)
{
    if (A.peaks.isEmpty() || B.peaks.isEmpty())
        return -1.0;
    QVector<std::pair<int, int>> pairs;
    for (int ia = 0; ia < A.peaks.size(); ++ia) {
        const double position = A.peaks[ia].position;
        if (position > B.xFirst && position < B.xLast)
            pairs.append({ia, nearestPeak(B.peaks, position)});
    }
    for (int ib = 0; ib < B.peaks.size(); ++ib) {
        const double position = B.peaks[ib].position;
        const std::pair<int, int> pair{nearestPeak(A.peaks, position), ib};
        if (position > A.xFirst && position < A.xLast && !pairs.contains(pair))
            pairs.append(pair);
    }
    QVector<FingerprintPeak> leftA = A.peaks, leftB = B.peaks;
    const double lo = std::min(A.xFirst, B.xFirst);
    const double hi = std::max(A.xLast, B.xLast);
    return scorePairs(
        pairs.constData(), pairs.size(), A.peaks.constData(), B.peaks.constData(), p,
        [&](int ia, int ib) {
            removeFirstAt(leftA, A.peaks[ia].position);
            removeFirstAt(leftB, B.peaks[ib].position);
        },
        [&](float &denominator) { addPenalties(denominator, B, leftB, lo, hi, p); },
        [&](float &denominator) { addPenalties(denominator, A, leftA, lo, hi, p); });
}
