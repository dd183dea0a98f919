#include "spectrum/cubicspline.h"
#include "spectrum/goldindec.h"
#include "spectrum/interpolation.h"
#include "spectrum/processing.h"
#include "spectrum/spectrumfile.h"
#include "spectrum/splinebaseline.h"
#include "syntheticspectra.h"
#include "testfiles.h"

#include <QtTest>

namespace {

enum Method { Goldindec4, Goldindec1, Splines, DynamicSplines };

ProcessingParameters backgroundParameters(int method)
{
    ProcessingParameters p;
    p.steps = Smooth | SubtractBackground;
    p.goldindecReduction = method == Goldindec1 ? 1 : 4;
    p.useGoldindec = method == Goldindec4 || method == Goldindec1;
    p.dynamic = method == DynamicSplines;
    return p;
}

// Cosine similarity of a with b, b interpolated onto the grid of a.
double similarity(const RamanData<Wavenumbers> &a, const RamanData<Wavenumbers> &b)
{
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (int i = 0; i < a.x.size(); ++i) {
        const double v = valueAt(b, a.x[i]);
        ab += a.y[i] * v;
        aa += a.y[i] * a.y[i];
        bb += v * v;
    }
    return ab / std::sqrt(aa * bb);
}

} // namespace

class TestProcessing : public QObject
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
        QVERIFY(std::fabs(splineValue(naturalCubicSpline({0, 1, 2}, {0, 1, 0}), x) - spline)
                < 1e-12);
        QTEST(valueAt(RamanData<Wavenumbers>{{0, 1, 2, 4}, {10, 20, 30, -10}}, x), "linear");
    }

    void backgroundRecoversBands_data()
    {
        QTest::addColumn<Background>("background");
        QTest::addColumn<int>("method");
        const Background none = [](double) { return 0.0; };
        QTest::newRow("Goldindec 1, polynomial") << Background(polynomialBackground) << 1;
        QTest::newRow("Goldindec 4, fluorescence") << Background(fluorescenceBackground) << 4;
        QTest::newRow("Goldindec 4, none") << none << 4;
        QTest::newRow("splines, polynomial") << Background(polynomialBackground) << 0;
        QTest::newRow("dynamic splines, fluorescence") << Background(fluorescenceBackground) << -1;
        QTest::newRow("splines, none") << none << 0;
    }

    // method: the Goldindec reduction factor, 0 for static splines, -1 for dynamic ones.
    void backgroundRecoversBands()
    {
        QFETCH(Background, background);
        QFETCH(int, method);
        const SyntheticSpectrum s = spectrumOnBackground(background);
        if (method <= 0) {
            QVERIFY(closeToBands(splineBaseline(s.data, 8, method < 0), s.bands));
            return;
        }
        const unsigned reduction = unsigned(method);
        const QVector<double> corrected = goldindecBaseline(s.data.x, s.data.y, reduction, 0);
        QVERIFY(closeToBands(corrected, s.bands));
        const QVector<double> baseline
            = goldindecBaseline(s.data.x, s.data.y, reduction, GoldindecReturnBaseline);
        for (int i = 0; i < baseline.size(); ++i)
            QVERIFY(std::fabs(baseline[i] + corrected[i] - s.data.y[i]) < 1e-9);

        // A constant signal is all background.
        const QVector<double> flat(s.data.x.size(), 250.0);
        QCOMPARE(goldindecBaseline(s.data.x, flat, reduction, 0),
                 QVector<double>(flat.size(), 0.0));
    }

    // Input too short or with unusable parameters passes on unchanged, with a warning.
    void unusableInputIsLeftAlone()
    {
        const SyntheticSpectrum s = spectrumOnBackground(polynomialBackground);
        const QVector<double> &x = s.data.x;
        const QVector<double> &y = s.data.y;
        expectWarning("shift vec not equal size of intensity vec");
        QCOMPARE(goldindecBaseline(x, y.mid(1), 4, 0), y.mid(1));
        expectWarning("reduction factor 0");
        QCOMPARE(goldindecBaseline(x, y, 0, 0), y);
        expectWarning("too few distinct points");
        QCOMPARE(goldindecBaseline(x.mid(0, 36), y.mid(0, 36), 4, GoldindecReturnBaseline),
                 QVector<double>(36, 0.0));
        for (const QVector<double> &points :
             {QVector<double>{500, 1500}, {500, 1500, 500}, {500, std::nan(""), 1500}}) {
            QTest::ignoreMessage(QtWarningMsg, "not enough control points given");
            QCOMPARE(manualSplineBaseline(s.data, points), y);
        }
        // Splines need 65 points.
        RamanData<Wavenumbers> few{x.mid(0, 65), y.mid(0, 65)};
        QVERIFY(splineBaseline(few, 8, false) != few.y);
        few.x.removeLast();
        few.y.removeLast();
        QCOMPARE(splineBaseline(few, 8, true), few.y);
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

    void stepsRunInFixedOrder()
    {
        const SyntheticSpectrum s = spectrumOnBackground(polynomialBackground);
        ProcessingParameters p;
        QCOMPARE(processed(s.data, p), s.data);
        p.steps = Cut | CutAfterBackground | SubtractBackground | NormalizeToMaximum;
        p.cutMinimum = 100.0;
        p.cutMaximum = 2000.0;
        p.secondCutMinimum = 500.0;
        p.secondCutMaximum = 1000.0;
        // The background is fitted to the first cut only, and normalisation comes last.
        RamanData<Wavenumbers> expected = s.data;
        expected.cut(100.0, 2000.0);
        expected.y = goldindecBaseline(expected.x, expected.y, 4, 0);
        expected.cut(500.0, 1000.0);
        QCOMPARE(processed(s.data, p), expected.normalizedToMaximum());
        p.steps = Smooth | Normalize;
        QCOMPARE(processed(s.data, p), s.data.smoothed(2, 5).normalized());
    }

    void rawSpectraComeCloseToReferenceProcessing_data()
    {
        QTest::addColumn<QString>("mineral");
        QTest::addColumn<int>("method");
        QTest::addColumn<double>("minimum");
        for (const char *mineral : {"Actinolite", "Adamite", "Akermanite", "Albite"}) {
            for (int method : {Goldindec4, Goldindec1, Splines, DynamicSplines})
                QTest::addRow("%s, method %d", mineral, method) << mineral << method << 0.95;
        }
        // Its background falls steeply at the start, which only the polynomial follows.
        QTest::addRow("Aegirine, Goldindec") << "Aegirine" << int(Goldindec4) << 0.9;
    }

    // RRUFF publishes raw spectra beside its own background-corrected ones: ours should look alike.
    void rawSpectraComeCloseToReferenceProcessing()
    {
        QFETCH(QString, mineral);
        QFETCH(int, method);
        QFETCH(double, minimum);
        RAMAN_SHARED_DATA(formats, "rruff/formats");
        const QDir folder(formats);
        const QString pattern = mineral + S("__*__514__0-000____Raman_Data_%1__*");
        const QStringList raw = folder.entryList({pattern.arg(QLatin1String("RAW"))});
        const QStringList reference = folder.entryList({pattern.arg(QLatin1String("Processed"))});
        QVERIFY(raw.size() == 1 && reference.size() == 1);
        const RamanData<Wavenumbers> target = loadSpectrumFromCSV(folder.filePath(reference[0]));
        RamanData<Wavenumbers> input = loadSpectrumFromCSV(folder.filePath(raw[0])).resampled(1.25);
        input.cut(target.x.first(), target.x.last());
        const double before = similarity(input, target);
        const double after = similarity(processed(input, backgroundParameters(method)), target);
        QVERIFY2(after > minimum && after > before, qPrintable(QString::number(after)));
    }

    void realQueriesStayFiniteAndAboveZero()
    {
        QStringList files;
        for (const char *folder : {"/queries/", "/library/"}) {
            const QDir dir(TestFiles::rruffDir() + QLatin1String(folder));
            for (const QString &file : dir.entryList({S("*.txt")}))
                files.append(dir.filePath(file));
        }
        QCOMPARE(files.size(), 185);
        for (const QString &file : qAsConst(files)) {
            const RamanData<Wavenumbers> loaded = loadSpectrumFromCSV(file);
            QVERIFY(loaded.size() >= 100 && std::is_sorted(loaded.x.cbegin(), loaded.x.cend()));
            const auto input = loaded.resampled(1.25);
            for (int method : {Goldindec4, Goldindec1, Splines, DynamicSplines}) {
                QVector<double> y = processed(input, backgroundParameters(method)).y;
                QVERIFY(y.size() == input.size());
                QVERIFY(
                    std::all_of(y.cbegin(), y.cend(), [](double v) { return std::isfinite(v); }));
                std::sort(y.begin(), y.end());
                // The spline's extrapolated first piece may swing below zero: test the median.
                QVERIFY2(y[y.size() / 2] > -0.01 * y.last(), qPrintable(file));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestProcessing)
#include "tst_processing.moc"
