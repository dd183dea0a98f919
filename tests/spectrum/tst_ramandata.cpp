#include "spectrum/ramandata.h"
#include "spectrum/savitzkygolay.h"

#include <QRegularExpression>
#include <QtConcurrent>
#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(CalibrationParameters)

using Spectrum = RamanData<Wavenumbers>;
using Doubles = QVector<double>;

namespace {

Doubles range(double first, double last, double step = 1.0)
{
    Doubles values;
    for (double v = first; v <= last + 1e-9; v += step)
        values.append(v);
    return values;
}

void compareVectors(const Doubles &actual, const Doubles &expected, double tolerance = 1e-12)
{
    QCOMPARE(actual.size(), expected.size());
    for (int i = 0; i < actual.size(); ++i) {
        if (std::fabs(actual[i] - expected[i]) > tolerance)
            QFAIL(qPrintable(QStringLiteral("index %1: %2 != %3")
                                 .arg(i)
                                 .arg(actual[i], 0, 'g', 17)
                                 .arg(expected[i], 0, 'g', 17)));
    }
}

} // namespace

class TestRamanData : public QObject
{
    Q_OBJECT

private slots:
    void cut_data();
    void cut();
    void normalized();
    void normalizedToMaximum();
    void resampledKeepsConstant();
    void resampledWeightsEdgeBins();
    void resampledStartingInUpperHalfOfBin();
    void calibrated_data();
    void calibrated();
    void laserWavelength_data();
    void laserWavelength();
    void ramanShift();
    void fitQuadraticRecoversParabola();
    void fitQuadraticSingular();
    void savitzkyGolayWeights();
    void smoothingEdgesAndConstants();
    void smoothingRejectsInvalidParameters_data();
    void smoothingRejectsInvalidParameters();
    void smoothingOnWorkerThreads();
    void mismatchedSizesAreNeverIndexed();
    void metaTypeRegistered();
};

void TestRamanData::cut_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<Doubles>("expectedX");
    QTest::addColumn<QString>("warning");

    const Doubles all = range(0, 10);
    QTest::newRow("limits inclusive") << 2.0 << 5.0 << Doubles{2, 3, 4, 5} << QString();
    QTest::newRow("between points") << 2.5 << 5.5 << Doubles{3, 4, 5} << QString();
    QTest::newRow("equal limits") << 100.0 << 100.0 << all
                                  << QStringLiteral("empty cut limits, ignoring");
    QTest::newRow("above data") << 20.0 << 30.0 << Doubles{}
                                << QStringLiteral("cut range is completely out of data bounds");
    QTest::newRow("below data") << -30.0 << -20.0 << Doubles{} << QString();
    QTest::newRow("min above max keeps the rest")
        << 7.0 << 3.0 << Doubles{7, 8, 9, 10} << QString();
    QTest::newRow("covering everything") << -1.0 << 11.0 << all << QString();
}

void TestRamanData::cut()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(Doubles, expectedX);
    QFETCH(QString, warning);

    Spectrum data{range(0, 10), range(100, 110)};
    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
    data.cut(min, max);
    QCOMPARE(data.x, expectedX);
    QCOMPARE(data.y.size(), expectedX.size());
    for (int i = 0; i < data.size(); ++i)
        QCOMPARE(data.y[i], data.x[i] + 100);
}

void TestRamanData::normalized()
{
    const Spectrum data{{1, 2}, {3, 4}};
    const Spectrum n = data.normalized();
    QCOMPARE(n.x, data.x);
    compareVectors(n.y, {3 / std::sqrt(2.5), 4 / std::sqrt(2.5)});

    const Spectrum zeros{{1, 2, 3}, {0, 0, 0}};
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^invalid norm 0 ")));
    const Spectrum unchanged = zeros.normalized();
    QCOMPARE(unchanged, zeros);
    QVERIFY(unchanged.y.isSharedWith(zeros.y));
}

void TestRamanData::normalizedToMaximum()
{
    const Spectrum data{{1, 2, 3, 4}, {2, 8, -4, 8}};
    double maximum = 0;
    const Spectrum n = data.normalizedToMaximum(&maximum);
    QCOMPARE(maximum, 8.0);
    QCOMPARE(n.y, (Doubles{0.25, 1, -0.5, 1}));

    maximum = 0;
    QVERIFY(Spectrum().normalizedToMaximum(&maximum).isEmpty());
    QVERIFY(std::isnan(maximum));
}

