#pragma once

#include "spectrum/ramandata.h"

#include <QVector>

// Linear interpolation in ascending x; outside the data the nearest end value. NaN for no data.
double valueAt(const QVector<double> &x, const QVector<double> &y, double at);

template<typename Unit>
double valueAt(const RamanData<Unit> &data, double at)
{
    return valueAt(data.x, data.y, at);
}
