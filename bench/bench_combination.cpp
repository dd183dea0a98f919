// Two-mineral search speed: N^2 fingerprint matches on the real RRUFF library and on generated
// libraries, and the cost of one match in place against matching a combined copy.
//   bench_combination [SIZE...]   (default 1000 3000 generated spectra)
#include "library/identify/searchquery.h"
#include "library/matching/peaksearch.h"
#include "library/referencelibrary.h"

#include "generatedlibrary.h"
#include "library/matching/fingerprintmatcher.h"
#include "librarycopy.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QThreadPool>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double peakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// The fingerprint of the sum of two library spectra, as the analysis would build it.
SpectrumFingerprint mixtureFingerprint(const ReferenceLibrary &library, int a, int b)
{
    const RamanData<Wavenumbers> first = library.gridSpectrum(a).normalizedToMaximum();
    const RamanData<Wavenumbers> second = library.gridSpectrum(b).normalizedToMaximum();
    RamanData<Wavenumbers> sum;
    for (int i = 0, j = 0; i < first.size() && j < second.size();) {
        if (first.x[i] < second.x[j] - 1e-6) {
            ++i;
        } else if (second.x[j] < first.x[i] - 1e-6) {
            ++j;
        } else {
            sum.x.append(first.x[i]);
            sum.y.append(first.y[i++] + second.y[j++]);
        }
    }
    return buildFingerprint(
        SearchQuery::fromSpectrum(sum, analysisStartParameters()).processed.normalizedToMaximum(),
        FingerprintParameters());
}

// Microseconds per match on one thread over the first `count` x `count` pairs: matching a
// combined copy, matching in place, and in place with the measured neighbours of the library
// peaks found beforehand (as the search does).
void perMatchCost(const ReferenceLibrary &library, const SpectrumFingerprint &measured, int count)
{
    const QVector<SpectrumFingerprint> &fingerprints = library.fingerprints();
    const FingerprintParameters parameters;
    double checksum[3] = {0.0, 0.0, 0.0};
    double microseconds[3] = {0.0, 0.0, 0.0};
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < count; ++j)
            checksum[0] += matchFingerprints(
                measured, combinedFingerprint(fingerprints[i], fingerprints[j]), parameters);
    }
    microseconds[0] = timer.nsecsElapsed() / 1e3 / (double(count) * count);

    const FingerprintMatcher matcher(measured, parameters);
    QVector<QVector<FingerprintPeak>> sorted;
    QVector<QVector<int>> nearest;
    int mostPeaks = 0;
    for (int i = 0; i < count; ++i) {
        QVector<FingerprintPeak> peaks = fingerprints[i].peaks;
        std::stable_sort(peaks.begin(), peaks.end(),
                         [](const auto &p, const auto &q) { return p.position < q.position; });
        QVector<int> neighbours;
        for (const FingerprintPeak &peak : qAsConst(peaks))
            neighbours.append(matcher.nearestMeasuredPeak(peak.position));
        sorted.append(peaks);
        nearest.append(neighbours);
        mostPeaks = std::max(mostPeaks, int(peaks.size()));
    }
    QVector<FingerprintPeak> buffer(2 * mostPeaks);
    QVector<int> bufferNearest(2 * mostPeaks);
    for (int variant = 1; variant <= 2; ++variant) {
        timer.restart();
        for (int i = 0; i < count; ++i) {
            for (int j = 0; j < count; ++j) {
                const SpectrumFingerprint &a = fingerprints[i];
                const SpectrumFingerprint &b = fingerprints[j];
                SortedPeaksFingerprint sum;
                sum.peaks = buffer.constData();
                if (variant == 1) {
                    sum.count
                        = combinePeaks(sorted[i].constData(), sorted[i].size(),
                                       sorted[j].constData(), sorted[j].size(), buffer.data());
                } else {
                    sum.count = combinePeaks(sorted[i].constData(), nearest[i].constData(),
                                             sorted[i].size(), sorted[j].constData(),
                                             nearest[j].constData(), sorted[j].size(),
                                             buffer.data(), bufferNearest.data());
                    sum.nearestMeasured = bufferNearest.constData();
                }
                sum.xFirst = std::min(a.xFirst, b.xFirst);
                sum.xLast = std::max(a.xLast, b.xLast);
                sum.noise = (a.noise + b.noise) / 2.0;
                checksum[variant] += matcher.match(sum);
            }
        }
        microseconds[variant] = timer.nsecsElapsed() / 1e3 / (double(count) * count);
    }
    std::printf("one thread, %d x %d pairs: %.3f us per match of a combined copy, %.3f in place, "
                "%.3f in place with neighbours known%s\n",
                count, count, microseconds[0], microseconds[1], microseconds[2],
                checksum[0] == checksum[1] && checksum[1] == checksum[2] ? "" : "  SCORES DIFFER");
}

