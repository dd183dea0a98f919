// The searches at the size of a real library, one row per figure we hold them to: start of the
// command-line tool (load from the cache and one query), one query per method, the two-mineral
// search over all pairs, the mixture fit, peak memory; beside them what a plain NumPy cosine does
// on the same files, when python3 has NumPy.
//   bench_library [LIBRARY] [--queries N] [--runs N] [--folds K]
// LIBRARY defaults to the whole RRUFF set of the shared test data. The command-line figures come
// from separate raman-cli processes (wall time, maximum resident memory); the per-query figures
// from this process, over N (default 50) of the library's own spectra on all cores. --folds K
// adds the K-fold evaluation by sample of every method.
#include "library/identify/mineralsearch.h"
#include "library/identify/search.h"
#include "library/librarycache.h"
#include "library/matching/peaksearch.h"
#include "library/referencelibrary.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>

extern char **environ;

namespace {

double cpuSeconds(const rusage &usage)
{
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct ProcessRun
{
    double seconds = -1.0;
    double cpuSeconds = 0.0; // user and system
    double peakMiB = 0.0;
    int exitCode = -1;
};

// Runs a program to its end with its output discarded; wall time and maximum resident memory.
ProcessRun runProcess(const QString &program, const QStringList &arguments)
{
    QVector<QByteArray> bytes{program.toLocal8Bit()};
    for (const QString &argument : arguments)
        bytes.append(argument.toLocal8Bit());
    QVector<char *> argv;
    for (QByteArray &b : bytes)
        argv.append(b.data());
    argv.append(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    ProcessRun run;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0)
        return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.seconds = timer.nsecsElapsed() / 1e9;
    run.cpuSeconds = cpuSeconds(usage);
    run.peakMiB = usage.ru_maxrss / 1024.0;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The fastest of `runs` runs (the least disturbed by other work on the machine).
ProcessRun bestOf(int runs, const QString &program, const QStringList &arguments)
{
    ProcessRun best;
    for (int i = 0; i < runs; ++i) {
        const ProcessRun run = runProcess(program, arguments);
        if (run.exitCode != 0)
            return run;
        if (best.seconds < 0 || run.seconds < best.seconds)
            best = run;
    }
    return best;
}

void row(const char *what, const QString &measured, const char *goal)
{
    std::printf("| %-58s | %-28s | %-10s |\n", what, qPrintable(measured), goal);
}

QString secondsText(const ProcessRun &run)
{
    return run.exitCode == 0 ? QStringLiteral("%1 s (cpu %2 s)")
                                   .arg(run.seconds, 0, 'f', 2)
                                   .arg(run.cpuSeconds, 0, 'f', 2)
                             : QStringLiteral("failed (exit %1)").arg(run.exitCode);
}

rusage ownUsage()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage;
}

// Mean wall time per query, and the cpu time of all threads per query.
template<typename Function>
QString perQuery(const QVector<int> &queries, Function search)
{
    const double cpu = cpuSeconds(ownUsage());
    QElapsedTimer timer;
    timer.start();
    for (const int q : queries)
        search(q);
    const double n = std::max(int(queries.size()), 1);
    return QStringLiteral("%1 ms (cpu %2 ms)")
        .arg(timer.nsecsElapsed() / 1e6 / n, 0, 'f', 2)
        .arg((cpuSeconds(ownUsage()) - cpu) * 1e3 / n, 0, 'f', 2);
}

// A folder of links to the library's spectrum files, so that the cache is built afresh beside
// them without writing into the shared data.
int linkLibrary(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    const QDir source(from);
    int count = 0;
    for (const QString &file : source.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        count += QFile::link(QFileInfo(source.filePath(file)).absoluteFilePath(),
                             to + QLatin1Char('/') + file);
    }
    return count;
}

void numpyRows(const QString &library, int queries)
{
    const QString script = QStringLiteral(RAMAN_SOURCE_DIR "/bench/cosine_numpy.py");
    // The python3 on the path may be another installation than the system's one with NumPy.
    QProcess python;
    for (const QString &interpreter :
         {QStringLiteral("python3"), QStringLiteral("/usr/bin/python3")}) {
        python.start(interpreter, {script, library, QString::number(std::max(queries, 200))});
        python.waitForFinished(-1);
        if (python.exitStatus() == QProcess::NormalExit && python.exitCode() == 0)
            break;
    }
    if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        std::printf("\nNo python3 with NumPy here; measured elsewhere on the 5,351 spectra: load "
                    "and grid 7.6 s, 13 ms per query.\n");
        return;
    }
    std::printf("\nNumPy, cosine on a 1.25 1/cm grid, same files (this run):\n%s",
                python.readAllStandardOutput().constData());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("LIBRARY"), QStringLiteral("spectrum folder"));
    const QCommandLineOption queriesOption(QStringLiteral("queries"),
                                           QStringLiteral("queries per method"),
                                           QStringLiteral("N"), QStringLiteral("50"));
    const QCommandLineOption runsOption(QStringLiteral("runs"),
                                        QStringLiteral("runs of each command (fastest counts)"),
                                        QStringLiteral("N"), QStringLiteral("3"));
    const QCommandLineOption foldsOption(
        QStringLiteral("folds"), QStringLiteral("also the K-fold evaluation"), QStringLiteral("K"));
    parser.addOptions({queriesOption, runsOption, foldsOption});
    parser.addHelpOption();
    parser.process(application);
    QString source = parser.positionalArguments().value(0);
    if (source.isEmpty()) {
        source = QStringLiteral(RAMAN_TEST_DATA_DIR "/rruff-full");
        if (!QFileInfo::exists(source))
            source = QStringLiteral(RAMAN_TEST_DATA_DIR "/rruff/library");
    }
    const int queryCount = std::max(1, parser.value(queriesOption).toInt());
    const int runs = std::max(1, parser.value(runsOption).toInt());
    const QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/raman-cli");
    if (!QFileInfo(cli).isExecutable()) {
        std::fprintf(stderr, "bench_library: build raman-cli first (%s)\n", qPrintable(cli));
        return 1;
    }
    QTemporaryDir temporary;
    const QString folder = temporary.filePath(QStringLiteral("library"));
    const int files = linkLibrary(source, folder);
    if (files == 0) {
        std::fprintf(stderr, "bench_library: no spectra in %s\n", qPrintable(source));
        return 1;
    }
    const QString query = QDir(folder).filePath(
        QDir(folder).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name).at(files / 2));
    // Other work on the machine shows in wall times; the load says how much there was.
    QFile loadAverage(QStringLiteral("/proc/loadavg"));
    loadAverage.open(QIODevice::ReadOnly);
    std::printf("%d spectra of %s; query %s; %d threads; load average %s\n", files,
                qPrintable(source), qPrintable(QFileInfo(query).fileName()),
                QThread::idealThreadCount(), loadAverage.readLine().trimmed().constData());

    const ProcessRun cache = runProcess(cli, {QStringLiteral("cache"), folder});
    const QStringList identify{QStringLiteral("identify"), query, QStringLiteral("--library"),
                               folder, QStringLiteral("--method")};
    const ProcessRun start
        = bestOf(runs, cli, identify + QStringList{QStringLiteral("fingerprint")});
    const ProcessRun startMineral
        = bestOf(runs, cli, identify + QStringList{QStringLiteral("mineral")});
    const QStringList mixture{QStringLiteral("mixture"), query, QStringLiteral("--library"), folder,
                              QStringLiteral("--method")};
    const ProcessRun pairs = runProcess(cli, mixture + QStringList{QStringLiteral("pairs")});
    const ProcessRun fit2
        = bestOf(runs, cli,
                 mixture
                     + QStringList{QStringLiteral("fit"), QStringLiteral("--components"),
                                   QStringLiteral("2")});
    const ProcessRun fit3
        = bestOf(runs, cli,
                 mixture
                     + QStringList{QStringLiteral("fit"), QStringLiteral("--components"),
                                   QStringLiteral("3")});

    LibraryPath path;
    path.path = folder;
    const ReferenceLibrary library = *ReferenceLibrary::load({path});
    const MineralSearch mineral(library);
    QVector<int> queries;
    for (int i = 0; i < queryCount; ++i)
        queries.append(int(qint64(i) * library.count() / queryCount));
    const ProcessingParameters processing = analysisStartParameters();
    const FingerprintParameters fingerprint;
    // Read beforehand: a query comes from a file, not from the library's cache.
    QHash<int, RamanData<Wavenumbers>> measuredSpectra;
    for (const int q : queries)
        measuredSpectra.insert(q, library.spectrumData(q));
    const auto spectrum = [&measuredSpectra](int q) { return measuredSpectra.value(q); };
    SearchParameters parameters;
    parameters.fingerprint = fingerprint;
    const auto search = [&](SearchMethod method) {
        return perQuery(queries, [&](int q) {
            searchLibrary(library, method, SearchQuery::fromSpectrum(spectrum(q), processing),
                          parameters, &mineral);
        });
    };
    search(SearchMethod::Fingerprint); // warm-up
    const QString fingerprintMs = search(SearchMethod::Fingerprint);
    const QString correlationMs = search(SearchMethod::Correlation);
    const QString mineralMs = search(SearchMethod::Mineral);
    // The stages of one query of each method, each timed over all queries.
    QVector<RamanData<Wavenumbers>> prepared, preparedUnit;
    QVector<SpectrumFingerprint> measured;
    QVector<MineralQuery> mineralQueries;
    QVector<QVector<double>> shapes, peaks;
    const QStringList stages{
        QStringLiteral("processing (to maximum 1)"),
        perQuery(queries,
                 [&](int q) {
                     prepared.append(SearchQuery::fromSpectrum(spectrum(q), processing)
                                         .processed.normalizedToMaximum());
                 }),
        QStringLiteral("fingerprint of the query"),
        perQuery(queries,
                 [&](int q) {
                     measured.append(buildFingerprint(prepared[queries.indexOf(q)], fingerprint));
                 }),
        QStringLiteral("fingerprint matching"),
        perQuery(
            queries,
            [&](int q) { library.fingerprintScores(measured[queries.indexOf(q)], fingerprint); }),
        QStringLiteral("processing (unit norm)"),
        perQuery(queries,
                 [&](int q) {
                     preparedUnit.append(
                         SearchQuery::fromSpectrum(spectrum(q), processing).processed.normalized());
                 }),
        QStringLiteral("correlation scan"),
        perQuery(queries, [&](int q) { library.correlations(preparedUnit[queries.indexOf(q)]); }),
        QStringLiteral("mineral: processing and root views"),
        perQuery(queries,
                 [&](int q) {
                     mineralQueries.append(mineral.prepare(
                         SearchQuery::fromSpectrum(spectrum(q), processing), fingerprint));
                 }),
        QStringLiteral("mineral: shape scan"),
        perQuery(
            queries,
            [&](int q) { shapes.append(mineral.shapeScores(mineralQueries[queries.indexOf(q)])); }),
        QStringLiteral("mineral: fingerprint matching"),
        perQuery(queries,
                 [&](int q) {
                     peaks.append(
                         mineral.peakScores(mineralQueries[queries.indexOf(q)], fingerprint));
                 }),
        QStringLiteral("mineral: ranking"),
        perQuery(queries, [&](int q) {
            const int i = queries.indexOf(q);
            MineralIdentification answer = mineral.rank(shapes[i], peaks[i]);
            mineral.orderCloseLeaders(mineralQueries[i], answer);
        })};

    row("", QStringLiteral("measured"), "goal");
    std::printf("|%s|%s|%s|\n", QByteArray(60, '-').constData(), QByteArray(30, '-').constData(),
                QByteArray(12, '-').constData());
    row("cache build (raman-cli cache)", secondsText(cache), "");
    row("start: load from cache and one query (fingerprint)", secondsText(start), "<= 0.3 s");
    row("start: the same with the mineral search", secondsText(startMineral), "<= 0.3 s");
    row("one query, fingerprint search (processing included)", fingerprintMs, "<= 2 ms");
    row("one query, correlation search", correlationMs, "<= 3 ms");
    row("one query, mineral search", mineralMs, "<= 5 ms");
    row("two-mineral search, all pairs (whole command)", secondsText(pairs), "<= 5 s");
    row("mixture fit, 2 components (whole command)", secondsText(fit2), "<= 0.5 s");
    row("mixture fit, 3 components (whole command)", secondsText(fit3), "<= 0.5 s");
    row("peak memory, start with fingerprint search",
        QStringLiteral("%1 MiB").arg(start.peakMiB, 0, 'f', 0), "<= 150 MB");
    row("peak memory, start with the mineral search",
        QStringLiteral("%1 MiB").arg(startMineral.peakMiB, 0, 'f', 0), "<= 150 MB");
    row("(this process: library and mineral search loaded)",
        QStringLiteral("%1 MiB").arg(ownUsage().ru_maxrss / 1024.0, 0, 'f', 0), "");

    std::printf("\nStages of one query (mean over the queries):\n");
    for (int i = 0; i + 1 < stages.size(); i += 2)
        std::printf("  %-40s %s\n", qPrintable(stages[i]), qPrintable(stages[i + 1]));
    std::printf("(command rows: wall time of the fastest of %d runs, its cpu time; per-query "
                "rows: mean over %d queries in one process)\n",
                runs, queryCount);
    numpyRows(folder, queryCount);

    if (parser.isSet(foldsOption)) {
        QProcess evaluate;
        evaluate.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer timer;
        timer.start();
        evaluate.start(cli, {QStringLiteral("evaluate"), QStringLiteral("--library"), folder,
                             QStringLiteral("--folds"), parser.value(foldsOption)});
        evaluate.waitForFinished(-1);
        std::printf("\n%s-fold evaluation by sample (%.0f s):\n%s",
                    qPrintable(parser.value(foldsOption)), timer.elapsed() / 1000.0,
                    evaluate.readAllStandardOutput().constData());
    }
    return 0;
}
