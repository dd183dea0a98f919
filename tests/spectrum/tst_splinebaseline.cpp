#include "spectrum/cubicspline.h"
#include "spectrum/interpolation.h"
#include "spectrum/splinebaseline.h"
#include "syntheticspectra.h"

#include <QtTest>

class TestSplineBaseline : public QObject
{
    Q_OBJECT

private slots:

    // Through (0,0), (1,1), (2,0) the natural spline is -x^3/2 + 3x/2 on [0, 1], mirrored on [1,
    // 2]; valueAt works on the points (0,10), (1,20), (2,30), (4,-10).
    void interpolation_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("spline");
        QTest::addColumn<double>("linear");
        QTest::newRow("first piece") << 0.5 << 0.6875 << 15.0;
        QTest::newRow("inner point") << 1.0 << 1.0 << 20.0;
        QTest::newRow("below") << -1.0 << -1.0 << 10.0;
        QTest::newRow("above") << 3.0 << -1.0 << 10.0;
        QTest::newRow("past the data") << 4.5 << 4.0625 << -10.0;
    }

    void interpolation()
    {
        QFETCH(double, x);
        QFETCH(double, spline);
        QFETCH(double, linear);
        QVERIFY(std::fabs(splineValue(naturalCubicSpline({0, 1, 2}, {0, 1, 0}), x) - spline)
                < 1e-12);
        QCOMPARE(valueAt(RamanData<Wavenumbers>{{0, 1, 2, 4}, {10, 20, 30, -10}}, x), linear);
    }

    void automaticRecoversBands_data()
    {
        QTest::addColumn<Background>("background");
        QTest::addColumn<bool>("dynamic");
        QTest::newRow("polynomial") << Background(polynomialBackground) << false;
        QTest::newRow("fluorescence, dynamic") << Background(fluorescenceBackground) << true;
        QTest::newRow("none") << Background([](double) { return 0.0; }) << false;
    }

    void automaticRecoversBands()
    {
        QFETCH(Background, background);
        QFETCH(bool, dynamic);
        const SyntheticSpectrum s = spectrumOnBackground(background);
        QVERIFY(closeToBands(splineBaseline(s.data, 8, dynamic), s.bands));
    }

    void dynamicLiftsDips()
    {
        // A narrow hump between two segment minima: the static spline overshoots beside it.
        const SyntheticSpectrum s = spectrumOnBackground(
            [](double x) { return 300.0 + 1500.0 * std::exp(-std::pow((x - 1500.0) / 300.0, 2)); });
        const QVector<double> fixed = splineBaseline(s.data, 8, false);
        const QVector<double> moved = splineBaseline(s.data, 8, true);
        const double largest = *std::max_element(s.data.y.cbegin(), s.data.y.cend());
        QVERIFY(*std::min_element(fixed.cbegin(), fixed.cend()) < -0.05 * largest);
        QVERIFY(*std::min_element(moved.cbegin(), moved.cend()) > -0.005 * largest);
    }

    void tooSmallDataIsLeftAlone()
    {
        RamanData<Wavenumbers> data;
        for (int i = 0; i < 65; ++i) {
            data.x.append(i);
            data.y.append(100.0 + i * i);
        }
        QVERIFY(splineBaseline(data, 8, false) != data.y);
        data.x.removeLast();
        data.y.removeLast();
        QTest::ignoreMessage(QtInfoMsg,
                             "data of size 64 is too small for baseline correction, skipping it");
        QCOMPARE(splineBaseline(data, 8, true), data.y);
    }

    void manualRemovesFlatBaselineExactly()
    {
        RamanData<Wavenumbers> data;
        QVector<double> band;
        for (int i = 0; i < 3000; ++i) {
            data.x.append(100.0 + 1.25 * i);
            band.append(std::max(0.0, 400.0 - std::fabs(data.x.last() - 1200.0)));
            data.y.append(750.0 + band.last());
        }
        // Unsorted and repeated on purpose.
        const QVector<double> corrected
            = manualSplineBaseline(data, {3500.0, 200.0, 2000.0, 200.0});
        for (int i = 0; i < corrected.size(); ++i)
            QVERIFY(std::fabs(corrected[i] - band[i]) < 1e-9);
    }

    void manualNeedsThreeDistinctPoints()
    {
        const SyntheticSpectrum s = spectrumOnBackground(polynomialBackground);
        for (const QVector<double> &points :
             {QVector<double>{500, 1500}, {500, 1500, 500}, {500, std::nan(""), 1500}}) {
            QTest::ignoreMessage(QtWarningMsg, "not enough control points given");
            QCOMPARE(manualSplineBaseline(s.data, points), s.data.y);
        }
    }
};

QTEST_GUILESS_MAIN(TestSplineBaseline)
#include "tst_splinebaseline.moc"
