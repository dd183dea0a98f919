#include "library/fingerprint.h"

#include "syntheticspectra.h"

#include <QRegularExpression>
#include <QtTest>

#include <cmath>

namespace {

// Lorentzian bands on the 1.25 1/cm grid with a little noise, maximum exactly 1.
RamanData<Wavenumbers> synthetic(const QVector<SyntheticBand> &bands)
{
    return syntheticSpectrum(bands).normalizedToMaximum();
}

FingerprintPeak peak(double position, float weight = 1.0f, float width = 5.0f, float height = 1.0f)
{
    return {position, width, height, weight};
}

SpectrumFingerprint fingerprintOf(const QVector<FingerprintPeak> &peaks)
{
    SpectrumFingerprint f;
    f.peaks = peaks;
    f.xFirst = 100;
    f.xLast = 2000;
    f.noise = 0.01;
    return f;
}

} // namespace

class TestFingerprint : public QObject
{
    Q_OBJECT

private slots:
    void noiseEstimate();
    void noiseOfFlatOrShortData();
    void peaksOfSyntheticSpectrum();
    void invalidInputs_data();
    void invalidInputs();
    void identicalFingerprintsScoreTen();
    void positionTolerance_data();
    void positionTolerance();
    void widthAndHeightRatios_data();
    void widthAndHeightRatios();
    void unmatchedPeaks();
    void partialLibraryRange();
    void correlation_data();
    void correlation();
};

void TestFingerprint::noiseEstimate()
{
    // 512 points make windows of 4; alternating +-a has a window value of sqrt(4 a^2) / 4 = a / 2.
    QVector<double> y(512);
    for (int i = 0; i < 512; ++i)
        y[i] = (i % 2 ? 1 : -1) * 0.2;
    QCOMPARE(estimateNoise(y), double(0.1f));
    // Windows without any spread do not count; the first quartile of the rest is taken.
    for (int i = 0; i < 256; ++i)
        y[i] = 7.0;
    for (int i = 256; i < 320; ++i)
        y[i] = (i % 2 ? 1 : -1) * 0.02;
    QCOMPARE(estimateNoise(y), double(0.01f));
}

void TestFingerprint::noiseOfFlatOrShortData()
{
    QVERIFY(std::isnan(estimateNoise(QVector<double>(600, 1.0))));
    QVERIFY(std::isnan(estimateNoise({1, 2, 3, 4})));
}

void TestFingerprint::peaksOfSyntheticSpectrum()
{
    const RamanData<Wavenumbers> s
        = synthetic({{464, 1.0, 4}, {206, 0.4, 6}, {1086, 0.25, 3}, {355, 0.05, 5}});
    const SpectrumFingerprint f = buildFingerprint(s, FingerprintParameters());
    QVERIFY(f.isValid());
    QCOMPARE(f.xFirst, 100.0);
    QCOMPARE(f.xLast, s.x.last());
    QVERIFY(f.noise > 0 && f.noise < 0.002);
    QVERIFY(f.peaks.size() >= 4);
    const double expected[] = {464, 206, 1086, 355};
    for (int k = 0; k < 4; ++k) {
        QVERIFY2(std::fabs(f.peaks[k].position - expected[k]) < 0.3,
                 qPrintable(QString::number(f.peaks[k].position)));
        QVERIFY(f.peaks[k].width > 0 && f.peaks[k].width < 12);
        QVERIFY(f.peaks[k].weight > 0);
    }
    QVERIFY(std::fabs(f.peaks[0].height - 1.0f) < 0.02f);
    QVERIFY(std::fabs(f.peaks[1].height - 0.4f) < 0.03f);
    // Later peaks weigh less (decay 0.92 per accepted peak).
    QVERIFY(f.peaks[1].weight < f.peaks[0].weight);

    // The library set asks for peaks three times further above the noise.
    const SpectrumFingerprint library = buildFingerprint(s, FingerprintParameters::librarySet());
    QVERIFY(library.peaks.size() <= f.peaks.size());
}

