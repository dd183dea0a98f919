#include "library/identify/mixturefit.h"

#include "core/logging.h"
#include "library/referencelibrary.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int maxUnknowns = 3 + 8;

// A library spectrum on the grid; y times scale has maximum 1.
struct GridSpectrum
{
    const float *y = nullptr;
    int firstBin = 0;
    int count = 0;
    double scale = 0.0;
};

struct Fitter
{
    const MineralQuery &query;
    const QVector<GridSpectrum> &spectra;
    int backgroundTerms;
    double totalEnergy = 0.0;

    // The range the query and all `k` members cover, as grid bins [first, end).
    void commonRange(const int *members, int k, int &first, int &end) const
    {
        first = query.firstBin;
        end = query.firstBin + query.linear.size();
        for (int c = 0; c < k; ++c) {
            const GridSpectrum &s = spectra[members[c]];
            first = std::max(first, s.firstBin);
            end = std::min(end, s.firstBin + s.count);
        }
    }

    // Row j of n of the design: the members at `bin`, then the background polynomials.
    void basisRow(const int *members, int k, int bin, int j, int n, double *row) const
    {
        for (int c = 0; c < k; ++c) {
            const GridSpectrum &s = spectra[members[c]];
            row[c] = s.y[bin - s.firstBin] * s.scale;
        }
        // Legendre polynomials on [-1, 1] across the range stay well conditioned.
        const double t = n > 1 ? 2.0 * j / (n - 1) - 1.0 : 0.0;
        double p0 = 1.0, p1 = t;
        for (int b = 0; b < backgroundTerms; ++b) {
            double p = b == 0 ? p0 : p1;
            if (b > 1) {
                p = ((2 * b - 1) * t * p1 - (b - 1) * p0) / b;
                p0 = p1;
                p1 = p;
            }
            row[k + b] = p;
        }
    }

    // Least squares of y on the components and the background polynomials over the common
    // range; false when the range is too short or a component comes out non-positive (then a
    // smaller combination explains the spectrum as well).
    bool fit(const int *members, int k, MixtureFit &result, QVector<double> *residue,
             int *residueFirst) const
    {
        int first = 0, end = 0;
        commonRange(members, k, first, end);
        const int n = end - first;
        const int m = k + backgroundTerms;
        if (k <= 0 || n < 16 * m)
            return false;
        double normal[maxUnknowns][maxUnknowns] = {};
        double rhs[maxUnknowns] = {};
        double insideEnergy = 0.0;
        double basis[maxUnknowns];
        for (int j = 0; j < n; ++j) {
            const int bin = first + j;
            basisRow(members, k, bin, j, n, basis);
            const double y = query.linear[bin - query.firstBin];
            insideEnergy += y * y;
            for (int r = 0; r < m; ++r) {
                rhs[r] += basis[r] * y;
                for (int c = 0; c <= r; ++c)
                    normal[r][c] += basis[r] * basis[c];
            }
        }
        for (int r = 0; r < m; ++r) {
            for (int c = r + 1; c < m; ++c)
                normal[r][c] = normal[c][r];
        }
        double x[maxUnknowns];
        double b[maxUnknowns];
        std::copy(rhs, rhs + m, b);
        if (!solve(normal, b, m, x))
            return false;
        for (int c = 0; c < k; ++c) {
            if (!(x[c] > 0.0))
                return false;
        }
        // |y - Bx|^2 = y.y - 2 x.B'y + x'B'Bx, with B'Bx = B'y at the solution.
        double explained = 0.0;
        for (int r = 0; r < m; ++r)
            explained += x[r] * rhs[r];
        const double outside = totalEnergy - insideEnergy;
        result.residual = std::clamp((insideEnergy - explained + outside) / totalEnergy, 0.0, 1.0);
        result.firstX = first * librarySearchStep;
        result.lastX = (end - 1) * librarySearchStep;
        result.components.clear();
        double areaSum = 0.0;
        std::array<double, 3> areas{};
        for (int c = 0; c < k; ++c) {
            const GridSpectrum &s = spectra[members[c]];
            double area = 0.0;
            for (int bin = first; bin < end; ++bin)
                area += std::max(double(s.y[bin - s.firstBin]), 0.0) * s.scale;
            areas[c] = x[c] * area;
            areaSum += areas[c];
        }
        for (int c = 0; c < k; ++c) {
            MixtureComponent component;
            component.spectrum = members[c];
            component.fraction = areaSum > 0.0 ? areas[c] / areaSum : 0.0;
            result.components.append(component);
        }
        if (residue) {
            // What the components leave over, background removed too: where a missing one shows.
            residue->fill(0.0, n);
            for (int j = 0; j < n; ++j) {
                const int bin = first + j;
                double model = 0.0;
                for (int c = 0; c < k; ++c) {
                    const GridSpectrum &s = spectra[members[c]];
                    model += x[c] * s.y[bin - s.firstBin] * s.scale;
                }
                const double t = n > 1 ? 2.0 * j / (n - 1) - 1.0 : 0.0;
                double p0 = 1.0, p1 = t;
                for (int b = 0; b < backgroundTerms; ++b) {
                    double p = p0;
                    if (b == 1) {
                        p = p1;
                    } else if (b > 1) {
                        p = ((2 * b - 1) * t * p1 - (b - 1) * p0) / b;
                        p0 = p1;
                        p1 = p;
                    }
                    model += x[k + b] * p;
                }
                (*residue)[j] = std::max(query.linear[bin - query.firstBin] - model, 0.0);
            }
            *residueFirst = first;
        }
        return true;
    }

