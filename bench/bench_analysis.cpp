// Time from a control change in the analysis workspace to a filled result table, and the
// longest event-loop turn meanwhile, on the real library and on a generated one.
//   bench_analysis [RRUFF_DIR] [--generated N] [--runs N] [--screenshot PNG]
// With --screenshot it only writes a picture of the analysis window: a real query, lines picked
// by hand and the three best references shown.

#include "analysis/ui/lineselectplotcanvas.h"
#include "analysis/ui/spectrumanalysiswindow.h"
#include "analysis/ui/spectrumprocessingwidget.h"
#include "library/libraryloader.h"
#include "spectrum/spectrumfile.h"

#include "analysisidle.h"
#include "generatedlibrary.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

struct Figures
{
    double medianMs = 0;
    double worstMs = 0;
    double longestTurnMs = 0;
    double longestTurnCpuMs = 0; // CPU time of the GUI thread: robust against a loaded machine
};

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

Figures measure(const std::shared_ptr<LibraryLoader> &library, const RamanData<Wavenumbers> &query,
                int runs)
{
    SpectrumProcessingWidget widget;
    widget.resize(1600, 900);
    widget.show();
    widget.setLibrary(library->library());
    widget.setSpectrum(query);
    waitForAnalysisIdle(widget.analysis());
    QCoreApplication::processEvents();

    auto *minimum = widget.findChild<QSpinBox *>(QStringLiteral("sBoxCmMin"));
    bool filled = false;
    // Connected after the widget's own handler, so it runs once the table has the scores.
    QObject::connect(widget.analysis(), &SpectrumAnalysis::changed,
                     [&filled](SpectrumAnalysis::Changes changes) {
                         if (changes & SpectrumAnalysis::ScoresChanged)
                             filled = true;
                     });
    QElapsedTimer turn;
    double longestTurn = 0;
    double longestTurnCpu = 0;
    double turnCpuStart = 0;
    QTimer ticker;
    ticker.setInterval(0);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestTurn = std::max(longestTurn, turn.nsecsElapsed() / 1e6);
        const double cpu = threadCpuMs();
        longestTurnCpu = std::max(longestTurnCpu, cpu - turnCpuStart);
        turnCpuStart = cpu;
        turn.restart();
    });
    QVector<double> times;
    for (int run = 0; run < runs; ++run) {
        filled = false;
        QElapsedTimer timer;
        timer.start();
        turn.start();
        turnCpuStart = threadCpuMs();
        ticker.start();
        minimum->setValue(run % 2 ? 60 : 65);
        while (!filled)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        times.append(timer.nsecsElapsed() / 1e6);
        ticker.stop();
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.last(), longestTurn, longestTurnCpu};
}

std::shared_ptr<LibraryLoader> load(const QString &folder)
{
    auto library = std::make_shared<LibraryLoader>();
    LibraryPath path;
    path.path = folder;
    library->setLibraryFolders({path});
    library->loadNow();
    QCoreApplication::processEvents();
    return library;
}

void report(const char *name, int count, const Figures &f)
{
    std::printf("%-18s %5d spectra: median %6.1f ms, worst %6.1f ms, longest event-loop turn "
                "%6.1f ms (GUI thread CPU %5.1f ms)\n",
                name, count, f.medianMs, f.worstMs, f.longestTurnMs, f.longestTurnCpuMs);
}

int screenshot(const std::shared_ptr<LibraryLoader> &library, const RamanData<Wavenumbers> &query,
               const QString &path)
{
    SpectrumAnalysisWindow window(library->library(), query);
    window.resize(1600, 900);
    window.show();
    SpectrumProcessingWidget *widget = window.analysisWidget();
    waitForAnalysisIdle(widget->analysis());
    QCoreApplication::processEvents();
    const QVector<double> peaks = widget->analysis()->outcome().autoLines;
    widget->findChild<QComboBox *>(QStringLiteral("searchMethodCombo"))->setCurrentIndex(2);
    for (double peak : peaks)
        widget->canvas()->placeLineAt(peak);
    waitForAnalysisIdle(widget->analysis());
    QCoreApplication::processEvents();
    auto *table = widget->findChild<QTableView *>(QStringLiteral("TViewRaBib"));
    for (int row = 0; row < 3; ++row)
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCoreApplication::processEvents();
    const bool saved = window.grab().save(path);
    widget->renderPlotImage().save(
        QString(path).replace(QStringLiteral(".png"), QStringLiteral("-plot.png")));
    return saved ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString rruff = QStringLiteral(RAMAN_TEST_DATA_DIR "/rruff");
    int generated = 5500;
    int runs = 21;
    QString picture;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--generated") && i + 1 < args.size())
            generated = args[++i].toInt();
        else if (args[i] == QStringLiteral("--runs") && i + 1 < args.size())
            runs = std::max(args[++i].toInt(), 1);
        else if (args[i] == QStringLiteral("--screenshot") && i + 1 < args.size())
            picture = args[++i];
        else
            rruff = args[i];
    }
    const QDir queries(rruff + QStringLiteral("/queries"));
    const QStringList files = queries.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        std::fprintf(stderr, "no queries in %s\n", qPrintable(queries.path()));
        return 1;
    }
    const RamanData<Wavenumbers> query = loadSpectrumFromCSV(queries.filePath(files.first()));

    const std::shared_ptr<LibraryLoader> real = load(rruff + QStringLiteral("/library"));
    if (!picture.isEmpty())
        return screenshot(real, query, picture);
    report("real library", real->library()->count(), measure(real, query, runs));

    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("generated"));
    if (!writeGeneratedLibrary(folder, generated)) {
        std::fprintf(stderr, "could not write the generated library\n");
        return 1;
    }
    const std::shared_ptr<LibraryLoader> big = load(folder);
    report("generated library", big->library()->count(), measure(big, query, runs));
    return 0;
}
