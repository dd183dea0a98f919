#include "analysis/spectrumanalysis.h"

#include "core/logging.h"
#include "core/parallel.h"
#include "library/identify/search.h"
#include "library/matching/fingerprintmatcher.h"
#include "library/matching/peaksearch.h"
#include "library/referencelibrary.h"
#include "spectrum/goldindeccurves.h"
#include "spectrum/processing.h"
#include "spectrum/splinebaseline.h"

#include <QCoreApplication>
#include <QMutex>
#include <QtConcurrent>

#include <algorithm>
#include <cmath>

// The mineral search prepares every library spectrum; that is done once per library, not once
// per search.
class MineralSearchCache
{
public:
    std::shared_ptr<const MineralSearch> get(const std::shared_ptr<const ReferenceLibrary> &library)
    {
        QMutexLocker locker(&m_mutex);
        if (!m_search || m_library.lock() != library) {
            m_search = MineralSearch::forLibrary(*library);
            m_library = library;
        }
        return m_search;
    }

private:
    QMutex m_mutex;
    std::shared_ptr<const MineralSearch> m_search;
    std::weak_ptr<const ReferenceLibrary> m_library;
};

struct SpectrumAnalysis::Request
{
    quint64 generation = 0;
    std::shared_ptr<const ReferenceLibrary> library;
    std::shared_ptr<MineralSearchCache> mineralSearch;
    RamanData<Wavenumbers> sample;
    ProcessingParameters processing;
    ProcessingParameters beforeBackground;
    bool separateBackground = false;
    SearchSettings search;
    QVector<PeakLine> lines;
};

SpectrumAnalysis::SpectrumAnalysis(QObject *parent)
    : QObject(parent)
    , m_mineralSearch(std::make_shared<MineralSearchCache>())
{
    qRegisterMetaType<SpectrumAnalysis::Changes>();
    connect(&m_watcher, &QFutureWatcher<AnalysisOutcome>::finished, this,
            &SpectrumAnalysis::onRunFinished);
}

// A run still going holds its own copy of the request and finishes unobserved: closing the
// window never waits for a search.
SpectrumAnalysis::~SpectrumAnalysis() = default;

void SpectrumAnalysis::setLibrary(std::shared_ptr<const ReferenceLibrary> library)
{
    m_library = std::move(library);
    m_outcome.scores.clear();
    m_outcome.minerals = {};
    emit changed(ScoresChanged);
    recompute();
}

void SpectrumAnalysis::setSpectrum(const RamanData<Wavenumbers> &spectrum)
{
    m_sample = sanitizedSpectrum(spectrum);
    if (m_sample.size() < 2)
        qCWarning(logUiGeneral) << "spectrum of" << m_sample.size()
                                << "usable points: nothing to process or search";
    m_controlPoints.clear();
    m_manualLines.clear();
    recompute();
}

bool SpectrumAnalysis::hasUsableSample() const
{
    return m_sample.size() >= 2;
}

void SpectrumAnalysis::setControls(const ProcessingControls &controls)
{
    m_controls = controls;
    recompute();
}

void SpectrumAnalysis::setSearchSettings(const SearchSettings &settings)
{
    m_search = settings;
    recompute();
}

void SpectrumAnalysis::configure(const ProcessingControls &controls, const SearchSettings &settings)
{
    m_controls = controls;
    m_search = settings;
    recompute();
}

ProcessingParameters SpectrumAnalysis::processingParameters(bool withBackground) const
{
    return ::processingParameters(m_controls, m_controlPoints, withBackground);
}

void SpectrumAnalysis::setControlPoints(QVector<double> points)
{
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    m_controlPoints = points;
    recompute();
}

void SpectrumAnalysis::setManualLines(const QVector<PeakLine> &lines)
{
    m_manualLines = lines;
    recompute();
}

void SpectrumAnalysis::recompute()
{
    auto request = std::make_unique<Request>();
    request->generation = ++m_generation;
    request->library = m_library;
    request->mineralSearch = m_mineralSearch;
    request->sample = m_sample;
    request->processing = processingParameters(true);
    request->beforeBackground = processingParameters(false);
    request->separateBackground
        = m_controls.subtractBackground && m_controls.showBackgroundSeparate;
    request->search = m_search;
    request->lines = m_manualLines;
    // Only the newest request waits; one that waited before is dropped unseen.
    m_pending = std::move(request);
    if (!m_watcher.isRunning())
        startNext();
}

void SpectrumAnalysis::startNext()
{
    if (!m_pending)
        return;
    const std::shared_ptr<Request> request(m_pending.release());
    m_runningGeneration = request->generation;
    m_runningLibrary = request->library.get();
    m_watcher.setFuture(QtConcurrent::run([request]() { return run(*request); }));
}

bool SpectrumAnalysis::isBusy() const
{
    return m_pending || m_watcher.isRunning() || m_runningGeneration != 0;
}

