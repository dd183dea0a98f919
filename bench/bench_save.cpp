// Time of saving one measurement of ten measuring points: bench_save [ROUNDS]
// Each round saves into the same folder, so all but the first also move the previous one aside.
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

    QRandomGenerator random(1234);
    SaveData data = tenPoints(random);

    const QString parent = workspace.filePath(QStringLiteral("measurements"));
    std::printf("saving %d measuring points (photos 1280x960, spectra of %d points, CCD %dx%d), "
                "%d rounds\n",
                points, spectrumLength, ccdWidth, ccdHeight, rounds);
    std::printf("%6s %9s %9s %9s %9s %9s %9s %9s %6s\n", "round", "total", "cpu", "backup",
                "pictures", "text", "summaries", "json", "ok");
    SaveTimings sum;
    double total = 0.0;
    double cpuTotal = 0.0;
    for (int r = 1; r <= rounds; ++r) {
        SaveTimings t;
        QElapsedTimer timer;
        const std::clock_t cpuStart = std::clock();
        timer.start();
        const bool ok = data.save(parent, QStringLiteral("benchmark"), writeSummaryPage, &t);
        const double elapsed = ms(timer.nsecsElapsed());
        const double cpu = 1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        std::printf("%6d %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %6s\n", r, elapsed, cpu,
                    ms(t.backup), ms(t.pictures), ms(t.textFiles), ms(t.summaries), ms(t.json),
                    ok ? "yes" : "NO");
        total += elapsed;
        cpuTotal += cpu;
        sum.backup += t.backup;
        sum.pictures += t.pictures;
        sum.textFiles += t.textFiles;
        sum.summaries += t.summaries;
        sum.json += t.json;
    }
    std::printf("%6s %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f   (ms per save)\n", "mean",
                total / rounds, cpuTotal / rounds, ms(sum.backup) / rounds,
                ms(sum.pictures) / rounds, ms(sum.textFiles) / rounds, ms(sum.summaries) / rounds,
                ms(sum.json) / rounds);
    return 0;
}