void measure(const char *label, const QString &folder)
{
    std::printf("== %s\n", label);
    ReferenceLibrary library;
    LibraryPath path;
    path.path = folder;

    QElapsedTimer timer;
    timer.start();
    library = *ReferenceLibrary::load({path});
    const int n = library.count();
    qint64 peaks = 0;
    int withoutPeaks = 0;
    for (const SpectrumFingerprint &f : library.fingerprints()) {
        peaks += f.peaks.size();
        withoutPeaks += f.peaks.isEmpty();
    }
    std::printf("%d spectra loaded in %.1f s; %.1f peaks per fingerprint, %d without peaks\n", n,
                timer.elapsed() / 1000.0, double(peaks) / n, withoutPeaks);

    const SpectrumFingerprint measured = mixtureFingerprint(library, n / 3, 2 * n / 3);
    std::printf("measured fingerprint (mixture of spectra %d and %d): %d peaks\n", n / 3, 2 * n / 3,
                int(measured.peaks.size()));
    perMatchCost(library, measured, std::min(n, 300));

    const double matches = double(n) * n;
    const double memoryBefore = peakMemoryMiB();
    QVector<double> wall, cpu;
    for (int run = 0; run < 3; ++run) {
        const double cpuStart = cpuSeconds();
        timer.restart();
        QFuture<QVector<LinearCombinationResult>> search
            = library.startCombinationSearch(measured, FingerprintParameters());
        const double startMs = timer.nsecsElapsed() / 1e6;
        search.waitForFinished();
        wall.append(timer.nsecsElapsed() / 1e9);
        cpu.append(cpuSeconds() - cpuStart);
        const QVector<LinearCombinationResult> best = search.result();
        std::printf("search %d: %6.2f s wall, %6.2f s CPU, %5.2f M matches/s (%.2f M per CPU "
                    "second); returned after %.1f ms; %d kept, best %.3f\n",
                    run + 1, wall.last(), cpu.last(), matches / wall.last() / 1e6,
                    matches / cpu.last() / 1e6, startMs, int(best.size()),
                    best.isEmpty() ? -1.0 : best.constFirst().score);
    }
    std::sort(wall.begin(), wall.end());
    std::printf("%.2f M matches: best %.2f s, median %.2f s (%.2f M matches/s)\n", matches / 1e6,
                wall.first(), wall[1], matches / wall[1] / 1e6);
    std::printf("peak memory %.1f MiB before the searches, %.1f MiB after; a task's results "
                "are %.0f KiB\n\n",
                memoryBefore, peakMemoryMiB(), n * sizeof(LinearCombinationResult) / 1024.0);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QLoggingCategory::setFilterRules(
        QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
    std::printf("%d threads in the global pool\n\n",
                QThreadPool::globalInstance()->maxThreadCount());
    QVector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(QString::fromLocal8Bit(argv[i]).toInt());
    if (sizes.isEmpty())
        sizes = {1000, 3000};
    QTemporaryDir dir;

    const QString real = QStringLiteral(RAMAN_TEST_DATA_DIR "/rruff/library");
    if (QFileInfo::exists(real)) {
        const QString copy = dir.filePath(QStringLiteral("rruff"));
        if (copyLibraryFolder(real, copy))
            measure("real RRUFF library", copy);
    }
    for (int size : qAsConst(sizes)) {
        const QString folder = dir.filePath(QStringLiteral("generated%1").arg(size));
        if (!writeGeneratedLibrary(folder, size)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(folder));
            return 1;
        }
        measure(qPrintable(QStringLiteral("generated library of %1 spectra").arg(size)), folder);
    }
    return 0;
}
