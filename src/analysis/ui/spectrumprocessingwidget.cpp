#include "analysis/ui/spectrumprocessingwidget.h"

#include "analysis/ui/analysisexports.h"
#include "analysis/ui/analysisplotview.h"
#include "analysis/ui/correlationparametersdialog.h"
#include "analysis/ui/exportforlibrarydialog.h"
#include "analysis/ui/lcanalysisprogressdialog.h"
#include "analysis/ui/lineeditingcontroller.h"
#include "analysis/ui/lineselectplotcanvas.h"
#include "analysis/ui/mixturesearchdialogs.h"
#include "analysis/ui/resultpanel.h"
#include "library/referencelibrary.h"

#include "ui_spectrumanalysiswidget.h"

#include <QMenu>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>

#include <vector>

SpectrumProcessingWidget::SpectrumProcessingWidget(QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::SpectrumAnalysisWidget>())
{
    m_ui->setupUi(this);
    m_analysis = new SpectrumAnalysis(this);
    m_parametersDialog = new CorrelationParametersDialog(this);
    m_results = new ResultPanel(m_ui.get(), m_analysis, this);
    m_plots = new AnalysisPlotView(m_ui.get(), this);
    m_lines = new LineEditingController(m_ui.get(), m_plots->canvas(), m_analysis, this);
    m_ui->optionsColumn->installEventFilter(this);

    setupActions();
    connectControls();
    m_analysis->configure(controlsFromForm(), searchSettingsFromForm());
    // Sized once the window has its size: the plots get most of the width.
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_ui->leftRightSplitter->setSizes({100, 6000, 1500});
        },
        Qt::QueuedConnection);
}

SpectrumProcessingWidget::~SpectrumProcessingWidget() = default;

