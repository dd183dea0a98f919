#include "library/identify/mineralsearch.h"

#include "library/identify/ruletuning.h"

#include "core/logging.h"
#include "core/parallel.h"
#include "library/identify/ruletuning.h"
#include "library/matching/peaksearch.h"
#include "library/referencelibrary.h"
#include "library/storedarrays.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace {

// Noise of a spectrum from the median step between neighbours (bands are too few to move it).
double noiseLevel(const QVector<double> &y)
{
    if (y.size() < 3)
        return 0.0;
    std::vector<double> steps(y.size() - 1);
    for (int i = 0; i + 1 < y.size(); ++i)
        steps[i] = std::fabs(y[i + 1] - y[i]);
    std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
    // For Gaussian noise the median step is 0.954 sigma.
    return steps[steps.size() / 2] / 0.954;
}

// Minimum (erode) or maximum (dilate) over a window of 2 * half + 1 points, in linear time.
QVector<double> slidingExtreme(const QVector<double> &y, int half, bool minimum)
{
    const int n = y.size();
    QVector<double> result(n);
    std::vector<int> window(n); // indices of a monotone queue
    int head = 0, tail = 0, next = 0;
    const auto beats = [&](double a, double b) { return minimum ? a <= b : a >= b; };
    for (int i = 0; i < n; ++i) {
        for (; next < n && next <= i + half; ++next) {
            while (tail > head && beats(y[next], y[window[tail - 1]]))
                --tail;
            window[tail++] = next;
        }
        while (window[head] < i - half)
            ++head;
        result[i] = y[window[head]];
    }
    return result;
}

// Background: what is left after every feature narrower than the window is cut away (a
// morphological opening). It follows any fluorescence or a baseline left over by the processing,
// on query and library alike, while bands narrower than the window stay whole.
QVector<double> withoutBackground(const QVector<double> &y, double window)
{
    const int half = int(window / librarySearchStep / 2);
    const QVector<double> background = slidingExtreme(slidingExtreme(y, half, true), half, false);
    QVector<double> result(y.size());
    for (int i = 0; i < y.size(); ++i)
        result[i] = y[i] - background[i];
    return result;
}

// Two views of a spectrum: above a background that follows everything broader than 200 1/cm
// (wider than any Raman band of a crystal: the whole band shape) and above one that follows
// everything broader than 40 1/cm (the sharp bands alone, without luminescence humps and
// background left over by the processing).
constexpr double broadWindow = 200.0;
constexpr double sharpWindow = 40.0;

// Root of what stands above the background and the noise floor, scaled to maximum 1; false when
// nothing does or a value is not finite. Without the floor the root would lift noise to the height
// of weak bands.
bool rootIntensities(const QVector<double> &measured, double window, QVector<float> &root)
{
    for (const double v : measured) {
        if (!std::isfinite(v))
            return false;
    }
    const QVector<double> y = withoutBackground(measured, window);
    double maximum = 0.0;
    for (const double v : y)
        maximum = std::max(maximum, v);
    const double floor = 2.0 * noiseLevel(y);
    if (!(maximum > floor))
        return false;
    root.resize(y.size());
    for (int i = 0; i < y.size(); ++i)
        root[i] = float(std::sqrt(std::max(y[i] - floor, 0.0) / (maximum - floor)));
    return true;
}

void appendPrefixSquares(const float *root, int count, QVector<double> &squares)
{
    double sum = 0.0;
    squares.append(0.0);
    for (int i = 0; i < count; ++i) {
        sum += double(root[i]) * root[i];
        squares.append(sum);
    }
}

// Library root intensities are kept in 16 bits: half the memory to stream through per query,
// and steps of 1.5e-5 change no cosine noticeably.
constexpr float storedUnit = 65535.0f;

void appendStored(const QVector<float> &root, QVector<quint16> &stored)
{
    for (const float r : root)
        stored.append(quint16(std::lround(std::clamp(r, 0.0f, 1.0f) * storedUnit)));
}

// The dot products a.b and c.d and the squares of b and d in one pass (the library side's squares
// cost nothing beside reading it, and storing them would take four times its memory).
struct Dots
{
    double ab = 0.0, cd = 0.0, bb = 0.0, dd = 0.0;
};

Dots dots(const float *a, const quint16 *b, const float *c, const quint16 *d, int n)
{
    // Eight independent sums each let the compiler vectorise without reassociating.
    float s[8] = {}, t[8] = {}, u[8] = {}, v[8] = {};
    int k = 0;
    for (; k + 8 <= n; k += 8) {
        for (int lane = 0; lane < 8; ++lane) {
            const float bk = float(b[k + lane]);
            const float dk = float(d[k + lane]);
            s[lane] += a[k + lane] * bk;
            t[lane] += c[k + lane] * dk;
            u[lane] += bk * bk;
            v[lane] += dk * dk;
        }
    }
    Dots r;
    for (int lane = 0; lane < 8; ++lane) {
        r.ab += s[lane];
        r.cd += t[lane];
        r.bb += u[lane];
        r.dd += v[lane];
    }
    for (; k < n; ++k) {
        r.ab += a[k] * float(b[k]);
        r.cd += c[k] * float(d[k]);
        r.bb += float(b[k]) * float(b[k]);
        r.dd += float(d[k]) * float(d[k]);
    }
    return r;
}

