#include "mixturecommand.h"

#include "clicommand.h"
#include "searchoptions.h"

#include "library/identify/mixturefit.h"
#include "library/matching/peaksearch.h"
#include "library/referencelibrary.h"
#include "spectrum/spectrumfile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

namespace {

// The mixture fit: non-negative combinations of two or three library spectra and a smooth
// background, best first.
int printFits(const ReferenceLibrary &library, const SearchResult &found, const QString &query,
              int components, QTextStream &out, QTextStream &err)
{
    const QVector<MixtureFit> &fits = found.mixtures;
    if (fits.isEmpty()) {
        err << "raman-cli mixture: " << QDir::toNativeSeparators(query) << ": no answer ("
            << found.problem << ")\n";
        return 1;
    }
    out << "rank\tunexplained\tfrom\tto";
    for (int c = 1; c <= components; ++c)
        out << "\tname_" << c << "\tnumber_" << c << "\tfraction_" << c;
    out << '\n';
    for (int rank = 0; rank < fits.size(); ++rank) {
        const MixtureFit &fit = fits[rank];
        out << rank + 1 << '\t' << QString::number(fit.residual, 'f', 4) << '\t' << fit.firstX
            << '\t' << fit.lastX;
        for (const MixtureComponent &c : fit.components)
            out << '\t' << c.name << '\t' << library.info(c.spectrum).number << '\t'
                << QString::number(c.fraction, 'f', 3);
        out << '\n';
    }
    return 0;
}

} // namespace

int runMixtureCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Searches the reference library for the pairs of spectra whose sum matches the text "
        "spectrum best (every pair of fingerprints, so it takes a while on large libraries). "
        "Prints the distinct best pairs as TSV: rank, score (0-10), name 1, number 1, name 2, "
        "number 2; progress goes to standard error.\n"
        "With --method fit: fits the spectrum as a non-negative sum of 2 or 3 (--components) "
        "library spectra plus a smooth background over the range they share, the candidates "
        "taken from the single search and from what single fits leave over (the spectra most "
        "like it and those that explain most of it). Prints TSV: rank, "
        "unexplained share of the intensity (0-1), fitted range, then name, number and share "
        "of the band area for each component.\n"
        "Defaults are those of a fresh analysis: cut 60:4000, spline background with 8 dynamic "
        "support points."));
    parser.addPositionalArgument(QStringLiteral("SPECTRUM"), QStringLiteral("spectrum file"));
    const QCommandLineOption methodOption(QStringLiteral("method"),
                                          QStringLiteral("pairs (fingerprints of all pairs, "
                                                         "default) or fit"),
                                          QStringLiteral("METHOD"), QStringLiteral("pairs"));
    const QCommandLineOption componentsOption(QStringLiteral("components"),
                                              QStringLiteral("components of --method fit: 2 "
                                                             "(default) or 3"),
                                              QStringLiteral("N"), QStringLiteral("2"));
    parser.addOptions({methodOption, componentsOption});
    SearchOptions options(parser);
    if (const auto done
        = parseCommandLine(parser, "mixture", arguments, 1, 1, "SPECTRUM", out, err))
        return *done;
    if (const auto failed = options.read(parser, "mixture", err))
        return *failed;
    const std::optional<SearchMethod> method = SearchOptions::searchMethod(
        parser.value(methodOption), {SearchMethod::Pairs, SearchMethod::MixtureFit}, "mixture",
        err);
    if (!method)
        return 2;
    const QString components = parser.value(componentsOption);
    if (components != QLatin1String("2") && components != QLatin1String("3")) {
        err << "raman-cli mixture: --components needs 2 or 3\n";
        return 2;
    }
    const QString query = parser.positionalArguments().constFirst();
    if (!QFileInfo(query).isFile()) {
        err << "raman-cli mixture: cannot read " << QDir::toNativeSeparators(query) << '\n';
        return 1;
    }
    const RamanData<Wavenumbers> spectrum = options.loadSpectrum(parser, query, "mixture", err);
    if (spectrum.isEmpty())
        return 1;
    const auto loaded = options.loadLibrary(parser, "mixture", err);
    if (!loaded)
        return 1;
    const ReferenceLibrary &library = *loaded;
    SearchParameters parameters = options.searchParameters();
    parameters.components = components.toInt();
    QElapsedTimer timer;
    timer.start();
    qint64 reported = 0;
    parameters.progress = [&](int value, int maximum) {
        if (timer.elapsed() - reported < 1000)
            return true;
        reported = timer.elapsed();
        const CombinationProgress p
            = combinationProgress(value, maximum, library.count(), timer.elapsed());
        err << "searched " << p.done / 1000 << " k of " << p.total / 1000 << " k combinations ("
            << p.remainingSeconds / 60 << " m " << p.remainingSeconds % 60 << " s left)\n";
        err.flush();
        return true;
    };
    const SearchResult found = searchLibrary(
        library, *method, SearchQuery::fromSpectrum(spectrum, options.processing), parameters);
    if (*method == SearchMethod::MixtureFit)
        return printFits(library, found, query, parameters.components, out, err);
    if (!found.problem.isEmpty()) {
        err << "raman-cli mixture: " << QDir::toNativeSeparators(query) << ": " << found.problem
            << '\n';
        return 1;
    }
    const int count = library.count();
    err << "searched " << qint64(count) * count << " combinations of " << count << " spectra in "
        << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " s\n";

    out << "rank\tscore\tname_1\tnumber_1\tname_2\tnumber_2\n";
    const QVector<LinearCombinationResult> &pairs = found.pairs;
    for (int rank = 0; rank < options.top && rank < pairs.size(); ++rank) {
        const LinearCombinationResult &pair = pairs[rank];
        if (pair.score < 0)
            break; // no score: neither fingerprint had peaks
        const rruff_infos *first = &library.info(pair.first);
        const rruff_infos *second = &library.info(pair.second);
        if (first->name > second->name)
            std::swap(first, second);
        out << rank + 1 << '\t' << QString::number(pair.score, 'f', 3) << '\t' << first->name
            << '\t' << first->number << '\t' << second->name << '\t' << second->number << '\n';
    }
    return 0;
}