void SpectrumProcessingWidget::setupActions()
{
    auto *menu = new QMenu(m_ui->tButtSave);
    menu->addAction(m_ui->actionExportForLibrary);
    menu->addAction(m_ui->actionExportProcessed);
    menu->addAction(m_ui->actionExportRaw);
    menu->addAction(m_ui->actionExportReference);
    menu->addAction(m_ui->actionExportPeaks);
    m_ui->tButtSave->setMenu(menu);
    const auto exportProcessed = [this] {
        AnalysisExports::exportSpectrum(m_analysis->processedNow(), resultText(), m_dataFolder,
                                        this);
    };
    connect(m_ui->tButtSave, &QToolButton::clicked, this, exportProcessed);
    connect(m_ui->actionExportProcessed, &QAction::triggered, this, exportProcessed);
    connect(m_ui->actionExportRaw, &QAction::triggered, this, [this] {
        AnalysisExports::exportSpectrum(m_analysis->sample(), resultText(), m_dataFolder, this);
    });
    connect(m_ui->actionExportReference, &QAction::triggered, this, [this] {
        const QVector<int> rows = m_results->selectedSourceRows();
        if (!rows.isEmpty() && m_library)
            AnalysisExports::exportSpectrum(m_library->spectrumData(rows[0]), resultText(),
                                            m_dataFolder, this);
    });
    connect(m_ui->actionExportPeaks, &QAction::triggered, this, [this] {
        // The lines on the plot; under a search that shows none, the peaks it finds.
        QVector<PeakLine> lines = m_lines->lines();
        if (lines.isEmpty())
            lines = m_analysis->detectedPeakLines();
        AnalysisExports::exportPeakList(lines, resultText(), m_dataFolder, this);
    });
    connect(m_ui->actionExportForLibrary, &QAction::triggered, this,
            [this] { exportSpectrumForLibrary(m_analysis->processedNow(), resultText(), this); });
    connect(m_ui->actionStartLCSearch, &QAction::triggered, this,
            &SpectrumProcessingWidget::startPairSearch);
    connect(m_ui->actionStartMixtureFit, &QAction::triggered, this,
            &SpectrumProcessingWidget::startMixtureFit);
    connect(m_ui->actionShowScatter, &QAction::toggled, this,
            &SpectrumProcessingWidget::updatePlots);

    auto *find = new QShortcut(QKeySequence(QStringLiteral("Ctrl+F")), this);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, m_ui->EditScrollToInput, qOverload<>(&QWidget::setFocus));
    auto *first = new QShortcut(QKeySequence(QStringLiteral("Ctrl+G")), this);
    first->setContext(Qt::WidgetWithChildrenShortcut);
    connect(first, &QShortcut::activated, m_results, &ResultPanel::selectFirstRow);
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
    connect(m_lines, &LineEditingController::controlsChanged, this, recomputeNow);
    connect(m_ui->cBoxBackgroundMethod, qOverload<int>(&QComboBox::currentIndexChanged),
            m_ui->backgroundOptionsStack, &QStackedWidget::setCurrentIndex);
    connect(m_ui->searchMethodCombo, qOverload<int>(&QComboBox::currentIndexChanged),
            m_ui->searchMethodControls, &QStackedWidget::setCurrentIndex);
    for (QPushButton *button :
         {m_ui->buttonEditCorrelationParams, m_ui->buttonEditCorrelationParams2})
        connect(button, &QPushButton::clicked, m_parametersDialog, &QDialog::show);
    connect(m_ui->cBoxAddSpec, &QCheckBox::toggled, this, &SpectrumProcessingWidget::updatePlots);

    connect(m_ui->resultSelectCombo, qOverload<int>(&QComboBox::currentIndexChanged), m_analysis,
            &SpectrumAnalysis::setResultMode);
    connect(m_ui->EditResult, &QLineEdit::textEdited, m_analysis, &SpectrumAnalysis::setResultText);
    connect(m_ui->buttonSaveResults, &QPushButton::clicked, this,
            &SpectrumProcessingWidget::saveRequested);
    connect(m_analysis, &SpectrumAnalysis::changed, this,
            &SpectrumProcessingWidget::onAnalysisChanged);

    connect(m_results, &ResultPanel::selectionChanged, this,
            &SpectrumProcessingWidget::onSelectionChanged);
    connect(m_results, &ResultPanel::filterChanged, this, [this] {
        if (m_ui->actionShowScatter->isChecked())
            updatePlots();
    });
    connect(m_results, &ResultPanel::libraryRowsChanged, m_plots,
            &AnalysisPlotView::forgetReferenceColours);
    connect(m_results, &ResultPanel::manageLibrariesRequested, this,
            &SpectrumProcessingWidget::manageLibrariesRequested);
    connect(m_results, &ResultPanel::analyseRequested, this, [this](int row) {
        if (m_library)
            setSpectrum(m_library->spectrumData(row));
    });
    connect(m_plots, &AnalysisPlotView::redrawNeeded, this, &SpectrumProcessingWidget::updatePlots);
    connect(m_plots, &AnalysisPlotView::rangeSelected, this, [this] {
        if (m_ui->searchMethodCombo->currentIndex() == SearchSettings::Correlation
            && m_ui->cBoxLimitCorrelate->isChecked())
            recompute();
    });
    LineSelectPlotCanvas *canvas = m_plots->canvas();
    connect(canvas, &LineSelectPlotCanvas::fileDroppedOnWidget, this,
            &SpectrumProcessingWidget::fileDroppedOnWidget);
    connect(canvas, &LineSelectPlotCanvas::fileDroppedOnWidget, this,
            &SpectrumProcessingWidget::addReferenceFile);
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
    const QPair<double, double> visible = m_plots->visibleRange();
    s.visibleMinimum = visible.first;
    s.visibleMaximum = visible.second;
    s.ignoreOtherLines = m_ui->cBoxIgnoreOtherLines->isChecked();
    return s;
}

void SpectrumProcessingWidget::recompute()
{
    m_analysis->configure(controlsFromForm(), searchSettingsFromForm());
    if (!m_knownSettings)
        return;
    const AnalysisSettings now = settings();
    if (now != *m_knownSettings) {
        rememberAnalysisSettings(now);
        m_knownSettings = now;
    }
}