// Cosine of two stretches given their dot product, the query's prefix sums of squares and the
// library side's sum of squares (both in stored units).
double cosine(double product, const double *querySquares, int q0, int n, double librarySquares)
{
    const double aa = querySquares[q0 + n] - querySquares[q0];
    if (aa <= 0.0 || librarySquares <= 0.0)
        return 0.0;
    return std::clamp(product / std::sqrt(aa * librarySquares), 0.0, 1.0);
}

} // namespace

MineralSearch::MineralSearch(const ReferenceLibrary &library, MineralSearchParameters parameters)
    : m_parameters(parameters)
{
    // Both views of a batch of spectra on all cores, then stored in library order; batches keep
    // only a slice of the float views in memory at a time.
    struct Views
    {
        QVector<float> root, sharp;
        SpectrumFingerprint peaks;
    };
    const auto makeViews = [&library](int i) {
        Views v;
        const RamanData<Wavenumbers> data = library.gridSpectrum(i);
        if (data.isEmpty() || !rootIntensities(data.y, broadWindow, v.root))
            v.root.clear();
        if (v.root.isEmpty() || !rootIntensities(data.y, sharpWindow, v.sharp))
            v.sharp.fill(0.0f, v.root.size());
        // Found by the rules measured spectra go through: the fingerprint search's library set
        // keeps only the surest peaks, which made noisy reference spectra look poorer.
        v.peaks = buildFingerprint(data.normalizedToMaximum(), FingerprintParameters());
        return v;
    };
    constexpr int batch = 256;
    for (int start = 0; start < library.count(); start += batch) {
        QVector<int> indices(std::min(batch, library.count() - start));
        std::iota(indices.begin(), indices.end(), start);
        for (const Views &v : orderedMap<Views>(indices, makeViews)) {
            m_counts.append(v.root.size());
            appendStored(v.root, m_root);
            appendStored(v.sharp, m_sharp);
            m_fingerprints.append(v.peaks);
        }
    }
    deriveFrom(library);
}

void MineralSearch::deriveFrom(const ReferenceLibrary &library)
{
    QHash<QString, int> mineralIndex;
    for (int i = 0, offset = 0; i < library.count(); offset += m_counts[i], ++i) {
        m_offsets.append(offset);
        m_firstBins.append(library.grid(i).firstBin);
        const QString &name = library.info(i).name;
        const auto found = mineralIndex.constFind(name);
        if (found != mineralIndex.cend()) {
            m_mineral.append(found.value());
        } else {
            mineralIndex.insert(name, m_names.size());
            m_mineral.append(m_names.size());
            m_names.append(name);
        }
    }
    m_sortedPeaks = SortedLibraryPeaks(m_fingerprints);
}

// "MSC2"; a new layout takes a new number.
constexpr qint64 storedMagic = 0x4d534332;

bool MineralSearch::write(QIODevice &device) const
{
    return StoredArrays::write(device, QVector<qint64>{storedMagic, m_counts.size()})
           && StoredArrays::write(device, m_counts) && StoredArrays::write(device, m_root)
           && StoredArrays::write(device, m_sharp)
           && StoredArrays::writeFingerprints(device, m_fingerprints);
}

bool MineralSearch::read(QIODevice &device, const ReferenceLibrary &library)
{
    using StoredArrays::read;
    const int n = library.count();
    const qint64 limit = device.size();
    QVector<qint64> header;
    if (!read(device, header, 2) || header.size() != 2 || header[0] != storedMagic || header[1] != n
        || !read(device, m_counts, n) || m_counts.size() != n || !read(device, m_root, limit)
        || !read(device, m_sharp, limit) || m_sharp.size() != m_root.size()
        || !StoredArrays::readFingerprints(device, n, m_fingerprints))
        return false;
    qint64 points = 0;
    for (int i = 0; i < n; ++i) {
        if (m_counts[i] < 0)
            return false;
        points += m_counts[i];
    }
    return points == m_root.size();
}

