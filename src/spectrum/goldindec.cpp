#include "spectrum/goldindec.h"

#include "core/logging.h"
#include "spectrum/interpolation.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>

namespace {

constexpr int maximumPoints = 5000;
constexpr int polynomialOrder = 8;
constexpr int basisSize = polynomialOrder + 1;
// Share of points at or above the baseline against those below, from the published method.
constexpr double targetRatio = 3.710508112499999;
constexpr double ratioTolerance = 1e-4;
constexpr double goldenFraction = 0.382;
constexpr double thresholdTolerance = 1e-5;
constexpr double costScale = 0.495; // alpha; 2 * alpha - 1 = -0.01
constexpr double convergenceLimit = 1e-9;
// Safety nets only; real spectra converge far earlier.
constexpr int maximumSearchSteps = 100;
constexpr int maximumHalfQuadraticSteps = 500;

// Least-squares projection onto the polynomials of x: T (T^T T)^-1 T^T v computed as Q Q^T v with
// the thin Q of a column-pivoting QR of the power matrix T, which is built and factored once.
class PolynomialProjection
{
public:
    explicit PolynomialProjection(const Eigen::VectorXd &x)
    {
        Eigen::MatrixXd powers(x.size(), basisSize);
        powers.col(0).setOnes();
        for (int j = 1; j < basisSize; ++j)
            powers.col(j) = powers.col(j - 1).cwiseProduct(x);
        const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(powers);
        m_rank = int(qr.rank());
        m_basis = qr.householderQ() * Eigen::MatrixXd::Identity(x.size(), basisSize);
    }

