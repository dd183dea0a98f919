#include "identifycommand.h"

#include "clicommand.h"

#include "searchoptions.h"

#include "library/identify/groupanswer.h"
#include "library/identify/mineralsearch.h"
#include "library/mineralgroups.h"
#include "library/referencelibrary.h"
#include "spectrum/spectrumfile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <numeric>
#include <optional>

namespace {

// A query the mineral search cannot answer still gets its row, so that tables stay complete.
void printNoAnswer(const QString &query, QTextStream &out)
{
    const char *uncertain = MineralSearch::confidenceKeyword(IdentificationConfidence::Uncertain);
    out << query << "\t\t\t\t\t\t\t\t" << uncertain << "\t\t\t" << uncertain << '\n';
}

// The mineral search's answers: its best minerals, each with its best spectrum and structural
// group; the confidences and the answer at group level stand on the first row (the answer's),
// the others carry "-".
void printMinerals(const MineralIdentification &answer, const ReferenceLibrary &library,
                   const QString &query, int top, QTextStream &out)
{
    const GroupAnswer group = groupAnswer(answer);
    for (int rank = 0; rank < top && rank < answer.minerals.size(); ++rank) {
        const MineralHit &hit = answer.minerals[rank];
        const rruff_infos &info = library.info(hit.spectrum);
        out << query << '\t' << rank + 1 << '\t' << QString::number(hit.score, 'f', 3) << '\t'
            << info.name << '\t' << info.number << '\t' << info.rruffId << '\t' << info.library
            << '\t' << info.chemistry.formulaPlain << '\t'
            << (rank == 0 ? MineralSearch::confidenceKeyword(answer.confidence) : "-") << '\t'
            << MineralGroups::shipped().groupsOf(info.name).join(QStringLiteral(", ")) << '\t'
            << (rank == 0 ? group.text() : QStringLiteral("-")) << '\t'
            << (rank == 0 ? MineralSearch::confidenceKeyword(group.confidence) : "-") << '\n';
    }
}

} // namespace

int runIdentifyCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Searches each spectrum file (JCAMP-DX, SPC, RRUFF text, CSV) against the reference "
            "library and prints the best hits as "
            "TSV: query, rank, score (0-10), name, number, RRUFF id, library, formula, and for the "
            "mineral search the confidence, the mineral's structural group (as the IMA list names "
            "it), the answer at group level and its confidence (on the first row).\n"
            "Methods: fingerprint (band positions), correlation (whole spectrum), auto "
            "(correlation for spectra too noisy for bands), mineral: ranks minerals by their best "
            "spectrum (moved a tenth of the way towards their second best), scored 80 % by the "
            "cosine of the square roots of both spectra (above their background and twice their "
            "noise; the better of a background broader than 200 1/cm and one broader than "
            "40 1/cm) over the range both cover and 20 % by the fingerprint score. When the two "
            "best minerals are close (a lead below %2) and have three reference spectra between "
            "them, the bands in which their references differ decide their order, so the first "
            "may score less than the second; it is then uncertain.\n"
            "%1 A mineral missing from the library mostly shows as uncertain. "
            "A spectrum that cannot be read or searched (flat, too short, not numbers, outside "
            "every library range) gets an empty row marked uncertain and a message.\n"
            "Defaults are those of a fresh analysis (cut 60:4000, spline background with 8 "
            "dynamic support points); the method defaults to the mineral search.")
            .arg(confidenceRuleEnglish(),
                 QString::number(0.5 * MineralSearchParameters().leaderLeanWeight)));
    parser.addPositionalArgument(QStringLiteral("SPECTRUM"), QStringLiteral("spectrum files"),
                                 QStringLiteral("SPECTRUM..."));
    const QCommandLineOption methodOption(QStringLiteral("method"),
                                          QStringLiteral("mineral (default), fingerprint, "
                                                         "correlation or auto"),
                                          QStringLiteral("METHOD"), QStringLiteral("mineral"));
    parser.addOption(methodOption);
    SearchOptions options(parser);
    if (const auto done
        = parseCommandLine(parser, "identify", arguments, 1, -1, "SPECTRUM", out, err))
        return *done;
    const QStringList queries = parser.positionalArguments();
    const std::optional<SearchMethod> method
        = SearchOptions::searchMethod(parser.value(methodOption),
                                      {SearchMethod::Mineral, SearchMethod::Fingerprint,
                                       SearchMethod::Correlation, SearchMethod::Automatic},
                                      "identify", err);
    if (!method)
        return 2;
    if (const auto failed = options.read(parser, "identify", err))
        return *failed;

    const auto loaded = options.loadLibrary(parser, "identify", err);
    if (!loaded)
        return 1;
    const ReferenceLibrary &library = *loaded;

    const bool minerals = *method == SearchMethod::Mineral;
    const std::shared_ptr<const MineralSearch> search
        = minerals ? MineralSearch::forLibrary(library) : nullptr;
    const SearchParameters parameters = options.searchParameters();
    out << "query\trank\tscore\tname\tnumber\trruff_id\tlibrary\tformula"
        << (minerals ? "\tconfidence\tgroup\tgroup_answer\tgroup_confidence\n" : "\n");
    bool failed = false;
    for (const QString &query : queries) {
        if (!QFileInfo(query).isFile()) {
            err << "raman-cli identify: cannot read " << QDir::toNativeSeparators(query) << '\n';
            failed = true;
            if (search)
                printNoAnswer(query, out);
            continue;
        }
        const RamanData<Wavenumbers> spectrum
            = options.loadSpectrum(parser, query, "identify", err);
        if (spectrum.isEmpty()) {
            failed = true;
            if (search)
                printNoAnswer(query, out);
            continue;
        }
        const SearchResult found = searchLibrary(
            library, *method, SearchQuery::fromSpectrum(spectrum, options.processing), parameters,
            search.get());
        if (search) {
            if (found.problem.isEmpty()) {
                printMinerals(found.minerals, library, query, options.top, out);
            } else {
                err << "raman-cli identify: " << QDir::toNativeSeparators(query) << ": no answer ("
                    << found.problem << "), uncertain\n";
                printNoAnswer(query, out);
                failed = true;
            }
            continue;
        }
        const QVector<double> &scores = found.scores;
        if (scores.isEmpty()) {
            err << "raman-cli identify: " << QDir::toNativeSeparators(query)
                << " holds no usable spectrum\n";
            failed = true;
            continue;
        }
        QVector<int> order(scores.size());
        std::iota(order.begin(), order.end(), 0);
        const int shown = std::min(options.top, int(order.size()));
        std::partial_sort(order.begin(), order.begin() + shown, order.end(),
                          [&scores](int a, int b) { return scores[a] > scores[b]; });
        for (int rank = 0; rank < shown; ++rank) {
            const int index = order[rank];
            if (scores[index] < 0)
                break; // no score: neither fingerprint had peaks
            const rruff_infos &info = library.info(index);
            out << query << '\t' << rank + 1 << '\t' << QString::number(scores[index], 'f', 3)
                << '\t' << info.name << '\t' << info.number << '\t' << info.rruffId << '\t'
                << info.library << '\t' << info.chemistry.formulaPlain << '\n';
        }
    }
    return failed ? 1 : 0;
}
