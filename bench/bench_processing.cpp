// Time of the processing pipeline per background method and of CCD frame conversion:
// raman-bench-processing [ROUNDS]
#include "spectrum/ccdspectrum.h"
#include "spectrum/processing.h"
#include "spectrum/spectrumfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLoggingCategory>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

struct Method
{
    const char *name;
    ProcessingParameters parameters;
};

QVector<Method> methods()
{
    ProcessingParameters p;
    p.steps = Smooth | SubtractBackground;
    QVector<Method> list;
    p.goldindecReduction = 4;
    list.append({"Goldindec, reduction 4", p});
    p.goldindecReduction = 1;
    list.append({"Goldindec, reduction 1", p});
    p.useGoldindec = false;
    list.append({"splines, static", p});
    p.dynamic = true;
    list.append({"splines, dynamic", p});
    p.dynamic = false;
    list.append({"manual spline, 8 points", p}); // control points are set per spectrum
    return list;
}

QVector<double> controlPointsFor(const RamanData<Wavenumbers> &data)
{
    QVector<double> points;
    for (int i = 0; i < 8; ++i)
        points.append(data.x.first() + (data.x.last() - data.x.first()) * i / 7.0);
    return points;
}

// Milliseconds of one call per spectrum, the fastest of `rounds` repetitions each.
QVector<double> timePerSpectrum(const QVector<RamanData<Wavenumbers>> &spectra,
                                ProcessingParameters parameters, bool manual, int rounds)
{
    QVector<double> times;
    for (const RamanData<Wavenumbers> &spectrum : spectra) {
        if (manual)
            parameters.controlPoints = controlPointsFor(spectrum);
        double best = 1e300;
        for (int r = 0; r < rounds; ++r) {
            QElapsedTimer timer;
            timer.start();
            const RamanData<Wavenumbers> result = processed(spectrum, parameters);
            best = std::min(best, timer.nsecsElapsed() / 1e6);
            if (result.size() != spectrum.size())
                std::printf("unexpected size %d for %d points\n", result.size(), spectrum.size());
        }
        times.append(best);
    }
    return times;
}

void report(const char *set, const char *method, QVector<double> times)
{
    std::sort(times.begin(), times.end());
    double sum = 0.0;
    for (double t : times)
        sum += t;
    std::printf("  %-26s %-24s mean %7.3f  median %7.3f  p95 %7.3f  max %7.3f ms\n", set, method,
                sum / times.size(), times[times.size() / 2], times[int(times.size() * 0.95)],
                times.last());
}

// Fluorescence hump, a steep filter edge and four bands with noise, 100 to 3850 1/cm.
RamanData<Wavenumbers> syntheticSpectrum(unsigned seed)
{
    std::mt19937 generator(seed);
    std::normal_distribution<double> noise(0.0, 5.0);
    RamanData<Wavenumbers> data;
    for (int i = 0; i <= 3000; ++i) {
        const double x = 100.0 + 1.25 * i;
        double y = 300.0 + 1500.0 * std::exp(-std::pow((x - 2200.0) / 1400.0, 2))
                   + 2000.0 * std::exp(-(x - 100.0) / 15.0) + noise(generator);
        for (double centre : {460.0, 1085.0, 1350.0, 2900.0})
            y += 1000.0 / (1.0 + std::pow((x - centre) / 4.0, 2));
        data.x.append(x);
        data.y.append(y);
    }
    return data;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QLoggingCategory::setFilterRules(
        QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    QVector<RamanData<Wavenumbers>> library;
    const QDir folder(QStringLiteral(RAMAN_TEST_DATA_DIR "/rruff/library"));
    int points = 0;
    for (const QString &file : folder.entryList({QStringLiteral("*.txt")})) {
        const RamanData<Wavenumbers> spectrum
            = loadSpectrumFromCSV(folder.filePath(file)).resampled(1.25);
        if (spectrum.size() > 100) {
            library.append(spectrum);
            points = std::max(points, spectrum.size());
        }
    }
    QVector<RamanData<Wavenumbers>> synthetic;
    for (unsigned seed = 1; seed <= 20; ++seed)
        synthetic.append(syntheticSpectrum(seed));

    std::printf("processed (smoothing 2/5 + background removal), fastest of %d rounds per "
                "spectrum; Goldindec includes writing its diagnostic curves\n",
                rounds);
    const QByteArray librarySet = QByteArray::number(library.size())
                                  + " RRUFF @1.25 (<=" + QByteArray::number(points) + " pts)";
    for (const Method &method : methods()) {
        const bool manual = QByteArray(method.name).startsWith("manual");
        if (!library.isEmpty())
            report(librarySet.constData(), method.name,
                   timePerSpectrum(library, method.parameters, manual, rounds));
        report("20 synthetic, 3001 pts", method.name,
               timePerSpectrum(synthetic, method.parameters, manual, rounds));
    }

    // A 1340 x 400 frame: dark level with read noise and a sprinkling of hot pixels.
    std::mt19937 generator(3);
    std::normal_distribution<double> dark(1000.0, 20.0);
    std::uniform_int_distribution<int> hot(0, 2999);
    QVector<quint16> frame(1340 * 400);
    for (quint16 &value : frame)
        value = quint16(
            std::clamp(dark(generator) + (hot(generator) == 0 ? 30000.0 : 0.0), 0.0, 65535.0));
    QVector<double> times;
    for (int r = 0; r < 5 * rounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        const RamanData<RawPixels> spectrum = computeSpectrumFromCCD(QSize(1340, 400), frame);
        times.append(timer.nsecsElapsed() / 1e6);
        if (spectrum.size() != 1339)
            std::printf("unexpected spectrum size %d\n", spectrum.size());
    }
    std::printf("computeSpectrumFromCCD:\n");
    report("1340 x 400 frame", "hot-pixel removal", times);
    return 0;
}
