#pragma once

#include "analysis/analysissettings.h"
#include "analysis/spectrumanalysis.h"

#include <QImage>
#include <QWidget>

#include <memory>
#include <optional>

class AnalysisPlotView;
class CorrelationParametersDialog;
class LineEditingController;
class LineSelectPlotCanvas;
class ReferenceLibrary;
class ResultPanel;

namespace Ui {
class SpectrumAnalysisWidget;
}

// The analysis workspace for one spectrum: processing and search controls beside the plots
// (AnalysisPlotView), the lines picked on them (LineEditingController), the library result table
// (ResultPanel), the final result, the exports and the mixture searches. It wires them to a
// SpectrumAnalysis, which does the work.
class SpectrumProcessingWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SpectrumProcessingWidget(QWidget *parent = nullptr);
    ~SpectrumProcessingWidget() override;

    // Searches `library` from now on; `loading` says a first library is still on its way.
    void setLibrary(std::shared_ptr<const ReferenceLibrary> library, bool loading = false);
    void setSpectrum(const RamanData<Wavenumbers> &spectrum);
    // Shows and uses `settings`; from then on, what the user changes becomes the user's last
    // settings.
    void applySettings(const AnalysisSettings &settings);
    AnalysisSettings settings() const;

    SpectrumAnalysis *analysis() const { return m_analysis; }
    LineSelectPlotCanvas *canvas() const;
    // The final result: the selector's index (SpectrumAnalysis::ResultMode) and the text.
    int resultSelection() const;
    QString resultText() const;
    // The main plot with its lines as a 2048 x 1152 picture.
    QImage renderPlotImage() const;
    QImage renderTableImage() const;
    // Number of references drawn over the sample (library spectra and spectrum files).
    int shownReferenceCount() const;
    // Draws the spectrum in the file at `path` over the sample, titled with the file name, so a
    // user can compare a spectrum from another instrument; a file that cannot be read is refused
    // with a message and false.
    bool addReferenceFile(const QString &path);
    // Offers storing the final result (the default); off for spectra outside any measurement.
    void setResultStorable(bool storable);
    // Where the exports are proposed: the measurement's folder, or the spectrum file's.
    void setDataFolder(const QString &folder) { m_dataFolder = folder; }

signals:
    void saveRequested();
    void resultChanged();
    void fileDroppedOnWidget(const QString &path);
    // The user asked to set up the reference libraries (the owner of the libraries answers).
    void manageLibrariesRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupActions();
    void connectControls();
    ProcessingControls controlsFromForm() const;
    SearchSettings searchSettingsFromForm() const;
    void recompute();
    void onAnalysisChanged(SpectrumAnalysis::Changes changes);
    void updatePlots();
    void onSelectionChanged();
    void startPairSearch();
    void startMixtureFit();

    std::unique_ptr<Ui::SpectrumAnalysisWidget> m_ui;
    SpectrumAnalysis *m_analysis = nullptr;
    std::shared_ptr<const ReferenceLibrary> m_library; // the one the table and the scores show
    CorrelationParametersDialog *m_parametersDialog = nullptr;
    AnalysisPlotView *m_plots = nullptr;
    LineEditingController *m_lines = nullptr;
    ResultPanel *m_results = nullptr;
    bool m_zoomResetPending = false;
    std::optional<AnalysisSettings> m_knownSettings; // as applied or last remembered
    QString m_dataFolder;
};
