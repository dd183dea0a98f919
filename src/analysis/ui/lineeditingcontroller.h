#pragma once

#include "analysis/analysisfunctions.h"

#include <QObject>
#include <QVector>

class LineSelectPlotCanvas;
class SpectrumAnalysis;

namespace Ui {
class SpectrumAnalysisWidget;
}

// What the lines on the plot canvas are and what editing them means: the automatic peaks (shown
// only), the manual lines of the fingerprint search, or the control points of a manual spline
// background, which snap to minima.
class LineEditingController : public QObject
{
    Q_OBJECT

public:
    // Nothing is owned.
    LineEditingController(Ui::SpectrumAnalysisWidget *ui, LineSelectPlotCanvas *canvas,
                          SpectrumAnalysis *analysis, QObject *parent);

    bool editingControlPoints() const;
    // The canvas's lines, sorted by wavenumber.
    QVector<PeakLine> lines() const;
    // Removes all lines without telling the analysis, for a new spectrum.
    void clearQuietly();
    // Shows the lines the processed spectrum now has: moved to its new heights, and the
    // automatic peaks when they are shown.
    void followProcessing();
    // Shows the lines that belong to the chosen background and search method.
    void updatePickMode();

signals:
    // A control the analysis depends on changed; the analysis is to be configured again.
    void controlsChanged();

private:
    void placeAutoLines(const QVector<double> &lines);
    void updateSnapMode();
    void linesEdited();

    Ui::SpectrumAnalysisWidget *m_ui;
    LineSelectPlotCanvas *m_canvas;
    SpectrumAnalysis *m_analysis;
};
