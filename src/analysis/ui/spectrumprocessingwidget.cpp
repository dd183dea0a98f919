#include "analysis/ui/spectrumprocessingwidget.h"

#include "analysis/ui/exportforlibrarydialog.h"
#include "analysis/ui/horizontalzoomrectpicker.h"
#include "analysis/ui/lineselectplotcanvas.h"
#include "analysis/ui/plotrendererwithmarkers.h"
#include "core/logging.h"
#include "core/pathmanager.h"
#include "core/suggestedfilename.h"
#include "library/libraryloader.h"
#include "library/model/mineralsortfilterproxymodel.h"
#include "library/model/ramanlibrarymodel.h"
#include "library/ui/correlationparametersdialog.h"
#include "library/ui/lcanalysisprogressdialog.h"
#include "library/ui/librarymanagementdialog.h"
#include "library/ui/richtextitemdelegate.h"
#include "savedata_view/ui/dialogshownicepic.h"
#include "savedata_view/ui/newmineralpicdialog.h"
#include "spectrum/formats/spectrumimport.h"

#include "library/matching/peaksearch.h"
#include "ui_spectrumanalysiswidget.h"

#include <qwt_legend.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_histogram.h>
#include <qwt_scale_div.h>

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <cmath>

namespace {

const char *const referencePalette[]
    = {"#ff7f0e", "#2ca02c", "#d62728", "#9467bd", "#8c564b", "#e377c2", "#7f7f7f", "#bcbd22"};
constexpr int maximumShownReferences = 15;

QString &lastExportDirectory()
{
    static QString directory;
    return directory;
}

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

} // namespace

SpectrumProcessingWidget::SpectrumProcessingWidget(QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::SpectrumAnalysisWidget>())
{
    m_ui->setupUi(this);
    m_analysis = new SpectrumAnalysis(this);
    m_parametersDialog = new CorrelationParametersDialog(this);

    m_model = new RamanLibraryModel(this);
    m_proxy = new MineralSortFilterProxyModel(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setDynamicSortFilter(false);
    m_proxy->setSortRole(RamanLibraryModel::SortRole);
    QTableView *table = m_ui->TViewRaBib;
    table->setModel(m_proxy);
    auto *delegate = new RichTextItemDelegate(table);
    table->setItemDelegateForColumn(RamanLibraryModel::FormulaColumn, delegate);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(delegate->rowHeight(table->font()));
    // The confidence belongs next to the score it qualifies.
    table->horizontalHeader()->moveSection(RamanLibraryModel::ConfidenceColumn, 1);
    table->setColumnHidden(RamanLibraryModel::ConfidenceColumn, true);
    table->setSortingEnabled(true);
    table->sortByColumn(RamanLibraryModel::ScoreColumn, Qt::DescendingOrder);
    table->resizeColumnsToContents();
    table->setColumnWidth(RamanLibraryModel::FormulaColumn,
                          delegate->formulaColumnWidth(table->font()));
    m_ui->lNumRows->setMinimumWidth(
        m_ui->lNumRows->fontMetrics().horizontalAdvance(QStringLiteral("000.000")));
    m_ui->optionsColumn->installEventFilter(this);

    setupPlots();
    setupActions();
    connectControls();
    updateRowCountDisplay();
    m_analysis->configure(controlsFromForm(), searchSettingsFromForm());
    QMetaObject::invokeMethod(this, &SpectrumProcessingWidget::setupSplitters,
                              Qt::QueuedConnection);
}

SpectrumProcessingWidget::~SpectrumProcessingWidget()
{
    if (m_newPicDialog && !m_newPicDialog->parent())
        delete m_newPicDialog;
}

void SpectrumProcessingWidget::setupPlots()
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
            &SpectrumProcessingWidget::onRangeSelected);
    connect(preview, &QWidget::customContextMenuRequested, this,
            &SpectrumProcessingWidget::doZoomContextMenu);
    connect(m_canvas, &LineSelectPlotCanvas::linesChanged, this,
            &SpectrumProcessingWidget::handleLinesChanged);
    connect(m_canvas, &LineSelectPlotCanvas::fileDroppedOnWidget, this,
            &SpectrumProcessingWidget::fileDroppedOnWidget);
    connect(m_canvas, &LineSelectPlotCanvas::fileDroppedOnWidget, this,
            &SpectrumProcessingWidget::addReferenceFile);
}

