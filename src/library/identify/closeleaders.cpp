#include "library/identify/mineralsearch.h"
#include "library/ramanlibraryspectrum.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A mineral's references over one stretch of bins, each made unit length: their mean and the
// sum of squared deviations from it per bin.
struct References
{
    std::vector<double> mean, squares;
    int count = 0;

    References(const std::vector<const quint16 *> &spectra, int n)
        : mean(n, 0.0)
        , squares(n, 0.0)
        , count(int(spectra.size()))
    {
        std::vector<double> scale;
        for (const quint16 *values : spectra) {
            double norm = 0.0;
            for (int k = 0; k < n; ++k)
                norm += double(values[k]) * values[k];
            scale.push_back(norm > 0.0 ? 1.0 / std::sqrt(norm) : 0.0);
            for (int k = 0; k < n; ++k)
                mean[k] += values[k] * scale.back() / count;
        }
        for (int s = 0; s < count; ++s) {
            for (int k = 0; k < n; ++k) {
                const double d = spectra[s][k] * scale[s] - mean[k];
                squares[k] += d * d;
            }
        }
    }
};

// Where `query` lies between two minerals' references, along the bins that separate their means,
// each weighted by how little the references of one mineral scatter there (a discriminant with
// one variance per bin): +0.5 at the first mean, -0.5 at the second.
double lean(const float *query, const References &first, const References &second, int n,
            double floorShare)
{
    double norm = 0.0;
    for (int k = 0; k < n; ++k)
        norm += double(query[k]) * query[k];
    if (norm <= 0.0)
        return 0.0;
    const int freedom = first.count + second.count - 2;
    double meanVariance = 0.0;
    for (int k = 0; k < n && freedom > 0; ++k)
        meanVariance += (first.squares[k] + second.squares[k]) / freedom / n;
    // With no scatter to measure every bin counts alike: the projection on the difference.
    const double floor = meanVariance > 0.0 ? floorShare * meanVariance : 1.0;
    double along = 0.0, apart = 0.0;
    for (int k = 0; k < n; ++k) {
        const double variance
            = freedom > 0 ? (first.squares[k] + second.squares[k]) / freedom : 0.0;
        const double difference = first.mean[k] - second.mean[k];
        const double weight = difference / (variance + floor);
        along += weight * (query[k] / std::sqrt(norm) - 0.5 * (first.mean[k] + second.mean[k]));
        apart += weight * difference;
    }
    return apart > 0.0 ? along / apart : 0.0;
}

} // namespace

double MineralSearch::leanBetween(const MineralQuery &query, const MineralHit &first,
                                  const MineralHit &second, const QVector<bool> &excluded) const
{
    const int a = first.spectrum, b = second.spectrum;
    if (!query.isValid() || a < 0 || b < 0 || a >= m_offsets.size() || b >= m_offsets.size())
        return 0.0;
    // The range the spectrum and both best spectra cover; the references that cover it all.
    const int begin = std::max({query.firstBin, m_firstBins[a], m_firstBins[b]});
    const int end = std::min({query.firstBin + int(query.root.size()), m_firstBins[a] + m_counts[a],
                              m_firstBins[b] + m_counts[b]});
    const int n = end - begin;
    if (n < int(std::ceil(m_parameters.minimumOverlap / librarySearchStep)))
        return 0.0;
    double sum = 0.0;
    for (const QVector<quint16> *view : {&m_root, &m_sharp}) {
        std::vector<const quint16 *> references[2];
        for (int i = 0; i < m_offsets.size(); ++i) {
            const int side = m_mineral[i] == m_mineral[a]   ? 0
                             : m_mineral[i] == m_mineral[b] ? 1
                                                            : -1;
            if (side < 0 || excluded.value(i) || m_firstBins[i] > begin
                || m_firstBins[i] + m_counts[i] < end)
                continue;
            references[side].push_back(view->constData() + m_offsets[i] + begin - m_firstBins[i]);
        }
        // Two single references differ by their samples as much as by their minerals: without
        // a second reference of either mineral there is no scatter to tell the two apart.
        if (references[0].size() + references[1].size() < 3)
            return 0.0;
        const QVector<float> &measured = view == &m_root ? query.root : query.sharp;
        sum += lean(measured.constData() + begin - query.firstBin, References(references[0], n),
                    References(references[1], n), n, m_parameters.leaderVarianceFloor);
    }
    // Both views count alike: broad bands show in the first, sharp ones above humps in the second.
    return std::clamp(sum / 2.0, -0.5, 0.5);
}

void MineralSearch::orderCloseLeaders(const MineralQuery &query, MineralIdentification &answer,
                                      const QVector<bool> &excluded) const
{
    QVector<MineralHit> &minerals = answer.minerals;
    const double weight = m_parameters.leaderLeanWeight;
    if (minerals.size() < 2 || minerals[0].score - minerals[1].score >= 0.5 * weight)
        return;
    if (minerals[0].score - minerals[1].score
            + weight * leanBetween(query, minerals[0], minerals[1], excluded)
        >= 0.0)
        return;
    std::swap(minerals[0], minerals[1]);
    answer.reordered = true;
    answer.margin = 0.0;
    answer.confidence = confidenceOf(m_parameters, minerals[0].score, answer.margin);
}
