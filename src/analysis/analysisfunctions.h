#pragma once

#include "library/ramanlibraryspectrum.h"
#include "spectrum/processingparameters.h"
#include "spectrum/ramandata.h"

#include <QByteArray>
#include <QPointF>
#include <QVector>

// The values of the analysis' processing controls.
struct ProcessingControls
{
    enum BackgroundMethod { Goldindec = 0, Splines = 1, ManualSplines = 2 };

    bool cut = true;
    double cutMinimum = 60;
    double cutMaximum = 4000;
    bool smooth = false;
    int smoothingOrder = 2;
    int smoothingWidth = 5;
    bool subtractBackground = true;
    int backgroundMethod = Splines;
    bool movePoints = true;
    int splinePoints = 8;
    bool showBackgroundSeparate = false;

    bool operator==(const ProcessingControls &o) const;
    bool operator!=(const ProcessingControls &o) const { return !(*this == o); }
};

// The pipeline options the controls stand for; manual control points count only for the manual
// method. Without `withBackground` the record yields the spectrum before background removal.
ProcessingParameters processingParameters(const ProcessingControls &controls,
                                          const QVector<double> &controlPoints,
                                          bool withBackground = true);

// Step of the grid every analysed spectrum is re-binned to first (1/cm): the library's.
constexpr double analysisGridStep = librarySearchStep;

// How a marker finds its place on a curve.
enum class SnapMode : quint32 {
    Maximum = 0, // the highest point near the requested x (peaks)
    Minimum = 1, // the lowest point near it (background control points)
    None = 2,    // the requested x on the curve
};

// Where a marker asked for at requestedX lands on the curve (x ascending). Beyond the last x:
// (requestedX, 0). The extreme within 10 points on either side is refined by a parabola through
// it and its neighbours; at the first point of the data the requested x is kept.
QPointF snappedPosition(const QVector<double> &x, const QVector<double> &y, double requestedX,
                        SnapMode mode);

// The vertex of the parabola through three points; the middle point when they are collinear or
// the vertex falls outside the outer two.
QPointF parabolaVertex(QPointF left, QPointF middle, QPointF right);

// y divided by the largest value of the curve; NaN when the curve has no positive maximum.
double relativeAmplitude(double y, const QVector<double> &curveY);

// One bar of the line-frequency histogram: [from, to) 1/cm and its height (1 for the highest).
struct HistogramBar
{
    double from = 0;
    double to = 0;
    double value = 0;
};
// Counts the lines of every reference in 10 1/cm intervals, scaled so the highest bar is 1.
QVector<HistogramBar> lineFrequencyHistogram(const QVector<QVector<double>> &linesPerReference);

// The y range that shows all points of the curves with x in [xMin, xMax] (all points when
// `onlyVisible` is false) and leaves a quarter of the height empty above them. Curves are
// (x, y) pairs; non-finite values are skipped. Empty: (0, 1).
struct AxisRange
{
    double lower = 0;
    double upper = 1;
};
AxisRange yAxisRange(const QVector<QPair<QVector<double>, QVector<double>>> &curves, double xMin,
                     double xMax, bool onlyVisible);

// A placed line for the peak list: its wavenumber and relative amplitude.
struct PeakLine
{
    double wavenumber = 0;
    double amplitude = 0;
};
// "# Peak positions: wavenumber, relative amplitude" and one "x a" line per peak, by wavenumber.
QByteArray peakListText(QVector<PeakLine> lines);
// The text spectrum layout of the exports: an optional header line, then "x y" per point.
QByteArray exportSpectrumText(const RamanData<Wavenumbers> &spectrum,
                              const QString &header = QString());
// Writes the bytes (replacing the file); false and a warning when that fails.
bool writeExportFile(const QString &path, const QByteArray &text);

// The spectrum with non-finite points dropped and x ascending; warns about what it changed.
RamanData<Wavenumbers> sanitizedSpectrum(const RamanData<Wavenumbers> &spectrum);