void SpectrumProcessingWidget::setupActions()
{
    auto *menu = new QMenu(m_ui->tButtSave);
    menu->addAction(m_ui->actionExportForLibrary);
    menu->addAction(m_ui->actionExportProcessed);
    menu->addAction(m_ui->actionExportRaw);
    menu->addAction(m_ui->actionExportReference);
    menu->addAction(m_ui->actionExportPeaks);
    m_ui->tButtSave->setMenu(menu);
    connect(m_ui->tButtSave, &QToolButton::clicked, this,
            &SpectrumProcessingWidget::exportSampleSpectrum);
    for (QAction *action :
         {m_ui->actionExportProcessed, m_ui->actionExportRaw, m_ui->actionExportReference})
        connect(action, &QAction::triggered, this, &SpectrumProcessingWidget::exportSampleSpectrum);
    connect(m_ui->actionExportPeaks, &QAction::triggered, this,
            &SpectrumProcessingWidget::exportPeaksList);
    connect(m_ui->actionExportForLibrary, &QAction::triggered, this,
            &SpectrumProcessingWidget::exportForLibrary);
    connect(m_ui->actionResetZoom, &QAction::triggered, this, &SpectrumProcessingWidget::zoomReset);
    connect(m_ui->actionAutoYZoom, &QAction::toggled, this,
            &SpectrumProcessingWidget::setAutoAdjustY);
    connect(m_ui->actionClearSelected, &QAction::triggered, m_ui->TViewRaBib,
            &QAbstractItemView::clearSelection);
    connect(m_ui->actionStartLCSearch, &QAction::triggered, this,
            &SpectrumProcessingWidget::startCombinationSearch);
    connect(m_ui->actionStartMixtureFit, &QAction::triggered, this,
            &SpectrumProcessingWidget::startMixtureFit);
    connect(m_ui->actionShowScatter, &QAction::toggled, this,
            &SpectrumProcessingWidget::updatePlots);

    auto *find = new QShortcut(QKeySequence(QStringLiteral("Ctrl+F")), this);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, m_ui->EditScrollToInput, qOverload<>(&QWidget::setFocus));
    auto *first = new QShortcut(QKeySequence(QStringLiteral("Ctrl+G")), this);
    first->setContext(Qt::WidgetWithChildrenShortcut);
    connect(first, &QShortcut::activated, this, &SpectrumProcessingWidget::selectFirstRow);
}

void SpectrumProcessingWidget::connectControls()
{
    const auto recomputeNow = [this] { recompute(); };
    for (QGroupBox *group :
         {m_ui->cBoxShowCutVecs, m_ui->cBoxBinning, m_ui->cBoxSubBg, m_ui->gBoxEnableIdentify})
        connect(group, &QGroupBox::toggled, this, recomputeNow);
    for (QSpinBox *box : {m_ui->sBoxCmMin, m_ui->sBoxCmMax, m_ui->smoothWidth, m_ui->smoothOrder,
                          m_ui->orderSpinBox})
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this, recomputeNow);
    for (QCheckBox *box : {m_ui->cBoxMovePoints, m_ui->cBoxShowBackgroundSeparate,
                           m_ui->cBoxIgnoreOtherLines, m_ui->cBoxLimitCorrelate})
        connect(box, &QCheckBox::toggled, this, recomputeNow);
    connect(m_parametersDialog, &CorrelationParametersDialog::parametersChanged, this,
            recomputeNow);
    connect(m_ui->cBoxBackgroundMethod, qOverload<int>(&QComboBox::currentIndexChanged),
            m_ui->backgroundOptionsStack, &QStackedWidget::setCurrentIndex);
    connect(m_ui->searchMethodCombo, qOverload<int>(&QComboBox::currentIndexChanged),
            m_ui->searchMethodControls, &QStackedWidget::setCurrentIndex);
    const auto pickMode = [this] { updateLinePickMode(); };
    connect(m_ui->cBoxBackgroundMethod, qOverload<int>(&QComboBox::currentIndexChanged), this,
            pickMode);
    connect(m_ui->searchMethodCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            pickMode);
    connect(m_ui->peakSensitivitySlider, &QSlider::valueChanged, this, pickMode);
    connect(m_ui->cBoxShowAutoLines, &QCheckBox::toggled, this, pickMode);
    connect(m_ui->buttonEditControlPoints, &QPushButton::toggled, this, pickMode);
    connect(m_ui->buttonResetControlPoints, &QPushButton::clicked, this, [this] {
        m_analysis->setControlPoints({});
        updateLinePickMode();
    });
    connect(m_ui->buttonAutoLines, &QPushButton::clicked, this, [this] {
        m_analysis->configure(controlsFromForm(), searchSettingsFromForm());
        placeAutoLines(m_analysis->detectPeaks());
        handleLinesChanged();
    });
    connect(m_ui->buttonClearLines, &QPushButton::clicked, m_canvas,
            &LineSelectPlotCanvas::clearLines);
    connect(m_ui->cBoxEnableSnapping, &QCheckBox::toggled, this,
            &SpectrumProcessingWidget::updateLineSnapMode);
    for (QPushButton *button :
         {m_ui->buttonEditCorrelationParams, m_ui->buttonEditCorrelationParams2})
        connect(button, &QPushButton::clicked, m_parametersDialog, &QDialog::show);
    connect(m_ui->cBoxAddSpec, &QCheckBox::toggled, this, &SpectrumProcessingWidget::updatePlots);

    connect(m_ui->resultSelectCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &SpectrumProcessingWidget::onResultSelectorChanged);
    connect(m_ui->EditResult, &QLineEdit::textEdited, m_analysis, &SpectrumAnalysis::setResultText);
    connect(m_ui->buttonSaveResults, &QPushButton::clicked, this,
            &SpectrumProcessingWidget::saveRequested);
    connect(m_ui->EditScrollToInput, &QLineEdit::textChanged, this,
            &SpectrumProcessingWidget::applyFilter);
    connect(m_ui->elementFilter, &QLineEdit::textChanged, this,
            &SpectrumProcessingWidget::applyFilter);
    connect(m_ui->TViewRaBib->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SpectrumProcessingWidget::onSelectionChanged);
    connect(m_ui->TViewRaBib, &QWidget::customContextMenuRequested, this,
            &SpectrumProcessingWidget::sampleInfoPictureMenuRequested);
    connect(m_analysis, &SpectrumAnalysis::changed, this,
            &SpectrumProcessingWidget::onAnalysisChanged);
}

