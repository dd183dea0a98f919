// Identification quality on the shared RRUFF data with the settings a fresh analysis starts with:
// top-1/top-5 hit rates of the fingerprint and correlation searches, two references (plain cosine,
// cosine of square-root intensities) and the mineral search, on queries/ against library/,
// leave-one-sample-out on loo/ and five folds by sample on rruff-full/; the mineral search's
// confidence; mixtures of library spectra for the two-mineral search and the mixture fit; the time
// of one mineral search and one mixture fit on one core over a library of perturbed copies of the
// real library spectra.
//   bench_identification [--tune] [--folds K] [--library-size N] [--mixtures N] [--pair-search N]
#include "library/identify/search.h"
#include "library/identify/searchevaluation.h"
#include "library/matching/peaksearch.h"
#include "librarycopy.h"
#include "spectrum/spectrumfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QSet>
#include <QTemporaryDir>
#include <QThreadPool>

#include <cstdio>

namespace {

// The reference a Python user writes: every spectrum on the search grid, zero outside its range,
// square roots of the intensities (negative ones as 0), unit norm, one dot product per spectrum.
class RootCosine
{
public:
    explicit RootCosine(const ReferenceLibrary &library)
    {
        for (int i = 0; i < library.count(); ++i) {
            const GridView view = library.grid(i);
            m_first.append(view.firstBin);
            m_roots.append(unitRoots(QVector<double>(view.values, view.values + view.count)));
        }
    }
    QVector<double> scores(const RamanData<Wavenumbers> &spectrum) const
    {
        QVector<double> scores(m_roots.size(), 0.0);
        const RamanData<Wavenumbers> grid = spectrum.resampled(librarySearchStep);
        if (grid.isEmpty())
            return scores;
        const QVector<float> query = unitRoots(grid.y);
        const int queryFirst = MineralSearch::binOf(grid.x.first());
        for (int i = 0; i < m_roots.size(); ++i) {
            const int first = std::max(queryFirst, m_first[i]);
            const int end = std::min(queryFirst + query.size(), m_first[i] + m_roots[i].size());
            double dot = 0.0;
            for (int bin = first; bin < end; ++bin)
                dot += query[bin - queryFirst] * m_roots[i][bin - m_first[i]];
            scores[i] = 10.0 * dot;
        }
        return scores;
    }

private:
    static QVector<float> unitRoots(const QVector<double> &y)
    {
        QVector<float> roots(y.size());
        double norm = 0.0;
        for (int k = 0; k < y.size(); ++k) {
            roots[k] = float(std::sqrt(std::max(y[k], 0.0)));
            norm += double(roots[k]) * roots[k];
        }
        for (float &r : roots)
            r = norm > 0.0 ? float(r / std::sqrt(norm)) : 0.0f;
        return roots;
    }
    QVector<int> m_first;
    QVector<QVector<float>> m_roots;
};

// Per query every score vector, computed once so that the rates and the tuning reuse them.
struct ScoredQuery
{
    QString mineral;
    QString label;
    QVector<bool> ownSample;  // left out for this query
    QVector<bool> ownMineral; // left out to ask for a mineral not in the library
    QVector<double> fingerprint, correlation, cosine, rootCosine, shape, peaks;
    MineralQuery prepared;
};

QVector<ScoredQuery> scoreQueries(const ReferenceLibrary &library, const MineralSearch &search,
                                  const QVector<LabelledSpectrum> &queries, int leaveOut)
{
    const RootCosine rootCosine(library);
    const ProcessingParameters processing = analysisStartParameters();
    const FingerprintParameters fingerprint;
    QVector<ScoredQuery> scored;
    for (const LabelledSpectrum &query : queries) {
        ScoredQuery s;
        s.mineral = query.mineral;
        s.label = query.file;
        s.ownSample = leftOut(library, query, leaveOut);
        s.ownMineral = leftOut(library, query, LeaveOutOwnMineral);
        const SearchQuery searched = SearchQuery::fromSpectrum(query.data, processing);
        SearchParameters parameters;
        parameters.fingerprint = fingerprint;
        s.fingerprint
            = searchLibrary(library, SearchMethod::Fingerprint, searched, parameters).scores;
        s.correlation
            = searchLibrary(library, SearchMethod::Correlation, searched, parameters).scores;
        const RamanData<Wavenumbers> plain = query.data.resampled(librarySearchStep);
        s.cosine = library.correlations(plain);
        s.rootCosine = rootCosine.scores(query.data);
        s.prepared = search.prepare(SearchQuery::fromSpectrum(query.data, processing), fingerprint);
        s.shape = search.shapeScores(s.prepared);
        s.peaks = search.peakScores(s.prepared, fingerprint);
        scored.append(s);
    }
    return scored;
}

struct ConfidenceRates
{
    int n = 0, confident = 0, confidentRight = 0, likely = 0, likelyRight = 0;
    int absent = 0, absentUncertain = 0;
};

HitRates mineralRates(const ReferenceLibrary &library, const MineralSearch &search,
                      const QVector<ScoredQuery> &scored, ConfidenceRates *confidence)
{
    HitRates rates;
    for (const ScoredQuery &s : scored) {
        MineralIdentification answer = search.rank(s.shape, s.peaks, s.ownSample);
        search.orderCloseLeaders(s.prepared, answer, s.ownSample);
        const int rank = mineralRank(answer, s.mineral);
        rates.add(true, rank);
        if (!confidence)
            continue;
        ++confidence->n;
        if (answer.confidence == IdentificationConfidence::Confident) {
            ++confidence->confident;
            confidence->confidentRight += rank == 0;
        } else if (answer.confidence == IdentificationConfidence::Likely) {
            ++confidence->likely;
            confidence->likelyRight += rank == 0;
        }
        QVector<bool> absent = s.ownMineral;
        for (int i = 0; i < absent.size(); ++i)
            absent[i] = absent[i] || s.ownSample[i];
        ++confidence->absent;
        MineralIdentification without = search.rank(s.shape, s.peaks, absent);
        search.orderCloseLeaders(s.prepared, without, absent);
        confidence->absentUncertain += without.confidence == IdentificationConfidence::Uncertain;
    }
    Q_UNUSED(library)
    return rates;
}

void printSet(const char *name, const ReferenceLibrary &library, const MineralSearch &search,
              const QVector<ScoredQuery> &scored)
{
    HitRates fingerprint, correlation, cosine, rootCosine;
    for (const ScoredQuery &s : scored) {
        fingerprint.add(true, spectrumRank(library, s.fingerprint, s.ownSample, s.mineral));
        correlation.add(true, spectrumRank(library, s.correlation, s.ownSample, s.mineral));
        cosine.add(true, spectrumRank(library, s.cosine, s.ownSample, s.mineral));
        rootCosine.add(true, spectrumRank(library, s.rootCosine, s.ownSample, s.mineral));
    }
    ConfidenceRates c;
    const HitRates mineral = mineralRates(library, search, scored, &c);
    std::printf("%s (%d queries, %d library spectra)\n", name, int(scored.size()), library.count());
    const struct
    {
        const char *name;
        const HitRates &rates;
    } rows[] = {{"fingerprint", fingerprint},
                {"correlation", correlation},
                {"plain cosine", cosine},
                {"sqrt cosine", rootCosine},
                {"mineral", mineral}};
    for (const auto &row : rows)
        std::printf("  %-13s top-1 %5.1f %%  top-5 %5.1f %%\n", row.name, row.rates.top1Percent(),
                    row.rates.top5Percent());
    std::printf("  confidence: confident %d (%.1f %% of queries, %.1f %% right), likely %d "
                "(%.1f %% right), uncertain %d; mineral left out: %.1f %% uncertain\n",
                c.confident, 100.0 * c.confident / c.n,
                100.0 * c.confidentRight / std::max(c.confident, 1), c.likely,
                100.0 * c.likelyRight / std::max(c.likely, 1), c.n - c.confident - c.likely,
                100.0 * c.absentUncertain / std::max(c.absent, 1));
}

// Peak weights and confidence thresholds around the defaults, on cached scores.
void tune(const ReferenceLibrary &queriesLibrary, const ReferenceLibrary &looLibrary,
          MineralSearch &queriesSearch, MineralSearch &looSearch,
          const QVector<ScoredQuery> &queries, const QVector<ScoredQuery> &loo)
{
    const MineralSearchParameters defaults = looSearch.parameters();
    for (const double w : {0.0, 0.1, 0.2, 0.3, 0.4, 0.5}) {
        MineralSearchParameters p = defaults;
        p.peakWeight = w;
        queriesSearch.setParameters(p);
        looSearch.setParameters(p);
        const HitRates q = mineralRates(queriesLibrary, queriesSearch, queries, nullptr);
        const HitRates l = mineralRates(looLibrary, looSearch, loo, nullptr);
        std::printf("tune weight %.2f: queries %.1f / %.1f, loo %.1f / %.1f\n", w, q.top1Percent(),
                    q.top5Percent(), l.top1Percent(), l.top5Percent());
    }
    queriesSearch.setParameters(defaults);
    looSearch.setParameters(defaults);
    for (const double margin : {1.0, 1.1, 1.2}) {
        for (const double score : {7.5, 8.0}) {
            for (const double likely : {0.5, 0.7}) {
                for (const double likelyScore : {9.0, 9.3}) {
                    MineralSearchParameters p = defaults;
                    p.confidentMargin = margin;
                    p.confidentScore = score;
                    p.likelyMargin = likely;
                    p.likelyScore = likelyScore;
                    looSearch.setParameters(p);
                    ConfidenceRates c;
                    mineralRates(looLibrary, looSearch, loo, &c);
                    std::printf("tune margin %.2f score %.1f likely %.2f / %.1f: confident %.1f "
                                "%% cover, %.1f %% right; likely %.1f %% right; absent %.1f %% "
                                "uncertain\n",
                                margin, score, likely, likelyScore, 100.0 * c.confident / c.n,
                                100.0 * c.confidentRight / std::max(c.confident, 1),
                                100.0 * c.likelyRight / std::max(c.likely, 1),
                                100.0 * c.absentUncertain / c.absent);
                }
            }
        }
    }
    looSearch.setParameters(defaults);
}

// Every method on a K-fold split by sample of a whole folder, as raman-cli evaluate --folds K does
// it, with the square-root cosine beside them on the same queries.
void foldRates(const QString &folder, int folds)
{
    LibraryPath path;
    path.path = folder;
    const std::shared_ptr<const ReferenceLibrary> loaded = ReferenceLibrary::load({path});
    const ReferenceLibrary &library = *loaded;
    const QVector<LabelledSpectrum> all = labelledSpectra(folder);
    if (all.isEmpty() || library.count() == 0) {
        std::printf("%s: no spectra\n", qPrintable(folder));
        return;
    }
    QElapsedTimer timer;
    timer.start();
    const SearchEvaluation e = evaluateSearches(
        library, all, LeaveOutOwnSample,
        {SearchMethod::Mineral, SearchMethod::Fingerprint, SearchMethod::Correlation},
        analysisStartParameters(), {}, folds);
    QSet<QString> counted;
    for (const EvaluatedQuery &q : e.queries)
        counted.insert(q.file);
    const RootCosine rootCosine(library);
    HitRates root;
    for (const LabelledSpectrum &query : all) {
        if (counted.contains(query.file))
            root.add(true, spectrumRank(library, rootCosine.scores(query.data),
                                        leftOut(library, query, LeaveOutOwnSample, folds),
                                        query.mineral));
    }
    std::printf("%s, %d folds by sample (%d queries, %.0f s)\n", qPrintable(folder), folds,
                e.mineral.queries, timer.elapsed() / 1000.0);
    std::printf("| method | top-1 | top-5 | sicher covers | sicher right | group right | group "
                "sicher covers | right |\n|---|---|---|---|---|---|---|---|\n");
    const struct
    {
        const char *name;
        const HitRates &rates;
    } rows[] = {{"fingerprint", e.fingerprint},
                {"correlation", e.correlation},
                {"sqrt cosine (reference)", root},
                {"mineral", e.mineral}};
    for (const auto &row : rows) {
        std::printf("| %s | %.1f %% | %.1f %% |", row.name, row.rates.top1Percent(),
                    row.rates.top5Percent());
        if (&row.rates == &e.mineral)
            std::printf(" %.1f %% | %.1f %% | %.1f %% | %.1f %% | %.1f %% |\n",
                        e.percentOfQueries(e.confident), e.confidentRightPercent(),
                        e.percentOfQueries(e.groupRight), e.percentOfQueries(e.groupConfident),
                        100.0 * e.groupConfidentRight / std::max(e.groupConfident, 1));
        else
            std::printf(" | | | | |\n");
    }
}

void mixtureRates(const ReferenceLibrary &library, const MineralSearch &search, int count,
                  int pairSearch)
{
    const ProcessingParameters processing = analysisStartParameters();
    const FingerprintParameters fingerprint;
    std::mt19937 random(16);
    const QVector<QVector<double>> pairWeights{{1, 1}, {2, 1}, {3, 1}};
    const QVector<QVector<int>> pairs = mixtureMembers(library, count, 2, random);
    MixtureFitParameters parameters;
    std::printf("mixtures of %d library spectra: unit area each, weighted, a Gaussian "
                "fluorescence background (height of the strongest band, width 800-2000 1/cm) on "
                "a sloping offset, noise 1 %% of the strongest band; seed 16\n",
                library.count());
    for (const QVector<double> &weights : pairWeights) {
        HitRates fit, pairsearch;
        double slowest = 0.0;
        for (int i = 0; i < pairs.size(); ++i) {
            const RamanData<Wavenumbers> mixed
                = generatedMixture(library, pairs[i], weights, random);
            QElapsedTimer timer;
            timer.start();
            const QVector<MixtureFit> fits = fitMixtures(
                search, library,
                search.prepare(SearchQuery::fromSpectrum(mixed, processing), fingerprint),
                fingerprint, parameters);
            slowest = std::max(slowest, timer.nsecsElapsed() / 1e6);
            const int rank = mixtureRank(library, fits, pairs[i]);
            fit.add(true, rank < 5 ? rank : -1);
            if (qEnvironmentVariableIsSet("BENCH_MISSES") && rank != 0) {
                std::printf(
                    "mixture miss %s + %s (%d points):", qPrintable(library.info(pairs[i][0]).name),
                    qPrintable(library.info(pairs[i][1]).name), mixed.size());
                for (int r = 0; r < 2 && r < fits.size(); ++r)
                    for (const MixtureComponent &c : fits[r].components)
                        std::printf(" %s %.2f", qPrintable(c.name), c.fraction);
                std::printf(" res %.3f\n", fits.isEmpty() ? -1.0 : fits[0].residual);
            }
            if (i >= pairSearch)
                continue;
            const SpectrumFingerprint measured = buildFingerprint(
                SearchQuery::fromSpectrum(mixed, processing).processed.normalizedToMaximum(),
                fingerprint);
            const QVector<LinearCombinationResult> found = distinctPairs(
                library.startCombinationSearch(measured, fingerprint).result(), library.infos());
            int pairRank = -1;
            for (int r = 0; r < found.size() && r < 5 && pairRank < 0; ++r) {
                const QStringList names{library.info(found[r].first).name,
                                        library.info(found[r].second).name};
                if (names.contains(library.info(pairs[i][0]).name)
                    && names.contains(library.info(pairs[i][1]).name))
                    pairRank = r;
            }
            pairsearch.add(true, pairRank);
        }
        std::printf("  %g:%g  fit: pair first %5.1f %%, top-5 %5.1f %% (%d, slowest %.0f ms)",
                    weights[0], weights[1], fit.top1Percent(), fit.top5Percent(), fit.queries,
                    slowest);
        if (pairsearch.queries > 0)
            std::printf("   two-mineral search: first %5.1f %%, top-5 %5.1f %% (%d)",
                        pairsearch.top1Percent(), pairsearch.top5Percent(), pairsearch.queries);
        std::printf("\n");
    }
    parameters.components = 3;
    const QVector<QVector<double>> tripleWeights{{1, 1, 1}, {2, 1, 1}, {3, 2, 1}};
    const QVector<QVector<int>> triples = mixtureMembers(library, count, 3, random);
    for (const QVector<double> &weights : tripleWeights) {
        HitRates fit;
        double slowest = 0.0;
        for (const QVector<int> &members : triples) {
            const RamanData<Wavenumbers> mixed
                = generatedMixture(library, members, weights, random);
            QElapsedTimer timer;
            timer.start();
            const QVector<MixtureFit> fits = fitMixtures(
                search, library,
                search.prepare(SearchQuery::fromSpectrum(mixed, processing), fingerprint),
                fingerprint, parameters);
            slowest = std::max(slowest, timer.nsecsElapsed() / 1e6);
            const int rank = mixtureRank(library, fits, members);
            fit.add(true, rank < 5 ? rank : -1);
        }
        std::printf("  %g:%g:%g  fit: all three first %5.1f %%, top-5 %5.1f %% (%d, slowest "
                    "%.0f ms)\n",
                    weights[0], weights[1], weights[2], fit.top1Percent(), fit.top5Percent(),
                    fit.queries, slowest);
    }
}

// A library of `size` spectra made from the real one: copy k of spectrum i is shifted by up to
// +-2 1/cm, scaled by 0.5 to 2 and gets noise of 0.5 % of its strongest band (seed 5500).
bool writePerturbedLibrary(const ReferenceLibrary &source, const QString &folder, int size)
{
    QDir().mkpath(folder);
    std::mt19937 random(5500);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int i = 0; i < size; ++i) {
        const int original = i % source.count();
        RamanData<Wavenumbers> copy = source.spectrumData(original);
        const double shift = 4.0 * unit(random) - 2.0;
        const double scale = 0.5 + 1.5 * unit(random);
        const double top = *std::max_element(copy.y.cbegin(), copy.y.cend());
        std::normal_distribution<double> noise(0.0, 0.005 * top);
        for (int j = 0; j < copy.size(); ++j) {
            copy.x[j] += shift;
            copy.y[j] = scale * (copy.y[j] + noise(random));
        }
        QFile file(folder
                   + QStringLiteral("/%1__R%2__Raman__532__0__unoriented__Raman_Data_Processed__"
                                    "%2.txt")
                         .arg(source.info(original).name)
                         .arg(900000 + i));
        if (!file.open(QIODevice::WriteOnly) || file.write(spectrumText(copy)) < 0)
            return false;
    }
    return true;
}

