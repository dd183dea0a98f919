#include "library/rlibrary.h"
#include "spectrum/spectrumfile.h"

#include "combinationfixture.h"
#include "identificationeval.h"
#include "syntheticspectra.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

Q_DECLARE_METATYPE(FingerprintPeak)
Q_DECLARE_METATYPE(FingerprintParameters)

namespace {

using Peaks = QVector<FingerprintPeak>;

// A peak identified by its weight in the expectations.
FingerprintPeak peak(double position, float weight)
{
    return {position, 5.0f, 0.5f, weight};
}

SpectrumFingerprint fingerprint(const Peaks &peaks, double xFirst, double xLast, double noise)
{
    SpectrumFingerprint f;
    f.peaks = peaks;
    f.xFirst = xFirst;
    f.xLast = xLast;
    f.noise = noise;
    return f;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

Peaks sortedByPosition(Peaks peaks)
{
    std::stable_sort(
        peaks.begin(), peaks.end(),
        [](const FingerprintPeak &p, const FingerprintPeak &q) { return p.position < q.position; });
    return peaks;
}

// The score of every pair through the in-place path, with the library peaks' measured
// neighbours found by the matcher or known beforehand, checked against matching a combined copy.
int countDisagreements(const SpectrumFingerprint &measured,
                       const QVector<SpectrumFingerprint> &library,
                       const FingerprintParameters &parameters)
{
    const FingerprintMatcher matcher(measured, parameters);
    const auto neighbours = [&matcher](const Peaks &peaks) {
        QVector<int> nearest;
        for (const FingerprintPeak &peak : peaks)
            nearest.append(matcher.nearestMeasuredPeak(peak.position));
        return nearest;
    };
    int disagreements = 0;
    for (const SpectrumFingerprint &a : library) {
        const Peaks sortedA = sortedByPosition(a.peaks);
        const QVector<int> nearestA = neighbours(sortedA);
        for (const SpectrumFingerprint &b : library) {
            const Peaks sortedB = sortedByPosition(b.peaks);
            const QVector<int> nearestB = neighbours(sortedB);
            const SpectrumFingerprint sum = combinedFingerprint(a, b);
            const double expected = matchFingerprints(measured, sum, parameters);
            Peaks buffer(sortedA.size() + sortedB.size());
            QVector<int> nearest(buffer.size());
            SortedPeaksFingerprint view{buffer.constData(),
                                        combinePeaks(sortedA.constData(), sortedA.size(),
                                                     sortedB.constData(), sortedB.size(),
                                                     buffer.data()),
                                        sum.xFirst, sum.xLast, sum.noise};
            disagreements += !sameBits(matcher.match(view), expected);
            buffer.fill(FingerprintPeak());
            view.count = combinePeaks(sortedA.constData(), nearestA.constData(), sortedA.size(),
                                      sortedB.constData(), nearestB.constData(), sortedB.size(),
                                      buffer.data(), nearest.data());
            view.nearestMeasured = nearest.constData();
            disagreements += !sameBits(matcher.match(view), expected);
        }
    }
    return disagreements;
}

int indexIn(const QVector<RamanLibrarySpectrum> &spectra, const RamanLibrarySpectrum *spectrum)
{
    return int(spectrum - spectra.constData());
}

} // namespace

class TestCombinationSearch : public QObject
{
    Q_OBJECT

private slots:
    void combine_data();
    void combine();
    void matcherAgreesOnRandomFingerprints_data();
    void matcherAgreesOnRandomFingerprints();
    void matcherAgreesOnRruffFingerprints();
    void searchScoresEveryPair_data();
    void searchScoresEveryPair();
    void cancellingStopsTheWork();
    void unusableInputGivesNoCombinations();
};

void TestCombinationSearch::combine_data()
{
    QTest::addColumn<Peaks>("a");
    QTest::addColumn<Peaks>("b");
    QTest::addColumn<Peaks>("expected");
    QTest::newRow("9.9 apart collapse")
        << Peaks{peak(500, 1)} << Peaks{peak(509.9, 2)} << Peaks{peak(500, 1)};
    QTest::newRow("10 apart both stay")
        << Peaks{peak(500, 1)} << Peaks{peak(510, 2)} << Peaks{peak(500, 1), peak(510, 2)};
    QTest::newRow("the lower one stays, from either side")
        << Peaks{peak(509.9, 1)} << Peaks{peak(500, 2)} << Peaks{peak(500, 2)};
    QTest::newRow("equal positions keep the first's")
        << Peaks{peak(500, 1)} << Peaks{peak(500, 2)} << Peaks{peak(500, 1)};
    QTest::newRow("distance to the last kept, not the last seen")
        << Peaks{peak(500, 1), peak(512, 3)} << Peaks{peak(505, 2)}
        << Peaks{peak(500, 1), peak(512, 3)};
    QTest::newRow("unsorted input, empty partner")
        << Peaks{peak(900, 1), peak(300, 2), peak(600, 3)} << Peaks{}
        << Peaks{peak(300, 2), peak(600, 3), peak(900, 1)};
    QTest::newRow("interleaved") << Peaks{peak(200, 1), peak(800, 3)}
                                 << Peaks{peak(500, 2), peak(1100, 4)}
                                 << Peaks{peak(200, 1), peak(500, 2), peak(800, 3), peak(1100, 4)};
}

void TestCombinationSearch::combine()
{
    QFETCH(Peaks, a);
    QFETCH(Peaks, b);
    QFETCH(Peaks, expected);
    const SpectrumFingerprint sum
        = combinedFingerprint(fingerprint(a, 100, 1500, 0.01), fingerprint(b, 50, 1200, 0.03));
    QCOMPARE(sum.xFirst, 50.0);
    QCOMPARE(sum.xLast, 1500.0);
    QCOMPARE(sum.noise, 0.02);

    const Peaks sortedA = sortedByPosition(a);
    const Peaks sortedB = sortedByPosition(b);
    Peaks inPlace(a.size() + b.size());
    inPlace.resize(combinePeaks(sortedA.constData(), sortedA.size(), sortedB.constData(),
                                sortedB.size(), inPlace.data()));
    for (const Peaks &peaks : {sum.peaks, inPlace}) {
        QCOMPARE(peaks.size(), expected.size());
        for (int k = 0; k < peaks.size(); ++k) {
            QCOMPARE(peaks[k].position, expected[k].position);
            QCOMPARE(peaks[k].weight, expected[k].weight);
        }
    }
}

void TestCombinationSearch::matcherAgreesOnRandomFingerprints_data()
{
    QTest::addColumn<FingerprintParameters>("parameters");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("span");
    QTest::newRow("defaults") << FingerprintParameters() << 0.25 << 1600;
    QTest::newRow("crowded, many ties") << FingerprintParameters() << 1.0 << 300;
    FingerprintParameters p;
    p.ignoreUnmatchedMeasured = true;
    QTest::newRow("unmatched measured ignored") << p << 0.25 << 1600;
    QTest::newRow("wide peaks") << scaledForPeakWidth(FingerprintParameters(), 4.0) << 0.5 << 800;
}

void TestCombinationSearch::matcherAgreesOnRandomFingerprints()
{
    QFETCH(FingerprintParameters, parameters);
    QFETCH(double, step);
    QFETCH(int, span);
    QRandomGenerator random(77);
    QVector<SpectrumFingerprint> library;
    for (int i = 0; i < 25; ++i)
        library.append(randomFingerprint(random, 30, step, span));
    library.append(SpectrumFingerprint()); // a library spectrum without a usable fingerprint
    for (int m = 0; m < 12; ++m) {
        SpectrumFingerprint measured = randomFingerprint(random, 40, step, span);
        if (m % 3 == 0 && !measured.peaks.isEmpty()) {
            // Duplicated positions exercise the tie rules of pairing and removal.
            measured.peaks.append(measured.peaks.constFirst());
            measured.peaks.append(peak(measured.peaks.constFirst().position, 0.3f));
        }
        QCOMPARE(countDisagreements(measured, library, parameters), 0);
    }
}

void TestCombinationSearch::matcherAgreesOnRruffFingerprints()
{
    const QString rruff = QStringLiteral(RAMAN_TEST_DATA_DIR "/rruff");
    const QVector<RruffQuery> queries = rruffQueries(rruff);
    if (queries.isEmpty())
        QSKIP("reference spectra not available");
    QTemporaryDir dir;
    const QStringList files = QDir(rruff + QStringLiteral("/library"))
                                  .entryList({QStringLiteral("*.txt")}, QDir::Files);
    for (int k = 0; k < files.size(); k += 20)
        QVERIFY(
            QFile::copy(rruff + QStringLiteral("/library/") + files[k], dir.filePath(files[k])));
    RLibrary library;
    LibraryPath path;
    path.path = dir.path();
    library.setLibraryFolders({path});
    library.readLibraryFromDisk();
    QVERIFY(library.count() >= 30);
    for (int q = 0; q < queries.size(); q += 30) {
        const SpectrumFingerprint measured = buildFingerprint(
            RLibrary::prepareSpectrum(loadSpectrumFromCSV(queries[q].path),
                                      analysisStartParameters(), RLibrary::FingerprintSearch),
            FingerprintParameters());
        QVERIFY(!measured.peaks.isEmpty());
        QCOMPARE(countDisagreements(measured, library.fingerprints(), FingerprintParameters()), 0);
    }
}

void TestCombinationSearch::searchScoresEveryPair_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("144 combinations: all kept") << 12;
    QTest::newRow("169 combinations: the best 150 kept") << 13;
}

