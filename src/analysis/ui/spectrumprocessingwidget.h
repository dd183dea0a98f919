#pragma once

#include "analysis/spectrumanalysis.h"

#include <QHash>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

class CorrelationParametersDialog;
class LineSelectPlotCanvas;
class MineralSortFilterProxyModel;
class NewMineralPicDialog;
class QwtPlotCurve;
class QwtPlotHistogram;
class RamanLibraryModel;
class LibraryLoader;
class ReferenceLibrary;

namespace Ui {
class SpectrumAnalysisWidget;
}

// The analysis workspace for one spectrum: processing controls, the plots with line picking, the
// library search with its result table, the final result and the exports. It shows and edits a
// SpectrumAnalysis, which does the work.
class SpectrumProcessingWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SpectrumProcessingWidget(QWidget *parent = nullptr);
    ~SpectrumProcessingWidget() override;

    // Searches the loader's library, and each one it loads later.
    void setLibrary(std::shared_ptr<LibraryLoader> loader);
    void setSpectrum(const RamanData<Wavenumbers> &spectrum);

    SpectrumAnalysis *analysis() const { return m_analysis; }
    LineSelectPlotCanvas *canvas() const { return m_canvas; }
    // The final result: the selector's index (SpectrumAnalysis::ResultMode) and the text.
    int resultSelection() const;
    QString resultText() const;
    // The main plot with its lines as a 2048 x 1152 picture.
    QImage renderPlotImage() const;
    QImage renderTableImage() const;
    // Number of references drawn over the sample (library spectra and spectrum files).
    int shownReferenceCount() const { return m_referenceCurves.size(); }
    // Draws the spectrum in the file at `path` over the sample, titled with the file name, so a
    // user can compare a spectrum from another instrument; a file that cannot be read is refused
    // with a message and false.
    bool addReferenceFile(const QString &path);
    // A spectrum file the user picked, in any format the program reads; one that cannot be read
    // or holds no positive intensity is refused with a message over `parent` naming the file.
    static std::optional<RamanData<Wavenumbers>> readSpectrumFile(const QString &path,
                                                                  QWidget *parent);
    // Offers storing the final result (the default); off for spectra outside any measurement.
    void setResultStorable(bool storable);

signals:
    void saveRequested();
    void resultChanged();
    void fileDroppedOnWidget(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    void zoomReset();
    void setAutoAdjustY(bool autoAdjust);
    void zoomResetPreview();
    void zoomResetMain();

private slots:
    void setupSplitters();
    void updateRowCountDisplay();
    void exportSampleSpectrum();
    void exportForLibrary();
    void exportPeaksList();
    QString suggestedExportPath(const QString &pattern) const;
    void showNoLibraryHint(bool show);
    void updateSort();
    void updateYAxisScale(double xMin, double xMax);
    void updateLinePickMode();
    void updateLineSnapMode();
    void handleLinesChanged();
    void sampleInfoPictureMenuRequested(QPoint pos);
    void doZoomContextMenu(QPoint pos);

private:
    void setupPlots();
    void setupActions();
    void connectControls();
    ProcessingControls controlsFromForm() const;
    SearchSettings searchSettingsFromForm() const;
    void recompute();
    void applySearchSettings();
    void onAnalysisChanged(SpectrumAnalysis::Changes changes);
    void updatePlots();
    void placeAutoLines(const QVector<double> &lines);
    bool editingControlPoints() const;
    void applyFilter();
    void reloadLibraryModel();
    void onResultSelectorChanged(int index);
    void onSelectionChanged();
    void onRangeSelected(const QRectF &rect);
    void selectFirstRow();
    void startCombinationSearch();
    void startMixtureFit();
    void selectNumbers(const QStringList &numbers);
    QVector<int> selectedSourceRows() const;
    void openWebPage(int sourceRow, int site);
    QVector<PeakLine> canvasLines() const;

    std::unique_ptr<Ui::SpectrumAnalysisWidget> m_ui;
    SpectrumAnalysis *m_analysis = nullptr;
    std::shared_ptr<LibraryLoader> m_loader;
    std::shared_ptr<const ReferenceLibrary> m_library; // the one the table and the scores show
    RamanLibraryModel *m_model = nullptr;
    MineralSortFilterProxyModel *m_proxy = nullptr;
    CorrelationParametersDialog *m_parametersDialog = nullptr;
    QPointer<NewMineralPicDialog> m_newPicDialog;
    QWidget *m_noLibraryHint = nullptr; // over the result table while no library is set up
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
    bool m_zoomResetPending = false;
};