ProcessingControls SpectrumProcessingWidget::controlsFromForm() const
{
    ProcessingControls c;
    c.cut = m_ui->cBoxShowCutVecs->isChecked();
    c.cutMinimum = m_ui->sBoxCmMin->value();
    c.cutMaximum = m_ui->sBoxCmMax->value();
    c.smooth = m_ui->cBoxBinning->isChecked();
    c.smoothingOrder = m_ui->smoothOrder->value();
    c.smoothingWidth = m_ui->smoothWidth->value();
    c.subtractBackground = m_ui->cBoxSubBg->isChecked();
    c.backgroundMethod = m_ui->cBoxBackgroundMethod->currentIndex();
    c.movePoints = m_ui->cBoxMovePoints->isChecked();
    c.splinePoints = m_ui->orderSpinBox->value();
    c.showBackgroundSeparate = m_ui->cBoxShowBackgroundSeparate->isChecked();
    return c;
}

SearchSettings SpectrumProcessingWidget::searchSettingsFromForm() const
{
    SearchSettings s;
    s.enabled = m_ui->gBoxEnableIdentify->isChecked();
    s.method = m_ui->searchMethodCombo->currentIndex();
    s.sensitivity = m_ui->peakSensitivitySlider->value();
    s.parameters = m_parametersDialog->parameters(s.sensitivity);
    s.limitToVisible = m_ui->cBoxLimitCorrelate->isChecked();
    const QwtInterval visible = m_ui->mainPlot->axisInterval(QwtPlot::xBottom);
    s.visibleMinimum = visible.minValue();
    s.visibleMaximum = visible.maxValue();
    s.ignoreOtherLines = m_ui->cBoxIgnoreOtherLines->isChecked();
    return s;
}

void SpectrumProcessingWidget::recompute()
{
    m_analysis->configure(controlsFromForm(), searchSettingsFromForm());
}

void SpectrumProcessingWidget::setLibrary(std::shared_ptr<LibraryLoader> loader)
{
    if (m_loader)
        disconnect(m_loader.get(), nullptr, this, nullptr);
    m_loader = std::move(loader);
    if (m_loader)
        connect(m_loader.get(), &LibraryLoader::libraryChanged, this,
                &SpectrumProcessingWidget::reloadLibraryModel);
    reloadLibraryModel();
}

void SpectrumProcessingWidget::reloadLibraryModel()
{
    if (!m_loader)
        return;
    m_library = m_loader->library();
    m_analysis->setLibrary(m_library);
    QVector<rruff_infos> infos;
    infos.reserve(m_library->count());
    for (const RamanLibrarySpectrum &spectrum : m_library->spectra())
        infos.append(spectrum.info);
    showNoLibraryHint(infos.isEmpty() && !m_loader->isLoading());
    m_referenceColours.clear();
    m_model->setLibraryData(infos);
    m_model->setResultScores(m_analysis->outcome().scores);
    m_ui->TViewRaBib->resizeColumnsToContents();
    applyFilter();
}

// An empty table would look like a search that found nothing.
void SpectrumProcessingWidget::showNoLibraryHint(bool show)
{
    QWidget *viewport = m_ui->TViewRaBib->viewport();
    if (!m_noLibraryHint && show) {
        m_noLibraryHint = new QWidget(viewport);
        m_noLibraryHint->setObjectName(QStringLiteral("noLibraryHint"));
        auto *layout = new QVBoxLayout(m_noLibraryHint);
        auto *text = new QLabel(tr("<p><b>Keine Referenzbibliothek eingerichtet.</b></p><p>Ohne "
                                   "Bibliothek lässt sich das Spektrum nicht identifizieren. "
                                   "Richten Sie eigene Bibliotheksordner ein oder laden Sie "
                                   "öffentliche Sammlungen herunter.</p>"));
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignCenter);
        auto *manage = new QPushButton(tr("Bibliotheken verwalten ..."));
        layout->addStretch();
        layout->addWidget(text);
        layout->addWidget(manage, 0, Qt::AlignCenter);
        layout->addStretch();
        connect(manage, &QPushButton::clicked, this, [this] {
            LibraryManagementDialog dialog(m_loader, this);
            dialog.exec();
        });
        viewport->installEventFilter(this);
    }
    if (m_noLibraryHint) {
        m_noLibraryHint->setGeometry(viewport->rect());
        m_noLibraryHint->setVisible(show);
    }
}