void TestFingerprint::invalidInputs_data()
{
    QTest::addColumn<RamanData<Wavenumbers>>("spectrum");
    QTest::addColumn<QString>("warning");
    QTest::newRow("empty") << RamanData<Wavenumbers>{}
                           << QStringLiteral("constructing fingerprint from empty spectrum");
    RamanData<Wavenumbers> notNormalised = synthetic({{500, 1, 5}});
    for (double &v : notNormalised.y)
        v *= 3;
    QTest::newRow("not normalised")
        << notNormalised << QStringLiteral("constructing fingerprint from non-normalized spectrum");
    RamanData<Wavenumbers> zeros{QVector<double>(600, 0), QVector<double>(600, 0)};
    for (int i = 0; i < 600; ++i)
        zeros.x[i] = 100 + 1.25 * i;
    QTest::newRow("zeros") << zeros
                           << QStringLiteral(
                                  "constructing fingerprint from non-normalized spectrum");
}

void TestFingerprint::invalidInputs()
{
    QFETCH(RamanData<Wavenumbers>, spectrum);
    QFETCH(QString, warning);
    if (warning.contains(QLatin1String("non-normalized")))
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^Spectrum should be normalized")));
    QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
    const SpectrumFingerprint f = buildFingerprint(spectrum, FingerprintParameters());
    QVERIFY(!f.isValid());
    QVERIFY(f.peaks.isEmpty());
    QCOMPARE(matchFingerprints(f, f, FingerprintParameters()), -1.0);
}

void TestFingerprint::identicalFingerprintsScoreTen()
{
    const SpectrumFingerprint f = buildFingerprint(
        synthetic({{464, 1.0, 4}, {206, 0.4, 6}, {1086, 0.25, 3}}), FingerprintParameters());
    QVERIFY(f.peaks.size() >= 3);
    QCOMPARE(matchFingerprints(f, f, FingerprintParameters()), 10.0);
}

void TestFingerprint::positionTolerance_data()
{
    QTest::addColumn<double>("shift");
    QTest::addColumn<float>("weight");
    QTest::addColumn<double>("score");

    // A common peak at 1000 always matches; the peak at 500 is shifted in the library. Unmatched
    // peaks cost their full weight (1) here.
    QTest::newRow("perfect") << 0.0 << 1.0f << 10.0;
    QTest::newRow("at perfect tolerance") << 1.5 << 1.0f << 10.0;
    QTest::newRow("halfway") << 5.75 << 1.0f << 7.5;
    QTest::newRow("at the limit, s = 0") << 10.0 << 1.0f << 5.0;
    QTest::newRow("beyond the limit") << 10.5 << 1.0f << 10.0 / 3.0;
    // Weak peaks (mean weight 0.25) get twice the tolerance, weaker ones no more.
    QTest::newRow("weak peak, doubled limit") << 20.0 << 0.25f << 10.0 / 1.25;
    QTest::newRow("weaker peak, still doubled") << 20.5 << 0.1f << 10.0 / 1.2;
}

void TestFingerprint::positionTolerance()
{
    QFETCH(double, shift);
    QFETCH(float, weight);
    QFETCH(double, score);
    const SpectrumFingerprint measured = fingerprintOf({peak(1000), peak(500, weight)});
    const SpectrumFingerprint library = fingerprintOf({peak(1000), peak(500 + shift, weight)});
    const double result = matchFingerprints(measured, library, FingerprintParameters());
    QVERIFY2(std::fabs(result - score) < 1e-5,
             qPrintable(QStringLiteral("%1 != %2").arg(result).arg(score)));
}

void TestFingerprint::widthAndHeightRatios_data()
{
    QTest::addColumn<float>("libraryWidth");
    QTest::addColumn<float>("libraryHeight");
    QTest::addColumn<double>("s");

    QTest::newRow("equal") << 5.0f << 1.0f << 1.0;
    QTest::newRow("width ratio within 1.5") << 7.0f << 1.0f << 1.0;
    QTest::newRow("twice as wide") << 10.0f << 1.0f << 0.2 * 1.5 * 0.5 + 0.8;
    QTest::newRow("half as wide") << 2.5f << 1.0f << 0.2 * 1.5 * 0.5 + 0.8;
    QTest::newRow("a tenth as high") << 5.0f << 0.1f << 0.7 * 2.5 * 0.1 + 0.3;
    QTest::newRow("unknown height") << 5.0f << -1.0f << 1.0;
}