void TestRamanData::resampledKeepsConstant()
{
    const Spectrum data{range(0, 10), Doubles(11, 3.5)};
    const Spectrum r = data.resampled(1.25);
    // The last bin whose upper edge stays below x = 10 is centred at 8.75.
    QCOMPARE(r.x, range(0, 8.75, 1.25));
    compareVectors(r.y, Doubles(r.x.size(), 3.5));
}

void TestRamanData::resampledWeightsEdgeBins()
{
    const Spectrum data{{0, 1, 2, 3, 4}, {0, 10, 20, 30, 40}};
    const Spectrum r = data.resampled(1.25);
    QVERIFY(r.size() >= 2);
    // Bin 0, [-0.625, 0.625]: wlo = 1.625 (may exceed 1 at the start), whi = 0.625.
    QCOMPARE(r.x[0], 0.0);
    QVERIFY(qFuzzyCompare(r.y[0], 6.25 / 2.25));
    // Bin 1, [0.625, 1.875]: 0.375 * y0 + y1 + 0.875 * y2 over 2.25.
    QCOMPARE(r.x[1], 1.25);
    QVERIFY(qFuzzyCompare(r.y[1], 27.5 / 2.25));
}

void TestRamanData::resampledStartingInUpperHalfOfBin()
{
    // x[0] = 1.0 lies above the upper edge 0.625 of bin 0, so the first bin has no lower neighbour.
    const Spectrum data{{1, 2, 3, 4, 5, 6}, Doubles(6, 2.0)};
    const Spectrum r = data.resampled(1.25);
    QVERIFY(!r.isEmpty());
    QCOMPARE(r.x.first(), 1.25);
    compareVectors(r.y, Doubles(r.size(), 2.0));
    QVERIFY(Spectrum().resampled(1.25).isEmpty());
}

void TestRamanData::calibrated_data()
{
    QTest::addColumn<CalibrationParameters>("parameters");
    QTest::addColumn<Doubles>("expectedX");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("no calibration") << CalibrationParameters{nan, nan, nan} << Doubles{7, 8, 9};
    QTest::newRow("identity") << CalibrationParameters{0, 1, 0} << Doubles{0, 1, 2};
    QTest::newRow("quadratic") << CalibrationParameters{1, 2, 3} << Doubles{3, 6, 11};
    QTest::newRow("only a is tested")
        << CalibrationParameters{0, nan, 500} << Doubles{nan, nan, nan};
}

void TestRamanData::calibrated()
{
    QFETCH(CalibrationParameters, parameters);
    QFETCH(Doubles, expectedX);
    // The input's x values are ignored: the pixel index is the position in the sequence.
    const RamanData<RawPixels> pixels{{7, 8, 9}, {1, 2, 3}};
    if (!std::isfinite(parameters.a))
        QTest::ignoreMessage(QtWarningMsg,
                             "invalid calibration parameters, returning unchanged data");
    const RamanData<Nanometers> result = ::calibrated(pixels, parameters);
    QCOMPARE(result.y, pixels.y);
    QCOMPARE(result.x.size(), expectedX.size());
    for (int i = 0; i < expectedX.size(); ++i) {
        if (std::isnan(expectedX[i]))
            QVERIFY(std::isnan(result.x[i]));
        else
            QCOMPARE(result.x[i], expectedX[i]);
    }
}