void SpectrumProcessingWidget::setSpectrum(const RamanData<Wavenumbers> &spectrum)
{
    m_canvas->blockSignals(true);
    m_canvas->clearLines();
    m_canvas->blockSignals(false);
    m_zoomResetPending = true;
    m_analysis->setSpectrum(spectrum);
    applyFilter();
    updateLinePickMode();
}

void SpectrumProcessingWidget::onAnalysisChanged(SpectrumAnalysis::Changes changes)
{
    if (changes & SpectrumAnalysis::ScoresChanged) {
        const AnalysisOutcome &outcome = m_analysis->outcome();
        const bool complete = outcome.scores.size() == m_model->infos().size();
        QHash<int, QString> confidences;
        if (complete && !outcome.minerals.minerals.isEmpty())
            confidences.insert(outcome.minerals.minerals.constFirst().spectrum,
                               MineralSearch::confidenceText(outcome.minerals.confidence));
        m_model->setResultScores(complete ? outcome.scores : QVector<double>(), confidences);
        m_ui->TViewRaBib->setColumnHidden(RamanLibraryModel::ConfidenceColumn,
                                          !m_model->hasConfidences());
        updateSort();
        updateRowCountDisplay();
    }
    if (changes & SpectrumAnalysis::ProcessedChanged) {
        updatePlots();
        m_canvas->latchLinesToNewYValues();
        if (!editingControlPoints()
            && m_ui->searchMethodCombo->currentIndex() == SearchSettings::PeakDetection
            && m_ui->cBoxShowAutoLines->isChecked())
            placeAutoLines(m_analysis->outcome().autoLines);
        if (m_zoomResetPending && !m_analysis->outcome().processed.isEmpty()) {
            m_zoomResetPending = false;
            zoomReset();
        }
    }
    if (changes & SpectrumAnalysis::ResultChanged) {
        if (m_ui->EditResult->text() != m_analysis->resultText())
            m_ui->EditResult->setText(m_analysis->resultText());
        emit resultChanged();
    }
}

void SpectrumProcessingWidget::placeAutoLines(const QVector<double> &lines)
{
    QVector<double> shown;
    for (const SpectrumLineMarker *marker : m_canvas->lines())
        shown.append(marker->wavenumber());
    if (shown == lines)
        return; // usual while only the processing changes a little: spare the markers
    const bool blocked = m_canvas->blockSignals(true);
    m_canvas->clearLines();
    for (double line : lines)
        m_canvas->placeLineAt(line);
    m_canvas->setCursorEnabled(m_canvas->isCursorEnabled());
    m_canvas->blockSignals(blocked);
    updateLineSnapMode();
}

QVector<int> SpectrumProcessingWidget::selectedSourceRows() const
{
    QVector<int> rows;
    const QItemSelectionModel *selection = m_ui->TViewRaBib->selectionModel();
    for (const QModelIndex &index : selection->selectedRows())
        rows.append(m_proxy->mapToSource(index).row());
    return rows;
}

