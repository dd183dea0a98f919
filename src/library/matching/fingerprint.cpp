#include "library/matching/fingerprint.h"

#include "core/logging.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

double fingerprintWidthScale(int sliderValue)
{
    const double w = std::pow((sliderValue + 51) / 50.0, 2);
    return w <= 0.0 || w > 5.0 ? 1.0 : w;
}

FingerprintParameters scaledForPeakWidth(FingerprintParameters p, double widthScale)
{
    p.peakNoiseFactor /= widthScale;
    p.checkWidth *= widthScale;
    p.halfFitSize *= widthScale;
    p.maxWidth *= widthScale;
    return p;
}

double estimateNoise(const QVector<double> &y)
{
    const int n = y.size();
    const int w = std::max(n / 128, 4);
    QVector<double> values;
    values.reserve(n / w + 1);
    for (int start = 0; start < n - w; start += w) {
        double mean = 0.0;
        for (int i = start; i < start + w; ++i)
            mean += y[i];
        mean /= w;
        double sum = 0.0;
        for (int i = start; i < start + w; ++i)
            sum += (y[i] - mean) * (y[i] - mean);
        const double value = std::sqrt(sum) / w;
        if (value != 0.0)
            values.append(value);
    }
    if (values.isEmpty())
        return std::numeric_limits<double>::quiet_NaN();
    const int quartile = values.size() / 4;
    std::nth_element(values.begin(), values.begin() + quartile, values.end());
    return double(float(values[quartile]));
}

namespace {

struct Candidate
{
    double height;
    int index;
};

// Index of the smallest value in [first, last] (first occurrence).
int indexOfMinimum(const QVector<double> &y, int first, int last)
{
    int best = first;
    for (int j = first + 1; j <= last; ++j) {
        if (y[j] < y[best])
            best = j;
    }
    return best;
}

/*
 * A candidate at i is a peak when both flanks, c points wide, fall clearly below it:
 *
 *            h
 *           /\
 *     _____/  \______      a flank drops if some point is below h * mustDropTo (and noise away)
 *    i-c     i     i+c     and drops clearly if below h * clearWhenDropsTo
 */
QVector<FingerprintPeak> findPeaks(const QVector<double> &x, const QVector<double> &y, double noise,
                                   const FingerprintParameters &p)
{
    QVector<FingerprintPeak> peaks;
    const int n = y.size();
    if (n < 2)
        return peaks;
    const double dx = x[1] - x[0];
    if (!(dx > 0.0))
        return peaks;

    QVector<double> yp(n);
    for (int i = 0; i < n; ++i)
        yp[i] = std::max(y[i], 0.0);
    const double ymax = *std::max_element(yp.cbegin(), yp.cend());
    const int c = std::max(int(std::ceil(p.checkWidth / dx)), 3);
    const int f = std::max(int(std::ceil(p.halfFitSize / dx)), 1);
    const double noiseLevel = p.peakNoiseFactor * noise;
    const double threshold = std::max(noiseLevel, p.minHeight);

    QVector<Candidate> candidates;
    for (int i = c; i < n - c; ++i) {
        if (yp[i] >= threshold)
            candidates.append({yp[i], i});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate &a, const Candidate &b) { return a.height > b.height; });
    QVector<bool> removed(n, false);