void SpectrumAnalysis::onRunFinished()
{
    const quint64 generation = m_runningGeneration;
    m_runningGeneration = 0;
    AnalysisOutcome outcome
        = m_watcher.future().resultCount() > 0 ? m_watcher.result() : AnalysisOutcome();
    startNext();
    if (generation != m_generation)
        return; // superseded while it ran
    if (outcome.searched)
        qCDebug(logUiGeneral) << "analysis took" << outcome.milliseconds << "ms";
    if (m_runningLibrary != m_library.get())
        outcome.scores.clear(); // another library came meanwhile; its own run follows
    const bool scoresChanged = outcome.scores != m_outcome.scores || outcome.searched;
    m_outcome = std::move(outcome);
    Changes changes = ProcessedChanged;
    if (scoresChanged)
        changes |= ScoresChanged;
    updateResultText(changes);
}

AnalysisOutcome SpectrumAnalysis::run(const Request &request)
{
    QElapsedTimer timer;
    timer.start();
    AnalysisOutcome out;
    if (request.sample.size() < 2)
        return out;
    const QString curvesFolder = requestedGoldindecCurvesFolder();
    GoldindecCurves curves;
    // Processed once: the spectrum drawn is the one searched.
    const SearchQuery query = SearchQuery::fromSpectrum(request.sample, request.processing,
                                                        curvesFolder.isEmpty() ? nullptr : &curves);
    out.processed = query.normalizedAs(request.processing);
    writeGoldindecCurves(curves, curvesFolder);
    if (request.separateBackground) {
        out.beforeBackground
            = processed(request.sample.resampled(analysisGridStep), request.beforeBackground);
        if (out.beforeBackground.size() == out.processed.size()) {
            out.background = out.beforeBackground;
            for (int i = 0; i < out.background.y.size(); ++i)
                out.background.y[i] -= out.processed.y[i];
        }
    }
    const SearchSettings &search = request.search;
    if (search.method == SearchSettings::PeakDetection && out.processed.size() > 1) {
        double maximum = 0;
        const RamanData<Wavenumbers> normalized = out.processed.normalizedToMaximum(&maximum);
        if (std::isfinite(maximum) && maximum > 0) {
            for (const FingerprintPeak &peak :
                 buildFingerprint(normalized, search.parameters).peaks)
                out.autoLines.append(peak.position);
            std::sort(out.autoLines.begin(), out.autoLines.end());
        }
    }
    const ReferenceLibrary *library = request.library.get();
    if (!search.enabled || !library)
        return out;
    if (out.processed.size() < 2) {
        qCWarning(logUiGeneral) << "nothing left of the spectrum after processing, not searching";
        return out;
    }
    if (library->count() == 0) {
        // Usual before any library is set up; the result table says so.
        qCDebug(logUiGeneral) << "the reference library holds no spectra, not searching";
        return out;
    }
    out.searched = true;
    SearchParameters parameters;
    parameters.fingerprint = search.parameters;
    SearchMethod method = SearchMethod::Fingerprint;
    std::shared_ptr<const MineralSearch> minerals;
    if (search.method == SearchSettings::ManualLines) {
        if (request.lines.isEmpty())
            return out;
        method = search.ignoreOtherLines ? SearchMethod::LinesOnly : SearchMethod::Lines;
        parameters.lines = linesFingerprint(request.lines, out.processed.x.constFirst(),
                                            out.processed.x.constLast());
    } else if (search.method == SearchSettings::Minerals) {
        method = SearchMethod::Mineral;
        minerals = request.mineralSearch->get(request.library);
    } else if (search.method == SearchSettings::Correlation) {
        method = SearchMethod::Correlation;
        if (search.limitToVisible) {
            parameters.visibleMinimum = search.visibleMinimum;
            parameters.visibleMaximum = search.visibleMaximum;
        }
    }
    SearchResult found = searchLibrary(*library, method, query, parameters, minerals.get());
    out.scores = std::move(found.scores);
    out.minerals = std::move(found.minerals);
    if (method == SearchMethod::Mineral)
        out.group = groupAnswer(out.minerals);
    out.milliseconds = timer.elapsed();
    return out;
}

QFuture<QVector<MixtureFit>> SpectrumAnalysis::startMixtureFit(int components) const
{
    const RamanData<Wavenumbers> sample = hasUsableSample() ? m_sample : RamanData<Wavenumbers>();
    return QtConcurrent::run([library = m_library, cache = m_mineralSearch, sample,
                              processing = processingParameters(true),
                              fingerprint = m_search.parameters, components] {
        if (!library || sample.isEmpty() || library->count() == 0)
            return QVector<MixtureFit>();
        const std::shared_ptr<const MineralSearch> search = cache->get(library);
        const SearchQuery query = SearchQuery::fromSpectrum(sample, processing);
        SearchParameters parameters;
        parameters.fingerprint = fingerprint;
        QVector<MixtureFit> fits;
        for (parameters.components = 2; parameters.components <= components;
             ++parameters.components) {
            const SearchResult found = searchLibrary(*library, SearchMethod::MixtureFit, query,
                                                     parameters, search.get());
            fits += found.mixtures;
            if (!found.problem.isEmpty()) {
                qCWarning(logUiGeneral) << "mixture fit not possible:" << found.problem;
                break;
            }
        }
        return fits;
    });
}

