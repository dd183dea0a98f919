#include "spectrum/calibration.h"
#include "spectrum/quadraticfit.h"
#include "spectrum/ramandata.h"
#include "spectrum/savitzkygolay.h"

#include <QRegularExpression>
#include <QtTest>

#include <cmath>

using Spectrum = RamanData<Wavenumbers>;
using Doubles = QVector<double>;

static Doubles range(double first, double last, double step = 1.0)
{
    Doubles values;
    for (double v = first; v <= last + 1e-9; v += step)
        values.append(v);
    return values;
}

// NaN matches NaN.
static bool near(const Doubles &actual, const Doubles &expected, double tolerance = 1e-12)
{
    for (int i = 0; i < actual.size() && actual.size() == expected.size(); ++i) {
        if (!(std::fabs(actual[i] - expected[i]) <= tolerance)
            && !(std::isnan(actual[i]) && std::isnan(expected[i])))
            return false;
    }
    return actual.size() == expected.size();
}

class TestRamanData : public QObject
{
    Q_OBJECT

private slots:
    void cut_data()
    {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<Doubles>("expectedX");
        QTest::addColumn<QString>("warning");
        QTest::newRow("limits inclusive") << 2.0 << 5.0 << Doubles{2, 3, 4, 5} << QString();
        QTest::newRow("between points") << 2.5 << 5.5 << Doubles{3, 4, 5} << QString();
        QTest::newRow("equal limits")
            << 100.0 << 100.0 << range(0, 10) << QStringLiteral("empty cut limits, ignoring");
        QTest::newRow("above data") << 20.0 << 30.0 << Doubles{}
                                    << QStringLiteral("cut range is completely out of data bounds");
        QTest::newRow("min above max") << 7.0 << 3.0 << Doubles{7, 8, 9, 10} << QString();
    }

    void cut()
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

    void normalization()
    {
        const Spectrum data{{1, 2}, {3, 4}};
        QVERIFY(near(data.normalized().y, {3 / std::sqrt(2.5), 4 / std::sqrt(2.5)}));
        const Spectrum zeros{{1, 2, 3}, {0, 0, 0}};
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^invalid norm 0 ")));
        QVERIFY(zeros.normalized().y.isSharedWith(zeros.y));

        double maximum = 0;
        QCOMPARE(Spectrum({{1, 2, 3, 4}, {2, 8, -4, 8}}).normalizedToMaximum(&maximum).y,
                 (Doubles{0.25, 1, -0.5, 1}));
        QCOMPARE(maximum, 8.0);
        QVERIFY(Spectrum().normalizedToMaximum(&maximum).isEmpty() && std::isnan(maximum));
    }

