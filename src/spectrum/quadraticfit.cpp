#include "spectrum/quadraticfit.h"

#include <algorithm>

QuadraticCoefficients fitQuadratic(const QVector<double> &x, const QVector<double> &y)
{
    const int n = std::min(x.size(), y.size());
    double s0 = n, s1 = 0, s2 = 0, s3 = 0, s4 = 0, t0 = 0, t1 = 0, t2 = 0;
    for (int i = 0; i < n; ++i) {
        const double xi = x[i];
        const double xi2 = xi * xi;
        s1 += xi;
        s2 += xi2;
        s3 += xi2 * xi;
        s4 += xi2 * xi2;
        t0 += y[i];
        t1 += xi * y[i];
        t2 += xi2 * y[i];
    }
    // Normal equations for the unknowns (c, b, a):
    //   | s0 s1 s2 |         | t0 |
    //   | s1 s2 s3 | (c b a) = | t1 |
    //   | s2 s3 s4 |         | t2 |
    const auto det3 = [](double a11, double a12, double a13, double a21, double a22, double a23,
                         double a31, double a32, double a33) {
        return a11 * (a22 * a33 - a23 * a32) - a12 * (a21 * a33 - a23 * a31)
               + a13 * (a21 * a32 - a22 * a31);
    };
    const double det = det3(s0, s1, s2, s1, s2, s3, s2, s3, s4);
    const double detC = det3(t0, s1, s2, t1, s2, s3, t2, s3, s4);
    const double detB = det3(s0, t0, s2, s1, t1, s3, s2, t2, s4);
    const double detA = det3(s0, s1, t0, s1, s2, t1, s2, s3, t2);
    return {detA / det, detB / det, detC / det};
}
