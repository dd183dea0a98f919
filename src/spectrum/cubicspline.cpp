#include "spectrum/cubicspline.h"

#include "core/logging.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool strictlyAscending(const QVector<double> &x)
{
    for (int i = 0; i < x.size(); ++i) {
        if (!std::isfinite(x[i]) || (i > 0 && !(x[i] > x[i - 1])))
            return false;
    }
    return true;
}

const CubicSplinePiece &pieceFor(const CubicSpline &spline, double x)
{
    // The first piece that ends beyond x; the last support point itself belongs to the last piece.
    const auto it = std::upper_bound(spline.cbegin(), spline.cend(), x,
                                     [](double v, const CubicSplinePiece &p) { return v < p.xr; });
    return it == spline.cend() ? spline.last() : *it;
}

} // namespace

CubicSpline naturalCubicSpline(const QVector<double> &x, const QVector<double> &y)
{
    const int n = x.size();
    if (n < 2 || y.size() != n || !strictlyAscending(x)) {
        qCWarning(logDataAlgorithms) << "cannot build a spline through" << n
                                     << "support points, they must be at least two in strictly "
                                        "ascending order";
        return {};
    }
    QVector<double> h(n - 1);
    for (int i = 0; i + 1 < n; ++i)
        h[i] = x[i + 1] - x[i];

    // Second derivatives: zero at both ends, the interior from the tridiagonal system, solved by
    // forward elimination and back substitution. The system is diagonally dominant, so no pivoting.
    QVector<double> m(n, 0.0);
    if (n > 2) {
        const int interior = n - 2;
        QVector<double> upper(interior);
        QVector<double> rhs(interior);
        for (int k = 0; k < interior; ++k) {
            const int i = k + 1;
            const double diagonal = 2.0 * (h[i - 1] + h[i]);
            const double right = 6.0 * ((y[i + 1] - y[i]) / h[i] - (y[i] - y[i - 1]) / h[i - 1]);
            const double lower = h[i - 1];
            const double pivot = k == 0 ? diagonal : diagonal - lower * upper[k - 1];
            upper[k] = h[i] / pivot;
            rhs[k] = k == 0 ? right / pivot : (right - lower * rhs[k - 1]) / pivot;
        }
        for (int k = interior - 2; k >= 0; --k)
            rhs[k] -= upper[k] * rhs[k + 1];
        for (int k = 0; k < interior; ++k)
            m[k + 1] = rhs[k];
    }

    CubicSpline spline(n - 1);
    for (int i = 0; i + 1 < n; ++i) {
        CubicSplinePiece &piece = spline[i];
        piece.c0 = m[i + 1] / (6.0 * h[i]);
        piece.c1 = m[i] / (6.0 * h[i]);
        piece.c2 = y[i + 1] / h[i] - h[i] * m[i + 1] / 6.0;
        piece.c3 = y[i] / h[i] - h[i] * m[i] / 6.0;
        piece.xl = x[i];
        piece.xr = x[i + 1];
    }
    return spline;
}

double splineValue(const CubicSpline &spline, double x)
{
    if (spline.isEmpty())
        return std::numeric_limits<double>::quiet_NaN();
    return pieceFor(spline, x).value(x);
}

QVector<double> splineValues(const CubicSpline &spline, const QVector<double> &x)
{
    QVector<double> values(x.size(), std::numeric_limits<double>::quiet_NaN());
    if (spline.isEmpty())
        return values;
    for (int i = 0; i < x.size(); ++i)
        values[i] = pieceFor(spline, x[i]).value(x[i]);
    return values;
}
