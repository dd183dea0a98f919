#include "library/identify/searchevaluation.h"

#include "core/logging.h"
#include "library/mineralgroups.h"
#include "library/referencelibrary.h"
#include "library/spectrumname.h"
#include "spectrum/spectrumfile.h"

#include <QDir>
#include <QSet>

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <optional>

QVector<LabelledSpectrum> labelledSpectra(const QString &folder)
{
    QVector<LabelledSpectrum> spectra;
    const QDir dir(folder);
    for (const QString &file : dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        const rruff_infos info = parseSpectrumName(file);
        if (info.name.isEmpty() || info.rruffId.isEmpty()) {
            qCWarning(logDataIo) << "not named mineral__sample__...:" << dir.filePath(file);
            continue;
        }
        const RamanData<Wavenumbers> data = loadSpectrumFromCSV(dir.filePath(file));
        if (data.isEmpty()) {
            qCWarning(logDataIo) << "no spectrum in" << dir.filePath(file);
            continue;
        }
        spectra.append({data, info.name, info.rruffId, file});
    }
    return spectra;
}

int sampleFold(const QString &sample, int folds)
{
    const QByteArray id = sample.toLatin1();
    const uLong sum = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef *>(id.constData()),
                            uInt(id.size()));
    return folds > 0 ? int(sum % uLong(folds)) : 0;
}

QVector<bool> leftOut(const ReferenceLibrary &library, const LabelledSpectrum &query, int leaveOut,
                      int folds)
{
    const int fold = sampleFold(query.sample, folds);
    QVector<bool> excluded(library.count(), false);
    for (int i = 0; i < library.count(); ++i) {
        const rruff_infos &info = library.info(i);
        excluded[i] = ((leaveOut & LeaveOutOwnSample) && info.rruffId == query.sample)
                      || ((leaveOut & LeaveOutOwnMineral) && info.name == query.mineral)
                      || (folds > 0 && sampleFold(info.rruffId, folds) == fold);
    }
    return excluded;
}

int spectrumRank(const ReferenceLibrary &library, const QVector<double> &scores,
                 const QVector<bool> &excluded, const QString &mineral)
{
    QVector<int> order;
    for (int i = 0; i < scores.size(); ++i) {
        if (!excluded.value(i))
            order.append(i);
    }
    const int top = std::min(5, int(order.size()));
    std::partial_sort(order.begin(), order.begin() + top, order.end(),
                      [&scores](int a, int b) { return scores[a] > scores[b]; });
    for (int rank = 0; rank < top; ++rank) {
        if (library.info(order[rank]).name == mineral)
            return rank;
    }
    return -1;
}

int mineralRank(const MineralIdentification &answer, const QString &mineral)
{
    for (int rank = 0; rank < answer.minerals.size() && rank < 5; ++rank) {
        if (answer.minerals[rank].name == mineral)
            return rank;
    }
    return -1;
}

void HitRates::add(bool searched, int rank)
{
    ++queries;
    answered += searched;
    top1 += searched && rank == 0;
    top5 += searched && rank >= 0;
}

namespace {

// Held-out: each fold's answers are trusted by the rules tuned on the other folds, the group rule
// on top of the mineral rule of the same folds.
void trustAnswers(SearchEvaluation &evaluation, int folds, const MineralSearchParameters &base)
{
    QVector<EvaluatedQuery> &queries = evaluation.queries;
    const auto groupExample = [](const EvaluatedQuery &query, const MineralSearchParameters &rule) {
        return GroupExample{query.group.score, query.group.margin,
                            confidenceOf(rule, query.example.score, query.example.margin)
                                == IdentificationConfidence::Confident,
                            !query.group.group.isEmpty(), query.groupRight};
    };
    for (int fold = 0; fold <= folds && folds > 0; ++fold) { // fold == folds: tuned on all
        QVector<ConfidenceExample> training;
        for (const EvaluatedQuery &query : qAsConst(queries)) {
            if (query.fold != fold)
                training.append(query.example);
        }
        const MineralSearchParameters mineral
            = tuneMineralConfidence(training, tunedPrecision, absentUncertain, base);
        QVector<GroupExample> groupTraining;
        for (const EvaluatedQuery &query : qAsConst(queries)) {
            if (query.fold != fold)
                groupTraining.append(groupExample(query, mineral));
        }
        evaluation.mineralRules.append(mineral);
        evaluation.groupRules.append(tuneGroupConfidence(groupTraining, tunedPrecision));
    }
    for (EvaluatedQuery &query : queries) {
        const MineralSearchParameters mineral
            = folds > 0 ? evaluation.mineralRules[query.fold] : base;
        const GroupAnswerParameters group
            = folds > 0 ? evaluation.groupRules[query.fold] : GroupAnswerParameters();
        const ConfidenceExample &e = query.example;
        query.confidence = confidenceOf(mineral, e.score, e.margin);
        query.uncertainWhenAbsent = confidenceOf(mineral, e.absentScore, e.absentMargin)
                                    == IdentificationConfidence::Uncertain;
        query.group.confidence = groupConfident(groupExample(query, mineral), group)
                                     ? IdentificationConfidence::Confident
                                     : query.confidence;
        if (query.confidence == IdentificationConfidence::Confident) {
            ++evaluation.confident;
            evaluation.confidentRight += e.right;
        } else if (query.confidence == IdentificationConfidence::Likely) {
            ++evaluation.likely;
            evaluation.likelyRight += e.right;
        }
        evaluation.uncertainWhenAbsent += query.uncertainWhenAbsent;
        evaluation.groupRight += query.groupRight;
        if (query.group.confidence == IdentificationConfidence::Confident) {
            ++evaluation.groupConfident;
            evaluation.groupConfidentRight += query.groupRight;
        }
    }
}

} // namespace

