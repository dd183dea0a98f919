#include "library/identify/search.h"

#include "core/logging.h"
#include "core/parallel.h"
#include "library/matching/peaksearch.h"
#include "library/referencelibrary.h"
#include "spectrum/processing.h"

#include <QFutureInterface>
#include <QThread>
#include <QThreadPool>

#include <numeric>

SearchQuery SearchQuery::fromSpectrum(const RamanData<Wavenumbers> &spectrum,
                                      const ProcessingParameters &processing,
                                      GoldindecCurves *curves)
{
    SearchQuery query;
    query.measured = spectrum;
    if (!spectrum.isEmpty() && spectrum.size() >= 0)
        query.processed
            = ::processed(spectrum.resampled(librarySearchStep), unnormalized(processing), curves);
    return query;
}

ProcessingParameters SearchQuery::unnormalized(ProcessingParameters processing)
{
    processing.steps &= ~quint32(Normalize | NormalizeToMaximum);
    return processing;
}

RamanData<Wavenumbers> SearchQuery::normalizedAs(const ProcessingParameters &processing) const
{
    // As the last steps of the processing do it.
    RamanData<Wavenumbers> result = processed;
    if (result.isEmpty())
        return result;
    if (processing.has(Normalize))
        result = result.normalized();
    if (processing.has(NormalizeToMaximum))
        result = result.normalizedToMaximum();
    return result;
}

QFuture<QVector<LinearCombinationResult>>
startPairSearch(std::shared_ptr<const ReferenceLibrary> library, RamanData<Wavenumbers> spectrum,
                ProcessingParameters processing, SearchParameters parameters)
{
    using Pairs = QVector<LinearCombinationResult>;
    auto search = std::make_shared<QFutureInterface<Pairs>>();
    search->reportStarted();
    search->setProgressRange(0, library->count());
    QThreadPool::globalInstance()->start([=]() mutable {
        parameters.progress = [search](int value, int maximum) {
            search->setProgressRange(0, maximum);
            search->setProgressValue(value);
            return !search->isCanceled();
        };
        const SearchResult found
            = searchLibrary(*library, SearchMethod::Pairs,
                            SearchQuery::fromSpectrum(spectrum, processing), parameters);
        if (!search->isCanceled()) {
            search->setProgressValue(library->count());
            search->reportResult(found.pairs);
        }
        search->reportFinished();
    });
    return search->future();
}

bool looksTooNoisyForBands(const RamanData<Wavenumbers> &measured)
{
    const SpectrumFingerprint fingerprint
        = buildFingerprint(measured.normalizedToMaximum(), FingerprintParameters());
    if (fingerprint.peaks.isEmpty())
        return true;
    const double mean
        = std::accumulate(measured.y.cbegin(), measured.y.cend(), 0.0) / measured.y.size();
    return 20.0 * fingerprint.noise > mean;
}

namespace {

QVector<double> linesOnlyScores(const ReferenceLibrary &library, const SpectrumFingerprint &lines,
                                FingerprintParameters parameters)
{
    // Each reference takes the measured side, so its unmatched lines are the ones left out;
    // picked lines it lacks still count against it.
    parameters.ignoreUnmatchedMeasured = true;
    QVector<double> scores(library.count());
    forSlices(library.count(), 512, [&](int begin, int end) {
        for (int i = begin; i < end; ++i)
            scores[i] = matchFingerprints(library.fingerprints().at(i), lines, parameters);
    });
    return scores;
}

QVector<LinearCombinationResult> pairSearch(const ReferenceLibrary &library,
                                            const SpectrumFingerprint &measured,
                                            const SearchParameters &options)
{
    QFuture<QVector<LinearCombinationResult>> search
        = library.startCombinationSearch(measured, options.fingerprint);
    // Called on the pool, this task lends its thread to the search meanwhile.
    waitingOnPool([&] {
        while (options.progress && !search.isFinished()) {
            QThread::msleep(100);
            if (!options.progress(search.progressValue(), search.progressMaximum())) {
                search.cancel();
                break;
            }
        }
        search.waitForFinished();
        return 0;
    });
    return search.isCanceled() ? QVector<LinearCombinationResult>()
                               : distinctPairs(search.result(), library.infos());
}

} // namespace

SearchResult searchLibrary(const ReferenceLibrary &library, SearchMethod method,
                           const SearchQuery &query, const SearchParameters &options,
                           const MineralSearch *minerals)
{
    SearchResult result;
    const auto refuse = [&result](const QString &why) {
        qCWarning(logDataAlgorithms) << "search skipped:" << why;
        result.problem = why;
        return result;
    };
    if (library.count() == 0)
        return refuse(QStringLiteral("the library holds no spectra"));
    const bool spectrumMethod = method != SearchMethod::Lines && method != SearchMethod::LinesOnly;
    if (spectrumMethod && (query.measured.isEmpty() || query.measured.size() < 0))
        return refuse(QStringLiteral("there is no spectrum to search"));
    if (method == SearchMethod::Automatic)
        method = looksTooNoisyForBands(query.measured) ? SearchMethod::Correlation
                                                       : SearchMethod::Fingerprint;

    std::shared_ptr<const MineralSearch> built;
    if (!minerals && (method == SearchMethod::Mineral || method == SearchMethod::MixtureFit)) {
        built = MineralSearch::forLibrary(library);
        minerals = built.get();
    }
    switch (method) {
    case SearchMethod::Automatic:
    case SearchMethod::Fingerprint:
    case SearchMethod::Pairs: {
        const SpectrumFingerprint measured
            = buildFingerprint(query.processed.normalizedToMaximum(), options.fingerprint);
        if (method == SearchMethod::Pairs && measured.peaks.isEmpty())
            return refuse(QStringLiteral("the spectrum has no peaks to search for"));
        if (!measured.isValid())
            return refuse(QStringLiteral("nothing is left of the spectrum after processing"));
        if (method == SearchMethod::Pairs) {
            result.pairs = pairSearch(library, measured, options);
        } else {
            result.scores = library.fingerprintScores(measured, options.fingerprint);
        }
        break;
    }
    case SearchMethod::Correlation: {
        RamanData<Wavenumbers> prepared = query.processed;
        if (options.visibleMinimum < options.visibleMaximum)
            prepared.cut(options.visibleMinimum, options.visibleMaximum);
        prepared = prepared.normalized();
        if (prepared.isEmpty())
            return refuse(QStringLiteral("nothing is left of the spectrum after processing"));
        result.scores = library.correlations(prepared);
        break;
    }
    case SearchMethod::Lines:
    case SearchMethod::LinesOnly:
        if (!options.lines.isValid() || options.lines.peaks.isEmpty())
            return refuse(QStringLiteral("no lines are picked"));
        result.scores = method == SearchMethod::Lines
                            ? library.fingerprintScores(options.lines, options.fingerprint)
                            : linesOnlyScores(library, options.lines, options.fingerprint);
        break;
    case SearchMethod::Mineral:
        result.minerals = minerals->identify(query, options.fingerprint);
        result.problem = result.minerals.problem;
        if (result.problem.isEmpty()) {
            result.scores.fill(-1.0, library.count());
            for (const MineralHit &hit : qAsConst(result.minerals.minerals))
                result.scores[hit.spectrum] = hit.score;
        }
        break;
    case SearchMethod::MixtureFit: {
        MixtureFitParameters parameters;
        parameters.components = options.components;
        parameters.results = options.results;
        result.mixtures
            = fitMixtures(*minerals, library, minerals->prepare(query, options.fingerprint),
                          options.fingerprint, parameters, &result.problem);
        break;
    }
    }
    return result;
}