void TestCombinationSearch::searchScoresEveryPair()
{
    QFETCH(int, count);
    QTemporaryDir dir;
    QRandomGenerator random{quint32(count)};
    QVector<RamanData<Wavenumbers>> minerals;
    for (int i = 0; i < count; ++i) {
        QVector<SyntheticBand> bands;
        for (int b = 0; b < 4; ++b)
            bands.append(
                {150 + random.bounded(1300.0), 0.2 + random.bounded(0.8), 3 + random.bounded(4.0)});
        minerals.append(syntheticSpectrum(bands, quint32(i)));
        QVERIFY(TestFiles::write(
            dir.filePath(QStringLiteral("Mineral%1__R%1__Raman__532__0__unoriented__"
                                        "Raman_Data_Processed__%1.txt")
                             .arg(100 + i)),
            spectrumText(minerals.constLast())));
    }
    RLibrary library;
    LibraryPath path;
    path.path = dir.path();
    library.setLibraryFolders({path});
    library.readLibraryFromDisk();
    QCOMPARE(library.count(), count);

    RamanData<Wavenumbers> mixture = minerals[3].normalizedToMaximum();
    const RamanData<Wavenumbers> other = minerals[7].normalizedToMaximum();
    for (int k = 0; k < mixture.size(); ++k)
        mixture.y[k] += other.y[k];
    const SpectrumFingerprint measured
        = buildFingerprint(mixture.normalizedToMaximum(), FingerprintParameters());
    QFuture<QVector<LinearCombinationResult>> search
        = library.startCombinationSearch(measured, FingerprintParameters());
    search.waitForFinished();
    QCOMPARE(search.progressMaximum(), count);
    QCOMPARE(search.progressValue(), count);
    const QVector<LinearCombinationResult> results = search.result();
    QCOMPARE(results.size(), std::min(count * count, combinationResultsKept));

    // Every kept score is the one of matching the combined fingerprint; none is listed twice and
    // none left out scores better than the worst kept.
    const QVector<RamanLibrarySpectrum> &spectra = library.spectra();
    QVector<double> scoreOf(count * count, -2.0);
    for (int k = 0; k < results.size(); ++k) {
        const int i = indexIn(spectra, results[k].first);
        const int j = indexIn(spectra, results[k].second);
        QVERIFY(i >= 0 && i < count && j >= 0 && j < count);
        QCOMPARE(scoreOf[i * count + j], -2.0);
        scoreOf[i * count + j] = results[k].score;
        QVERIFY(sameBits(results[k].score,
                         matchFingerprints(measured,
                                           combinedFingerprint(library.fingerprints()[i],
                                                               library.fingerprints()[j]),
                                           FingerprintParameters())));
        if (k > 0)
            QVERIFY(results[k - 1].score >= results[k].score);
    }
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < count; ++j) {
            if (scoreOf[i * count + j] == -2.0) {
                const double left = matchFingerprints(
                    measured,
                    combinedFingerprint(library.fingerprints()[i], library.fingerprints()[j]),
                    FingerprintParameters());
                QVERIFY(left <= results.constLast().score);
            }
        }
    }

    const QVector<LinearCombinationResult> distinct = distinctPairs(results);
    QVERIFY(distinct.size() <= count * (count + 1) / 2);
    if (count * count <= combinationResultsKept) {
        QCOMPARE(distinct.size(), count * (count + 1) / 2);
        QVERIFY(std::any_of(distinct.cbegin(), distinct.cend(),
                            [](const LinearCombinationResult &r) { return r.first == r.second; }));
    }
    QStringList best{distinct.constFirst().first->info.number,
                     distinct.constFirst().second->info.number};
    best.sort();
    QCOMPARE(best, (QStringList{QStringLiteral("103"), QStringLiteral("107")}));
    QVERIFY(scoreOf[3 * count + 7] == scoreOf[7 * count + 3]);
}