SearchEvaluation evaluateSearches(const ReferenceLibrary &library,
                                  const QVector<LabelledSpectrum> &queries, int leaveOut,
                                  const QVector<SearchMethod> &methods,
                                  const ProcessingParameters &processing,
                                  const FingerprintParameters &fingerprint, int folds)
{
    SearchEvaluation evaluation;
    // Building the mineral search reads the whole library again: only when it is asked for.
    std::shared_ptr<const MineralSearch> search;
    if (methods.contains(SearchMethod::Mineral))
        search = MineralSearch::forLibrary(library);
    const struct
    {
        SearchMethod method;
        HitRates &rates;
        int EvaluatedQuery::*rank;
    } spectrumSearches[]
        = {{SearchMethod::Fingerprint, evaluation.fingerprint, &EvaluatedQuery::fingerprintRank},
           {SearchMethod::Correlation, evaluation.correlation, &EvaluatedQuery::correlationRank}};
    for (const LabelledSpectrum &query : queries) {
        EvaluatedQuery result;
        result.file = query.file;
        result.mineral = query.mineral;
        const QVector<bool> excluded = leftOut(library, query, leaveOut, folds);
        if (folds > 0) {
            bool mineralSearchable = false;
            for (int i = 0; i < excluded.size() && !mineralSearchable; ++i)
                mineralSearchable = !excluded[i] && library.info(i).name == query.mineral;
            if (!mineralSearchable)
                continue;
        }
        const SearchQuery searched = SearchQuery::fromSpectrum(query.data, processing);
        SearchParameters options;
        options.fingerprint = fingerprint;
        for (const auto &s : spectrumSearches) {
            if (!methods.contains(s.method))
                continue;
            const QVector<double> scores
                = searchLibrary(library, s.method, searched, options).scores;
            result.*s.rank = spectrumRank(library, scores, excluded, query.mineral);
            s.rates.add(!scores.isEmpty(), result.*s.rank);
        }
        if (methods.contains(SearchMethod::Mineral)) {
            const MineralQuery prepared = search->prepare(searched, fingerprint);
            const QVector<double> shape = search->shapeScores(prepared);
            const QVector<double> peaks = search->peakScores(prepared, fingerprint);
            MineralIdentification answer = search->rank(shape, peaks, excluded);
            search->orderCloseLeaders(prepared, answer, excluded);
            result.mineralRank = mineralRank(answer, query.mineral);
            result.answer = answer.minerals.isEmpty() ? QString() : answer.minerals[0].name;
            evaluation.mineral.add(prepared.isValid(), result.mineralRank);
            const QVector<bool> without
                = leftOut(library, query, leaveOut | LeaveOutOwnMineral, folds);
            MineralIdentification absent = search->rank(shape, peaks, without);
            search->orderCloseLeaders(prepared, absent, without);
            result.example
                = {answer.minerals.isEmpty() ? 0.0 : answer.minerals[0].score, answer.margin,
                   absent.minerals.isEmpty() ? 0.0 : absent.minerals[0].score, absent.margin,
                   result.mineralRank == 0};
            result.group = groupAnswer(answer);
            result.groupRight = result.group.holdsFor(query.mineral, MineralGroups::shipped());
        }
        result.fold = sampleFold(query.sample, folds);
        evaluation.queries.append(result);
    }
    if (methods.contains(SearchMethod::Mineral))
        trustAnswers(evaluation, folds, search->parameters());
    return evaluation;
}

