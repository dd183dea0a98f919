#include "analysis/analysisfunctions.h"

#include "core/logging.h"
#include "spectrum/quadraticfit.h"
#include "spectrum/spectrumfile.h"

#include <QFile>
#include <QMap>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

bool ProcessingControls::operator==(const ProcessingControls &o) const
{
    return cut == o.cut && cutMinimum == o.cutMinimum && cutMaximum == o.cutMaximum
           && smooth == o.smooth && smoothingOrder == o.smoothingOrder
           && smoothingWidth == o.smoothingWidth && subtractBackground == o.subtractBackground
           && backgroundMethod == o.backgroundMethod && movePoints == o.movePoints
           && splinePoints == o.splinePoints && showBackgroundSeparate == o.showBackgroundSeparate;
}

ProcessingParameters processingParameters(const ProcessingControls &controls,
                                          const QVector<double> &controlPoints, bool withBackground)
{
    ProcessingParameters p;
    if (controls.cut) {
        p.cutMinimum = controls.cutMinimum;
        p.cutMaximum = controls.cutMaximum;
        p.steps |= Cut;
    }
    if (controls.smooth) {
        p.smoothingOrder = quint32(std::max(controls.smoothingOrder, 0));
        p.smoothingWidth = quint32(std::max(controls.smoothingWidth, 0));
        p.steps |= Smooth;
    }
    if (controls.subtractBackground && withBackground)
        p.steps |= SubtractBackground;
    if (controls.backgroundMethod >= ProcessingControls::Splines) {
        p.useGoldindec = false;
        p.splineSupportPoints = quint32(std::max(controls.splinePoints, 0));
    }
    if (controls.movePoints)
        p.dynamic = true;
    if (!controlPoints.isEmpty()
        && controls.backgroundMethod == ProcessingControls::ManualSplines) {
        p.controlPoints = controlPoints;
        p.dynamic = false;
    }
    return p;
}

QPointF parabolaVertex(QPointF left, QPointF middle, QPointF right)
{
    // Relative to the middle point, so that wavenumbers in the thousands keep their precision.
    const QVector<double> x{left.x() - middle.x(), 0.0, right.x() - middle.x()};
    const QVector<double> y{left.y(), middle.y(), right.y()};
    const QuadraticCoefficients q = fitQuadratic(x, y);
    if (!std::isfinite(q.a) || !std::isfinite(q.b) || std::abs(q.a) <= 1e-12)
        return middle;
    const double vx = q.b / (-2.0 * q.a);
    if (!std::isfinite(vx) || vx < x[0] || vx > x[2])
        return middle;
    return {middle.x() + vx, q.a * vx * vx + q.b * vx + q.c};
}

QPointF snappedPosition(const QVector<double> &x, const QVector<double> &y, double requestedX,
                        SnapMode mode)
{
    const int n = std::min(x.size(), y.size());
    const int i = int(std::lower_bound(x.cbegin(), x.cbegin() + n, requestedX) - x.cbegin());
    if (i >= n || std::isnan(requestedX))
        return {requestedX, 0.0};
    if (mode == SnapMode::None)
        return {requestedX, y[i]};
    const int from = std::max(i - 10, 0);
    const int to = std::min(i + 10, n - 1);
    int extreme = from;
    for (int k = from + 1; k <= to; ++k) {
        if (mode == SnapMode::Maximum ? y[k] > y[extreme] : y[k] < y[extreme])
            extreme = k;
    }
    if (extreme == 0)
        return {requestedX, y[i]};
    if (extreme == n - 1)
        return {x[extreme], y[extreme]};
    return parabolaVertex({x[extreme - 1], y[extreme - 1]}, {x[extreme], y[extreme]},
                          {x[extreme + 1], y[extreme + 1]});
}

double relativeAmplitude(double y, const QVector<double> &curveY)
{
    double maximum = -std::numeric_limits<double>::infinity();
    for (double v : curveY) {
        if (std::isfinite(v))
            maximum = std::max(maximum, v);
    }
    if (!(maximum > 0))
        return std::numeric_limits<double>::quiet_NaN();
    return y / maximum;
}