void TestRamanData::laserWavelength_data()
{
    QTest::addColumn<quint32>("mode");
    QTest::addColumn<Doubles>("x");
    QTest::addColumn<Doubles>("y");
    QTest::addColumn<double>("searchMin");
    QTest::addColumn<double>("searchMax");
    QTest::addColumn<double>("expected");
    QTest::addColumn<QString>("warning");

    // A parabola with its vertex at 532.3 nm, sampled every 0.5 nm.
    Doubles x = range(528, 537, 0.5);
    Doubles y;
    for (double v : x)
        y.append(1000 - 40 * (v - 532.3) * (v - 532.3));

    QTest::newRow("nominal mode ignores data")
        << 1u << Doubles{} << Doubles{} << 0.0 << 0.0 << 532.0 << QString();
    QTest::newRow("vertex of the peak") << 0u << x << y << 529.0 << 535.0 << 532.3 << QString();
    QTest::newRow("peak at start of range") << 0u << x << y << 532.2 << 535.0 << 532.0
                                            << QStringLiteral("Laser peak is at corner of search "
                                                              "range, cannot determine wavelength");
    QTest::newRow("range beyond data") << 0u << x << y << 529.0 << 540.0 << 532.0
                                       << QStringLiteral("No data in laser peak search range");
    QTest::newRow("unsorted") << 0u << Doubles{530, 529, 531} << Doubles{1, 2, 3} << 529.0 << 530.5
                              << 532.0
                              << QStringLiteral("Refusing to extract laser wavelength from "
                                                "unsorted data");
}

void TestRamanData::laserWavelength()
{
    QFETCH(quint32, mode);
    QFETCH(Doubles, x);
    QFETCH(Doubles, y);
    QFETCH(double, searchMin);
    QFETCH(double, searchMax);
    QFETCH(double, expected);
    QFETCH(QString, warning);

    LaserWavelengthSettings settings;
    settings.mode = mode;
    settings.searchMinimum = searchMin;
    settings.searchMaximum = searchMax;
    settings.nominalWavelength = 532.0;
    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
    const double result = extractLaserWavelength(RamanData<Nanometers>{x, y}, settings);
    QVERIFY2(std::fabs(result - expected) < 1e-9, qPrintable(QString::number(result, 'g', 15)));
}

void TestRamanData::ramanShift()
{
    LaserWavelengthSettings settings;
    settings.nominalWavelength = 532.0;
    const RamanData<Nanometers> nm{{532.0, 545.0, 600.0}, {1, 2, 3}};
    const RamanData<Wavenumbers> shift = toRamanShift(nm, settings);
    QCOMPARE(shift.y, nm.y);
    compareVectors(shift.x, {0.0, 1e7 / 532.0 - 1e7 / 545.0, 1e7 / 532.0 - 1e7 / 600.0}, 1e-9);
}

void TestRamanData::fitQuadraticRecoversParabola()
{
    Doubles x, y;
    for (int i = -5; i <= 20; ++i) {
        x.append(i * 13.0);
        y.append(-1.5e-3 * x.last() * x.last() + 0.07 * x.last() + 535.5);
    }
    const QuadraticCoefficients q = fitQuadratic(x, y);
    QVERIFY(std::fabs(q.a + 1.5e-3) < 1e-12);
    QVERIFY(std::fabs(q.b - 0.07) < 1e-9);
    QVERIFY(std::fabs(q.c - 535.5) < 1e-7);
}

void TestRamanData::fitQuadraticSingular()
{
    const QuadraticCoefficients q = fitQuadratic({2, 2, 2}, {1, 2, 3});
    QVERIFY(!std::isfinite(q.a));
}

void TestRamanData::savitzkyGolayWeights()
{
    const Doubles &c = savitzkyGolayCoefficients(2, 5, 1.25);
    compareVectors(c, {-3 / 35.0, 12 / 35.0, 17 / 35.0, 12 / 35.0, -3 / 35.0}, 1e-14);
    // The centre weights do not depend on the spacing.
    compareVectors(savitzkyGolayCoefficients(2, 5, 0.1), c, 1e-12);
    compareVectors(savitzkyGolayCoefficients(3, 7, 1.0),
                   {-2 / 21.0, 3 / 21.0, 6 / 21.0, 7 / 21.0, 6 / 21.0, 3 / 21.0, -2 / 21.0}, 1e-14);
}