    // Per library spectrum: by how much it would lower the squared residual as a further
    // component of `members` and the background (over their common range, where it covers it;
    // 0 unless its share comes out positive). Exact for the unconstrained fit, and one pass over
    // the library: the residual drops by (r.s)^2 / |s'|^2, r the residual, s' the part of s that
    // the members and the background do not span.
    QVector<double> partnerGains(const int *members, int k) const
    {
        QVector<double> gains(spectra.size(), 0.0);
        int first = 0, end = 0;
        commonRange(members, k, first, end);
        const int n = end - first;
        const int m = k + backgroundTerms;
        if (n < 16 * (m + 1))
            return gains;
        // Orthonormal basis of the members and the background polynomials, one row per bin.
        QVector<double> q(n * m, 0.0);
        for (int j = 0; j < n; ++j)
            basisRow(members, k, first + j, j, n, q.data() + j * m);
        for (int c = 0; c < m; ++c) {
            // Gram-Schmidt twice over: the spectra are far from orthogonal.
            for (int pass = 0; pass < 2; ++pass) {
                for (int d = 0; d < c; ++d) {
                    double dot = 0.0;
                    for (int j = 0; j < n; ++j)
                        dot += q[j * m + c] * q[j * m + d];
                    for (int j = 0; j < n; ++j)
                        q[j * m + c] -= dot * q[j * m + d];
                }
            }
            double norm = 0.0;
            for (int j = 0; j < n; ++j)
                norm += q[j * m + c] * q[j * m + c];
            if (!(norm > 1e-12))
                return gains;
            norm = 1.0 / std::sqrt(norm);
            for (int j = 0; j < n; ++j)
                q[j * m + c] *= norm;
        }
        QVector<double> rest(n);
        for (int j = 0; j < n; ++j)
            rest[j] = query.linear[first + j - query.firstBin];
        for (int c = 0; c < m; ++c) {
            double dot = 0.0;
            for (int j = 0; j < n; ++j)
                dot += rest[j] * q[j * m + c];
            for (int j = 0; j < n; ++j)
                rest[j] -= dot * q[j * m + c];
        }
        double dots[maxUnknowns];
        for (int i = 0; i < spectra.size(); ++i) {
            const GridSpectrum &s = spectra[i];
            const int lo = std::max(first, s.firstBin);
            const int hi = std::min(end, s.firstBin + s.count);
            if (hi - lo < 16 * (m + 1))
                continue;
            std::fill(dots, dots + m, 0.0);
            double restDot = 0.0, squares = 0.0;
            for (int bin = lo; bin < hi; ++bin) {
                const double v = s.y[bin - s.firstBin] * s.scale;
                const double *row = q.constData() + (bin - first) * m;
                for (int c = 0; c < m; ++c)
                    dots[c] += row[c] * v;
                restDot += rest[bin - first] * v;
                squares += v * v;
            }
            double own = squares;
            for (int c = 0; c < m; ++c)
                own -= dots[c] * dots[c];
            if (restDot > 0.0 && own > 1e-6 * squares)
                gains[i] = restDot * restDot / own;
        }
        return gains;
    }