QVector<HistogramBar> lineFrequencyHistogram(const QVector<QVector<double>> &linesPerReference)
{
    QMap<int, double> counts;
    for (const QVector<double> &lines : linesPerReference) {
        for (double line : lines) {
            if (std::isfinite(line))
                counts[int(std::trunc(line / 10.0))] += 1.0;
        }
    }
    double highest = 0;
    for (double c : qAsConst(counts))
        highest = std::max(highest, c);
    QVector<HistogramBar> bars;
    bars.reserve(counts.size());
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        bars.append({10.0 * it.key(), 10.0 * (it.key() + 1), it.value() / highest});
    return bars;
}

AxisRange yAxisRange(const QVector<QPair<QVector<double>, QVector<double>>> &curves, double xMin,
                     double xMax, bool onlyVisible)
{
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -std::numeric_limits<double>::infinity();
    for (const auto &curve : curves) {
        const int n = std::min(curve.first.size(), curve.second.size());
        for (int i = 0; i < n; ++i) {
            const double x = curve.first[i];
            const double y = curve.second[i];
            if (!std::isfinite(y) || (onlyVisible && !(x >= xMin && x <= xMax)))
                continue;
            lowest = std::min(lowest, y);
            highest = std::max(highest, y);
        }
    }
    if (!std::isfinite(lowest))
        return {};
    const double height = highest - lowest;
    if (height <= 0)
        return {lowest - 0.5, lowest + 1.0};
    return {lowest, lowest + 1.25 * height};
}

QByteArray peakListText(QVector<PeakLine> lines)
{
    std::sort(lines.begin(), lines.end(),
              [](const PeakLine &a, const PeakLine &b) { return a.wavenumber < b.wavenumber; });
    QByteArray text("# Peak positions: wavenumber, relative amplitude\n");
    for (const PeakLine &line : qAsConst(lines)) {
        text += formatSpectrumNumber(line.wavenumber).toUtf8() + ' '
                + formatSpectrumNumber(line.amplitude).toUtf8() + '\n';
    }
    return text;
}

QByteArray exportSpectrumText(const RamanData<Wavenumbers> &spectrum, const QString &header)
{
    QByteArray text;
    if (!header.isEmpty())
        text = header.toUtf8() + '\n';
    return text + spectrumText(spectrum);
}

bool writeExportFile(const QString &path, const QByteArray &text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) || file.write(text) != text.size()
        || !file.commit()) {
        qCWarning(logDataIo) << "failed to open" << path << "for writing";
        return false;
    }
    return true;
}

RamanData<Wavenumbers> sanitizedSpectrum(const RamanData<Wavenumbers> &spectrum)
{
    if (spectrum.size() < 0) {
        qCWarning(logDataAlgorithms) << "spectrum with" << spectrum.x.size() << "x and"
                                     << spectrum.y.size() << "y values, not analysing it";
        return {};
    }
    RamanData<Wavenumbers> clean;
    QVector<int> order(spectrum.size());
    std::iota(order.begin(), order.end(), 0);
    if (!std::is_sorted(spectrum.x.cbegin(), spectrum.x.cend())) {
        qCWarning(logDataAlgorithms) << "spectrum x values not ascending, sorting them";
        std::stable_sort(order.begin(), order.end(),
                         [&spectrum](int a, int b) { return spectrum.x[a] < spectrum.x[b]; });
    }
    clean.x.reserve(order.size());
    clean.y.reserve(order.size());
    for (int i : qAsConst(order)) {
        if (std::isfinite(spectrum.x[i]) && std::isfinite(spectrum.y[i])) {
            clean.x.append(spectrum.x[i]);
            clean.y.append(spectrum.y[i]);
        }
    }
    if (clean.x.size() != spectrum.size())
        qCWarning(logDataAlgorithms)
            << "dropped" << spectrum.size() - clean.x.size() << "non-finite points of the spectrum";
    return clean;
}
