#include "analysis/ui/analysisplotview.h"

#include "analysis/spectrumanalysis.h"
#include "analysis/ui/horizontalzoomrectpicker.h"
#include "analysis/ui/lineselectplotcanvas.h"
#include "analysis/ui/plotrendererwithmarkers.h"
#include "core/logging.h"
#include "library/referencelibrary.h"

#include "ui_spectrumanalysiswidget.h"

#include <qwt_legend.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_histogram.h>

#include <QMenu>

#include <cmath>

namespace {

const char *const referencePalette[]
    = {"#ff7f0e", "#2ca02c", "#d62728", "#9467bd", "#8c564b", "#e377c2", "#7f7f7f", "#bcbd22"};
constexpr int maximumShownReferences = 15;

void styleCanvas(QwtPlot *plot)
{
    auto *canvas = qobject_cast<QwtPlotCanvas *>(plot->canvas());
    if (canvas)
        canvas->setFrameStyle(QFrame::NoFrame);
    plot->setCanvasBackground(Qt::white);
}

QPair<QVector<double>, QVector<double>> curveData(const QwtPlotCurve *curve)
{
    QPair<QVector<double>, QVector<double>> data;
    const size_t n = curve->dataSize();
    data.first.reserve(int(n));
    data.second.reserve(int(n));
    for (size_t i = 0; i < n; ++i) {
        const QPointF p = curve->sample(i);
        data.first.append(p.x());
        data.second.append(p.y());
    }
    return data;
}

QwtPlotCurve *referenceCurve(const QString &title, const char *colour,
                             const RamanData<Wavenumbers> &spectrum, Qt::PenStyle style)
{
    auto *curve = new QwtPlotCurve(title);
    curve->setPen(QPen(QColor(QLatin1String(colour)), 1, style));
    curve->setRenderHint(QwtPlotItem::RenderAntialiased);
    curve->setSamples(spectrum.x, spectrum.y);
    return curve;
}

} // namespace

AnalysisPlotView::AnalysisPlotView(Ui::SpectrumAnalysisWidget *ui, QObject *parent)
    : QObject(parent)
    , m_ui(ui)
{
    setUpPlots();
    connect(m_ui->actionResetZoom, &QAction::triggered, this, &AnalysisPlotView::zoomReset);
    connect(m_ui->actionAutoYZoom, &QAction::toggled, this, &AnalysisPlotView::setAutoAdjustY);
}