QFuture<QVector<LinearCombinationResult>>
SpectrumAnalysis::startPairSearch(const FingerprintParameters &parameters) const
{
    SearchParameters search;
    search.fingerprint = parameters;
    return ::startPairSearch(m_library ? m_library : ReferenceLibrary::empty(),
                             hasUsableSample() ? m_sample : RamanData<Wavenumbers>(),
                             processingParameters(true), search);
}

SpectrumFingerprint SpectrumAnalysis::linesFingerprint(const QVector<PeakLine> &lines,
                                                       double xFirst, double xLast)
{
    SpectrumFingerprint fingerprint;
    fingerprint.xFirst = xFirst;
    fingerprint.xLast = xLast;
    for (const PeakLine &line : lines) {
        FingerprintPeak peak;
        peak.position = line.wavenumber;
        peak.width = -1.0f; // unknown: width ratios count as perfect
        peak.height
            = std::isfinite(line.amplitude) && line.amplitude > 0 ? float(line.amplitude) : 1.0f;
        peak.weight = 1.0f;
        fingerprint.peaks.append(peak);
    }
    return fingerprint;
}

RamanData<Wavenumbers> SpectrumAnalysis::processedNow() const
{
    if (!isBusy())
        return m_outcome.processed;
    if (m_sample.size() < 2)
        return {};
    return processed(m_sample.resampled(analysisGridStep), processingParameters(true));
}

QVector<double> SpectrumAnalysis::automaticSupportPoints() const
{
    if (m_sample.size() < 2)
        return {};
    const RamanData<Wavenumbers> before
        = processed(m_sample.resampled(analysisGridStep), processingParameters(false));
    return splineSupportPositions(before.x, before.y,
                                  unsigned(std::max(m_controls.splinePoints, 1)));
}

QVector<PeakLine> SpectrumAnalysis::detectedPeakLines() const
{
    const RamanData<Wavenumbers> current = processedNow();
    double maximum = 0;
    const RamanData<Wavenumbers> normalized = current.normalizedToMaximum(&maximum);
    if (current.size() < 2 || !std::isfinite(maximum) || maximum <= 0)
        return {};
    QVector<PeakLine> lines;
    for (const FingerprintPeak &peak : buildFingerprint(normalized, m_search.parameters).peaks)
        lines.append({peak.position, peak.height});
    std::sort(lines.begin(), lines.end(),
              [](const PeakLine &a, const PeakLine &b) { return a.wavenumber < b.wavenumber; });
    return lines;
}

QVector<double> SpectrumAnalysis::detectPeaks() const
{
    QVector<double> positions;
    for (const PeakLine &line : detectedPeakLines())
        positions.append(line.wavenumber);
    return positions;
}

void SpectrumAnalysis::setResultMode(int mode)
{
    m_resultMode = mode;
    updateResultText(ResultChanged);
}

void SpectrumAnalysis::setResultText(const QString &text)
{
    if (text == m_resultText)
        return;
    m_resultText = text;
    emit changed(ResultChanged);
}

void SpectrumAnalysis::setSelectedName(const QString &name)
{
    m_selectedName = name;
    updateResultText(ResultChanged);
}

void SpectrumAnalysis::updateResultText(Changes changes)
{
    QString text = m_resultText;
    switch (m_resultMode) {
    case AutomaticSuggestion:
        text = bestName();
        break;
    case ManualSelection:
        text = m_selectedName;
        break;
    case NotIdentified:
        text = QCoreApplication::translate("SpectrumAnalysisWidget", "nicht identifizierbar");
        break;
    default:
        break;
    }
    if (text != m_resultText) {
        m_resultText = text;
        changes |= ResultChanged;
    }
    emit changed(changes);
}

int SpectrumAnalysis::bestIndex() const
{
    // The mineral search's answer may score less than the next mineral (close leaders ordered by
    // their distinguishing bands).
    const QVector<MineralHit> &minerals = m_outcome.minerals.minerals;
    if (!minerals.isEmpty() && minerals.constFirst().spectrum < m_outcome.scores.size())
        return minerals.constFirst().spectrum;
    int best = -1;
    for (int i = 0; i < m_outcome.scores.size(); ++i) {
        const double score = m_outcome.scores[i];
        if (std::isfinite(score) && score >= 0 && (best < 0 || score > m_outcome.scores[best]))
            best = i;
    }
    return best;
}

double SpectrumAnalysis::bestScore() const
{
    const int best = bestIndex();
    return best >= 0 ? m_outcome.scores[best] : 0.0;
}

QString SpectrumAnalysis::bestName() const
{
    const int best = bestIndex();
    return best >= 0 && m_library ? m_library->info(best).name : QString();
}
