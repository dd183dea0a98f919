#pragma once

#include "spectrum/ramandata.h"

#include <QVector>

// Background as a natural cubic spline through minima of the data: the given number of segments
// each contributes its lowest point, found on a half-resolution copy. With `dynamic`, support
// points move to where the corrected signal dips clearly below zero. Returns y minus that
// background, or y unchanged when the data has at most 8 points per support point.
QVector<double> splineBaseline(const QVector<double> &x, const QVector<double> &y,
                               unsigned supportPoints, bool dynamic);

// The x positions of the support points splineBaseline starts from (without the anchor it adds
// beyond the data); empty when it would not remove a background.
QVector<double> splineSupportPositions(const QVector<double> &x, const QVector<double> &y,
                                       unsigned supportPoints);

// Background as the natural cubic spline through the data at the given x positions (at least three
// distinct ones); returns y minus that background, or y unchanged.
QVector<double> manualSplineBaseline(const QVector<double> &x, const QVector<double> &y,
                                     const QVector<double> &controlPoints);

template<typename Unit>
QVector<double> splineBaseline(const RamanData<Unit> &data, unsigned supportPoints, bool dynamic)
{
    return splineBaseline(data.x, data.y, supportPoints, dynamic);
}

template<typename Unit>
QVector<double> manualSplineBaseline(const RamanData<Unit> &data,
                                     const QVector<double> &controlPoints)
{
    return manualSplineBaseline(data.x, data.y, controlPoints);
}
