#pragma once

#include "spectrum/ramandata.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QPair>
#include <QVector>

struct AnalysisOutcome;
class LineSelectPlotCanvas;
class QwtPlotCurve;
class QwtPlotHistogram;
class ReferenceLibrary;
class QPoint;
class QRectF;

namespace Ui {
class SpectrumAnalysisWidget;
}

// The analysis's two plots: the main plot with the processed sample, its background, the selected
// library references, spectra from files and the line histogram, over the canvas on which lines
// are picked; and the overview below it, in which a dragged range zooms the main plot.
class AnalysisPlotView : public QObject
{
    Q_OBJECT

public:
    // What the main plot draws beside the sample.
    struct Overlay
    {
        const ReferenceLibrary *library = nullptr; // not owned
        QVector<int> referenceRows;                // library rows, the first ones shown
        bool histogram = false;
        QVector<QVector<double>> histogramLines; // band positions per mineral
    };

    // `ui` is not owned.
    AnalysisPlotView(Ui::SpectrumAnalysisWidget *ui, QObject *parent);

    LineSelectPlotCanvas *canvas() const { return m_canvas; }
    void show(const AnalysisOutcome &outcome, const Overlay &overlay);
    // Reference colours belong to library rows; another library means other rows.
    void forgetReferenceColours() { m_referenceColours.clear(); }
    // Draws a spectrum from a file over the sample, normalised to maximum 1; shown on the next
    // show().
    void addFileReference(const QString &title, const RamanData<Wavenumbers> &spectrum);
    // Number of references drawn over the sample (library spectra and spectrum files).
    int shownReferenceCount() const { return m_referenceCurves.size(); }
    // The x range the main plot shows.
    QPair<double, double> visibleRange() const;
    void zoomReset();
    void setAutoAdjustY(bool autoAdjust);
    // The main plot with its lines as a 2048 x 1152 picture.
    QImage renderImage() const;

signals:
    // The drawn content changed (a file reference was removed); show() again.
    void redrawNeeded();
    // The user zoomed the main plot to another range.
    void rangeSelected();

private:
    void setUpPlots();
    void zoomResetPreview();
    void zoomResetMain();
    void updateYAxisScale(double xMin, double xMax);
    void zoomTo(const QRectF &rect);
    void showOverviewMenu(const QPoint &pos);

    Ui::SpectrumAnalysisWidget *m_ui;
    LineSelectPlotCanvas *m_canvas = nullptr;
    QwtPlotCurve *m_sampleCurve = nullptr;
    QwtPlotCurve *m_backgroundCurve = nullptr;
    QwtPlotCurve *m_previewCurve = nullptr;
    QwtPlotHistogram *m_histogram = nullptr;
    QVector<QwtPlotCurve *> m_referenceCurves;
    // Spectra from files dropped on the plot: title and curve normalised to maximum 1.
    QVector<QPair<QString, RamanData<Wavenumbers>>> m_fileReferences;
    QHash<int, int> m_referenceColours; // library index -> palette index while shown
    bool m_autoAdjustY = false;
};
