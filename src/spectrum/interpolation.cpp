#include "spectrum/interpolation.h"

#include "core/logging.h"

#include <algorithm>
#include <limits>

double valueAt(const QVector<double> &x, const QVector<double> &y, double at)
{
    if (x.isEmpty() || x.size() != y.size()) {
        qCWarning(logDataAlgorithms)
            << "cannot interpolate in data of sizes" << x.size() << y.size();
        return std::numeric_limits<double>::quiet_NaN();
    }
    const auto above = std::upper_bound(x.cbegin(), x.cend(), at);
    if (above == x.cend())
        return y.last();
    if (above == x.cbegin())
        return y.first();
    const int i = int(above - x.cbegin());
    const double weight = (at - x[i - 1]) / (x[i] - x[i - 1]);
    return y[i - 1] + weight * (y[i] - y[i - 1]);
}
