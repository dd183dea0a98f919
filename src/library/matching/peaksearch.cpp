#include "library/matching/peaksearch.h"

#include "core/logging.h"
#include "spectrum/quadraticfit.h"

#include <algorithm>
#include <cmath>
#include <limits>

double estimateNoise(const QVector<double> &y)
{
    const int n = y.size();
    const int w = std::max(n / 128, 4);
    QVector<double> values;
    values.reserve(n / w + 1);
    for (int start = 0; start < n - w; start += w) {
        double mean = 0.0;
        for (int i = start; i < start + w; ++i)
            mean += y[i];
        mean /= w;
        double sum = 0.0;
        for (int i = start; i < start + w; ++i)
            sum += (y[i] - mean) * (y[i] - mean);
        const double value = std::sqrt(sum) / w;
        if (value != 0.0)
            values.append(value);
    }
    if (values.isEmpty())
        return std::numeric_limits<double>::quiet_NaN();
    const int quartile = values.size() / 4;
    std::nth_element(values.begin(), values.begin() + quartile, values.end());
    return double(float(values[quartile]));
}

namespace {

struct Candidate
{
    double height;
    int index;
};

// Index of the smallest value in [first, last] (first occurrence).
int indexOfMinimum(const QVector<double> &y, int first, int last)
{
    int best = first;
    for (int j = first + 1; j <= last; ++j) {
        if (y[j] < y[best])
            best = j;
    }
    return best;
}

/*
 * A candidate at i is a peak when both flanks, c points wide, fall clearly below it:
 *
 *            h
 *           /\
 *     _____/  \______      a flank drops if some point is below h * mustDropTo (and noise away)
 *    i-c     i     i+c     and drops clearly if below h * clearWhenDropsTo
 */
QVector<FingerprintPeak> findPeaks(const QVector<double> &x, const QVector<double> &y, double noise,
                                   const FingerprintParameters &p)
{
    QVector<FingerprintPeak> peaks;
    const int n = y.size();
    if (n < 2)
        return peaks;
    const double dx = x[1] - x[0];
    if (!(dx > 0.0))
        return peaks;

    QVector<double> yp(n);
    for (int i = 0; i < n; ++i)
        yp[i] = std::max(y[i], 0.0);
    const double ymax = *std::max_element(yp.cbegin(), yp.cend());
    const int c = std::max(int(std::ceil(p.checkWidth / dx)), 3);
    const int f = std::max(int(std::ceil(p.halfFitSize / dx)), 1);
    const double noiseLevel = p.peakNoiseFactor * noise;
    const double threshold = std::max(noiseLevel, p.minHeight);

    QVector<Candidate> candidates;
    for (int i = c; i < n - c; ++i) {
        if (yp[i] >= threshold)
            candidates.append({yp[i], i});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate &a, const Candidate &b) { return a.height > b.height; });
    QVector<bool> removed(n, false);

    float decay = 1.0f;
    int examined = 0;
    for (const Candidate &candidate : qAsConst(candidates)) {
        if (examined == 256)
            break;
        if (removed[candidate.index])
            continue;
        ++examined;
        const double h = candidate.height;
        const int i = candidate.index;

        bool leftDrops = false, leftClear = false, rightDrops = false, rightClear = false;
        for (int j = i - c; j < i; ++j) {
            if (yp[j] + noiseLevel < h) {
                leftDrops = leftDrops || yp[j] < h * p.mustDropTo;
                leftClear = leftClear || yp[j] < h * p.clearWhenDropsTo;
            }
        }
        for (int j = i + 1; j <= i + c; ++j) {
            if (yp[j] + noiseLevel < h) {
                rightDrops = rightDrops || yp[j] < h * p.mustDropTo;
                rightClear = rightClear || yp[j] < h * p.clearWhenDropsTo;
            }
        }

        if (leftDrops && rightDrops) {
            int k = 1;
            while (yp[i - k] > 0.67 * h && k < f && i - k > 0 && i + k + 1 < n)
                ++k;
            const int first = i - k;
            const double x0 = x[first];
            QVector<double> fx(2 * k + 1), fy(2 * k + 1);
            for (int j = 0; j <= 2 * k; ++j) {
                fx[j] = x[first + j] - x0;
                fy[j] = yp[first + j];
            }
            const QuadraticCoefficients q = fitQuadratic(fx, fy);
            double position = std::numeric_limits<double>::quiet_NaN();
            double width = std::numeric_limits<double>::quiet_NaN();
            if (std::fabs(q.a) > 1e-12) {
                position = x0 - q.b / (2.0 * q.a);
                width = -std::sqrt(q.b * q.b - 4.0 * q.a * q.c) / (2.0 * std::sqrt(2.0) * q.a);
            }
            const float relHeight = float(h / ymax);
            const double significant = noiseLevel * p.significantNoiseFactor;
            double factor = 1.0;
            if (h <= p.minHeight * p.significantNoiseFactor || h <= significant)
                factor = std::min(h / significant, 1.0);
            const float shape = float(1.0 - (width / p.maxWidth) * (width / p.maxWidth));
            float weight = float(shape * factor);
            weight = weight * decay;
            if (leftClear && rightClear)
                weight = float(weight * p.clearExtraScore);
            if (relHeight > p.minHeight && width > 0.0 && width < p.maxWidth) {
                peaks.append({position, float(width), relHeight, weight});
                decay *= 0.92f;
            }
        }

        const int left = indexOfMinimum(yp, i - c, i - 1);
        const int right = indexOfMinimum(yp, i + 1, i + c - 1);
        for (int j = left + 1; j < right; ++j)
            removed[j] = true;
    }
    return peaks;
}

} // namespace

SpectrumFingerprint buildFingerprint(const RamanData<Wavenumbers> &spectrum,
                                     const FingerprintParameters &parameters)
{
    SpectrumFingerprint fingerprint;
    if (spectrum.isEmpty() || spectrum.size() < 0) {
        qCWarning(logDataAlgorithms) << "constructing fingerprint from empty spectrum";
        return fingerprint;
    }
    const double maximum = *std::max_element(spectrum.y.cbegin(), spectrum.y.cend());
    if (!(std::fabs(maximum - 1.0) * 1e12 <= std::min(std::fabs(maximum), 1.0))) {
        qCWarning(logDataAlgorithms) << "Spectrum should be normalized, but the maximum value is"
                                     << maximum << "instead of 1.000";
        qCWarning(logDataAlgorithms) << "constructing fingerprint from non-normalized spectrum";
        return fingerprint;
    }
    const double noise = estimateNoise(spectrum.y);
    if (std::isnan(noise))
        return fingerprint;
    fingerprint.noise = noise;
    fingerprint.xFirst = spectrum.x.first();
    fingerprint.xLast = spectrum.x.last();
    fingerprint.peaks = findPeaks(spectrum.x, spectrum.y, noise, parameters);
    return fingerprint;
}