void TestFingerprint::widthAndHeightRatios()
{
    QFETCH(float, libraryWidth);
    QFETCH(float, libraryHeight);
    QFETCH(double, s);
    const SpectrumFingerprint measured = fingerprintOf({peak(500)});
    const SpectrumFingerprint library
        = fingerprintOf({peak(500, 1.0f, libraryWidth, libraryHeight)});
    QVERIFY(std::fabs(matchFingerprints(measured, library, FingerprintParameters()) - 10 * s)
            < 1e-5);
}

void TestFingerprint::unmatchedPeaks()
{
    // The library knows only the peak at 1000; the measured one has a second, unmatched peak.
    const SpectrumFingerprint library = fingerprintOf({peak(1000)});
    const auto score = [&library](const FingerprintPeak &unmatched, bool ignoreUnmatched) {
        FingerprintParameters p;
        p.ignoreUnmatchedMeasured = ignoreUnmatched;
        return matchFingerprints(fingerprintOf({peak(1000), unmatched}), library, p);
    };
    QVERIFY(std::fabs(score(peak(700), false) - 5.0) < 1e-5);
    QCOMPARE(score(peak(700), true), 10.0);
    // A strong unmatched peak (weight * factors above 1) costs the fixed penalty instead.
    QVERIFY(std::fabs(score(peak(700, 1.5f), false) - 10.0 / 5.0) < 1e-5);
    // A peak barely above the noise costs little: 0.03 / (0.01 * 15) = 0.2.
    QVERIFY(std::fabs(score(peak(700, 1.0f, 5.0f, 0.03f), false) - 10.0 / 1.2) < 1e-5);
    // Near the low end of the range an unmatched peak is ramped down: (150 - 100) / (100 + 133).
    QVERIFY(std::fabs(score(peak(150), false) - 10.0 / (1 + 50.0 / 233.0)) < 1e-5);
}

void TestFingerprint::partialLibraryRange()
{
    // Measured peaks outside the library's range find no partner, but still count as unmatched.
    const SpectrumFingerprint measured = fingerprintOf({peak(1000), peak(1800)});
    SpectrumFingerprint library = fingerprintOf({peak(1000)});
    library.xLast = 1200;
    QVERIFY(std::fabs(matchFingerprints(measured, library, FingerprintParameters()) - 5.0) < 1e-5);
}

void TestFingerprint::correlation_data()
{
    QTest::addColumn<RamanData<Wavenumbers>>("a");
    QTest::addColumn<RamanData<Wavenumbers>>("b");
    QTest::addColumn<double>("score");

    const RamanData<Wavenumbers> s{{0, 1.25, 2.5, 3.75}, {1, 2, 3, 4}};
    QTest::newRow("identical") << s << s << 10.0;
    QTest::newRow("scaled") << s << RamanData<Wavenumbers>{s.x, {2, 4, 6, 8}} << 10.0;
    QTest::newRow("orthogonal") << RamanData<Wavenumbers>{s.x, {1, 0, 1, 0}}
                                << RamanData<Wavenumbers>{s.x, {0, 1, 0, 1}} << 0.0;
    QTest::newRow("no overlap") << s << RamanData<Wavenumbers>{{10, 11.25}, {1, 1}} << 0.0;
    QTest::newRow("common range only")
        << s << RamanData<Wavenumbers>{{2.5, 3.75, 5}, {3, 4, -100}} << 10.0;
    QTest::newRow("empty") << s << RamanData<Wavenumbers>{} << 0.0;
}

void TestFingerprint::correlation()
{
    QFETCH(RamanData<Wavenumbers>, a);
    QFETCH(RamanData<Wavenumbers>, b);
    QFETCH(double, score);
    QVERIFY(std::fabs(correlateSpectra(a, b) - score) < 1e-12);
}

QTEST_GUILESS_MAIN(TestFingerprint)
#include "tst_fingerprint.moc"
