// How long the main window stops answering while a measurement of ten measuring points with
// photos is shown, and while the user switches between two of them: bench_display [SWITCHES]
// A 5 ms heartbeat runs on the GUI thread; the longest gap between two beats is the freeze.
#include "benchmeasurement.h"
#include "browse/savedatabrowsemodel.h"
#include "browse/ui/savedatabrowsewidget.h"
#include "core/appidentity.h"
#include "savedata_view/savedatamodel.h"
#include "ui/browsermainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <functional>

namespace {

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Runs the event loop until `done` holds; returns the longest gap between heartbeats in ms.
// `total` receives the wall time, `cpu` the GUI thread's own CPU time, which other processes
// on a loaded machine do not inflate.
double longestFreeze(const std::function<bool()> &done, double *total, double *cpu)
{
    const double cpuStart = threadCpuMs();
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    heartbeat.start(5);
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents(); // the paint of the shown measurement
    longest = std::max(longest, clock.nsecsElapsed() - last);
    *total = clock.nsecsElapsed() / 1e6;
    *cpu = threadCpuMs() - cpuStart;
    return longest / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir workspace;
    for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        qputenv(name, workspace.filePath(QString::fromLatin1(name)).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    AppIdentity::apply();
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    const int switches = argc > 1 ? std::max(1, atoi(argv[1])) : 6;

    const QString root = workspace.filePath(QStringLiteral("measurements"));
    QRandomGenerator random(1234);
    for (const char *name : {"first", "second"}) {
        SaveData data = BenchMeasurement::tenPoints(random);
        if (!data.save(root, QString::fromLatin1(name), {})) {
            std::fprintf(stderr, "could not write the measurements\n");
            return 1;
        }
    }
    QSettings().setValue(BrowserMainWindow::activeDirectoryKey, root);

    BrowserMainWindow window;
    window.resize(1400, 900);
    window.show();
    auto *browse = window.findChild<SaveDataBrowseWidget *>(QStringLiteral("browseWidget"));
    auto *table = browse->findChild<QTableView *>(QStringLiteral("tableView"));
    auto *model = window.findChild<SaveDataModel *>();
    double total = 0;
    double cpu = 0;
    longestFreeze([&] { return !browse->model()->isLoading() && table->model()->rowCount() == 2; },
                  &total, &cpu);

    std::printf("showing a measurement of %d measuring points (photos 1280x960, CCD frame)\n",
                BenchMeasurement::points);
    std::printf("%8s %12s %12s %14s\n", "switch", "freeze ms", "shown in ms", "GUI cpu ms");
    double worst = 0;
    for (int k = 0; k < switches; ++k) {
        const int row = k % 2;
        const QString folder
            = table->model()->index(row, 0).data(SaveDataBrowseModel::FolderPathRole).toString();
        // Selected from inside the measured loop: showing reads the folder in a nested one.
        QTimer::singleShot(0, table, [table, row] { table->selectRow(row); });
        const double freeze = longestFreeze(
            [&] { return model->saveData().folderPath() == folder && model->rowCount() > 0; },
            &total, &cpu);
        worst = std::max(worst, freeze);
        std::printf("%8d %12.1f %12.1f %14.1f\n", k + 1, freeze, total, cpu);
    }
    std::printf("longest freeze: %.1f ms (target: below 200 ms)\n", worst);
    return 0;
}