void TestRamanData::smoothingEdgesAndConstants()
{
    const Spectrum constant{range(0, 9), Doubles(10, 4.25)};
    compareVectors(constant.smoothed(2, 5).y, Doubles(10, 4.25), 1e-12);

    // The edges are extended with the end values: the last output sees 0, 0, 35, 35, 35.
    const Spectrum step{range(0, 4), {0, 0, 0, 0, 35}};
    const Spectrum s = step.smoothed(2, 5);
    QCOMPARE(s.x, step.x);
    QVERIFY(std::fabs(s.y[4] - 26.0) < 1e-12);
    QVERIFY(std::fabs(s.y[2] + 3.0) < 1e-12);
    QVERIFY(std::fabs(s.y[0]) < 1e-12);

    // A quadratic passes through unchanged away from the edges.
    Doubles x = range(0, 20), y;
    for (double v : x)
        y.append(0.5 * v * v - 3 * v + 1);
    const Doubles smoothed = Spectrum{x, y}.smoothed(2, 7).y;
    for (int i = 3; i < 18; ++i)
        QVERIFY(std::fabs(smoothed[i] - y[i]) < 1e-9);
}

void TestRamanData::smoothingRejectsInvalidParameters_data()
{
    QTest::addColumn<unsigned>("order");
    QTest::addColumn<unsigned>("width");
    QTest::addColumn<double>("spacing");

    QTest::newRow("even width") << 2u << 4u << 1.0;
    QTest::newRow("width below order + 2") << 2u << 3u << 1.0;
    QTest::newRow("order zero") << 0u << 5u << 1.0;
    QTest::newRow("zero spacing") << 2u << 5u << 0.0;
    QTest::newRow("infinite spacing") << 2u << 5u << std::numeric_limits<double>::infinity();
}

void TestRamanData::smoothingRejectsInvalidParameters()
{
    QFETCH(unsigned, order);
    QFETCH(unsigned, width);
    QFETCH(double, spacing);
    const Doubles values{1, 5, 2, 8, 3, 9, 4};
    QTest::ignoreMessage(QtWarningMsg, "Invalid parameters passed to savitzkyGolaySmoothed");
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^Parameters are \\[polyorder npoints "
                                                           "spacing\\]")));
    QCOMPARE(savitzkyGolaySmoothed(values, order, width, spacing), values);
}

void TestRamanData::smoothingOnWorkerThreads()
{
    Doubles y;
    for (int i = 0; i < 400; ++i)
        y.append(std::sin(i * 0.1) + (i % 7) * 0.05);
    const Spectrum data{range(0, 399), y};
    const Doubles expected = data.smoothed(3, 9).y;
    QVector<QFuture<Doubles>> runs;
    for (int i = 0; i < 8; ++i)
        runs.append(QtConcurrent::run([data] { return data.smoothed(3, 9).y; }));
    for (QFuture<Doubles> &run : runs)
        QCOMPARE(run.result(), expected);
}

void TestRamanData::mismatchedSizesAreNeverIndexed()
{
    const Spectrum broken{{1, 2, 3, 4, 5}, {1, 2, 3, 4}};
    QCOMPARE(broken.size(), -1);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^invalid norm")));
    QCOMPARE(broken.normalized(), broken);
    QCOMPARE(broken.normalizedToMaximum(), broken);
    QCOMPARE(broken.smoothed(2, 5), broken);
    QVERIFY(broken.resampled(1.25).isEmpty());
    Spectrum cut = broken;
    cut.cut(2, 4);
    QCOMPARE(cut, broken);
    const RamanData<Nanometers> nm
        = ::calibrated(RamanData<RawPixels>{broken.x, broken.y}, {0, 1, 0});
    QVERIFY(nm.isEmpty());
    LaserWavelengthSettings settings;
    settings.mode = 0;
    settings.nominalWavelength = 532;
    settings.searchMinimum = 1.5;
    settings.searchMaximum = 4.5;
    QTest::ignoreMessage(QtWarningMsg, "No data in laser peak search range");
    QCOMPARE(extractLaserWavelength(RamanData<Nanometers>{broken.x, broken.y}, settings), 532.0);
}

void TestRamanData::metaTypeRegistered()
{
    registerRamanDataMetaTypes();
    const int id = QMetaType::type("RamanData<RawPixels>");
    QVERIFY(id != QMetaType::UnknownType);
    const RamanData<RawPixels> original{{0, 1}, {5, 6}};
    const QVariant variant = QVariant::fromValue(original);
    QCOMPARE(variant.userType(), id);
    QCOMPARE(variant.value<RamanData<RawPixels>>(), original);
}

QTEST_GUILESS_MAIN(TestRamanData)
#include "tst_ramandata.moc"
