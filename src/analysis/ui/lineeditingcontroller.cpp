#include "analysis/ui/lineeditingcontroller.h"

#include "analysis/spectrumanalysis.h"
#include "analysis/ui/lineselectplotcanvas.h"

#include "ui_spectrumanalysiswidget.h"

#include <algorithm>

LineEditingController::LineEditingController(Ui::SpectrumAnalysisWidget *ui,
                                             LineSelectPlotCanvas *canvas,
                                             SpectrumAnalysis *analysis, QObject *parent)
    : QObject(parent)
    , m_ui(ui)
    , m_canvas(canvas)
    , m_analysis(analysis)
{
    const auto pickMode = [this] { updatePickMode(); };
    connect(m_ui->cBoxBackgroundMethod, qOverload<int>(&QComboBox::currentIndexChanged), this,
            pickMode);
    connect(m_ui->searchMethodCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            pickMode);
    connect(m_ui->peakSensitivitySlider, &QSlider::valueChanged, this, pickMode);
    connect(m_ui->cBoxShowAutoLines, &QCheckBox::toggled, this, pickMode);
    connect(m_ui->buttonEditControlPoints, &QPushButton::toggled, this, pickMode);
    connect(m_ui->buttonResetControlPoints, &QPushButton::clicked, this, [this] {
        m_analysis->setControlPoints({});
        updatePickMode();
    });
    connect(m_ui->buttonAutoLines, &QPushButton::clicked, this, [this] {
        emit controlsChanged();
        placeAutoLines(m_analysis->detectPeaks());
        linesEdited();
    });
    connect(m_ui->buttonClearLines, &QPushButton::clicked, m_canvas,
            &LineSelectPlotCanvas::clearLines);
    connect(m_ui->cBoxEnableSnapping, &QCheckBox::toggled, this,
            &LineEditingController::updateSnapMode);
    connect(m_canvas, &LineSelectPlotCanvas::linesChanged, this,
            &LineEditingController::linesEdited);
}

bool LineEditingController::editingControlPoints() const
{
    return m_ui->cBoxBackgroundMethod->currentIndex() == ProcessingControls::ManualSplines
           && m_ui->buttonEditControlPoints->isChecked();
}

QVector<PeakLine> LineEditingController::lines() const
{
    QVector<PeakLine> lines;
    for (const SpectrumLineMarker *marker : m_canvas->lines())
        lines.append({marker->wavenumber(), marker->relativeAmplitude()});
    std::sort(lines.begin(), lines.end(),
              [](const PeakLine &a, const PeakLine &b) { return a.wavenumber < b.wavenumber; });
    return lines;
}

void LineEditingController::clearQuietly()
{
    const bool blocked = m_canvas->blockSignals(true);
    m_canvas->clearLines();
    m_canvas->blockSignals(blocked);
}

void LineEditingController::followProcessing()
{
    m_canvas->latchLinesToNewYValues();
    if (!editingControlPoints()
        && m_ui->searchMethodCombo->currentIndex() == SearchSettings::PeakDetection
        && m_ui->cBoxShowAutoLines->isChecked())
        placeAutoLines(m_analysis->outcome().autoLines);
}

void LineEditingController::placeAutoLines(const QVector<double> &lines)
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
    updateSnapMode();
}

void LineEditingController::updateSnapMode()
{
    if (editingControlPoints())
        m_canvas->setSnapMode(SpectrumLineMarker::SnapToMinimum);
    else
        m_canvas->setSnapMode(m_ui->cBoxEnableSnapping->isChecked()
                                  ? SpectrumLineMarker::SnapToMaximum
                                  : SpectrumLineMarker::NoSnapping);
}

void LineEditingController::updatePickMode()
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
    emit controlsChanged();
    updateSnapMode();
}

void LineEditingController::linesEdited()
{
    const QVector<PeakLine> edited = lines();
    if (editingControlPoints()) {
        QVector<double> positions;
        for (const PeakLine &line : edited)
            positions.append(line.wavenumber);
        m_analysis->setControlPoints(positions);
    } else if (m_ui->searchMethodCombo->currentIndex() == SearchSettings::ManualLines) {
        m_analysis->setManualLines(edited);
    }
}