void SpectrumProcessingWidget::updatePlots()
{
    QwtPlot *plot = m_ui->mainPlot;
    qDeleteAll(m_referenceCurves);
    m_referenceCurves.clear();
    delete m_backgroundCurve;
    m_backgroundCurve = nullptr;
    delete m_histogram;
    m_histogram = nullptr;

    const AnalysisOutcome &outcome = m_analysis->outcome();
    double maximum = 0;
    const RamanData<Wavenumbers> sample = outcome.processed.normalizedToMaximum(&maximum);
    const bool usable = sample.size() > 0 && std::isfinite(maximum) && maximum != 0;
    m_sampleCurve->setSamples(usable ? sample.x : QVector<double>(),
                              usable ? sample.y : QVector<double>());
    m_sampleCurve->setVisible(m_ui->cBoxAddSpec->isChecked());
    m_previewCurve->setSamples(usable ? sample.x : QVector<double>(),
                               usable ? sample.y : QVector<double>());

    // References keep their colour while they stay shown.
    QVector<int> rows = selectedSourceRows();
    if (rows.size() > maximumShownReferences)
        rows.resize(maximumShownReferences);
    QHash<int, int> colours;
    for (int row : qAsConst(rows)) {
        if (m_referenceColours.contains(row))
            colours.insert(row, m_referenceColours.value(row));
    }
    QHash<QString, int> titles;
    for (int row : qAsConst(rows)) {
        if (!m_library || row < 0 || row >= m_library->count()) {
            qCWarning(logUiGeneral) << "invalid index:" << row << "retrieved from source index";
            continue;
        }
        const RamanData<Wavenumbers> reference = m_library->spectrumData(row).normalizedToMaximum();
        QString title = m_library->info(row).name;
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
        auto *curve = new QwtPlotCurve(title);
        curve->setPen(QPen(QColor(QLatin1String(referencePalette[colours.value(row) % 8])), 1));
        curve->setRenderHint(QwtPlotItem::RenderAntialiased);
        curve->setSamples(reference.x, reference.y);
        curve->attach(plot);
        m_referenceCurves.append(curve);
    }
    m_referenceColours = colours;
    for (int k = 0; k < m_fileReferences.size(); ++k) {
        const auto &[title, reference] = m_fileReferences.at(k);
        // Dashed, with the palette taken from its end, so they stand apart from library spectra.
        auto *curve = new QwtPlotCurve(title);
        curve->setPen(QPen(QColor(QLatin1String(referencePalette[7 - k % 8])), 1, Qt::DashLine));
        curve->setRenderHint(QwtPlotItem::RenderAntialiased);
        curve->setSamples(reference.x, reference.y);
        curve->attach(plot);
        m_referenceCurves.append(curve);
    }

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

    if (m_ui->actionShowScatter->isChecked() && m_library) {
        QVector<QVector<double>> lines;
        QSet<QString> names;
        for (int i = 0; i < m_proxy->rowCount(); ++i) {
            const int row = m_proxy->mapToSource(m_proxy->index(i, 0)).row();
            if (row >= m_library->count())
                continue;
            const QString name = m_model->infos().value(row).name;
            if (names.contains(name))
                continue;
            names.insert(name);
            QVector<double> positions;
            for (const FingerprintPeak &peak : m_library->fingerprint(row).peaks)
                positions.append(peak.position);
            lines.append(positions);
        }
        QVector<QwtIntervalSample> samples;
        for (const HistogramBar &bar : lineFrequencyHistogram(lines))
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

void SpectrumProcessingWidget::updateYAxisScale(double xMin, double xMax)
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

void SpectrumProcessingWidget::setAutoAdjustY(bool autoAdjust)
{
    if (autoAdjust == m_autoAdjustY)
        return;
    m_autoAdjustY = autoAdjust;
    const QwtInterval x = m_ui->mainPlot->axisInterval(QwtPlot::xBottom);
    updateYAxisScale(x.minValue(), x.maxValue());
}

void SpectrumProcessingWidget::zoomResetPreview()
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

void SpectrumProcessingWidget::zoomResetMain()
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

void SpectrumProcessingWidget::zoomReset()
{
    zoomResetPreview();
    zoomResetMain();
}

void SpectrumProcessingWidget::onRangeSelected(const QRectF &rect)
{
    const double from = std::min(rect.left(), rect.right());
    const double to = std::max(rect.left(), rect.right());
    if (!(to > from))
        return;
    m_ui->mainPlot->setAxisScale(QwtPlot::xBottom, from, to);
    updateYAxisScale(from, to);
    if (m_ui->searchMethodCombo->currentIndex() == SearchSettings::Correlation
        && m_ui->cBoxLimitCorrelate->isChecked())
        recompute();
}

void SpectrumProcessingWidget::doZoomContextMenu(QPoint pos)
{
    QMenu menu(this);
    menu.addAction(m_ui->actionResetZoom);
    if (!m_fileReferences.isEmpty()) {
        menu.addAction(tr("Spektren aus Dateien entfernen"), this, [this] {
            m_fileReferences.clear();
            updatePlots();
        });
    }
    menu.exec(m_ui->previewPlot->mapToGlobal(pos));
}

bool SpectrumProcessingWidget::editingControlPoints() const
{
    return m_ui->cBoxBackgroundMethod->currentIndex() == ProcessingControls::ManualSplines
           && m_ui->buttonEditControlPoints->isChecked();
}

void SpectrumProcessingWidget::updateLineSnapMode()
{
    if (editingControlPoints())
        m_canvas->setSnapMode(SpectrumLineMarker::SnapToMinimum);
    else
        m_canvas->setSnapMode(m_ui->cBoxEnableSnapping->isChecked()
                                  ? SpectrumLineMarker::SnapToMaximum
                                  : SpectrumLineMarker::NoSnapping);
}

void SpectrumProcessingWidget::updateLinePickMode()
{
    QCheckBox *separate = m_ui->cBoxShowBackgroundSeparate;
    m_canvas->setLineRenderMode(SpectrumLineMarker::RenderLine);
    m_canvas->blockSignals(true);
    m_canvas->clearLines();
    if (editingControlPoints()) {
        m_canvas->setLineRenderMode(SpectrumLineMarker::RenderPoint);
        m_canvas->setCursorEnabled(true);
        QVector<double> points = m_analysis->controlPoints();
        if (points.isEmpty())
            points = m_analysis->automaticSupportPoints();
        for (double x : qAsConst(points))
            m_canvas->placeLineAt(x);
        if (separate->isEnabled()) {
            separate->setProperty("wasChecked", separate->isChecked());
            separate->setEnabled(false);
            separate->setChecked(true);
        }
    } else {
        if (!separate->isEnabled()) {
            separate->setEnabled(true);
            separate->setChecked(separate->property("wasChecked").toBool());
        }
        switch (m_ui->searchMethodCombo->currentIndex()) {
        case SearchSettings::PeakDetection:
            m_canvas->setCursorEnabled(false);
            if (m_ui->cBoxShowAutoLines->isChecked()) {
                for (double x : m_analysis->outcome().autoLines)
                    m_canvas->placeLineAt(x);
            }
            break;
        case SearchSettings::ManualLines:
            m_canvas->setCursorEnabled(true);
            for (const PeakLine &line : m_analysis->manualLines())
                m_canvas->placeLineAt(line.wavenumber);
            break;
        default:
            m_canvas->setCursorEnabled(false);
            break;
        }
    }
    m_canvas->blockSignals(false);
    // Picking has no button of its own: the plot says how it works while it is possible.
    const bool picking = m_canvas->isCursorEnabled();
    m_ui->mainPlot->setFooter(
        !picking ? QString()
        : editingControlPoints()
            ? tr("Linksklick setzt einen Stützpunkt, Rechtsklick entfernt ihn.")
            : tr("Linksklick setzt eine Linie, Rechtsklick entfernt sie."));
    recompute();
    updateLineSnapMode();
}

QVector<PeakLine> SpectrumProcessingWidget::canvasLines() const
{
    QVector<PeakLine> lines;
    for (const SpectrumLineMarker *marker : m_canvas->lines())
        lines.append({marker->wavenumber(), marker->relativeAmplitude()});
    std::sort(lines.begin(), lines.end(),
              [](const PeakLine &a, const PeakLine &b) { return a.wavenumber < b.wavenumber; });
    return lines;
}

void SpectrumProcessingWidget::handleLinesChanged()
{
    const QVector<PeakLine> lines = canvasLines();
    if (editingControlPoints()) {
        QVector<double> positions;
        for (const PeakLine &line : lines)
            positions.append(line.wavenumber);
        m_analysis->setControlPoints(positions);
    } else if (m_ui->searchMethodCombo->currentIndex() == SearchSettings::ManualLines) {
        m_analysis->setManualLines(lines);
    }
}

void SpectrumProcessingWidget::onResultSelectorChanged(int index)
{
    m_analysis->setResultMode(index);
}

void SpectrumProcessingWidget::onSelectionChanged()
{
    const QVector<int> rows = selectedSourceRows();
    m_analysis->setSelectedName(rows.isEmpty() ? QString() : m_model->infos().value(rows[0]).name);
    updatePlots();
}

int SpectrumProcessingWidget::resultSelection() const
{
    return m_ui->resultSelectCombo->currentIndex();
}

QString SpectrumProcessingWidget::resultText() const
{
    return m_ui->EditResult->text();
}

QImage SpectrumProcessingWidget::renderPlotImage() const
{
    const QwtText hint = m_ui->mainPlot->footer(); // for the screen, not for the stored picture
    m_ui->mainPlot->setFooter(QString());
    const QImage image = ::renderPlotImage(m_ui->mainPlot, m_canvas->lines());
    m_ui->mainPlot->setFooter(hint);
    return image;
}

QImage SpectrumProcessingWidget::renderTableImage() const
{
    return m_ui->TViewRaBib->grab().toImage();
}

bool SpectrumProcessingWidget::eventFilter(QObject *watched, QEvent *event)
{
    // The options scroll on low screens but never get narrower than their content, whose width
    // changes with texts and fonts.
    if (m_noLibraryHint && watched == m_ui->TViewRaBib->viewport()
        && event->type() == QEvent::Resize)
        m_noLibraryHint->setGeometry(m_ui->TViewRaBib->viewport()->rect());
    if (watched == m_ui->optionsColumn && event->type() == QEvent::LayoutRequest)
        m_ui->optionsScrollArea->setMinimumWidth(
            m_ui->optionsColumn->minimumSizeHint().width()
            + m_ui->optionsScrollArea->verticalScrollBar()->sizeHint().width());
    return QWidget::eventFilter(watched, event);
}

void SpectrumProcessingWidget::setupSplitters()
{
    m_ui->leftRightSplitter->setSizes({100, 6000, 1500});
}

void SpectrumProcessingWidget::applyFilter()
{
    m_proxy->setFilter(m_ui->EditScrollToInput->text(), m_ui->elementFilter->text());
    updateSort();
    updateRowCountDisplay();
    if (m_ui->actionShowScatter->isChecked())
        updatePlots();
}

void SpectrumProcessingWidget::updateSort()
{
    const int column = m_proxy->sortColumn() >= 0 ? m_proxy->sortColumn() : 0;
    m_proxy->sort(column, m_proxy->sortColumn() >= 0 ? m_proxy->sortOrder() : Qt::DescendingOrder);
}

void SpectrumProcessingWidget::updateRowCountDisplay()
{
    m_ui->lNumRows->setText(QLocale().toString(m_proxy->rowCount()));
}

void SpectrumProcessingWidget::selectFirstRow()
{
    QTableView *table = m_ui->TViewRaBib;
    table->clearSelection();
    if (m_proxy->rowCount() == 0)
        return;
    const QModelIndex first = m_proxy->index(0, 0);
    table->selectionModel()->select(first, QItemSelectionModel::ClearAndSelect
                                               | QItemSelectionModel::Rows);
    table->setCurrentIndex(first);
}

void SpectrumProcessingWidget::selectNumbers(const QStringList &numbers)
{
    if (!m_library)
        return;
    QItemSelection selection;
    for (const QString &number : numbers) {
        const int row = m_library->indexOfNumber(number);
        const QModelIndex index = m_proxy->mapFromSource(m_model->index(row, 0));
        if (index.isValid())
            selection.select(index, index);
    }
    m_ui->TViewRaBib->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect
                                                              | QItemSelectionModel::Rows);
}

void SpectrumProcessingWidget::startCombinationSearch()
{
    if (!m_library)
        return;
    const FingerprintParameters parameters
        = m_parametersDialog->parameters(m_ui->peakSensitivitySlider->value());
    double maximum = 0;
    const RamanData<Wavenumbers> normalized
        = m_analysis->processedNow().normalizedToMaximum(&maximum);
    const SpectrumFingerprint measured = std::isfinite(maximum) && maximum > 0
                                             ? buildFingerprint(normalized, parameters)
                                             : SpectrumFingerprint();
    auto *dialog = new LCAnalysisProgressDialog(this);
    dialog->watchSearch(m_library->startCombinationSearch(measured, parameters),
                        m_library->spectra());
    connect(dialog, &LCAnalysisProgressDialog::idsSelected, this,
            &SpectrumProcessingWidget::selectNumbers);
    dialog->show();
}

void SpectrumProcessingWidget::startMixtureFit()
{
    if (!m_library)
        return;
    auto *dialog = new LCAnalysisProgressDialog(this);
    dialog->showBusy(tr("Gemisch-Anpassung"),
                     tr("Das Spektrum wird als Summe von zwei oder drei Referenzspektren und "
                        "einem glatten Untergrund angepasst."));
    auto *watcher = new QFutureWatcher<QVector<MixtureFit>>(dialog);
    connect(watcher, &QFutureWatcherBase::finished, dialog, [dialog, watcher, library = m_library] {
        QVector<QPair<QString, QStringList>> choices;
        for (const MixtureFit &fit : watcher->result()) {
            QStringList parts;
            QStringList numbers;
            for (const MixtureComponent &component : fit.components) {
                parts.append(tr("%1 %2 %")
                                 .arg(component.name)
                                 .arg(QString::number(100.0 * component.fraction, 'f', 0)));
                numbers.append(library->info(component.spectrum).number);
            }
            choices.append({tr("%1 (Rest %2 %)")
                                .arg(parts.join(QStringLiteral(" + ")),
                                     QString::number(100.0 * fit.residual, 'f', 1)),
                            numbers});
        }
        dialog->showChoices(
            choices.isEmpty()
                ? tr("Kein Gemisch passt: das Spektrum ist leer, flach oder zu kurz, "
                     "oder keine Referenz deckt seinen Bereich ab.")
                : tr("Diese Gemische passen zum geladenen Spektrum, mit dem Anteil jedes "
                     "Minerals und dem Rest, den die Anpassung nicht erklärt "
                     "(doppelklicken zum Ansehen):"),
            choices);
    });
    connect(dialog, &LCAnalysisProgressDialog::idsSelected, this,
            &SpectrumProcessingWidget::selectNumbers);
    watcher->setFuture(m_analysis->startMixtureFit(3));
    dialog->show();
}

std::optional<RamanData<Wavenumbers>>
SpectrumProcessingWidget::readSpectrumFile(const QString &path, QWidget *parent)
{
    const ImportedSpectrum imported = importSpectrum(path);
    double maximum = 0;
    imported.spectrum.normalizedToMaximum(&maximum);
    QString problem = imported.error;
    if (problem.isEmpty() && !(std::isfinite(maximum) && maximum > 0))
        problem = tr("%1: das Spektrum hat keine positiven Intensitäten.")
                      .arg(QDir::toNativeSeparators(path));
    if (!problem.isEmpty()) {
        qCWarning(logDataIo) << "spectrum file not used:" << problem;
        QMessageBox::warning(parent, tr("Spektrum nicht lesbar"), problem);
        return std::nullopt;
    }
    for (const QString &note : imported.notes)
        qCInfo(logDataIo) << "spectrum file" << path << ":" << note;
    return imported.spectrum;
}

bool SpectrumProcessingWidget::addReferenceFile(const QString &path)
{
    const std::optional<RamanData<Wavenumbers>> spectrum = readSpectrumFile(path, this);
    if (!spectrum)
        return false;
    // Long names (RRUFF's run to 80 characters) would push the legend into a second row.
    QString title = QFileInfo(path).fileName();
    if (title.size() > 40)
        title = title.left(26) + QChar(0x2026) + title.right(13);
    m_fileReferences.append({title, spectrum->normalizedToMaximum()});
    updatePlots();
    return true;
}

void SpectrumProcessingWidget::setResultStorable(bool storable)
{
    m_ui->buttonSaveResults->setVisible(storable);
    m_ui->buttonSaveResults->setEnabled(storable);
}

void SpectrumProcessingWidget::exportSampleSpectrum()
{
    const QObject *origin = sender();
    RamanData<Wavenumbers> data;
    if (origin == m_ui->tButtSave || origin == m_ui->actionExportProcessed) {
        data = m_analysis->processedNow();
    } else if (origin == m_ui->actionExportRaw) {
        data = m_analysis->sample();
    } else if (origin == m_ui->actionExportReference) {
        const QVector<int> rows = selectedSourceRows();
        if (rows.isEmpty() || !m_library)
            return;
        data = m_library->spectrumData(rows[0]);
    } else {
        qCWarning(logUiGeneral) << "unknown export method? not doing anything";
        return;
    }
    const QString path = QFileDialog::getSaveFileName(this, tr("Spektrum exportieren"),
                                                      suggestedExportPath(QStringLiteral("%1")),
                                                      tr("Text (*.txt)"));
    if (path.isEmpty())
        return;
    lastExportDirectory() = QFileInfo(path).absolutePath();
    writeExportFile(path, exportSpectrumText(data));
}

void SpectrumProcessingWidget::exportPeaksList()
{
    // The lines on the plot; under a search that shows none, the peaks it finds.
    QVector<PeakLine> lines = canvasLines();
    if (lines.isEmpty())
        lines = m_analysis->detectedPeakLines();
    if (lines.isEmpty()) {
        QMessageBox::information(this, tr("Keine Peaks"),
                                 tr("Keine Peaks ausgewählt oder erkannt."));
        return;
    }
    const QString path
        = QFileDialog::getSaveFileName(this, tr("Peak-Liste exportieren"),
                                       suggestedExportPath(tr("%1 Peaks")), tr("Text (*.txt)"));
    if (path.isEmpty())
        return;
    lastExportDirectory() = QFileInfo(path).absolutePath();
    writeExportFile(path, peakListText(lines));
}

// In the folder of the last export, named after the result.
QString SpectrumProcessingWidget::suggestedExportPath(const QString &pattern) const
{
    const QString folder = lastExportDirectory().isEmpty() ? PathManager::instance().savePath()
                                                           : lastExportDirectory();
    return QDir(folder).filePath(suggestedFileName(pattern.arg(resultText()).trimmed(),
                                                   QStringLiteral("txt"), tr("Spektrum")));
}

void SpectrumProcessingWidget::exportForLibrary()
{
    exportSpectrumForLibrary(m_analysis->processedNow(), resultText(), this);
}

void SpectrumProcessingWidget::openWebPage(int sourceRow, int site)
{
    const rruff_infos info = m_model->infos().value(sourceRow);
    const QString name = QString::fromUtf8(QUrl::toPercentEncoding(info.name));
    switch (site) {
    case 0:
        if (!QDesktopServices::openUrl(QUrl(QStringLiteral("https://rruff.info/") + info.rruffId)))
            qCWarning(logUiGeneral) << "RRUFF web page page could not be opened";
        break;
    case 1:
        if (!QDesktopServices::openUrl(
                QUrl(QStringLiteral("https://www.mindat.org/search.php?search=") + name)))
            qCWarning(logUiGeneral) << "Mindat web page could not be opened";
        break;
    default:
        if (!QDesktopServices::openUrl(
                QUrl(QStringLiteral(
                         "https://www.mineralienatlas.de/lexikon/index.php/MineralData?mineral=")
                     + name)))
            qCWarning(logUiGeneral) << "Mineralienatlas web page could not be opened";
        break;
    }
}

void SpectrumProcessingWidget::sampleInfoPictureMenuRequested(QPoint pos)
{
    const QModelIndex index = m_ui->TViewRaBib->indexAt(pos);
    if (!index.isValid() || !m_library)
        return;
    const int row = m_proxy->mapToSource(index).row();
    const QString name = m_model->infos().value(row).name;
    QMenu menu(this);
    QAction *analyse = menu.addAction(tr("Dieses Spektrum analysieren"));
    QAction *rruff = menu.addAction(tr("RRUFF-Seite im Browser anzeigen"));
    QAction *mindat = menu.addAction(tr("Mindat-Seite im Browser anzeigen"));
    QAction *atlas = menu.addAction(tr("Mineralienatlas-Seite im Browser anzeigen"));
    menu.addSeparator();
    QAction *showPicture = menu.addAction(tr("Erkennungs-Bild anzeigen"));
    QAction *add = menu.addAction(tr("Erkennungs-Bild hinzufügen für %1").arg(name));
    QAction *chosen = menu.exec(m_ui->TViewRaBib->viewport()->mapToGlobal(pos));
    if (chosen == analyse) {
        setSpectrum(m_library->spectrumData(row));
    } else if (chosen == rruff || chosen == mindat || chosen == atlas) {
        openWebPage(row, chosen == rruff ? 0 : chosen == mindat ? 1 : 2);
    } else if (chosen == showPicture) {
        auto *dialog = new DialogShowNicePic(this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setMineral(name);
        dialog->show();
    } else if (chosen == add) {
        if (!m_newPicDialog) {
            m_newPicDialog = new NewMineralPicDialog(parentWidget());
            connect(m_newPicDialog, &NewMineralPicDialog::infoNicePicChanged, m_model,
                    &RamanLibraryModel::picturesChanged);
        }
        m_newPicDialog->setMineral(name);
        m_newPicDialog->show();
    }
}
