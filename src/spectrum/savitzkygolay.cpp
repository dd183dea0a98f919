#include "spectrum/savitzkygolay.h"

#include "core/logging.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

bool validParameters(unsigned order, unsigned points, double spacing)
{
    return std::isfinite(spacing) && std::fabs(spacing) > 1e-12 && order >= 1 && points % 2 == 1
           && points >= order + 2;
}

QVector<double> computeCoefficients(unsigned order, unsigned points, double spacing)
{
    const int half = int(points / 2);
    Eigen::MatrixXd design(points, order + 1);
    for (int k = -half; k <= half; ++k) {
        double power = 1.0;
        for (unsigned j = 0; j <= order; ++j) {
            design(k + half, j) = power;
            power *= k * spacing;
        }
    }
    // First row of the pseudo-inverse: the weights that yield the polynomial's value at the centre.
    const Eigen::MatrixXd pseudoInverse = design.completeOrthogonalDecomposition().pseudoInverse();
    QVector<double> coefficients(static_cast<int>(points));
    for (unsigned j = 0; j < points; ++j)
        coefficients[j] = pseudoInverse(0, j);
    return coefficients;
}

} // namespace

const QVector<double> &savitzkyGolayCoefficients(unsigned order, unsigned points, double spacing)
{
    // Per thread, so pool threads and the GUI thread smooth concurrently without locking.
    thread_local std::map<std::tuple<unsigned, unsigned, double>, QVector<double>> cache;
    const auto key = std::make_tuple(order, points, spacing);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.emplace(key, computeCoefficients(order, points, spacing)).first;
    return it->second;
}

QVector<double> savitzkyGolaySmoothed(const QVector<double> &values, unsigned order,
                                      unsigned points, double spacing)
{
    if (!validParameters(order, points, spacing)) {
        qCWarning(logDataAlgorithms) << "Invalid parameters passed to savitzkyGolaySmoothed";
        qCWarning(logDataAlgorithms)
            << "Parameters are [polyorder npoints spacing]" << order << points << spacing;
        return values;
    }
    const int n = values.size();
    if (n == 0)
        return values;
    const QVector<double> &c = savitzkyGolayCoefficients(order, points, spacing);
    const int half = int(points / 2);
    const int width = int(points);
    QVector<double> result(n);
    for (int i = 0; i < n; ++i) {
        double sum = 0.0;
        if (i >= half && i + half < n) {
            const double *window = values.constData() + i - half;
            for (int j = 0; j < width; ++j)
                sum += c[j] * window[j];
        } else {
            for (int j = 0; j < width; ++j)
                sum += c[j] * values[std::clamp(i - half + j, 0, n - 1)];
        }
        result[i] = sum;
    }
    return result;
}
