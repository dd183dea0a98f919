#include "library/identify/searchevaluation.h"

#include "core/logging.h"
#include "library/rlibrary.h"
#include "library/spectrumname.h"
#include "spectrum/spectrumfile.h"

#include <QDir>

#include <algorithm>

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

QVector<bool> leftOut(const RLibrary &library, const LabelledSpectrum &query, int leaveOut)
{
    QVector<bool> excluded(library.count(), false);
    for (int i = 0; i < library.count(); ++i) {
        const rruff_infos &info = library.spectra()[i].info;
        excluded[i] = ((leaveOut & LeaveOutOwnSample) && info.rruffId == query.sample)
                      || ((leaveOut & LeaveOutOwnMineral) && info.name == query.mineral);
    }
    return excluded;
}

int spectrumRank(const RLibrary &library, const QVector<double> &scores,
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
        if (library.spectra()[order[rank]].info.name == mineral)
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

SearchEvaluation evaluateSearches(const RLibrary &library, const QVector<LabelledSpectrum> &queries,
                                  int leaveOut, int methods, const ProcessingParameters &processing,
                                  const FingerprintParameters &fingerprint)
{
    SearchEvaluation evaluation;
    const MineralSearch search(library);
    const struct
    {
        SearchEvaluation::Method method;
        unsigned flags;
        HitRates &rates;
        int EvaluatedQuery::*rank;
    } spectrumSearches[] = {{SearchEvaluation::Fingerprint, RLibrary::FingerprintSearch,
                             evaluation.fingerprint, &EvaluatedQuery::fingerprintRank},
                            {SearchEvaluation::Correlation, RLibrary::NormalizeToUnitNorm,
                             evaluation.correlation, &EvaluatedQuery::correlationRank}};
    for (const LabelledSpectrum &query : queries) {
        EvaluatedQuery result;
        result.file = query.file;
        result.mineral = query.mineral;
        const QVector<bool> excluded = leftOut(library, query, leaveOut);
        for (const auto &s : spectrumSearches) {
            if (!(methods & s.method))
                continue;
            const QVector<double> scores
                = library.computeCorrelations(query.data, processing, s.flags, fingerprint);
            result.*s.rank = spectrumRank(library, scores, excluded, query.mineral);
            s.rates.add(!scores.isEmpty(), result.*s.rank);
        }
        if (methods & SearchEvaluation::Mineral) {
            const MineralQuery prepared = search.prepare(query.data, processing, fingerprint);
            const QVector<double> shape = search.shapeScores(prepared);
            const QVector<double> peaks = search.peakScores(prepared, fingerprint);
            const MineralIdentification answer = search.rank(shape, peaks, excluded);
            result.mineralRank = mineralRank(answer, query.mineral);
            result.answer = answer.minerals.isEmpty() ? QString() : answer.minerals[0].name;
            result.confidence = answer.confidence;
            evaluation.mineral.add(prepared.isValid(), result.mineralRank);
            const bool right = result.mineralRank == 0;
            if (answer.confidence == IdentificationConfidence::Confident) {
                ++evaluation.confident;
                evaluation.confidentRight += right;
            } else if (answer.confidence == IdentificationConfidence::Likely) {
                ++evaluation.likely;
                evaluation.likelyRight += right;
            }
            const QVector<bool> absent = leftOut(library, query, leaveOut | LeaveOutOwnMineral);
            result.uncertainWhenAbsent = search.rank(shape, peaks, absent).confidence
                                         == IdentificationConfidence::Uncertain;
            evaluation.uncertainWhenAbsent += result.uncertainWhenAbsent;
        }
        evaluation.queries.append(result);
    }
    return evaluation;
}