void TestCombinationSearch::cancellingStopsTheWork()
{
    const CombinationLibrary library = randomCombinationLibrary(2000, 5);
    QRandomGenerator random(6);
    SpectrumFingerprint measured;
    while (measured.peaks.size() < 10)
        measured = randomFingerprint(random, 30);
    QFuture<QVector<LinearCombinationResult>> search = startCombinationSearch(
        library.spectra, library.fingerprints, measured, FingerprintParameters());
    search.cancel();
    search.waitForFinished();
    QVERIFY(search.isCanceled());
    QCOMPARE(search.progressMaximum(), 2000);
    QVERIFY(search.progressValue() < search.progressMaximum());
}

void TestCombinationSearch::unusableInputGivesNoCombinations()
{
    const CombinationLibrary library = randomCombinationLibrary(5, 8);
    QRandomGenerator random(9);
    SpectrumFingerprint measured;
    while (measured.peaks.isEmpty())
        measured = randomFingerprint(random, 30);
    const struct
    {
        SpectrumFingerprint measured;
        CombinationLibrary library;
    } cases[] = {{SpectrumFingerprint(), library}, {measured, CombinationLibrary()}};
    for (const auto &c : cases) {
        QFuture<QVector<LinearCombinationResult>> search = startCombinationSearch(
            c.library.spectra, c.library.fingerprints, c.measured, FingerprintParameters());
        QVERIFY(search.isFinished());
        QVERIFY(search.result().isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestCombinationSearch)
#include "tst_combinationsearch.moc"