    // Gaussian elimination with partial pivoting on a small symmetric system.
    static bool solve(double a[maxUnknowns][maxUnknowns], double *b, int m, double *x)
    {
        for (int col = 0; col < m; ++col) {
            int pivot = col;
            for (int r = col + 1; r < m; ++r) {
                if (std::fabs(a[r][col]) > std::fabs(a[pivot][col]))
                    pivot = r;
            }
            if (!(std::fabs(a[pivot][col]) > 1e-12))
                return false;
            if (pivot != col) {
                std::swap_ranges(a[col], a[col] + m, a[pivot]);
                std::swap(b[col], b[pivot]);
            }
            for (int r = col + 1; r < m; ++r) {
                const double f = a[r][col] / a[col][col];
                for (int c = col; c < m; ++c)
                    a[r][c] -= f * a[col][c];
                b[r] -= f * b[col];
            }
        }
        for (int r = m - 1; r >= 0; --r) {
            double s = b[r];
            for (int c = r + 1; c < m; ++c)
                s -= a[r][c] * x[c];
            x[r] = s / a[r][r];
        }
        return true;
    }
};

QVector<int> bestSpectra(const MineralIdentification &ranked, int count)
{
    QVector<int> spectra;
    for (int i = 0; i < ranked.minerals.size() && i < count; ++i)
        spectra.append(ranked.minerals[i].spectrum);
    return spectra;
}

} // namespace