std::shared_ptr<const MineralSearch> MineralSearch::forLibrary(const ReferenceLibrary &library)
{
    if (library.stateKey().isEmpty())
        return std::make_shared<const MineralSearch>(library);
    const QString path
        = StoredArrays::pathFor(QStringLiteral("mineral-search"), library.stateKey());
    QFile stored(path);
    if (stored.open(QIODevice::ReadOnly)) {
        std::shared_ptr<MineralSearch> search(new MineralSearch);
        if (search->read(stored, library)) {
            search->deriveFrom(library);
            return search;
        }
        qCInfo(logDataLibraries) << "stored mineral search unusable, building it again:" << path;
    }
    auto search = std::make_shared<const MineralSearch>(library);
    StoredArrays::store(path, [&search](QIODevice &file) { return search->write(file); });
    return search;
}

int MineralSearch::binOf(double x)
{
    return int(std::lround(x / librarySearchStep));
}

MineralQuery MineralSearch::queryFromGrid(int firstBin, const QVector<double> &intensities)
{
    MineralQuery query;
    query.firstBin = firstBin;
    if (!rootIntensities(intensities, broadWindow, query.root)) {
        query.problem = QStringLiteral("the spectrum has no positive finite intensities");
        return query;
    }
    if (!rootIntensities(intensities, sharpWindow, query.sharp))
        query.sharp.fill(0.0f, query.root.size());
    appendPrefixSquares(query.root.constData(), query.root.size(), query.squares);
    appendPrefixSquares(query.sharp.constData(), query.sharp.size(), query.sharpSquares);
    return query;
}

MineralQuery MineralSearch::prepare(const SearchQuery &searched,
                                    const FingerprintParameters &fingerprint) const
{
    const RamanData<Wavenumbers> &spectrum = searched.measured;
    MineralQuery query;
    for (const double v : spectrum.y) {
        if (!std::isfinite(v)) {
            query.problem = QStringLiteral("the spectrum holds values that are not numbers");
            return query;
        }
    }
    if (spectrum.size() < 3) {
        query.problem = QStringLiteral("the spectrum has too few points");
        return query;
    }
    const auto [low, high] = std::minmax_element(spectrum.y.cbegin(), spectrum.y.cend());
    if (*high - *low <= 1e-12 * std::max(1.0, std::fabs(*high))) {
        query.problem = QStringLiteral("the spectrum is flat");
        return query;
    }
    const RamanData<Wavenumbers> prepared = searched.processed.normalizedToMaximum();
    const double minimumBins = m_parameters.minimumOverlap / librarySearchStep;
    if (prepared.isEmpty() || prepared.size() < minimumBins) {
        query.problem = QStringLiteral("the spectrum covers too short a range");
        return query;
    }
    query = queryFromGrid(binOf(prepared.x.first()), prepared.y);
    if (!query.isValid() || query.squares.constLast() <= 0.0) {
        query.problem = QStringLiteral("the spectrum is flat");
        return query;
    }
    query.linear = prepared.y;
    query.peaks = buildFingerprint(prepared, fingerprint);
    return query;
}

QVector<double> MineralSearch::shapeScores(const MineralQuery &query) const
{
    QVector<double> scores(m_offsets.size(), 0.0);
    if (!query.isValid())
        return scores;
    const int minimumBins = int(std::ceil(m_parameters.minimumOverlap / librarySearchStep));
    const int queryFirst = query.firstBin;
    const int queryEnd = query.firstBin + query.root.size();
    forSlices(m_offsets.size(), 1024, [&](int begin, int end) {
        for (int i = begin; i < end; ++i) {
            const int first = std::max(queryFirst, m_firstBins[i]);
            const int n = std::min(queryEnd, m_firstBins[i] + m_counts[i]) - first;
            if (n < minimumBins)
                continue;
            const int q0 = first - queryFirst;
            const int offset = m_offsets[i] + first - m_firstBins[i];
            const Dots d = dots(query.root.constData() + q0, m_root.constData() + offset,
                                query.sharp.constData() + q0, m_sharp.constData() + offset, n);
            const double broad = cosine(d.ab, query.squares.constData(), q0, n, d.bb);
            const double sharp = cosine(d.cd, query.sharpSquares.constData(), q0, n, d.dd);
            // The better view counts: broad bands need the first, humps under the bands spoil
            // it.
            scores[i] = std::max(broad, sharp);
        }
    });
    return scores;
}

QVector<double> MineralSearch::peakScores(const MineralQuery &query,
                                          const FingerprintParameters &fingerprint) const
{
    QVector<double> scores(m_offsets.size(), 0.0);
    if (!query.peaks.isValid())
        return scores;
    const FingerprintMatcher matcher(query.peaks, fingerprint);
    forSlices(scores.size(), 1024, [&](int begin, int end) {
        for (int i = begin; i < end; ++i)
            scores[i] = std::max(matcher.match(m_sortedPeaks.view(i, m_fingerprints[i])), 0.0);
    });
    return scores;
}

