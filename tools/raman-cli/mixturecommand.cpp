#include "mixturecommand.h"

#include "clicommand.h"
#include "searchoptions.h"

#include "library/rlibrary.h"
#include "spectrum/spectrumfile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

int runMixtureCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Searches the reference library for the pairs of spectra whose sum matches the text "
        "spectrum best (every pair of fingerprints, so it takes a while on large libraries). "
        "Prints the distinct best pairs as TSV: rank, score (0-10), name 1, number 1, name 2, "
        "number 2; progress goes to standard error.\n"
        "Defaults are those of a fresh analysis: cut 60:4000, spline background with 8 dynamic "
        "support points."));
    parser.addPositionalArgument(QStringLiteral("SPECTRUM"), QStringLiteral("spectrum file"));
    SearchOptions options(parser);
    if (const auto done
        = parseCommandLine(parser, "mixture", arguments, 1, 1, "SPECTRUM", out, err))
        return *done;
    if (const auto failed = options.read(parser, "mixture", err))
        return *failed;
    const QString query = parser.positionalArguments().constFirst();
    if (!QFileInfo(query).isFile()) {
        err << "raman-cli mixture: cannot read " << QDir::toNativeSeparators(query) << '\n';
        return 1;
    }
    const RamanData<Wavenumbers> spectrum = options.loadSpectrum(parser, query, "mixture", err);
    if (spectrum.isEmpty())
        return 1;
    const FingerprintParameters &parameters = options.fingerprint;
    const SpectrumFingerprint measured
        = spectrum.isEmpty()
              ? SpectrumFingerprint()
              : buildFingerprint(RLibrary::prepareSpectrum(spectrum, options.processing,
                                                           RLibrary::FingerprintSearch),
                                 parameters);
    if (measured.peaks.isEmpty()) {
        err << "raman-cli mixture: " << QDir::toNativeSeparators(query)
            << " has no peaks to search for\n";
        return 1;
    }

    RLibrary library;
    options.loadLibrary(parser, library);
    const int count = library.count();
    if (count == 0) {
        err << "raman-cli mixture: the library holds no spectra\n";
        return 1;
    }

    QElapsedTimer timer;
    timer.start();
    QFuture<QVector<LinearCombinationResult>> search
        = library.startCombinationSearch(measured, parameters);
    qint64 reported = 0;
    while (!search.isFinished()) {
        QThread::msleep(100);
        if (timer.elapsed() - reported < 1000)
            continue;
        reported = timer.elapsed();
        const CombinationProgress p = combinationProgress(
            search.progressValue(), search.progressMaximum(), count, timer.elapsed());
        err << "searched " << p.done / 1000 << " k of " << p.total / 1000 << " k combinations ("
            << p.remainingSeconds / 60 << " m " << p.remainingSeconds % 60 << " s left)\n";
        err.flush();
    }
    err << "searched " << qint64(count) * count << " combinations of " << count << " spectra in "
        << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " s\n";

    out << "rank\tscore\tname_1\tnumber_1\tname_2\tnumber_2\n";
    const QVector<LinearCombinationResult> pairs = distinctPairs(search.result());
    for (int rank = 0; rank < options.top && rank < pairs.size(); ++rank) {
        const LinearCombinationResult &pair = pairs[rank];
        if (pair.score < 0)
            break; // no score: neither fingerprint had peaks
        const rruff_infos *first = &pair.first->info;
        const rruff_infos *second = &pair.second->info;
        if (first->name > second->name)
            std::swap(first, second);
        out << rank + 1 << '\t' << QString::number(pair.score, 'f', 3) << '\t' << first->name
            << '\t' << first->number << '\t' << second->name << '\t' << second->number << '\n';
    }
    return 0;
}