// One core: a mineral search and a mixture fit against a library of perturbed real spectra.
void timing(const ReferenceLibrary &source, int size, const QVector<LabelledSpectrum> &queries)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("generated"));
    ReferenceLibrary library;
    LibraryPath path;
    path.path = folder;
    if (!writePerturbedLibrary(source, folder, size))
        return;
    library = *ReferenceLibrary::load({path});
    QElapsedTimer timer;
    timer.start();
    const MineralSearch search(library);
    const double setupMs = timer.nsecsElapsed() / 1e6;
    const ProcessingParameters processing = analysisStartParameters();
    const FingerprintParameters fingerprint;
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    const int n = int(queries.size());
    double slowest = 0.0;
    timer.restart();
    for (int i = 0; i < n; ++i) {
        QElapsedTimer one;
        one.start();
        search.identify(SearchQuery::fromSpectrum(queries[i].data, processing), fingerprint);
        slowest = std::max(slowest, one.nsecsElapsed() / 1e6);
    }
    const double identifyMs = timer.nsecsElapsed() / 1e6 / n;
    // Where the time goes: preparing the query, band shapes, fingerprints, ranking.
    double stepMs[4] = {};
    for (int i = 0; i < n; ++i) {
        QElapsedTimer step;
        step.start();
        const MineralQuery query
            = search.prepare(SearchQuery::fromSpectrum(queries[i].data, processing), fingerprint);
        stepMs[0] += step.nsecsElapsed() / 1e6 / n;
        step.restart();
        const QVector<double> shape = search.shapeScores(query);
        stepMs[1] += step.nsecsElapsed() / 1e6 / n;
        step.restart();
        const QVector<double> peaks = search.peakScores(query, fingerprint);
        stepMs[2] += step.nsecsElapsed() / 1e6 / n;
        step.restart();
        MineralIdentification answer = search.rank(shape, peaks);
        search.orderCloseLeaders(query, answer);
        stepMs[3] += step.nsecsElapsed() / 1e6 / n;
    }
    MixtureFitParameters parameters;
    double mixtureSlowest[2] = {0.0, 0.0}, mixtureMs[2] = {0.0, 0.0};
    const int m = std::min(10, n);
    for (int k = 0; k < 2; ++k) {
        parameters.components = 2 + k;
        for (int i = 0; i < m; ++i) {
            QElapsedTimer one;
            one.start();
            fitMixtures(
                search, library,
                search.prepare(SearchQuery::fromSpectrum(queries[i * n / m].data, processing),
                               fingerprint),
                fingerprint, parameters);
            const double ms = one.nsecsElapsed() / 1e6;
            mixtureMs[k] += ms / m;
            mixtureSlowest[k] = std::max(mixtureSlowest[k], ms);
        }
    }
    std::printf("one core, %d spectra (perturbed copies of the %d library spectra):\n"
                "  mineral search %.1f ms per query (slowest %.1f ms, %d queries; prepare %.2f, "
                "shapes %.2f, fingerprints %.2f, rank %.2f ms); setup at load %.0f ms\n"
                "  mixture fit: two components %.0f ms per query (slowest %.0f), three %.0f ms "
                "(slowest %.0f), %d queries\n",
                library.count(), source.count(), identifyMs, slowest, n, stepMs[0], stepMs[1],
                stepMs[2], stepMs[3], setupMs, mixtureMs[0], mixtureSlowest[0], mixtureMs[1],
                mixtureSlowest[1], m);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QLoggingCategory::setFilterRules(
        QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
    QCommandLineParser parser;
    const QCommandLineOption tuneOption(QStringLiteral("tune"),
                                        QStringLiteral("also try other tuning values"));
    const QCommandLineOption sizeOption(QStringLiteral("library-size"),
                                        QStringLiteral("library size for the timing"),
                                        QStringLiteral("N"), QStringLiteral("5500"));
    const QCommandLineOption mixturesOption(QStringLiteral("mixtures"),
                                            QStringLiteral("mixtures per ratio"),
                                            QStringLiteral("N"), QStringLiteral("100"));
    const QCommandLineOption pairOption(QStringLiteral("pair-search"),
                                        QStringLiteral("mixtures per ratio for the two-mineral "
                                                       "search"),
                                        QStringLiteral("N"), QStringLiteral("30"));
    const QCommandLineOption foldsOption(QStringLiteral("folds"),
                                         QStringLiteral("folds by sample on rruff-full (0: none)"),
                                         QStringLiteral("K"), QStringLiteral("5"));
    parser.addOptions({tuneOption, sizeOption, mixturesOption, pairOption, foldsOption});
    parser.addHelpOption();
    parser.process(application);

    const QString rruff = QStringLiteral(RAMAN_TEST_DATA_DIR "/rruff");
    const QVector<LabelledSpectrum> queries = labelledSpectra(rruff + QStringLiteral("/queries"));
    const QVector<LabelledSpectrum> loo = labelledSpectra(rruff + QStringLiteral("/loo"));
    QTemporaryDir dir;
    ReferenceLibrary library, looLibrary;
    if (queries.isEmpty() || loo.isEmpty()
        || !loadLibraryCopy(rruff + QStringLiteral("/library"), dir.filePath(QStringLiteral("l")),
                            library)
        || !loadLibraryCopy(rruff + QStringLiteral("/loo"), dir.filePath(QStringLiteral("o")),
                            looLibrary)) {
        std::fprintf(stderr, "no RRUFF data found below %s\n", qPrintable(rruff));
        return 1;
    }
    MineralSearch search(library);
    MineralSearch looSearch(looLibrary);
    const QVector<ScoredQuery> scoredQueries
        = scoreQueries(library, search, queries, LeaveOutNothing);
    const QVector<ScoredQuery> scoredLoo
        = scoreQueries(looLibrary, looSearch, loo, LeaveOutOwnSample);
    printSet("queries/ against library/", library, search, scoredQueries);
    printSet("loo/ leave-one-sample-out", looLibrary, looSearch, scoredLoo);
    if (qEnvironmentVariableIsSet("BENCH_MISSES")) {
        for (const auto *set : {&scoredQueries, &scoredLoo}) {
            const MineralSearch &sr = set == &scoredQueries ? search : looSearch;
            for (const ScoredQuery &s : *set) {
                MineralIdentification a = sr.rank(s.shape, s.peaks, s.ownSample);
                sr.orderCloseLeaders(s.prepared, a, s.ownSample);
                if (a.minerals.isEmpty() || a.minerals[0].name == s.mineral)
                    continue;
                const int r = mineralRank(a, s.mineral);
                std::printf("miss %s %s: rank %d;", qPrintable(s.mineral), qPrintable(s.label), r);
                for (int i = 0; i < 3 && i < a.minerals.size(); ++i)
                    std::printf(" %s %.2f (%.2f, %.1f)", qPrintable(a.minerals[i].name),
                                a.minerals[i].score, a.minerals[i].shape, a.minerals[i].peaks);
                for (const MineralHit &h : a.minerals)
                    if (h.name == s.mineral)
                        std::printf(" | true %.2f (%.2f, %.1f)", h.score, h.shape, h.peaks);
                std::printf("\n");
            }
        }
    }
    if (parser.value(foldsOption).toInt() > 1)
        foldRates(QStringLiteral(RAMAN_TEST_DATA_DIR "/rruff-full"),
                  parser.value(foldsOption).toInt());
    if (parser.isSet(tuneOption))
        tune(library, looLibrary, search, looSearch, scoredQueries, scoredLoo);
    if (parser.value(mixturesOption).toInt() > 0)
        mixtureRates(library, search, parser.value(mixturesOption).toInt(),
                     parser.value(pairOption).toInt());
    if (parser.value(sizeOption).toInt() > 0)
        timing(library, parser.value(sizeOption).toInt(), queries);
    return 0;
}