    float decay = 1.0f;
    int examined = 0;
    for (const Candidate &candidate : qAsConst(candidates)) {
        if (examined == 256)
            break;
        if (removed[candidate.index])
            continue;
        ++examined;
        const double h = candidate.height;
        const int i = candidate.index;

        bool leftDrops = false, leftClear = false, rightDrops = false, rightClear = false;
        for (int j = i - c; j < i; ++j) {
            if (yp[j] + noiseLevel < h) {
                leftDrops = leftDrops || yp[j] < h * p.mustDropTo;
                leftClear = leftClear || yp[j] < h * p.clearWhenDropsTo;
            }
        }
        for (int j = i + 1; j <= i + c; ++j) {
            if (yp[j] + noiseLevel < h) {
                rightDrops = rightDrops || yp[j] < h * p.mustDropTo;
                rightClear = rightClear || yp[j] < h * p.clearWhenDropsTo;
            }
        }

        if (leftDrops && rightDrops) {
            int k = 1;
            while (yp[i - k] > 0.67 * h && k < f && i - k > 0 && i + k + 1 < n)
                ++k;
            const int first = i - k;
            const double x0 = x[first];
            QVector<double> fx(2 * k + 1), fy(2 * k + 1);
            for (int j = 0; j <= 2 * k; ++j) {
                fx[j] = x[first + j] - x0;
                fy[j] = yp[first + j];
            }
            const QuadraticCoefficients q = fitQuadratic(fx, fy);
            double position = std::numeric_limits<double>::quiet_NaN();
            double width = std::numeric_limits<double>::quiet_NaN();
            if (std::fabs(q.a) > 1e-12) {
                position = x0 - q.b / (2.0 * q.a);
                width = -std::sqrt(q.b * q.b - 4.0 * q.a * q.c) / (2.0 * std::sqrt(2.0) * q.a);
            }
            const float relHeight = float(h / ymax);
            const double significant = noiseLevel * p.significantNoiseFactor;
            double factor = 1.0;
            if (h <= p.minHeight * p.significantNoiseFactor || h <= significant)
                factor = std::min(h / significant, 1.0);
            const float shape = float(1.0 - (width / p.maxWidth) * (width / p.maxWidth));
            float weight = float(shape * factor);
            weight = weight * decay;
            if (leftClear && rightClear)
                weight = float(weight * p.clearExtraScore);
            if (relHeight > p.minHeight && width > 0.0 && width < p.maxWidth) {
                peaks.append({position, float(width), relHeight, weight});
                decay *= 0.92f;
            }
        }

        const int left = indexOfMinimum(yp, i - c, i - 1);
        const int right = indexOfMinimum(yp, i + 1, i + c - 1);
        for (int j = left + 1; j < right; ++j)
            removed[j] = true;
    }
    return peaks;
}

} // namespace

SpectrumFingerprint buildFingerprint(const RamanData<Wavenumbers> &spectrum,
                                     const FingerprintParameters &parameters)
{
    SpectrumFingerprint fingerprint;
    if (spectrum.isEmpty() || spectrum.size() < 0) {
        qCWarning(logDataAlgorithms) << "constructing fingerprint from empty spectrum";
        return fingerprint;
    }
    const double maximum = *std::max_element(spectrum.y.cbegin(), spectrum.y.cend());
    if (!(std::fabs(maximum - 1.0) * 1e12 <= std::min(std::fabs(maximum), 1.0))) {
        qCWarning(logDataAlgorithms) << "Spectrum should be normalized, but the maximum value is"
                                     << maximum << "instead of 1.000";
        qCWarning(logDataAlgorithms) << "constructing fingerprint from non-normalized spectrum";
        return fingerprint;
    }
    const double noise = estimateNoise(spectrum.y);
    if (std::isnan(noise))
        return fingerprint;
    fingerprint.noise = noise;
    fingerprint.xFirst = spectrum.x.first();
    fingerprint.xLast = spectrum.x.last();
    fingerprint.peaks = findPeaks(spectrum.x, spectrum.y, noise, parameters);
    return fingerprint;
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

float unmatchedPenalty(const FingerprintPeak &q, double noise, double lo, double hi,
                       const FingerprintParameters &p)
{
    return penaltyOf(q, positionFactor(q.position, lo, hi), heightFactor(q, noise, p), p);
}

// Marks the first unmatched peak at the given position as matched.
void removeFirstAt(const QVector<FingerprintPeak> &peaks, QVarLengthArray<bool, 64> &removed,
                   double position)
{
    for (int j = 0; j < peaks.size(); ++j) {
        if (!removed[j] && peaks[j].position == position) {
            removed[j] = true;
            return;
        }
    }
}

} // namespace

