// Time of saving one measurement of ten measuring points: bench_save [ROUNDS] [metadata]
// ("metadata": only the metadata-changed rounds, for profiling them alone)
// Each round saves into the same folder, so all but the first also replace the previous version.
#include "benchmeasurement.h"
#include "core/appidentity.h"
#include "report/summarypage.h"
#include "storage/savedata.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

using namespace BenchMeasurement;

namespace {

double ms(qint64 ns)
{
    return ns / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir workspace;
    // Backups go below the workspace, never into the user's own data folder.
    qputenv("XDG_DATA_HOME", workspace.filePath(QStringLiteral("data")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    AppIdentity::apply();
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const bool metadataOnly = argc > 2 && qstrcmp(argv[2], "metadata") == 0;

    QRandomGenerator random(1234);
    SaveData data = tenPoints(random);

    const QString parent = workspace.filePath(QStringLiteral("measurements"));
    std::printf("saving %d measuring points (photos 1280x960, spectra of %d points, CCD %dx%d), "
                "%d rounds each\n",
                points, spectrumLength, ccdWidth, ccdHeight, rounds);
    // "all new": every file is made (first save, or every point changed); "metadata": only the
    // sample data changed since the last save, as after editing it in the window.
    if (metadataOnly)
        data.save(parent, QStringLiteral("benchmark"), summaryPagesPdf);
    for (const bool onlyMetadata : {false, true}) {
        if (metadataOnly && !onlyMetadata)
            continue;
        std::printf("%s\n%6s %9s %9s %9s %9s %9s %9s %9s %6s\n",
                    onlyMetadata ? "metadata changed" : "all new", "round", "total", "cpu",
                    "encoding", "backup", "writing", "verifying", "swap", "ok");
        SaveTimings sum;
        double total = 0.0;
        double cpuTotal = 0.0;
        for (int r = 1; r <= rounds; ++r) {
            SaveData copy = data;
            if (onlyMetadata) {
                SaveDataMetadata metadata = copy.metadata();
                metadata.mineral_comment += QStringLiteral(" %1").arg(r);
                copy.setMetadata(metadata);
            }
            SaveTimings t;
            QElapsedTimer timer;
            const std::clock_t cpuStart = std::clock();
            timer.start();
            const bool ok = copy.save(parent, QStringLiteral("benchmark"), summaryPagesPdf, &t);
            const double elapsed = ms(timer.nsecsElapsed());
            const double cpu = 1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
            std::printf("%6d %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %6s\n", r, elapsed, cpu,
                        ms(t.encoding), ms(t.backup), ms(t.writing), ms(t.verifying), ms(t.swap),
                        ok ? "yes" : "NO");
            if (!ok)
                std::printf("%s\n", qPrintable(copy.lastSaveError()));
            if (onlyMetadata)
                data = copy;
            total += elapsed;
            cpuTotal += cpu;
            sum.encoding += t.encoding;
            sum.writing += t.writing;
            sum.verifying += t.verifying;
            sum.backup += t.backup;
            sum.swap += t.swap;
        }
        std::printf("%6s %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f   (ms per save)\n", "mean",
                    total / rounds, cpuTotal / rounds, ms(sum.encoding) / rounds,
                    ms(sum.backup) / rounds, ms(sum.writing) / rounds, ms(sum.verifying) / rounds,
                    ms(sum.swap) / rounds);
        if (!onlyMetadata) // the next rounds start from a saved measurement
            data.save(parent, QStringLiteral("benchmark"), summaryPagesPdf);
    }
    return 0;
}