QVector<MixtureFit> fitMixtures(const MineralSearch &search, const ReferenceLibrary &library,
                                const MineralQuery &query, const FingerprintParameters &fingerprint,
                                const MixtureFitParameters &parameters, QString *problem)
{
    const auto fail = [problem](const QString &why) {
        qCWarning(logDataAlgorithms) << "mixture fit skipped:" << why;
        if (problem)
            *problem = why;
        return QVector<MixtureFit>();
    };
    const int k = std::clamp(parameters.components, 2, 3);
    if (!query.isValid())
        return fail(query.problem);
    const MineralIdentification single
        = search.rank(search.shapeScores(query), search.peakScores(query, fingerprint));
    if (single.minerals.size() < k)
        return fail(QStringLiteral("too few library spectra cover the range of the spectrum"));

    QVector<GridSpectrum> grid(library.count());
    const auto gridOf = [&](int index) {
        GridSpectrum &g = grid[index];
        if (g.y)
            return;
        const GridView view = library.grid(index);
        double maximum = 0.0;
        for (int b = 0; b < view.count; ++b)
            maximum = std::max(maximum, double(view.values[b]));
        g.y = view.values;
        g.count = maximum > 0.0 ? view.count : 0;
        g.firstBin = view.firstBin;
        g.scale = maximum > 0.0 ? 1.0 / maximum : 0.0;
    };
    Fitter fitter{query, grid, std::clamp(parameters.backgroundTerms, 0, maxUnknowns - 3)};
    for (const double y : query.linear)
        fitter.totalEnergy += y * y;
    if (!(fitter.totalEnergy > 0.0))
        return fail(QStringLiteral("the spectrum is flat"));

    // Candidates: the single search's best, the spectra most like the remainder of single fits
    // and those that lower their residual most.
    QVector<int> candidates = bestSpectra(single, parameters.singleCandidates);
    QSet<int> candidateMinerals;
    for (const int c : qAsConst(candidates)) {
        candidateMinerals.insert(search.mineralIndexOf(c));
        gridOf(c);
    }
    const auto addFromResidue = [&](const QVector<double> &residue, int first) {
        const MineralQuery rest = MineralSearch::queryFromGrid(first, residue);
        if (!rest.isValid())
            return QVector<int>();
        const QVector<double> shape = search.shapeScores(rest);
        const QVector<int> found = bestSpectra(
            search.rank(shape, QVector<double>(shape.size(), 0.0)), parameters.residualCandidates);
        for (const int c : found) {
            gridOf(c);
            if (!candidateMinerals.contains(search.mineralIndexOf(c))) {
                candidateMinerals.insert(search.mineralIndexOf(c));
                candidates.append(c);
            }
        }
        return found;
    };
    // The spectra that lower a single fit's residual most: weak partners that the shape of the
    // remainder does not show among its best matches.
    const auto addPartners = [&](int seed) {
        const QVector<double> gains = fitter.partnerGains(&seed, 1);
        QVector<int> order;
        for (int i = 0; i < gains.size(); ++i) {
            if (gains[i] > 0.0 && search.mineralIndexOf(i) != search.mineralIndexOf(seed))
                order.append(i);
        }
        std::sort(order.begin(), order.end(), [&](int a, int b) { return gains[a] > gains[b]; });
        QSet<int> minerals;
        for (const int i : qAsConst(order)) {
            const int mineral = search.mineralIndexOf(i);
            if (minerals.contains(mineral))
                continue;
            minerals.insert(mineral);
            if (!candidateMinerals.contains(mineral)) {
                candidateMinerals.insert(mineral);
                candidates.append(i);
            }
            if (minerals.size() >= parameters.partnerCandidates)
                break;
        }
    };
    QVector<double> residue;
    int residueFirst = 0;
    MixtureFit scratch;
    for (int s = 0; s < parameters.residualSeeds && s < single.minerals.size(); ++s) {
        const int member = single.minerals[s].spectrum;
        if (fitter.fit(&member, 1, scratch, &residue, &residueFirst))
            addFromResidue(residue, residueFirst);
    }
    if (parameters.partnerSeeds > 0 && parameters.partnerCandidates > 0) {
        for (int i = 0; i < grid.size(); ++i)
            gridOf(i);
        for (int s = 0; s < parameters.partnerSeeds && s < single.minerals.size(); ++s)
            addPartners(single.minerals[s].spectrum);
    }

    QVector<MixtureFit> fits;
    QSet<QString> seen;
    const auto tryFit = [&](std::array<int, 3> members, int count) {
        std::sort(members.begin(), members.begin() + count, [&](int a, int b) {
            return search.mineralIndexOf(a) < search.mineralIndexOf(b);
        });
        QString key;
        for (int c = 0; c < count; ++c) {
            if (c > 0 && search.mineralIndexOf(members[c]) == search.mineralIndexOf(members[c - 1]))
                return;
            key += QString::number(members[c]) + QLatin1Char(' ');
        }
        if (seen.contains(key))
            return;
        seen.insert(key);
        MixtureFit result;
        if (fitter.fit(members.data(), count, result, nullptr, nullptr))
            fits.append(result);
    };
    for (int a = 0; a < candidates.size(); ++a) {
        for (int b = a + 1; b < candidates.size(); ++b)
            tryFit({candidates[a], candidates[b], -1}, 2);
    }
    const auto byResidual
        = [](const MixtureFit &a, const MixtureFit &b) { return a.residual < b.residual; };
    std::sort(fits.begin(), fits.end(), byResidual);
    if (k == 3) {
        const QVector<MixtureFit> pairs = fits.mid(0, parameters.tripleSeeds);
        fits.clear();
        for (const MixtureFit &pair : pairs) {
            const int members[2] = {pair.components[0].spectrum, pair.components[1].spectrum};
            QVector<int> thirds = candidates;
            if (fitter.fit(members, 2, scratch, &residue, &residueFirst))
                thirds += addFromResidue(residue, residueFirst);
            for (const int third : qAsConst(thirds))
                tryFit({members[0], members[1], third}, 3);
        }
        std::sort(fits.begin(), fits.end(), byResidual);
    }

    // Distinct mineral sets only: another spectrum of the same minerals adds nothing.
    QVector<MixtureFit> distinct;
    QSet<QString> mineralSets;
    for (MixtureFit &fit : fits) {
        QStringList names;
        for (MixtureComponent &component : fit.components) {
            component.name = search.mineralOf(component.spectrum);
            names.append(component.name);
        }
        names.sort();
        const QString key = names.join(QLatin1Char('\n'));
        if (mineralSets.contains(key))
            continue;
        mineralSets.insert(key);
        std::sort(fit.components.begin(), fit.components.end(),
                  [](const MixtureComponent &a, const MixtureComponent &b) {
                      return a.fraction > b.fraction;
                  });
        distinct.append(fit);
        if (distinct.size() >= parameters.results)
            break;
    }
    if (distinct.isEmpty())
        return fail(QStringLiteral("no combination of library spectra fits the spectrum"));
    return distinct;
}
