#include "library/combinationsearch.h"
#include "library/matching/peakwidth.h"

#include "combinationfixture.h"

#include <QtTest>

#include <cstring>

Q_DECLARE_METATYPE(FingerprintParameters)

namespace {

using Peaks = QVector<FingerprintPeak>;

Peaks sortedByPosition(Peaks peaks)
{
    std::stable_sort(
        peaks.begin(), peaks.end(),
        [](const FingerprintPeak &p, const FingerprintPeak &q) { return p.position < q.position; });
    return peaks;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

double reference(const SpectrumFingerprint &measured, const SpectrumFingerprint &a,
                 const SpectrumFingerprint &b, const FingerprintParameters &p)
{
    return matchFingerprints(measured, combinedFingerprint(a, b), p);
}

} // namespace

class TestCombinationSearch : public QObject
{
    Q_OBJECT

private slots:
    void combine_data()
    {
        QTest::addColumn<QVector<double>>("a");
        QTest::addColumn<QVector<double>>("b");
        QTest::addColumn<QVector<double>>("kept");
        QTest::addColumn<QString>("from"); // which fingerprint each kept peak came from
        QTest::newRow("9.9 apart collapse")
            << QVector<double>{500} << QVector<double>{509.9} << QVector<double>{500} << "a";
        QTest::newRow("10 apart both stay")
            << QVector<double>{500} << QVector<double>{510} << QVector<double>{500, 510} << "ab";
        QTest::newRow("the lower stays")
            << QVector<double>{509.9} << QVector<double>{500} << QVector<double>{500} << "b";
        QTest::newRow("measured from the last kept")
            << QVector<double>{500, 512} << QVector<double>{505} << QVector<double>{500, 512}
            << "aa";
        QTest::newRow("unsorted, empty partner")
            << QVector<double>{900, 300} << QVector<double>{} << QVector<double>{300, 900} << "aa";
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
    void matcherAgreesWithMatchingACombinedCopy_data()
    {
        QTest::addColumn<FingerprintParameters>("parameters");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("span");
        QTest::newRow("crowded, many ties") << FingerprintParameters() << 1.0 << 300;
        FingerprintParameters p;
        p.ignoreUnmatchedMeasured = true;
        QTest::newRow("unmatched measured ignored, wide peaks")
            << scaledForPeakWidth(p, 4.0) << 0.5 << 800;
    }
    void matcherAgreesWithMatchingACombinedCopy()
    {
        QFETCH(FingerprintParameters, parameters);
        QFETCH(double, step);
        QFETCH(int, span);
        QRandomGenerator random(77);
        QVector<SpectrumFingerprint> library{SpectrumFingerprint()}; // one without a fingerprint
        for (int i = 0; i < 25; ++i)
            library.append(randomFingerprint(random, 30, step, span));
        for (int m = 0; m < 12; ++m) {
            SpectrumFingerprint measured = randomFingerprint(random, 40, step, span);
            if (m % 3 == 0 && !measured.peaks.isEmpty()) // duplicated positions
                measured.peaks += {measured.peaks[0], {measured.peaks[0].position, 3, 0.2f, 0.3f}};
            const FingerprintMatcher matcher(measured, parameters);
            int disagreements = 0;
            // Single library fingerprints, read through their peaks sorted at load.
            const SortedLibraryPeaks sorted(library);
            for (int i = 0; i < library.size(); ++i)
                disagreements += !sameBits(matcher.match(sorted.view(i, library[i])),
                                           matchFingerprints(measured, library[i], parameters));
            for (const SpectrumFingerprint &a : library) {
                for (const SpectrumFingerprint &b : library) {
                    const Peaks sortedA = sortedByPosition(a.peaks),
                                sortedB = sortedByPosition(b.peaks);
                    QVector<int> nearestA, nearestB, nearest(sortedA.size() + sortedB.size());
                    for (const FingerprintPeak &peak : sortedA)
                        nearestA.append(matcher.nearestMeasuredPeak(peak.position));
                    for (const FingerprintPeak &peak : sortedB)
                        nearestB.append(matcher.nearestMeasuredPeak(peak.position));
                    Peaks buffer(nearest.size());
                    SortedPeaksFingerprint view{buffer.constData(), 0, std::min(a.xFirst, b.xFirst),
                                                std::max(a.xLast, b.xLast),
                                                (a.noise + b.noise) / 2};
                    view.count = combinePeaks(sortedA.constData(), sortedA.size(),
                                              sortedB.constData(), sortedB.size(), buffer.data());
                    const double expected = reference(measured, a, b, parameters);
                    disagreements += !sameBits(matcher.match(view), expected);
                    view.count
                        = combinePeaks(sortedA.constData(), nearestA.constData(), sortedA.size(),
                                       sortedB.constData(), nearestB.constData(), sortedB.size(),
                                       buffer.data(), nearest.data());
                    view.nearestMeasured = nearest.constData();
                    disagreements += !sameBits(matcher.match(view), expected);
                }
            }
            QCOMPARE(disagreements, 0);
        }
    }
    void searchKeepsTheBestPairs_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("144 combinations: all kept") << 12;
        QTest::newRow("169 combinations: the best 150 kept") << 13;
    }
    void searchKeepsTheBestPairs()
    {
        QFETCH(int, count);
        const CombinationLibrary library = randomCombinationLibrary(count, 21, 12);
        QRandomGenerator random(22);
        SpectrumFingerprint measured;
        while (measured.peaks.size() < 5)
            measured = randomFingerprint(random, 20);
        QFuture<QVector<LinearCombinationResult>> search = startCombinationSearch(
            library.spectra, library.fingerprints, SortedLibraryPeaks(library.fingerprints),
            measured, FingerprintParameters());
        const QVector<LinearCombinationResult> results = search.result();
        QCOMPARE(search.progressMaximum(), count);
        QCOMPARE(search.progressValue(), count);
        QCOMPARE(results.size(), std::min(count * count, combinationResultsKept));

        QVector<double> scores(count * count), kept(count * count, -2.0);
        for (int pair = 0; pair < count * count; ++pair)
            scores[pair] = reference(measured, library.fingerprints[pair / count],
                                     library.fingerprints[pair % count], FingerprintParameters());
        for (int k = 0; k < results.size(); ++k) {
            const int pair = int(results[k].first - library.spectra.constData()) * count
                             + int(results[k].second - library.spectra.constData());
            QCOMPARE(kept[pair], -2.0);
            QVERIFY(sameBits(results[k].score, scores[pair]));
            kept[pair] = scores[pair];
            QVERIFY(k == 0 || results[k - 1].score >= results[k].score);
        }
        for (int pair = 0; pair < count * count; ++pair)
            QVERIFY(kept[pair] != -2.0 || scores[pair] <= results.constLast().score);
    }
    void cancellingStopsTheWork()
    {
        const CombinationLibrary library = randomCombinationLibrary(2000, 5);
        QRandomGenerator random(6);
        SpectrumFingerprint measured;
        while (measured.peaks.size() < 10)
            measured = randomFingerprint(random, 30);
        QFuture<QVector<LinearCombinationResult>> search = startCombinationSearch(
            library.spectra, library.fingerprints, SortedLibraryPeaks(library.fingerprints),
            measured, FingerprintParameters());
        search.cancel();
        search.waitForFinished();
        QVERIFY(search.isCanceled());
        QCOMPARE(search.progressMaximum(), 2000);
        QVERIFY(search.progressValue() < search.progressMaximum());

        // Nothing to search with: finished at once, without combinations.
        for (const auto &[fingerprint, size] :
             {std::pair(SpectrumFingerprint(), 2000), {measured, 0}}) {
            const QVector<SpectrumFingerprint> fingerprints = library.fingerprints.mid(0, size);
            search = startCombinationSearch(library.spectra.mid(0, size), fingerprints,
                                            SortedLibraryPeaks(fingerprints), fingerprint,
                                            FingerprintParameters());
            QVERIFY(search.isFinished());
            QVERIFY(search.result().isEmpty());
        }
    }
};

// Bit for bit, with the library peaks' measured neighbours found by match or known beforehand.
QTEST_GUILESS_MAIN(TestCombinationSearch)
#include "library/matching/fingerprintmatcher.h"
#include "tst_combinationsearch.moc"
