#include "spectrum/goldindec.h"
#include "spectrum/interpolation.h"
#include "spectrum/processing.h"
#include "spectrum/spectrumfile.h"
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
        // An even smoothing width is refused and the data passes on unsmoothed.
        p.smoothingWidth = 4;
        QTest::ignoreMessage(QtWarningMsg, "Invalid parameters passed to savitzkyGolaySmoothed");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Parameters are")));
        QCOMPARE(processed(s.data, p), s.data.normalized());
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
        const QString pattern = mineral + QStringLiteral("__*__514__0-000____Raman_Data_%1__*");
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
            for (const QString &file : dir.entryList({QStringLiteral("*.txt")}))
                files.append(dir.filePath(file));
        }
        QCOMPARE(files.size(), 185);
        for (const QString &file : qAsConst(files)) {
            const auto input = loadSpectrumFromCSV(file).resampled(1.25);
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
