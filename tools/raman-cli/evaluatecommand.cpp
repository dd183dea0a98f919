#include "evaluatecommand.h"

#include "clicommand.h"
#include "searchoptions.h"

#include "library/identify/searchevaluation.h"
#include "library/referencelibrary.h"

#include <QCommandLineParser>
#include <QDir>

namespace {

QString percent(int count, int of)
{
    return QString::number(100.0 * count / std::max(of, 1), 'f', 1);
}

QString rankText(int rank)
{
    return rank == -2 ? QStringLiteral("-") : QString::number(rank < 0 ? 0 : rank + 1);
}

// The same sets under each weighting, as in the benchmark; a fixed seed makes runs comparable.
int printMixtureRates(const ReferenceLibrary &library, int count, const SearchOptions &options,
                      QTextStream &out, QTextStream &err)
{
    const std::shared_ptr<const MineralSearch> stored = MineralSearch::forLibrary(library);
    const MineralSearch &search = *stored;
    std::mt19937 random(16);
    out << "weights\tmixtures\tfirst\ttop5\n";
    for (const int size : {2, 3}) {
        const QVector<QVector<int>> sets = mixtureMembers(library, count, size, random);
        if (sets.isEmpty()) {
            err << "raman-cli evaluate: the library has no " << size
                << " minerals whose spectra share 600 1/cm\n";
            return 1;
        }
        const QVector<QVector<double>> weightings
            = size == 2 ? QVector<QVector<double>>{{1, 1}, {2, 1}, {3, 1}}
                        : QVector<QVector<double>>{{1, 1, 1}, {2, 1, 1}, {3, 2, 1}};
        for (const QVector<double> &weights : weightings) {
            const HitRates rates = evaluateMixtureFit(library, search, sets, weights, random,
                                                      options.processing, options.fingerprint);
            QStringList ratio;
            for (const double w : weights)
                ratio << QString::number(w);
            out << ratio.join(QLatin1Char(':')) << '\t' << rates.queries << '\t'
                << percent(rates.top1, rates.queries) << '\t' << percent(rates.top5, rates.queries)
                << '\n';
        }
    }
    return 0;
}

} // namespace

int runEvaluateCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Measures how well the searches name known minerals. The spectra of QUERIES (a folder "
        "of text files named mineral__sample__..., as reference libraries are) are searched "
        "against the library; without QUERIES the library searches its own spectra, each "
        "without the spectra of its own sample (leave one sample out), which shows how well "
        "another sample of a mineral would be found. With --folds K the library's samples are "
        "split into K folds (crc32 of the sample's RRUFF id, field 1 of the name, modulo K) and "
        "each spectrum is searched without the spectra of its fold; spectra whose mineral has "
        "no spectrum in the other folds are not counted.\n"
        "Prints TSV, one row per method: method, queries, answered, top1 and top5 (per cent "
        "of queries whose mineral is first, or among the first five), and for the mineral "
        "search: confident (per cent of queries), confident_right (per cent of those), "
        "uncertain_if_absent (per cent of queries answered uncertain once their mineral is left "
        "out of the library too), group_right (per cent whose answer at group level holds: the "
        "right mineral, or one of its structural group), group_confident and "
        "group_confident_right (the same two at group level). With --folds, the confidence "
        "rules of each fold (mineral and group level) are tuned on the other folds, to 97.5 % "
        "right with 85 % of the queries still uncertain once their mineral is left out (the "
        "rules are printed to stderr). With "
        "--details, one row per query and method instead: file, mineral, method, rank of the "
        "right mineral (0: not among the first five), the mineral search's answer and its "
        "confidence, its answer at group level, the lead of that group over the others, its "
        "confidence and whether it holds (1 or 0).\n"
        "With --mixtures N: N pairs and N triples of spectra of different minerals of the "
        "library are mixed (each spectrum scaled to unit band area, weighted 1:1, 2:1, 3:1 or "
        "1:1:1, 2:1:1, 3:2:1, on a broad fluorescence background with noise of 1 % of the "
        "strongest band) and unmixed by the mixture fit; TSV: weights, mixtures, first and "
        "top5 (per cent whose minerals are named exactly, first or among the first five fits)."));
    parser.addPositionalArgument(QStringLiteral("QUERIES"),
                                 QStringLiteral("folder of spectra to search (optional)"),
                                 QStringLiteral("[QUERIES]"));
    const QCommandLineOption methodOption(QStringLiteral("method"),
                                          QStringLiteral("all (default), mineral, fingerprint "
                                                         "or correlation"),
                                          QStringLiteral("METHOD"), QStringLiteral("all"));
    const QCommandLineOption detailsOption(QStringLiteral("details"),
                                           QStringLiteral("one row per query and method"));
    const QCommandLineOption mixturesOption(QStringLiteral("mixtures"),
                                            QStringLiteral("unmix N generated mixtures instead"),
                                            QStringLiteral("N"));
    const QCommandLineOption foldsOption(QStringLiteral("folds"),
                                         QStringLiteral("search the library's own spectra, each "
                                                        "without its fold of K by sample"),
                                         QStringLiteral("K"));
    parser.addOptions({methodOption, detailsOption, mixturesOption, foldsOption});
    SearchOptions options(parser);
    if (const auto done
        = parseCommandLine(parser, "evaluate", arguments, 0, 1, "QUERIES", out, err))
        return *done;
    QVector<SearchMethod> methods{SearchMethod::Mineral, SearchMethod::Fingerprint,
                                  SearchMethod::Correlation};
    if (parser.value(methodOption) != QLatin1String("all")) {
        const std::optional<SearchMethod> method
            = SearchOptions::searchMethod(parser.value(methodOption), methods, "evaluate", err);
        if (!method)
            return 2;
        methods = {*method};
    }
    if (const auto failed = options.read(parser, "evaluate", err))
        return *failed;

    QVector<LibraryPath> folders;
    const auto loaded = options.loadLibrary(parser, "evaluate", err, &folders);
    if (!loaded)
        return 1;
    const ReferenceLibrary &library = *loaded;
    if (parser.isSet(mixturesOption)) {
        bool ok = false;
        const int count = parser.value(mixturesOption).toInt(&ok);
        if (!ok || count < 1) {
            err << "raman-cli evaluate: --mixtures needs a positive number\n";
            return 2;
        }
        return printMixtureRates(library, count, options, out, err);
    }
    const QString queriesFolder = parser.positionalArguments().value(0);
    int folds = 0;
    if (parser.isSet(foldsOption)) {
        bool ok = false;
        folds = parser.value(foldsOption).toInt(&ok);
        if (!ok || folds < 2) {
            err << "raman-cli evaluate: --folds needs a whole number of at least 2\n";
            return 2;
        }
        if (!queriesFolder.isEmpty()) {
            err << "raman-cli evaluate: --folds splits the library itself; give no QUERIES\n";
            return 2;
        }
    }
    QVector<LabelledSpectrum> queries;
    if (!queriesFolder.isEmpty()) {
        if (!QFileInfo(queriesFolder).isDir()) {
            err << "raman-cli evaluate: " << QDir::toNativeSeparators(queriesFolder)
                << " is not a folder\n";
            return 1;
        }
        queries = labelledSpectra(queriesFolder);
    } else {
        for (const LibraryPath &folder : qAsConst(folders)) {
            if (folder.enabled)
                queries += labelledSpectra(folder.path);
        }
    }
    if (options.rebinStep() > 0.0) {
        for (LabelledSpectrum &query : queries)
            query.data = query.data.resampled(options.rebinStep());
    }
    if (queries.isEmpty()) {
        err << "raman-cli evaluate: no spectrum named mineral__sample__... to search\n";
        return 1;
    }

    const SearchEvaluation evaluation
        = evaluateSearches(library, queries, queriesFolder.isEmpty() ? LeaveOutOwnSample : 0,
                           methods, options.processing, options.fingerprint, folds);
    const struct
    {
        SearchMethod method;
        const HitRates &rates;
        int EvaluatedQuery::*rank;
    } rows[] = {
        {SearchMethod::Mineral, evaluation.mineral, &EvaluatedQuery::mineralRank},
        {SearchMethod::Fingerprint, evaluation.fingerprint, &EvaluatedQuery::fingerprintRank},
        {SearchMethod::Correlation, evaluation.correlation, &EvaluatedQuery::correlationRank},
    };
    for (int k = 0; k < evaluation.groupRules.size(); ++k) {
        const MineralSearchParameters &mineral = evaluation.mineralRules[k];
        const GroupAnswerParameters &group = evaluation.groupRules[k];
        err << "rules tuned on "
            << (k < folds ? QStringLiteral("the folds but %1").arg(k) : QStringLiteral("all folds"))
            << ": mineral sure when the lead >= " << mineral.confidentMargin << " - "
            << mineral.confidentSlope
            << " x (score - 9) and the score >= " << mineral.confidentScore
            << "; group sure when the score >= " << group.confidentScore
            << " and the lead over other groups >= " << group.confidentMargin << '\n';
    }
    if (parser.isSet(detailsOption)) {
        out << "file\tmineral\tmethod\trank\tanswer\tconfidence\tgroup_answer\tgroup_lead\t"
               "group_confidence\tgroup_right\n";
        for (const EvaluatedQuery &query : evaluation.queries) {
            for (const auto &row : rows) {
                if (!methods.contains(row.method))
                    continue;
                out << query.file << '\t' << query.mineral << '\t'
                    << SearchOptions::methodName(row.method) << '\t' << rankText(query.*row.rank);
                if (row.method == SearchMethod::Mineral)
                    out << '\t' << query.answer << '\t'
                        << MineralSearch::confidenceKeyword(query.confidence) << '\t'
                        << query.group.text() << '\t' << QString::number(query.group.margin, 'f', 3)
                        << '\t' << MineralSearch::confidenceKeyword(query.group.confidence) << '\t'
                        << int(query.groupRight);
                else
                    out << "\t\t\t\t\t\t";
                out << '\n';
            }
        }
        return 0;
    }
    out << "method\tqueries\tanswered\ttop1\ttop5\tconfident\tconfident_right\t"
           "uncertain_if_absent\tgroup_right\tgroup_confident\tgroup_confident_right\n";
    for (const auto &row : rows) {
        if (!methods.contains(row.method))
            continue;
        const HitRates &r = row.rates;
        out << SearchOptions::methodName(row.method) << '\t' << r.queries << '\t' << r.answered
            << '\t' << percent(r.top1, r.queries) << '\t' << percent(r.top5, r.queries);
        if (row.method == SearchMethod::Mineral)
            out << '\t' << percent(evaluation.confident, r.queries) << '\t'
                << percent(evaluation.confidentRight, evaluation.confident) << '\t'
                << percent(evaluation.uncertainWhenAbsent, r.queries) << '\t'
                << percent(evaluation.groupRight, r.queries) << '\t'
                << percent(evaluation.groupConfident, r.queries) << '\t'
                << percent(evaluation.groupConfidentRight, evaluation.groupConfident);
        else
            out << "\t-\t-\t-\t-\t-\t-";
        out << '\n';
    }
    return 0;
}