    void resampled()
    {
        // The last bin whose upper edge stays below x = 10 is centred at 8.75.
        const Spectrum constant = Spectrum{range(0, 10), Doubles(11, 3.5)}.resampled(1.25);
        QCOMPARE(constant.x, range(0, 8.75, 1.25));
        QVERIFY(near(constant.y, Doubles(8, 3.5)));
        // Bin 0 weighs y0 by 1.625 and y1 by 0.625, bin 1 is 0.375 y0 + y1 + 0.875 y2; over 2.25.
        const Spectrum r = Spectrum{{0, 1, 2, 3, 4}, {0, 10, 20, 30, 40}}.resampled(1.25);
        QVERIFY(r.size() >= 2 && r.x[0] == 0.0 && r.x[1] == 1.25);
        QVERIFY(qFuzzyCompare(r.y[0], 6.25 / 2.25) && qFuzzyCompare(r.y[1], 27.5 / 2.25));
        // A first point above the upper edge of bin 0: the first bin has no lower neighbour.
        const Spectrum late = Spectrum{{1, 2, 3, 4, 5, 6}, Doubles(6, 2.0)}.resampled(1.25);
        QVERIFY(!late.isEmpty() && late.x.first() == 1.25 && near(late.y, Doubles(late.size(), 2)));
        QVERIFY(Spectrum().resampled(1.25).isEmpty());
        // x that would never reach its last bin, and a grid beyond memory: refused, not walked.
        for (const Spectrum &bad :
             {Spectrum{{100, qQNaN(), 200}, {1, 2, 3}}, Spectrum{{100, 1.8e258, 200}, {1, 2, 3}},
              Spectrum{{0, 2.5e9}, {1, 2}}}) {
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(QStringLiteral("^cannot resample")));
            QVERIFY(bad.resampled(1.25).isEmpty());
        }
    }

    void calibrated()
    {
        // The pixel index is the position in the sequence, not x.
        const RamanData<RawPixels> pixels{{7, 8, 9}, {1, 2, 3}};
        QCOMPARE(::calibrated(pixels, {1, 2, 3}).x, (Doubles{3, 6, 11}));
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::ignoreMessage(QtWarningMsg,
                             "invalid calibration parameters, returning unchanged data");
        QCOMPARE(::calibrated(pixels, {nan, nan, nan}).x, pixels.x);
    }

    void laserWavelength()
    {
        LaserWavelengthSettings settings;
        settings.nominalWavelength = 532.0;
        const auto extract = [&](quint32 mode, const Doubles &x, const Doubles &y, double min,
                                 double max, const char *warning = nullptr) {
            settings.mode = mode;
            settings.searchMinimum = min;
            settings.searchMaximum = max;
            if (warning)
                QTest::ignoreMessage(QtWarningMsg, warning);
            return extractLaserWavelength(RamanData<Nanometers>{x, y}, settings);
        };
        // A parabola with its vertex at 532.3 nm, sampled every 0.5 nm.
        const Doubles x = range(528, 537, 0.5);
        Doubles y;
        for (double v : x)
            y.append(1000 - 40 * (v - 532.3) * (v - 532.3));
        QCOMPARE(extract(1, {}, {}, 0, 0), 532.0);
        QVERIFY(std::fabs(extract(0, x, y, 529, 535) - 532.3) < 1e-9);
        QCOMPARE(extract(0, x, y, 532.2, 535,
                         "Laser peak is at corner of search range, cannot determine wavelength"),
                 532.0);
        QCOMPARE(extract(0, {530, 529, 531}, {1, 2, 3}, 529, 530.5,
                         "Refusing to extract laser wavelength from unsorted data"),
                 532.0);
        const RamanData<Wavenumbers> shift
            = toRamanShift(RamanData<Nanometers>{{532.0, 545.0}, {1, 2}}, settings);
        QVERIFY(near(shift.x, {0.0, 1e7 / 532.0 - 1e7 / 545.0}, 1e-9)
                && shift.y == Doubles({1, 2}));
    }

    void fitQuadratic()
    {
        Doubles x, y;
        for (int i = -5; i <= 20; ++i) {
            x.append(i * 13.0);
            y.append(-1.5e-3 * x.last() * x.last() + 0.07 * x.last() + 535.5);
        }
        const QuadraticCoefficients q = ::fitQuadratic(x, y);
        QVERIFY(near({q.a, q.b, q.c}, {-1.5e-3, 0.07, 535.5}, 1e-7));
        QVERIFY(!std::isfinite(::fitQuadratic({2, 2, 2}, {1, 2, 3}).a));
    }

    void smoothing()
    {
        const Doubles &c = savitzkyGolayCoefficients(2, 5, 1.25);
        QVERIFY(near(c, {-3 / 35.0, 12 / 35.0, 17 / 35.0, 12 / 35.0, -3 / 35.0}, 1e-14));
        QVERIFY(near(savitzkyGolayCoefficients(3, 7, 1.0),
                     {-2 / 21.0, 3 / 21.0, 6 / 21.0, 7 / 21.0, 6 / 21.0, 3 / 21.0, -2 / 21.0},
                     1e-14));
        // The edges are extended with the end values: the last output sees 0, 0, 35, 35, 35.
        QVERIFY(near(Spectrum{range(0, 4), {0, 0, 0, 0, 35}}.smoothed(2, 5).y, {0, 0, -3, 9, 26},
                     1e-12));
    }

    void smoothingRejectsInvalidParameters()
    {
        const Doubles values{1, 5, 2, 8, 3, 9, 4};
        // Even width, order zero, zero spacing.
        for (const auto &p : std::vector<std::tuple<unsigned, unsigned, double>>{
                 {2, 4, 1.0}, {0, 5, 1.0}, {2, 5, 0.0}}) {
            QTest::ignoreMessage(QtWarningMsg,
                                 "Invalid parameters passed to savitzkyGolaySmoothed");
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(QStringLiteral("^Parameters are")));
            QCOMPARE(savitzkyGolaySmoothed(values, std::get<0>(p), std::get<1>(p), std::get<2>(p)),
                     values);
        }
    }

    void mismatchedSizesAreNeverIndexed()
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
        QVERIFY(::calibrated(RamanData<RawPixels>{broken.x, broken.y}, {0, 1, 0}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRamanData)
#include "tst_ramandata.moc"