double matchFingerprints(const SpectrumFingerprint &A, const SpectrumFingerprint &B,
                         const FingerprintParameters &p)
{
    if (A.peaks.isEmpty() || B.peaks.isEmpty())
        return -1.0;
    const int na = A.peaks.size();
    const int nb = B.peaks.size();

    // Each side pairs with its nearest neighbour on the other; a pair found twice counts once.
    QVarLengthArray<std::pair<int, int>, 64> pairs;
    QVarLengthArray<int, 64> partnerOfA(na);
    for (int ia = 0; ia < na; ++ia) {
        partnerOfA[ia] = -1;
        const double position = A.peaks[ia].position;
        if (position > B.xFirst && position < B.xLast) {
            partnerOfA[ia] = nearestPeak(B.peaks, position);
            pairs.append({ia, partnerOfA[ia]});
        }
    }
    for (int ib = 0; ib < nb; ++ib) {
        const double position = B.peaks[ib].position;
        if (position > A.xFirst && position < A.xLast) {
            const int ia = nearestPeak(A.peaks, position);
            if (partnerOfA[ia] != ib)
                pairs.append({ia, ib});
        }
    }

    QVarLengthArray<bool, 64> removedA(na), removedB(nb);
    std::fill(removedA.begin(), removedA.end(), false);
    std::fill(removedB.begin(), removedB.end(), false);
    float acc = 0.0f;
    float matchedWeight = 0.0f;
    for (const auto &[ia, ib] : pairs) {
        const FingerprintPeak &a = A.peaks[ia];
        const FingerprintPeak &b = B.peaks[ib];
        double s = 0.0;
        float meanWeight = 0.0f;
        if (!scorePair(a, b, p, &s, &meanWeight))
            continue;
        removeFirstAt(A.peaks, removedA, a.position);
        removeFirstAt(B.peaks, removedB, b.position);
        acc += float(s) * meanWeight;
        matchedWeight += meanWeight;
    }

    const double lo = std::min(A.xFirst, B.xFirst);
    const double hi = std::max(A.xLast, B.xLast);
    float denominator = matchedWeight;
    for (int ib = 0; ib < nb; ++ib) {
        if (!removedB[ib])
            denominator += unmatchedPenalty(B.peaks[ib], B.noise, lo, hi, p);
    }
    if (!p.ignoreUnmatchedMeasured) {
        for (int ia = 0; ia < na; ++ia) {
            if (!removedA[ia])
                denominator += unmatchedPenalty(A.peaks[ia], A.noise, lo, hi, p);
        }
    }
    const float score = std::fabs(denominator) > 1e-12f ? 10.0f * acc / denominator : 10.0f * acc;
    return double(score);
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

namespace {

// The nearest of ascending positions to q, given the first one not below q, with the smallest
// index among equally near ones: the choice of nearestPeak's scan from the front.
template<typename PositionAt, typename IndexAt>
inline int nearestAround(int firstNotBelow, int count, double q, PositionAt positionAt,
                         IndexAt indexAt)
{
    double best = std::numeric_limits<double>::infinity();
    int bestIndex = std::numeric_limits<int>::max();
    const auto consider = [&](int k) {
        const double distance = std::fabs(positionAt(k) - q);
        if (distance > best)
            return false;
        if (distance < best || indexAt(k) < bestIndex)
            bestIndex = indexAt(k);
        best = distance;
        return true;
    };
    for (int k = firstNotBelow - 1; k >= 0 && consider(k); --k) {
    }
    for (int k = firstNotBelow; k < count && consider(k); ++k) {
    }
    return bestIndex;
}

} // namespace

int FingerprintMatcher::nearestMeasuredPeak(double position) const
{
    if (!(position > m_measured.xFirst && position < m_measured.xLast) || m_positions.isEmpty())
        return -1;
    const double *positions = m_positions.constData();
    const int *firstIndex = m_firstIndex.constData();
    const int firstNotBelow
        = int(std::lower_bound(m_positions.cbegin(), m_positions.cend(), position)
              - m_positions.cbegin());
    return nearestAround(
        firstNotBelow, m_positions.size(), position, [positions](int j) { return positions[j]; },
        [firstIndex](int j) { return firstIndex[j]; });
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
    const double *positions = m_positions.constData();
    const int *firstIndex = m_firstIndex.constData();
    const int distinct = m_positions.size();

    // Both sides are walked in position order, so each nearest neighbour is found next to where
    // the previous one was.
    QVarLengthArray<int, 128> nearestOfDistinct(distinct);
    for (int d = 0, k = 0; d < distinct; ++d) {
        while (k < nb && bPeaks[k].position < positions[d])
            ++k;
        nearestOfDistinct[d] = nearestAround(
            k, nb, positions[d], [bPeaks](int j) { return bPeaks[j].position; },
            [](int j) { return j; });
    }
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
    for (int ib = 0, d = 0; ib < nb; ++ib) {
        int ia = -1;
        if (B.nearestMeasured) {
            ia = B.nearestMeasured[ib];
        } else {
            const double position = bPeaks[ib].position;
            while (d < distinct && positions[d] < position)
                ++d;
            if (position > m_measured.xFirst && position < m_measured.xLast)
                ia = nearestAround(
                    d, distinct, position, [positions](int j) { return positions[j]; },
                    [firstIndex](int j) { return firstIndex[j]; });
        }
        if (ia != -1 && partnerOfA[ia] != ib)
            pairs.append({ia, ib});
    }

    QVarLengthArray<bool, 128> removedA(na);
    QVarLengthArray<bool, 256> removedB(nb);
    std::fill(removedA.begin(), removedA.end(), false);
    std::fill(removedB.begin(), removedB.end(), false);
    float acc = 0.0f;
    float matchedWeight = 0.0f;
    for (const auto &[ia, ib] : pairs) {
        double s = 0.0;
        float meanWeight = 0.0f;
        if (!scorePair(aPeaks[ia], bPeaks[ib], p, &s, &meanWeight))
            continue;
        // The first unmatched measured peak at this position; library positions are distinct.
        int j = m_sameFirst[ia];
        while (j != -1 && removedA[j])
            j = m_sameNext[j];
        if (j != -1)
            removedA[j] = true;
        removedB[ib] = true;
        acc += float(s) * meanWeight;
        matchedWeight += meanWeight;
    }

    const double lo = std::min(m_measured.xFirst, B.xFirst);
    const double hi = std::max(m_measured.xLast, B.xLast);
    float denominator = matchedWeight;
    for (int ib = 0; ib < nb; ++ib) {
        if (!removedB[ib])
            denominator += unmatchedPenalty(bPeaks[ib], B.noise, lo, hi, p);
    }
    if (!p.ignoreUnmatchedMeasured) {
        for (int ia = 0; ia < na; ++ia) {
            if (!removedA[ia])
                denominator += penaltyOf(aPeaks[ia], positionFactor(aPeaks[ia].position, lo, hi),
                                         m_heightFactors[ia], p);
        }
    }
    const float score = std::fabs(denominator) > 1e-12f ? 10.0f * acc / denominator : 10.0f * acc;
    return double(score);
}

double correlateSpectra(const RamanData<Wavenumbers> &a, const RamanData<Wavenumbers> &b)
{
    if (a.isEmpty() || b.isEmpty() || a.size() < 0 || b.size() < 0)
        return 0.0;
    const double lo = std::max(a.x.first(), b.x.first());
    const double hi = std::min(a.x.last(), b.x.last());
    const auto range = [lo, hi](const QVector<double> &x) {
        const int start = int(std::lower_bound(x.cbegin(), x.cend(), lo) - x.cbegin());
        const int end = int(std::upper_bound(x.cbegin(), x.cend(), hi) - x.cbegin());
        return std::make_pair(start, std::max(end - start, 0));
    };
    const auto [startA, countA] = range(a.x);
    const auto [startB, countB] = range(b.x);
    const int n = std::min(countA, countB);
    // Four independent sums per product let the compiler keep several multiply-adds in flight.
    const double *pa = a.y.constData() + startA;
    const double *pb = b.y.constData() + startB;
    double ab4[4] = {}, aa4[4] = {}, bb4[4] = {};
    int k = 0;
    for (; k + 4 <= n; k += 4) {
        for (int lane = 0; lane < 4; ++lane) {
            const double va = pa[k + lane];
            const double vb = pb[k + lane];
            ab4[lane] += va * vb;
            aa4[lane] += va * va;
            bb4[lane] += vb * vb;
        }
    }
    double ab = (ab4[0] + ab4[1]) + (ab4[2] + ab4[3]);
    double aa = (aa4[0] + aa4[1]) + (aa4[2] + aa4[3]);
    double bb = (bb4[0] + bb4[1]) + (bb4[2] + bb4[3]);
    for (; k < n; ++k) {
        ab += pa[k] * pb[k];
        aa += pa[k] * pa[k];
        bb += pb[k] * pb[k];
    }
    const double denominator = std::sqrt(bb) * std::sqrt(aa);
    return std::fabs(denominator) <= 1e-12 ? 0.0 : 10.0 * ab / denominator;
}