IdentificationConfidence confidenceOf(const MineralSearchParameters &parameters, double bestScore,
                                      double margin)
{
    if (margin >= parameters.confidentMargin - parameters.confidentSlope * (bestScore - 9.0)
        && bestScore >= parameters.confidentScore)
        return IdentificationConfidence::Confident;
    if (margin >= parameters.likelyMargin && bestScore >= parameters.likelyScore)
        return IdentificationConfidence::Likely;
    return IdentificationConfidence::Uncertain;
}

MineralSearchParameters tuneMineralConfidence(const QVector<ConfidenceExample> &examples,
                                              double precision, double absentUncertain,
                                              MineralSearchParameters base)
{
    // Leads 0.5..2.5 in steps of 0.05, slopes 0..1 in steps of 0.1: of equal coverage the later
    // (stricter at low scores) rule.
    QVector<MineralSearchParameters> candidates;
    for (int m = 10; m <= 50; ++m) {
        for (int s = 0; s <= 10; ++s) {
            candidates.append(base);
            candidates.last().confidentMargin = m / 20.0;
            candidates.last().confidentSlope = s / 10.0;
        }
    }
    const auto sure = [](const MineralSearchParameters &rule, const ConfidenceExample &e) {
        return confidenceOf(rule, e.score, e.margin) == IdentificationConfidence::Confident;
    };
    const auto keepsAbsentUncertain = [&](const MineralSearchParameters &rule) {
        const auto uncertain = std::count_if(examples.begin(), examples.end(), [&](const auto &e) {
            return confidenceOf(rule, e.absentScore, e.absentMargin)
                   == IdentificationConfidence::Uncertain;
        });
        return uncertain >= absentUncertain * examples.size();
    };
    return mostCoveringRule(candidates, examples, precision, base, sure, keepsAbsentUncertain);
}

MineralIdentification MineralSearch::rank(const QVector<double> &shape,
                                          const QVector<double> &peaks,
                                          const QVector<bool> &excluded) const
{
    MineralIdentification result;
    const double w = std::clamp(m_parameters.peakWeight, 0.0, 1.0);
    QVector<MineralHit> best(m_names.size());
    QVector<double> second(m_names.size(), -1.0); // score of each mineral's second best spectrum
    for (int i = 0; i < m_offsets.size() && i < shape.size() && i < peaks.size(); ++i) {
        if (i < excluded.size() && excluded[i])
            continue;
        if (shape[i] <= 0.0)
            continue; // not comparable: too little common range
        const double score = 10.0 * (1.0 - w) * shape[i] + w * peaks[i];
        const int m = m_mineral[i];
        MineralHit &hit = best[m];
        if (hit.spectrum < 0 || score > hit.score) {
            second[m] = hit.spectrum < 0 ? -1.0 : hit.score;
            hit = {m_names[m], i, score, shape[i], peaks[i]};
        } else {
            second[m] = std::max(second[m], score);
        }
    }
    const double pull = std::clamp(m_parameters.secondSpectrumWeight, 0.0, 1.0);
    for (int m = 0; m < best.size(); ++m) {
        if (best[m].spectrum < 0)
            continue;
        if (second[m] >= 0.0)
            best[m].score += pull * (second[m] - best[m].score);
        result.minerals.append(best[m]);
    }
    std::sort(result.minerals.begin(), result.minerals.end(),
              [](const MineralHit &a, const MineralHit &b) { return a.score > b.score; });
    if (result.minerals.isEmpty()) {
        result.problem = QStringLiteral("no library spectrum covers the range of the spectrum");
        return result;
    }
    const double first = result.minerals[0].score;
    result.margin = result.minerals.size() > 1 ? first - result.minerals[1].score : first;
    result.confidence = confidenceOf(m_parameters, first, result.margin);
    return result;
}

MineralIdentification MineralSearch::identify(const SearchQuery &searched,
                                              const FingerprintParameters &fingerprint) const
{
    const MineralQuery query = prepare(searched, fingerprint);
    if (!query.isValid()) {
        qCWarning(logDataAlgorithms) << "mineral search skipped:" << query.problem;
        MineralIdentification result;
        result.problem = query.problem;
        return result;
    }
    MineralIdentification answer = rank(shapeScores(query), peakScores(query, fingerprint));
    orderCloseLeaders(query, answer);
    return answer;
}

QString MineralSearch::confidenceText(IdentificationConfidence confidence)
{
    switch (confidence) {
    case IdentificationConfidence::Confident:
        return tr("sicher");
    case IdentificationConfidence::Likely:
        return tr("wahrscheinlich");
    case IdentificationConfidence::Uncertain:
        break;
    }
    return tr("unsicher");
}

const char *MineralSearch::confidenceKeyword(IdentificationConfidence confidence)
{
    switch (confidence) {
    case IdentificationConfidence::Confident:
        return "confident";
    case IdentificationConfidence::Likely:
        return "likely";
    case IdentificationConfidence::Uncertain:
        break;
    }
    return "uncertain";
}