void SpectrumProcessingWidget::applySettings(const AnalysisSettings &settings)
{
    const ProcessingControls &c = settings.controls;
    {
        // One recomputation for all of them, below.
        const QObjectList controls = {m_ui->cBoxShowCutVecs,
                                      m_ui->sBoxCmMin,
                                      m_ui->sBoxCmMax,
                                      m_ui->cBoxBinning,
                                      m_ui->smoothOrder,
                                      m_ui->smoothWidth,
                                      m_ui->cBoxSubBg,
                                      m_ui->cBoxBackgroundMethod,
                                      m_ui->cBoxMovePoints,
                                      m_ui->orderSpinBox,
                                      m_ui->cBoxShowBackgroundSeparate,
                                      m_ui->gBoxEnableIdentify,
                                      m_ui->searchMethodCombo,
                                      m_ui->peakSensitivitySlider,
                                      m_ui->cBoxLimitCorrelate,
                                      m_ui->cBoxIgnoreOtherLines};
        const std::vector<QSignalBlocker> blockers(controls.begin(), controls.end());
        m_ui->cBoxShowCutVecs->setChecked(c.cut);
        m_ui->sBoxCmMin->setValue(qRound(c.cutMinimum));
        m_ui->sBoxCmMax->setValue(qRound(c.cutMaximum));
        m_ui->cBoxBinning->setChecked(c.smooth);
        m_ui->smoothOrder->setValue(c.smoothingOrder);
        m_ui->smoothWidth->setValue(c.smoothingWidth);
        m_ui->cBoxSubBg->setChecked(c.subtractBackground);
        m_ui->cBoxBackgroundMethod->setCurrentIndex(c.backgroundMethod);
        m_ui->cBoxMovePoints->setChecked(c.movePoints);
        m_ui->orderSpinBox->setValue(c.splinePoints);
        m_ui->cBoxShowBackgroundSeparate->setChecked(c.showBackgroundSeparate);
        m_ui->gBoxEnableIdentify->setChecked(settings.identify);
        m_ui->searchMethodCombo->setCurrentIndex(settings.searchMethod);
        m_ui->peakSensitivitySlider->setValue(settings.sensitivity);
        m_ui->cBoxLimitCorrelate->setChecked(settings.limitToVisible);
        m_ui->cBoxIgnoreOtherLines->setChecked(settings.ignoreOtherLines);
    }
    m_ui->backgroundOptionsStack->setCurrentIndex(c.backgroundMethod);
    m_ui->searchMethodControls->setCurrentIndex(settings.searchMethod);
    m_analysis->setControlPoints(settings.controlPoints);
    m_analysis->setManualLines(settings.manualLines);
    m_knownSettings = this->settings();
    m_lines->updatePickMode(); // places the restored lines and recomputes
}

AnalysisSettings SpectrumProcessingWidget::settings() const
{
    AnalysisSettings s;
    s.controls = controlsFromForm();
    const SearchSettings search = searchSettingsFromForm();
    s.identify = search.enabled;
    s.searchMethod = search.method;
    s.sensitivity = search.sensitivity;
    s.limitToVisible = search.limitToVisible;
    s.ignoreOtherLines = search.ignoreOtherLines;
    s.controlPoints = m_analysis->controlPoints();
    s.manualLines = m_analysis->manualLines();
    return s;
}

void SpectrumProcessingWidget::setLibrary(std::shared_ptr<const ReferenceLibrary> library,
                                          bool loading)
{
    // The same snapshot again only changes the hint; searching it again would change nothing.
    if (library != m_library) {
        m_library = std::move(library);
        m_analysis->setLibrary(m_library);
    }
    m_results->setLibrary(m_library, loading);
}

