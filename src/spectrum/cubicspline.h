#pragma once

#include <QVector>

// One interval [xl, xr] of a cubic spline, in the two-sided form that needs no powers of x itself.
struct CubicSplinePiece
{
    double c0 = 0.0;
    double c1 = 0.0;
    double c2 = 0.0;
    double c3 = 0.0;
    double xl = 0.0;
    double xr = 0.0;

    double value(double x) const
    {
        const double right = x - xl;
        const double left = xr - x;
        return c0 * right * right * right + c1 * left * left * left + c2 * right + c3 * left;
    }
};

// Pieces in ascending order.
using CubicSpline = QVector<CubicSplinePiece>;

// The natural interpolating spline (zero curvature at both ends). Needs at least two support points
// with finite, strictly ascending x; otherwise logs and returns no pieces.
CubicSpline naturalCubicSpline(const QVector<double> &x, const QVector<double> &y);

// Outside the support points the end pieces are extrapolated. NaN for an empty spline.
double splineValue(const CubicSpline &spline, double x);
QVector<double> splineValues(const CubicSpline &spline, const QVector<double> &x);