RamanData<Wavenumbers> generatedMixture(const ReferenceLibrary &library,
                                        const QVector<int> &members, const QVector<double> &weights,
                                        std::mt19937 &random)
{
    int first = INT_MIN, end = INT_MAX;
    for (const int m : members) {
        const RamanData<Wavenumbers> d = library.gridSpectrum(m);
        if (d.isEmpty())
            return {};
        first = std::max(first, MineralSearch::binOf(d.x.first()));
        end = std::min(end, MineralSearch::binOf(d.x.first()) + d.size());
    }
    if ((end - first) * librarySearchStep < 600)
        return {};
    RamanData<Wavenumbers> sum;
    sum.y.fill(0.0, end - first);
    for (int bin = first; bin < end; ++bin)
        sum.x.append(bin * librarySearchStep);
    for (int c = 0; c < members.size(); ++c) {
        const RamanData<Wavenumbers> d = library.gridSpectrum(members[c]);
        const int offset = first - MineralSearch::binOf(d.x.first());
        double area = 0.0;
        for (int j = 0; j < sum.size(); ++j)
            area += std::max(d.y[offset + j], 0.0);
        if (!(area > 0.0))
            return {};
        for (int j = 0; j < sum.size(); ++j)
            sum.y[j] += weights[c] * d.y[offset + j] / area;
    }
    const double top = *std::max_element(sum.y.cbegin(), sum.y.cend());
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> noise(0.0, 0.01 * top);
    const double centre = sum.x.first() + unit(random) * (sum.x.last() - sum.x.first());
    const double width = 800.0 + 1200.0 * unit(random);
    const double slope = (unit(random) - 0.5) * top / (sum.x.last() - sum.x.first());
    for (int j = 0; j < sum.size(); ++j) {
        const double u = (sum.x[j] - centre) / width;
        sum.y[j]
            += top * (std::exp(-u * u) + 0.5) + slope * (sum.x[j] - sum.x.first()) + noise(random);
    }
    return sum;
}

QVector<QVector<int>> mixtureMembers(const ReferenceLibrary &library, int count, int size,
                                     std::mt19937 &random)
{
    QVector<QVector<int>> sets;
    QSet<QString> minerals;
    for (const rruff_infos &info : library.infos())
        minerals.insert(info.name);
    if (minerals.size() < size)
        return sets;
    std::uniform_int_distribution<int> pick(0, library.count() - 1);
    // Libraries of spectra over disjoint ranges give up rather than search for ever.
    for (int attempt = 0; sets.size() < count && attempt < 1000 * count; ++attempt) {
        QVector<int> members;
        QStringList names;
        while (members.size() < size) {
            const int m = pick(random);
            if (!names.contains(library.info(m).name)) {
                members.append(m);
                names.append(library.info(m).name);
            }
        }
        std::mt19937 probe(1);
        if (!generatedMixture(library, members, QVector<double>(size, 1.0), probe).isEmpty())
            sets.append(members);
    }
    return sets;
}

int mixtureRank(const ReferenceLibrary &library, const QVector<MixtureFit> &fits,
                const QVector<int> &members)
{
    QStringList expected;
    for (const int m : members)
        expected.append(library.info(m).name);
    expected.sort();
    for (int rank = 0; rank < fits.size(); ++rank) {
        QStringList names;
        for (const MixtureComponent &c : fits[rank].components)
            names.append(c.name);
        names.sort();
        if (names == expected)
            return rank;
    }
    return -1;
}

HitRates evaluateMixtureFit(const ReferenceLibrary &library, const MineralSearch &search,
                            const QVector<QVector<int>> &sets, const QVector<double> &weights,
                            std::mt19937 &random, const ProcessingParameters &processing,
                            const FingerprintParameters &fingerprint)
{
    MixtureFitParameters parameters;
    parameters.components = weights.size();
    HitRates rates;
    for (const QVector<int> &members : sets) {
        const RamanData<Wavenumbers> mixed = generatedMixture(library, members, weights, random);
        const QVector<MixtureFit> fits
            = fitMixtures(search, library,
                          search.prepare(SearchQuery::fromSpectrum(mixed, processing), fingerprint),
                          fingerprint, parameters);
        const int rank = mixtureRank(library, fits, members);
        rates.add(!fits.isEmpty(), rank < 5 ? rank : -1);
    }
    return rates;
}
