// Library speed: cache build, load from cache, one correlation and one fingerprint search.
//   bench_library [SPECTRA]   (default 10000 generated spectra; also runs on the real RRUFF
//   library)
#include "library/librarycache.h"
#include "library/rlibrary.h"
#include "spectrum/spectrumfile.h"

#include "generatedlibrary.h"
#include "librarycopy.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

namespace {

double peakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

template<typename Function>
double milliseconds(Function function, int repeat = 1)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < repeat; ++i)
        function();
    return timer.nsecsElapsed() / 1e6 / repeat;
}

void measure(const char *label, const QString &folder)
{
    std::printf("== %s\n", label);
    const double build = milliseconds([&] { LibraryCache::ensureCache(folder); });
    std::printf("cache build from text:     %9.1f ms (%.1f MiB archive)\n", build,
                QFileInfo(LibraryCache::cachePath(folder)).size() / 1048576.0);

    RLibrary library;
    LibraryPath path;
    path.path = folder;
    library.setLibraryFolders({path});
    const double load = milliseconds([&] { library.readLibraryFromDisk(); });
    std::printf("load from cache:           %9.1f ms (%d spectra, resampling and fingerprints "
                "included)\n",
                load, library.count());

    const RamanData<Wavenumbers> query = library.spectrumData(library.count() / 2);
    const ProcessingParameters processing = analysisStartParameters();
    library.computeCorrelations(query, processing, RLibrary::NormalizeToUnitNorm,
                                FingerprintParameters()); // warm-up
    const double correlation = milliseconds(
        [&] {
            library.computeCorrelations(query, processing, RLibrary::NormalizeToUnitNorm,
                                        FingerprintParameters());
        },
        5);
    const double fingerprint = milliseconds(
        [&] {
            library.computeCorrelations(query, processing, RLibrary::FingerprintSearch,
                                        FingerprintParameters());
        },
        5);
    const SpectrumFingerprint measured = library.fingerprint(library.count() / 2);
    const double matchOnly
        = milliseconds([&] { library.computeCorrelations(measured, FingerprintParameters()); }, 5);
    std::printf("correlation search:        %9.2f ms (query preparation included)\n", correlation);
    std::printf("fingerprint search:        %9.2f ms (query preparation included)\n", fingerprint);
    std::printf("fingerprint matching only: %9.2f ms\n", matchOnly);
    std::printf("peak memory so far:        %9.1f MiB\n", peakMemoryMiB());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    QTemporaryDir dir;

    const QString real = QStringLiteral(RAMAN_TEST_DATA_DIR "/rruff/library");
    if (QFileInfo::exists(real)) {
        const QString copy = dir.filePath(QStringLiteral("rruff"));
        copyLibraryFolder(real, copy);
        measure("real RRUFF library", copy);
    }

    const QString generated = dir.filePath(QStringLiteral("generated"));
    QElapsedTimer timer;
    timer.start();
    writeGeneratedLibrary(generated, count);
    std::printf("\n(wrote %d generated spectra in %.1f s)\n", count, timer.elapsed() / 1000.0);
    measure("generated library", generated);
    return 0;
}
