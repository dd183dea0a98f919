#pragma once

#include "analysis/analysisfunctions.h"
#include "library/combinationsearch.h"
#include "library/identify/groupanswer.h"
#include "library/identify/mineralsearch.h"
#include "library/identify/mixturefit.h"
#include "library/matching/fingerprint.h"
#include "spectrum/ramandata.h"

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QObject>
#include <QVector>

#include <memory>

class ReferenceLibrary;
class MineralSearchCache;

// The search the user chose.
struct SearchSettings
{
    enum Method { PeakDetection = 0, Correlation = 1, ManualLines = 2, Minerals = 3 };

    bool enabled = true;
    int method = PeakDetection;
    int sensitivity = -1; // the peak-width slider
    FingerprintParameters parameters;
    // Correlation only: search the visible x range only.
    bool limitToVisible = false;
    double visibleMinimum = 0;
    double visibleMaximum = 0;
    // Manual lines only: reference lines that were not picked do not lower a score.
    bool ignoreOtherLines = false;
};

// What one recomputation produced; all curves are empty for an unusable spectrum.
struct AnalysisOutcome
{
    RamanData<Wavenumbers> processed;        // re-binned and processed, not normalised
    RamanData<Wavenumbers> background;       // removed background, when it is shown separately
    RamanData<Wavenumbers> beforeBackground; // processed without background removal
    QVector<double> autoLines;               // peaks of the processed spectrum (peak detection)
    QVector<double> scores;                  // per library spectrum; empty without a search
    // Minerals search only: the ranked minerals with the answer's confidence. Each mineral's
    // best spectrum carries its score in `scores`, every other spectrum -1.
    MineralIdentification minerals;
    GroupAnswer group; // the same answer at the level of the structural group
    bool searched = false;
    qint64 milliseconds = 0;
};

// The headless state of one analysis: sample, processing controls, manual control points and
// lines, the last search and the final result. Processing and search run on copies in the global
// thread pool; a newer request supersedes the one waiting, and the result of a superseded run is
// dropped. Everything is announced through changed().
class SpectrumAnalysis : public QObject
{
    Q_OBJECT

public:
    enum Change {
        ProcessedChanged = 1, // processed curves and automatic lines
        ScoresChanged = 2,
        ResultChanged = 4, // final result text or mode
    };
    Q_DECLARE_FLAGS(Changes, Change)

    enum ResultMode {
        AutomaticSuggestion = 0,
        ManualSelection = 1,
        CustomName = 2,
        NotIdentified = 3
    };

    explicit SpectrumAnalysis(QObject *parent = nullptr);
    ~SpectrumAnalysis() override;

    // The library searched from now on; the scores index into it.
    void setLibrary(std::shared_ptr<const ReferenceLibrary> library);
    std::shared_ptr<const ReferenceLibrary> library() const { return m_library; }
    // Keeps the usable points; clears lines and control points; recomputes.
    void setSpectrum(const RamanData<Wavenumbers> &spectrum);
    const RamanData<Wavenumbers> &sample() const { return m_sample; }
    bool hasUsableSample() const;

    void setControls(const ProcessingControls &controls);
    const ProcessingControls &controls() const { return m_controls; }
    void setSearchSettings(const SearchSettings &settings);
    // Both at once, with one recomputation.
    void configure(const ProcessingControls &controls, const SearchSettings &settings);
    const SearchSettings &searchSettings() const { return m_search; }
    ProcessingParameters processingParameters(bool withBackground = true) const;

    void setControlPoints(QVector<double> points); // sorted, distinct
    const QVector<double> &controlPoints() const { return m_controlPoints; }
    // Manual lines with their relative amplitudes (for the search's peak heights).
    void setManualLines(const QVector<PeakLine> &lines);
    const QVector<PeakLine> &manualLines() const { return m_manualLines; }

    // Starts processing and search again (superseding any waiting request).
    void recompute();
    // Until the newest request's outcome is announced through changed().
    bool isBusy() const;

    const AnalysisOutcome &outcome() const { return m_outcome; }
    // The processed sample now, computed on this thread when the cached one is stale.
    RamanData<Wavenumbers> processedNow() const;
    // Support points the automatic spline would choose on the spectrum before background removal.
    QVector<double> automaticSupportPoints() const;
    // Peaks of the processed spectrum normalised to its maximum, with the slider's widths, by
    // position; their heights relative to the maximum.
    QVector<double> detectPeaks() const;
    QVector<PeakLine> detectedPeakLines() const;

    // Final result.
    void setResultMode(int mode);
    int resultMode() const { return m_resultMode; }
    void setResultText(const QString &text);
    QString resultText() const { return m_resultText; }
    // The name of the first selected reference (for ManualSelection).
    void setSelectedName(const QString &name);
    // Best-scoring reference of the last search: index and score; -1 / 0 without one.
    int bestIndex() const;
    double bestScore() const;
    QString bestName() const;
    QString selectedName() const { return m_selectedName; }

    // Fits the sample as mixes of two up to `components` (2 or 3) library spectra on the pool,
    // pairs first. Empty when there is no library or the sample cannot be searched.
    QFuture<QVector<MixtureFit>> startMixtureFit(int components) const;
    // The two-mineral search of the sample on the pool, with its progress.
    QFuture<QVector<LinearCombinationResult>>
    startPairSearch(const FingerprintParameters &parameters) const;

    // The measured fingerprint of the manual lines (positions, relative heights, unit weights).
    static SpectrumFingerprint linesFingerprint(const QVector<PeakLine> &lines, double xFirst,
                                                double xLast);

signals:
    void changed(SpectrumAnalysis::Changes changes);

private:
    struct Request;
    static AnalysisOutcome run(const Request &request);
    void startNext();
    void onRunFinished();
    void updateResultText(Changes changes);

    std::shared_ptr<const ReferenceLibrary> m_library;
    RamanData<Wavenumbers> m_sample;
    ProcessingControls m_controls;
    SearchSettings m_search;
    QVector<double> m_controlPoints;
    QVector<PeakLine> m_manualLines;

    AnalysisOutcome m_outcome;
    QFutureWatcher<AnalysisOutcome> m_watcher;
    std::unique_ptr<Request> m_pending;
    quint64 m_generation = 0;                           // of the latest request
    quint64 m_runningGeneration = 0;                    // of the run in the pool
    const ReferenceLibrary *m_runningLibrary = nullptr; // what the run in the pool searches
    // Built once per library state on the first mineral search; shared with running searches.
    std::shared_ptr<MineralSearchCache> m_mineralSearch;

    int m_resultMode = AutomaticSuggestion;
    QString m_resultText;
    QString m_selectedName;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(SpectrumAnalysis::Changes)
Q_DECLARE_METATYPE(SpectrumAnalysis::Changes)
