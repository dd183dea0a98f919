#include "spectrum/cubicspline.h"
#include "spectrum/interpolation.h"
#include "spectrum/splinebaseline.h"
#include "syntheticspectrum.h"

#include <QtTest>

class TestSplineBaseline : public QObject
{
    Q_OBJECT

private slots:
    void naturalSpline_data();
    void naturalSpline();
    void splineReproducesLines();
    void valueAtInterpolates_data();
    void valueAtInterpolates();
    void automaticRecoversBands_data();
    void automaticRecoversBands();
    void dynamicLiftsDips();
    void tooSmallDataIsLeftAlone();
    void manualRemovesFlatBaselineExactly();
    void manualNeedsThreeDistinctPoints_data();
    void manualNeedsThreeDistinctPoints();
};

// Through (0,0), (1,1), (2,0) the natural spline is -x^3/2 + 3x/2 on [0, 1], mirrored on [1, 2].
void TestSplineBaseline::naturalSpline_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("expected");
    QTest::newRow("first support point") << 0.0 << 0.0;
    QTest::newRow("first piece") << 0.5 << 0.6875;
    QTest::newRow("middle support point") << 1.0 << 1.0;
    QTest::newRow("second piece") << 1.5 << 0.6875;
    QTest::newRow("last support point") << 2.0 << 0.0;
    QTest::newRow("extrapolated below") << -1.0 << -1.0;
    QTest::newRow("extrapolated above") << 3.0 << -1.0;
}

void TestSplineBaseline::naturalSpline()
{
    QFETCH(double, x);
    QFETCH(double, expected);
    const CubicSpline spline = naturalCubicSpline({0.0, 1.0, 2.0}, {0.0, 1.0, 0.0});
    QCOMPARE(spline.size(), 2);
    QVERIFY(std::fabs(splineValue(spline, x) - expected) < 1e-12);
}

void TestSplineBaseline::splineReproducesLines()
{
    const QVector<double> x{-3.0, 0.5, 2.0, 7.25, 8.0, 20.0};
    QVector<double> y;
    for (double v : x)
        y.append(4.0 - 0.75 * v);
    const CubicSpline spline = naturalCubicSpline(x, y);
    const QVector<double> at{-10.0, -3.0, 1.0, 7.25, 12.5, 20.0, 30.0};
    const QVector<double> values = splineValues(spline, at);
    for (int i = 0; i < at.size(); ++i)
        QVERIFY2(std::fabs(values[i] - (4.0 - 0.75 * at[i])) < 1e-12,
                 qPrintable(QString::number(at[i])));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot build a spline")));
    QVERIFY(naturalCubicSpline({0.0, 1.0, 1.0}, {1.0, 2.0, 3.0}).isEmpty());
}

void TestSplineBaseline::valueAtInterpolates_data()
{
    QTest::addColumn<double>("at");
    QTest::addColumn<double>("expected");
    QTest::newRow("before the data") << -5.0 << 10.0;
    QTest::newRow("first point") << 0.0 << 10.0;
    QTest::newRow("between") << 1.5 << 25.0;
    QTest::newRow("inner point") << 2.0 << 30.0;
    QTest::newRow("last point") << 4.0 << -10.0;
    QTest::newRow("past the data") << 9.0 << -10.0;
}

void TestSplineBaseline::valueAtInterpolates()
{
    QFETCH(double, at);
    QFETCH(double, expected);
    const RamanData<Wavenumbers> data{{0.0, 1.0, 2.0, 4.0}, {10.0, 20.0, 30.0, -10.0}};
    QCOMPARE(valueAt(data, at), expected);
}

void TestSplineBaseline::automaticRecoversBands_data()
{
    QTest::addColumn<Background>("background");
    QTest::addColumn<bool>("dynamic");
    QTest::newRow("polynomial") << Background(polynomialBackground) << false;
    QTest::newRow("polynomial, dynamic") << Background(polynomialBackground) << true;
    QTest::newRow("fluorescence") << Background(fluorescenceBackground) << false;
    QTest::newRow("fluorescence, dynamic") << Background(fluorescenceBackground) << true;
    QTest::newRow("no background") << Background(zeroBackground) << false;
}

void TestSplineBaseline::automaticRecoversBands()
{
    QFETCH(Background, background);
    QFETCH(bool, dynamic);
    const SyntheticSpectrum s = syntheticSpectrum(background);
    const auto [mean, largest] = residualBackground(splineBaseline(s.data, 8, dynamic), s.bands);
    QVERIFY2(mean < 15.0 && largest < 60.0,
             qPrintable(QStringLiteral("%1 %2").arg(mean).arg(largest)));
}

void TestSplineBaseline::dynamicLiftsDips()
{
    // A narrow hump between two segment minima: the static spline overshoots beside it.
    const SyntheticSpectrum s = syntheticSpectrum(
        [](double x) { return 300.0 + 1500.0 * std::exp(-std::pow((x - 1500.0) / 300.0, 2)); });
    const QVector<double> fixed = splineBaseline(s.data, 8, false);
    const QVector<double> moved = splineBaseline(s.data, 8, true);
    const double largest = *std::max_element(s.data.y.cbegin(), s.data.y.cend());
    QVERIFY(*std::min_element(fixed.cbegin(), fixed.cend()) < -0.05 * largest);
    QVERIFY(*std::min_element(moved.cbegin(), moved.cend()) > -0.005 * largest);
}

void TestSplineBaseline::tooSmallDataIsLeftAlone()
{
    RamanData<Wavenumbers> data;
    for (int i = 0; i < 64; ++i) {
        data.x.append(i);
        data.y.append(100.0 + i * i);
    }
    QTest::ignoreMessage(QtInfoMsg,
                         "data of size 64 is too small for baseline correction, skipping it");
    QCOMPARE(splineBaseline(data, 8, true), data.y);
    data.x.append(64.0);
    data.y.append(4196.0);
    QVERIFY(splineBaseline(data, 8, false) != data.y);
}

void TestSplineBaseline::manualRemovesFlatBaselineExactly()
{
    RamanData<Wavenumbers> data;
    QVector<double> band;
    for (int i = 0; i < 3000; ++i) {
        data.x.append(100.0 + 1.25 * i);
        band.append(std::max(0.0, 400.0 - std::fabs(data.x.last() - 1200.0)));
        data.y.append(750.0 + band.last());
    }
    // Unsorted and repeated on purpose.
    const QVector<double> corrected = manualSplineBaseline(data, {3500.0, 200.0, 2000.0, 200.0});
    for (int i = 0; i < corrected.size(); ++i)
        QVERIFY(std::fabs(corrected[i] - band[i]) < 1e-9);
}

void TestSplineBaseline::manualNeedsThreeDistinctPoints_data()
{
    QTest::addColumn<QVector<double>>("controlPoints");
    QTest::newRow("two") << QVector<double>{500.0, 1500.0};
    QTest::newRow("three with a repeat") << QVector<double>{500.0, 1500.0, 500.0};
    QTest::newRow("three with NaN") << QVector<double>{500.0, std::nan(""), 1500.0};
}

void TestSplineBaseline::manualNeedsThreeDistinctPoints()
{
    QFETCH(QVector<double>, controlPoints);
    const SyntheticSpectrum s = syntheticSpectrum(polynomialBackground);
    QTest::ignoreMessage(QtWarningMsg, "not enough control points given");
    QCOMPARE(manualSplineBaseline(s.data, controlPoints), s.data.y);
}

QTEST_GUILESS_MAIN(TestSplineBaseline)
#include "tst_splinebaseline.moc"