void AnalysisPlotView::setUpPlots()
{
    QwtPlot *plot = m_ui->mainPlot;
    m_canvas = new LineSelectPlotCanvas(plot);
    plot->setCanvas(m_canvas);
    styleCanvas(plot);
    auto *grid = new QwtPlotGrid;
    grid->setMajorPen(QPen(QColor(QStringLiteral("#CCCCCC")), 0, Qt::SolidLine));
    grid->setMinorPen(QPen(QColor(QStringLiteral("#DDDDDD")), 1, Qt::DashLine));
    grid->enableXMin(true);
    grid->enableYMin(true);
    grid->attach(plot);
    plot->insertLegend(new QwtLegend, QwtPlot::TopLegend);
    plot->setAxisTitle(QwtPlot::xBottom, tr("Raman-Verschiebung / cm⁻¹"));
    plot->setAxisTitle(QwtPlot::yLeft, tr("Intensität (normiert)"));

    m_sampleCurve = new QwtPlotCurve(tr("Analysiertes Spektrum"));
    m_sampleCurve->setPen(QPen(QColor(QStringLiteral("#1f77b4")), 1));
    m_sampleCurve->setRenderHint(QwtPlotItem::RenderAntialiased);
    m_sampleCurve->attach(plot);

    QwtPlot *preview = m_ui->previewPlot;
    styleCanvas(preview);
    preview->canvas()->setCursor(Qt::CrossCursor);
    preview->setContextMenuPolicy(Qt::CustomContextMenu);
    m_previewCurve = new QwtPlotCurve(tr("Analysiertes Spektrum"));
    m_previewCurve->setPen(QPen(QColor(QStringLiteral("#1f77b4")), 1));
    m_previewCurve->attach(preview);
    auto *picker = new HorizontalZoomRectPicker(preview->canvas());
    connect(picker, qOverload<const QRectF &>(&QwtPlotPicker::selected), this,
            &AnalysisPlotView::zoomTo);
    connect(preview, &QWidget::customContextMenuRequested, this,
            &AnalysisPlotView::showOverviewMenu);
    // Qwt's plots refuse to shrink below their size hint, which made the window taller than a
    // laptop screen.
    for (QwtPlot *p : {plot, preview})
        p->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void AnalysisPlotView::show(const AnalysisOutcome &outcome, const Overlay &overlay)
{
    QwtPlot *plot = m_ui->mainPlot;
    qDeleteAll(m_referenceCurves);
    m_referenceCurves.clear();
    delete m_backgroundCurve;
    m_backgroundCurve = nullptr;
    delete m_histogram;
    m_histogram = nullptr;

    double maximum = 0;
    const RamanData<Wavenumbers> sample = outcome.processed.normalizedToMaximum(&maximum);
    const bool usable = sample.size() > 0 && std::isfinite(maximum) && maximum != 0;
    m_sampleCurve->setSamples(usable ? sample.x : QVector<double>(),
                              usable ? sample.y : QVector<double>());
    m_sampleCurve->setVisible(m_ui->cBoxAddSpec->isChecked());
    m_previewCurve->setSamples(usable ? sample.x : QVector<double>(),
                               usable ? sample.y : QVector<double>());

    // References keep their colour while they stay shown.
    const QVector<int> rows = overlay.referenceRows.mid(0, maximumShownReferences);
    QHash<int, int> colours;
    for (int row : rows) {
        if (m_referenceColours.contains(row))
            colours.insert(row, m_referenceColours.value(row));
    }
    QHash<QString, int> titles;
    const ReferenceLibrary *library = overlay.library;
    for (int row : rows) {
        if (!library || row < 0 || row >= library->count()) {
            qCWarning(logUiGeneral) << "invalid index:" << row << "retrieved from source index";
            continue;
        }
        QString title = library->info(row).name;
        const int seen = ++titles[title];
        if (seen > 1)
            title += QStringLiteral(" %1").arg(seen);
        if (!colours.contains(row)) {
            int colour = 0;
            const QList<int> used = colours.values();
            while (used.contains(colour))
                ++colour;
            colours.insert(row, colour);
        }
        m_referenceCurves.append(referenceCurve(title, referencePalette[colours.value(row) % 8],
                                                library->spectrumData(row).normalizedToMaximum(),
                                                Qt::SolidLine));
    }
    m_referenceColours = colours;
    // Dashed, with the palette taken from its end, so they stand apart from library spectra.
    for (int k = 0; k < m_fileReferences.size(); ++k)
        m_referenceCurves.append(referenceCurve(m_fileReferences.at(k).first,
                                                referencePalette[7 - k % 8],
                                                m_fileReferences.at(k).second, Qt::DashLine));
    for (QwtPlotCurve *curve : qAsConst(m_referenceCurves))
        curve->attach(plot);

    if (usable && outcome.background.size() == outcome.processed.size()
        && !outcome.background.isEmpty()) {
        QVector<double> y = outcome.background.y;
        for (double &v : y)
            v /= maximum;
        m_backgroundCurve = new QwtPlotCurve(tr("Hintergrundsignal"));
        m_backgroundCurve->setPen(QPen(Qt::black, 1));
        m_backgroundCurve->setSamples(outcome.background.x, y);
        m_backgroundCurve->attach(plot);
    }

    if (overlay.histogram) {
        QVector<QwtIntervalSample> samples;
        for (const HistogramBar &bar : lineFrequencyHistogram(overlay.histogramLines))
            samples.append(QwtIntervalSample(bar.value, bar.from, bar.to));
        m_histogram = new QwtPlotHistogram(tr("Linienhäufigkeiten"));
        m_histogram->setStyle(QwtPlotHistogram::Outline);
        m_histogram->setBrush(QColor(0x77, 0x77, 0x77, 0x33));
        m_histogram->setPen(QPen(QColor(QStringLiteral("#777777"))));
        m_histogram->setSamples(samples);
        m_histogram->attach(plot);
    }

    zoomResetPreview();
    const QwtInterval x = plot->axisInterval(QwtPlot::xBottom);
    updateYAxisScale(x.minValue(), x.maxValue());
}

void AnalysisPlotView::addFileReference(const QString &title,
                                        const RamanData<Wavenumbers> &spectrum)
{
    m_fileReferences.append({title, spectrum.normalizedToMaximum()});
}

QPair<double, double> AnalysisPlotView::visibleRange() const
{
    const QwtInterval visible = m_ui->mainPlot->axisInterval(QwtPlot::xBottom);
    return {visible.minValue(), visible.maxValue()};
}

void AnalysisPlotView::updateYAxisScale(double xMin, double xMax)
{
    QwtPlot *plot = m_ui->mainPlot;
    QVector<QPair<QVector<double>, QVector<double>>> curves;
    for (QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotCurve)) {
        if (item->isVisible())
            curves.append(curveData(static_cast<QwtPlotCurve *>(item)));
    }
    const AxisRange range = yAxisRange(curves, xMin, xMax, m_autoAdjustY);
    plot->setAxisScale(QwtPlot::yLeft, range.lower, range.upper);
    plot->replot();
}

