#include "library/matching/correlation.h"

#include <algorithm>
#include <cmath>

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
