#include "identifycommand.h"

#include "clicommand.h"

#include "searchoptions.h"

#include "library/rlibrary.h"
#include "spectrum/spectrumfile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <numeric>

namespace {

bool methodFlags(const QString &method, unsigned *flags)
{
    if (method == QLatin1String("fingerprint"))
        *flags = RLibrary::FingerprintSearch;
    else if (method == QLatin1String("correlation"))
        *flags = RLibrary::NormalizeToUnitNorm;
    else if (method == QLatin1String("auto"))
        *flags = RLibrary::ChooseSearchMethod;
    else
        return false;
    return true;
}

} // namespace

int runIdentifyCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Searches each spectrum file (JCAMP-DX, SPC, RRUFF text, CSV) against the reference "
        "library and prints the best hits as "
        "TSV: query, rank, score (0-10), name, number, RRUFF id, library, formula.\n"
        "Defaults are those of a fresh analysis: cut 60:4000, spline background with 8 dynamic "
        "support points, fingerprint search."));
    parser.addPositionalArgument(QStringLiteral("SPECTRUM"), QStringLiteral("spectrum files"),
                                 QStringLiteral("SPECTRUM..."));
    const QCommandLineOption methodOption(QStringLiteral("method"),
                                          QStringLiteral("fingerprint (default), correlation or "
                                                         "auto"),
                                          QStringLiteral("METHOD"), QStringLiteral("fingerprint"));
    parser.addOption(methodOption);
    SearchOptions options(parser);
    if (const auto done
        = parseCommandLine(parser, "identify", arguments, 1, -1, "SPECTRUM", out, err))
        return *done;
    const QStringList queries = parser.positionalArguments();
    unsigned flags = 0;
    if (!methodFlags(parser.value(methodOption), &flags)) {
        err << "raman-cli identify: unknown --method '" << parser.value(methodOption)
            << "' (fingerprint, correlation or auto)\n";
        return 2;
    }
    if (const auto failed = options.read(parser, "identify", err))
        return *failed;

    RLibrary library;
    options.loadLibrary(parser, library);
    if (library.count() == 0) {
        err << "raman-cli identify: the library holds no spectra\n";
        return 1;
    }

    out << "query\trank\tscore\tname\tnumber\trruff_id\tlibrary\tformula\n";
    bool failed = false;
    for (const QString &query : queries) {
        if (!QFileInfo(query).isFile()) {
            err << "raman-cli identify: cannot read " << QDir::toNativeSeparators(query) << '\n';
            failed = true;
            continue;
        }
        const RamanData<Wavenumbers> spectrum
            = options.loadSpectrum(parser, query, "identify", err);
        if (spectrum.isEmpty()) {
            failed = true;
            continue;
        }
        const QVector<double> scores
            = library.computeCorrelations(spectrum, options.processing, flags, options.fingerprint);
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
            const rruff_infos &info = library.spectra().at(index).info;
            out << query << '\t' << rank + 1 << '\t' << QString::number(scores[index], 'f', 3)
                << '\t' << info.name << '\t' << info.number << '\t' << info.rruffId << '\t'
                << info.library << '\t' << info.chemistry.formulaPlain << '\n';
        }
    }
    return failed ? 1 : 0;
}