    bool fullRank() const { return m_rank == basisSize; }
    Eigen::VectorXd operator()(const Eigen::VectorXd &v) const
    {
        return m_basis * (m_basis.transpose() * v);
    }

private:
    Eigen::MatrixXd m_basis;
    int m_rank = 0;
};

// Half-quadratic minimisation for one threshold; y and the result are on the rescaled axis.
Eigen::VectorXd fitForThreshold(const PolynomialProjection &project, const Eigen::VectorXd &y,
                                double threshold)
{
    const double truncation = costScale * threshold * threshold * threshold / 2.0;
    Eigen::VectorXd z = project(y);
    Eigen::VectorXd previous = Eigen::VectorXd::Ones(y.size());
    Eigen::VectorXd shifted(y.size());
    for (int step = 0; step < maximumHalfQuadraticSteps; ++step) {
        const double change = (z - previous).squaredNorm() / previous.squaredNorm();
        if (!(change > convergenceLimit))
            break;
        previous = z;
        for (Eigen::Index i = 0; i < y.size(); ++i) {
            const double r = y[i] - z[i];
            const double d
                = r < threshold ? (2.0 * costScale - 1.0) * r : -r - truncation / (r * r);
            shifted[i] = y[i] + d;
        }
        z = project(shifted);
    }
    return z;
}

// The background under y, as long as y; empty when the data cannot be fitted.
QVector<double> fitBaseline(const QVector<double> &x, const QVector<double> &y,
                            GoldindecCurves *curves)
{
    if (x.size() != y.size()) {
        qCWarning(logDataAlgorithms)
            << "size of shift vec not equal size of intensity vec " << x.size() << y.size();
        return {};
    }
    int n = x.size();
    if (n > maximumPoints) {
        qCDebug(logDataAlgorithms) << "Abbruch " << maximumPoints + 1 << " zeilen eingelesen";
        n = maximumPoints;
    }
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(x[i]) || !std::isfinite(y[i])) {
            qCWarning(logDataAlgorithms)
                << "non-finite value at point" << i << ", no Goldindec baseline";
            return {};
        }
    }
    if (n <= basisSize || !(x[n - 1] > x[0])) {
        qCWarning(logDataAlgorithms) << "too few distinct points for a Goldindec baseline:" << n;
        return {};
    }

    const auto [minIt, maxIt] = std::minmax_element(y.cbegin(), y.cbegin() + n);
    const double yMin = *minIt;
    const double yMax = *maxIt;
    const double halfRange = (yMax - yMin) / 2.0;
    QVector<double> baseline(y.size(), yMax);
    if (!(halfRange > 0.0)) {
        // A constant signal is all background.
        return baseline;
    }

    // Rescaled so that x runs from -1 to 1 and y from -1 to 1, which keeps the powers of x and the
    // threshold on a fixed scale.
    const double span = x[n - 1] - x[0];
    Eigen::VectorXd xs(n);
    Eigen::VectorXd ys(n);
    for (int i = 0; i < n; ++i) {
        xs[i] = 2.0 * (x[i] - x[n - 1]) / span + 1.0;
        ys[i] = (y[i] - yMax) / halfRange + 1.0;
    }
    const PolynomialProjection project(xs);
    if (!project.fullRank()) {
        qCWarning(logDataAlgorithms) << "too few distinct points for a Goldindec baseline:" << n;
        return {};
    }

    // Golden-section search on the threshold: a larger threshold lifts the baseline and lowers the
    // share of points above it.
    double lower = 0.0;
    double upper = 1.0;
    double threshold = goldenFraction;
    Eigen::VectorXd z;
    for (int step = 0; step < maximumSearchSteps; ++step) {
        z = fitForThreshold(project, ys, threshold);
        int up = 0;
        for (int i = 0; i < n; ++i)
            up += ys[i] >= z[i] ? 1 : 0;
        const double ratio = double(up) / double(n - up);
        if (std::fabs(ratio - targetRatio) <= ratioTolerance)
            break;
        double next;
        if (ratio > targetRatio + ratioTolerance) {
            lower = threshold;
            next = threshold + goldenFraction * (upper - threshold);
        } else {
            upper = threshold;
            next = lower + goldenFraction * (threshold - lower);
        }
        if (std::fabs(next - threshold) < thresholdTolerance)
            break;
        threshold = next;
    }

    for (int i = 0; i < n; ++i)
        baseline[i] = (z[i] - 1.0) * halfRange + yMax;
    for (int i = n; i < baseline.size(); ++i)
        baseline[i] = baseline[n - 1];

    if (curves) {
        *curves = {x.mid(0, n), y.mid(0, n), baseline.mid(0, n), QVector<double>(n),
                   QVector<double>(n)};
        for (int i = 0; i < n; ++i) {
            curves->rescaledX[i] = xs[i];
            curves->rescaledBaseline[i] = z[i];
        }
    }
    return baseline;
}

} // namespace

QVector<double> goldindecBaseline(const QVector<double> &x, const QVector<double> &y,
                                  unsigned reduction, unsigned mode, GoldindecCurves *curves)
{
    const bool returnBaseline = (mode & GoldindecReturnBaseline) != 0;
    if (curves)
        *curves = {};
    QVector<double> baseline;
    if (reduction == 0) {
        qCWarning(logDataAlgorithms) << "Goldindec reduction factor 0 is invalid, no baseline";
    } else if (reduction == 1 || x.size() != y.size()) {
        baseline = fitBaseline(x, y, curves);
    } else {
        QVector<double> reducedX;
        QVector<double> reducedY;
        for (qint64 i = 0; i < x.size(); i += reduction) {
            reducedX.append(x[int(i)]);
            reducedY.append(y[int(i)]);
        }
        const QVector<double> reducedBaseline = fitBaseline(reducedX, reducedY, curves);
        if (!reducedBaseline.isEmpty()) {
            baseline.resize(x.size());
            for (int i = 0; i < x.size(); ++i)
                baseline[i] = valueAt(reducedX, reducedBaseline, x[i]);
        }
    }

    if (baseline.isEmpty())
        return returnBaseline ? QVector<double>(y.size(), 0.0) : y;
    if (returnBaseline)
        return baseline;
    QVector<double> corrected(y.size());
    for (int i = 0; i < y.size(); ++i)
        corrected[i] = y[i] - baseline[i];
    return corrected;
}
