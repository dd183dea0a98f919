#include "combinationfixture.h"
#include "library/combinationsearch.h"
#include "library/matching/fingerprintmatcher.h"
#include "library/matching/peaksearch.h"
#include "library/matching/peakwidth.h"
#include "syntheticspectra.h"
#include "testfiles.h"

#include <QtTest>

#include <cmath>
#include <cstring>

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
    return {peaks, 100, 2000, 0.01};
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

using Peaks = QVector<FingerprintPeak>;
Q_DECLARE_METATYPE(Peaks)
Q_DECLARE_METATYPE(FingerprintParameters)

class TestFingerprint : public QObject
{
    Q_OBJECT

private slots:
    void noiseEstimate()
    {
        // 512 points make windows of 4; alternating +-a has a window value of sqrt(4 a^2) / 4 = a
        // / 2.
        QVector<double> y(512);
        for (int i = 0; i < 512; ++i)
            y[i] = (i % 2 ? 1 : -1) * 0.2;
        QCOMPARE(estimateNoise(y), double(0.1f));
        // Windows without any spread do not count; the first quartile of the rest is taken.
        for (int i = 0; i < 320; ++i)
            y[i] = i < 256 ? 7.0 : (i % 2 ? 1 : -1) * 0.02;
        QCOMPARE(estimateNoise(y), double(0.01f));
        QVERIFY(std::isnan(estimateNoise(QVector<double>(600, 1.0))));
        QVERIFY(std::isnan(estimateNoise({1, 2, 3, 4})));
    }
    void peaksOfSyntheticSpectrum()
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
        }
        QVERIFY(std::fabs(f.peaks[0].height - 1.0f) < 0.02f);
        QVERIFY(std::fabs(f.peaks[1].height - 0.4f) < 0.03f);
        QVERIFY(f.peaks[1].weight < f.peaks[0].weight && f.peaks[1].weight > 0);
        QCOMPARE(matchFingerprints(f, f, FingerprintParameters()), 10.0);
        QVERIFY(buildFingerprint(s, FingerprintParameters::librarySet()).peaks.size()
                <= f.peaks.size());
    }
    void invalidInputs()
    {
        RamanData<Wavenumbers> tripled = synthetic({{500, 1, 5}});
        for (double &v : tripled.y)
            v *= 3;
        RamanData<Wavenumbers> zeros = tripled;
        zeros.y.fill(0);
        QTest::ignoreMessage(QtWarningMsg, "constructing fingerprint from empty spectrum");
        for (int i = 0; i < 2; ++i) {
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(S("^Spectrum should be normalized")));
            QTest::ignoreMessage(QtWarningMsg,
                                 "constructing fingerprint from non-normalized spectrum");
        }
        for (const RamanData<Wavenumbers> &s : {RamanData<Wavenumbers>(), tripled, zeros}) {
            const SpectrumFingerprint f = buildFingerprint(s, FingerprintParameters());
            QVERIFY(!f.isValid() && f.peaks.isEmpty());
            QCOMPARE(matchFingerprints(f, f, FingerprintParameters()), -1.0);
        }
    }
    void score_data()
    {
        QTest::addColumn<Peaks>("measured");
        QTest::addColumn<Peaks>("library");
        QTest::addColumn<bool>("ignoreUnmatched");
        QTest::addColumn<double>("libraryLast");
        QTest::addColumn<double>("score");
        const auto row
            = [](const char *tag, const Peaks &m, const Peaks &l, double score, bool ignore = false,
                 double last = 2000) { QTest::newRow(tag) << m << l << ignore << last << score; };
        // Position: the peak at 500 is shifted in the library; unmatched peaks cost their weight.
        const Peaks two{peak(1000), peak(500)};
        row("at perfect tolerance", two, {peak(1000), peak(501.5)}, 10.0);
        row("at the limit, s = 0", two, {peak(1000), peak(510)}, 5.0);
        row("beyond the limit", two, {peak(1000), peak(510.5)}, 10.0 / 3.0);
        // Weak peaks (mean weight 0.25) get twice the tolerance, weaker ones no more.
        row("weak, doubled limit", {peak(1000), peak(500, 0.25f)}, {peak(1000), peak(520, 0.25f)},
            10.0 / 1.25);
        row("weaker, still doubled", {peak(1000), peak(500, 0.1f)}, {peak(1000), peak(520.5, 0.1f)},
            10.0 / 1.2);
        // Width and height ratios.
        row("width ratio within 1.5", {peak(500)}, {peak(500, 1, 7)}, 10.0);
        row("twice as wide", {peak(500)}, {peak(500, 1, 10)}, 10 * (0.2 * 1.5 * 0.5 + 0.8));
        row("a tenth as high", {peak(500)}, {peak(500, 1, 5, 0.1f)}, 10 * (0.7 * 2.5 * 0.1 + 0.3));
        row("unknown height", {peak(500)}, {peak(500, 1, 5, -1)}, 10.0);
        // Unmatched measured peaks.
        row("unmatched", {peak(1000), peak(700)}, {peak(1000)}, 5.0);
        row("unmatched ignored", {peak(1000), peak(700)}, {peak(1000)}, 10.0, true);
        row("strong: fixed penalty", {peak(1000), peak(700, 1.5f)}, {peak(1000)}, 2.0);
        row("barely above noise", {peak(1000), peak(700, 1, 5, 0.03f)}, {peak(1000)}, 10.0 / 1.2);
        row("ramped near the low end", {peak(1000), peak(150)}, {peak(1000)},
            10.0 / (1 + 50.0 / 233.0));
        row("outside the library range", {peak(1000), peak(1800)}, {peak(1000)}, 5.0, false, 1200);
    }
    void score()
    {
        QFETCH(Peaks, measured);
        QFETCH(Peaks, library);
        QFETCH(bool, ignoreUnmatched);
        QFETCH(double, libraryLast);
        QFETCH(double, score);
        FingerprintParameters p;
        p.ignoreUnmatchedMeasured = ignoreUnmatched;
        SpectrumFingerprint l = fingerprintOf(library);
        l.xLast = libraryLast;
        const double result = matchFingerprints(fingerprintOf(measured), l, p);
        QVERIFY2(std::fabs(result - score) < 1e-5, qPrintable(QString::number(result)));
    }
    void combine_data()
    {
        QTest::addColumn<QVector<double>>("a");
        QTest::addColumn<QVector<double>>("b");
        QTest::addColumn<QVector<double>>("kept");
        QTest::addColumn<QString>("from"); // which fingerprint each kept peak came from
        const auto row = [](const char *tag, const QVector<double> &a, const QVector<double> &b,
                            const QVector<double> &kept,
                            const char *from) { QTest::newRow(tag) << a << b << kept << S(from); };
        row("9.9 apart collapse", {500}, {509.9}, {500}, "a");
        row("10 apart both stay", {500}, {510}, {500, 510}, "ab");
        row("the lower stays", {509.9}, {500}, {500}, "b");
        row("measured from the last kept", {500, 512}, {505}, {500, 512}, "aa");
        row("unsorted, empty partner", {900, 300}, {}, {300, 900}, "aa");
    }
    void combine()
    {
        QFETCH(QVector<double>, a);
        QFETCH(QVector<double>, b);
        QFETCH(QVector<double>, kept);
        QFETCH(QString, from);
        SpectrumFingerprint fa{{}, 100, 1500, 0.01}, fb{{}, 50, 1200, 0.03};
        for (double position : a)
            fa.peaks.append({position, 5, 0.5, 1});
        for (double position : b)
            fb.peaks.append({position, 5, 0.5, 2});
        const SpectrumFingerprint sum = combinedFingerprint(fa, fb);
        QCOMPARE(sum.xFirst, 50.0);
        QCOMPARE(sum.xLast, 1500.0);
        QCOMPARE(sum.noise, 0.02);
        QCOMPARE(sum.peaks.size(), kept.size());
        for (int k = 0; k < kept.size(); ++k) {
            QCOMPARE(sum.peaks[k].position, kept[k]);
            QCOMPARE(sum.peaks[k].weight, from[k] == QLatin1Char('a') ? 1.0f : 2.0f);
        }
    }
    void combinationsMatchTheReference_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<FingerprintParameters>("parameters");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("span");
        const FingerprintParameters plain;
        QTest::newRow("144 combinations: all kept") << 12 << plain << 0.25 << 1600;
        QTest::newRow("169 combinations: the best 150 kept") << 13 << plain << 0.25 << 1600;
        QTest::newRow("crowded, many ties") << 13 << plain << 1.0 << 300;
        FingerprintParameters p;
        p.ignoreUnmatchedMeasured = true;
        QTest::newRow("unmatched measured ignored, wide peaks")
            << 13 << scaledForPeakWidth(p, 4.0) << 0.5 << 800;
    }
    // Bit for bit what matching each fingerprint and each combined copy gives; the best pairs kept.
    void combinationsMatchTheReference()
    {
        QFETCH(int, count);
        QFETCH(FingerprintParameters, parameters);
        QFETCH(double, step);
        QFETCH(int, span);
        CombinationLibrary library = randomCombinationLibrary(count, 21, 12, step, span);
        library.fingerprints[0] = SpectrumFingerprint(); // one without a fingerprint
        SpectrumFingerprint measured = randomMeasured(22, 5, 20, step, span);
        measured.peaks += {measured.peaks[0], {measured.peaks[0].position, 3, 0.2f, 0.3f}};
        // Single library fingerprints, read through their peaks sorted at load.
        const FingerprintMatcher matcher(measured, parameters);
        const SortedLibraryPeaks sorted(library.fingerprints);
        for (int i = 0; i < count; ++i)
            QVERIFY(sameBits(matcher.match(sorted.view(i, library.fingerprints[i])),
                             matchFingerprints(measured, library.fingerprints[i], parameters)));

        QFuture<QVector<LinearCombinationResult>> search = library.search(measured, parameters);
        const QVector<LinearCombinationResult> results = search.result();
        QCOMPARE(search.progressValue(), count);
        QCOMPARE(results.size(), std::min(count * count, combinationResultsKept));
        QVector<double> scores(count * count), kept(count * count, -2.0);
        for (int pair = 0; pair < count * count; ++pair)
            scores[pair]
                = matchFingerprints(measured,
                                    combinedFingerprint(library.fingerprints[pair / count],
                                                        library.fingerprints[pair % count]),
                                    parameters);
        for (int k = 0; k < results.size(); ++k) {
            const int pair = results[k].first * count + results[k].second;
            QCOMPARE(kept[pair], -2.0);
            QVERIFY(sameBits(results[k].score, scores[pair]));
            kept[pair] = scores[pair];
            QVERIFY(k == 0 || results[k - 1].score >= results[k].score);
        }
        for (int pair = 0; pair < count * count; ++pair)
            QVERIFY(kept[pair] != -2.0 || scores[pair] <= results.constLast().score);
    }
    // Nothing to search with: finished at once, without combinations.
    void nothingToSearchWith()
    {
        const CombinationLibrary library = randomCombinationLibrary(20, 5);
        const SpectrumFingerprint measured = randomMeasured(6, 10, 30);
        for (const auto &[fingerprint, size] :
             {std::pair(SpectrumFingerprint(), 20), {measured, 0}}) {
            const QVector<SpectrumFingerprint> fingerprints = library.fingerprints.mid(0, size);
            const auto search = startCombinationSearch(library.spectra.mid(0, size), fingerprints,
                                                       SortedLibraryPeaks(fingerprints),
                                                       fingerprint, FingerprintParameters());
            QVERIFY(search.isFinished());
            QVERIFY(search.result().isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestFingerprint)
#include "tst_fingerprint.moc"