void AnalysisPlotView::setAutoAdjustY(bool autoAdjust)
{
    if (autoAdjust == m_autoAdjustY)
        return;
    m_autoAdjustY = autoAdjust;
    const QwtInterval x = m_ui->mainPlot->axisInterval(QwtPlot::xBottom);
    updateYAxisScale(x.minValue(), x.maxValue());
}

void AnalysisPlotView::zoomResetPreview()
{
    QwtPlot *preview = m_ui->previewPlot;
    const QRectF bounds = m_previewCurve->boundingRect();
    if (bounds.width() > 0) {
        preview->setAxisScale(QwtPlot::xBottom, bounds.left(), bounds.right());
        preview->setAxisScale(QwtPlot::yLeft, std::min(bounds.top(), bounds.bottom()),
                              std::max(bounds.top(), bounds.bottom()));
    }
    preview->replot();
}

void AnalysisPlotView::zoomResetMain()
{
    QwtPlot *plot = m_ui->mainPlot;
    QRectF bounds;
    for (QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotCurve)) {
        const QRectF r = item->boundingRect();
        if (r.width() > 0)
            bounds = bounds.isValid() ? bounds.united(r) : r;
    }
    if (bounds.width() > 0)
        plot->setAxisScale(QwtPlot::xBottom, bounds.left(), bounds.right());
    const QwtInterval x = plot->axisInterval(QwtPlot::xBottom);
    updateYAxisScale(x.minValue(), x.maxValue());
}

void AnalysisPlotView::zoomReset()
{
    zoomResetPreview();
    zoomResetMain();
}

void AnalysisPlotView::zoomTo(const QRectF &rect)
{
    const double from = std::min(rect.left(), rect.right());
    const double to = std::max(rect.left(), rect.right());
    if (!(to > from))
        return;
    m_ui->mainPlot->setAxisScale(QwtPlot::xBottom, from, to);
    updateYAxisScale(from, to);
    emit rangeSelected();
}

void AnalysisPlotView::showOverviewMenu(const QPoint &pos)
{
    QMenu menu(m_ui->previewPlot);
    menu.addAction(m_ui->actionResetZoom);
    if (!m_fileReferences.isEmpty()) {
        menu.addAction(tr("Spektren aus Dateien entfernen"), this, [this] {
            m_fileReferences.clear();
            emit redrawNeeded();
        });
    }
    menu.exec(m_ui->previewPlot->mapToGlobal(pos));
}

QImage AnalysisPlotView::renderImage() const
{
    const QwtText hint = m_ui->mainPlot->footer(); // for the screen, not for the stored picture
    m_ui->mainPlot->setFooter(QString());
    const QImage image = ::renderPlotImage(m_ui->mainPlot, m_canvas->lines());
    m_ui->mainPlot->setFooter(hint);
    return image;
}