void SpectrumProcessingWidget::setSpectrum(const RamanData<Wavenumbers> &spectrum)
{
    m_lines->clearQuietly();
    m_zoomResetPending = true;
    m_analysis->setSpectrum(spectrum);
    m_lines->updatePickMode();
}

LineSelectPlotCanvas *SpectrumProcessingWidget::canvas() const
{
    return m_plots->canvas();
}

void SpectrumProcessingWidget::onAnalysisChanged(SpectrumAnalysis::Changes changes)
{
    if (changes & SpectrumAnalysis::ScoresChanged)
        m_results->showScores();
    if (changes & SpectrumAnalysis::ProcessedChanged) {
        updatePlots();
        m_lines->followProcessing();
        if (m_zoomResetPending && !m_analysis->outcome().processed.isEmpty()) {
            m_zoomResetPending = false;
            m_plots->zoomReset();
        }
    }
    if (changes & SpectrumAnalysis::ResultChanged) {
        if (m_ui->EditResult->text() != m_analysis->resultText())
            m_ui->EditResult->setText(m_analysis->resultText());
        emit resultChanged();
    }
}

void SpectrumProcessingWidget::updatePlots()
{
    AnalysisPlotView::Overlay overlay;
    overlay.library = m_library.get();
    overlay.referenceRows = m_results->selectedSourceRows();
    overlay.histogram = m_ui->actionShowScatter->isChecked() && m_library;
    if (overlay.histogram)
        overlay.histogramLines = m_results->listedMineralLines();
    m_plots->show(m_analysis->outcome(), overlay);
}

void SpectrumProcessingWidget::onSelectionChanged()
{
    m_analysis->setSelectedName(m_results->selectedName());
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
    return m_plots->renderImage();
}

QImage SpectrumProcessingWidget::renderTableImage() const
{
    return m_results->renderImage();
}

int SpectrumProcessingWidget::shownReferenceCount() const
{
    return m_plots->shownReferenceCount();
}

bool SpectrumProcessingWidget::addReferenceFile(const QString &path)
{
    const std::optional<RamanData<Wavenumbers>> spectrum
        = AnalysisExports::readSpectrumFile(path, this);
    if (!spectrum)
        return false;
    m_plots->addFileReference(AnalysisExports::legendTitle(path), *spectrum);
    updatePlots();
    return true;
}

void SpectrumProcessingWidget::setResultStorable(bool storable)
{
    m_ui->buttonSaveResults->setVisible(storable);
    m_ui->buttonSaveResults->setEnabled(storable);
}

bool SpectrumProcessingWidget::eventFilter(QObject *watched, QEvent *event)
{
    // The options scroll on low screens but never get narrower than their content, whose width
    // changes with texts and fonts.
    if (watched == m_ui->optionsColumn && event->type() == QEvent::LayoutRequest)
        m_ui->optionsScrollArea->setMinimumWidth(
            m_ui->optionsColumn->minimumSizeHint().width()
            + m_ui->optionsScrollArea->verticalScrollBar()->sizeHint().width());
    return QWidget::eventFilter(watched, event);
}

void SpectrumProcessingWidget::startPairSearch()
{
    if (!m_library)
        return;
    // Named by the library the analysis searches.
    LCAnalysisProgressDialog *dialog = MixtureSearchDialogs::showPairSearch(
        m_analysis->library() ? m_analysis->library() : m_library,
        m_analysis->startPairSearch(
            m_parametersDialog->parameters(m_ui->peakSensitivitySlider->value())),
        this);
    connect(dialog, &LCAnalysisProgressDialog::idsSelected, m_results, &ResultPanel::selectNumbers);
}

void SpectrumProcessingWidget::startMixtureFit()
{
    if (!m_library)
        return;
    LCAnalysisProgressDialog *dialog
        = MixtureSearchDialogs::showMixtureFit(m_library, m_analysis->startMixtureFit(3), this);
    connect(dialog, &LCAnalysisProgressDialog::idsSelected, m_results, &ResultPanel::selectNumbers);
}
