#include "library/identify/searchevaluation.h"
#include "librarycopy.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

// Keeps the mineral search's figures on the shared RRUFF sets from sliding back
// (bench_identification and raman-cli evaluate print them all). The gates lie a few points below
// what was reached when this was written.
class TestMineralSearchQuality : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void hitRates_data();
    void hitRates();

private:
    QTemporaryDir m_dir;
    QString m_data = S(RAMAN_TEST_DATA_DIR);
};

void TestMineralSearchQuality::initTestCase()
{
    if (!QFileInfo::exists(m_data + S("/rruff/loo/INDEX.csv")))
        QSKIP("the shared RRUFF data (../shared/data/rruff) is not available");
}

void TestMineralSearchQuality::hitRates_data()
{
    // Per cent of the queries: first, among the first five, confident, right when confident,
    // uncertain when the query's mineral is left out of the library; at group level: right,
    // confident, right when confident.
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("queries"); // empty: the library's own spectra
    QTest::addColumn<int>("folds");       // 0: each query without its own sample
    QTest::addColumn<QVector<double>>("minimum");
    QTest::newRow("queries/ against library/") << S("rruff/library") << S("rruff/queries") << 0
                                               << QVector<double>{85, 92, 0, 0, 0, 88, 80, 96};
    QTest::newRow("loo/ leave one sample out")
        << S("rruff/loo") << QString() << 0 << QVector<double>{86, 93, 60, 96, 89, 89, 80, 96};
    QTest::newRow("rruff-full five folds by sample")
        << S("rruff-full") << QString() << 5
        << QVector<double>{80, 92, 44, 96.5, 85, 88.5, 77, 96.5};
}

void TestMineralSearchQuality::hitRates()
{
    QFETCH(QString, library);
    QFETCH(QString, queries);
    QFETCH(int, folds);
    QFETCH(QVector<double>, minimum);
    if (!QFileInfo::exists(m_data + QLatin1Char('/') + library))
        QSKIP("this shared data set is not available");
    ReferenceLibrary loaded;
    QVERIFY(loadLibraryCopy(m_data + QLatin1Char('/') + library, m_dir.filePath(library), loaded));
    const SearchEvaluation e = evaluateSearches(
        loaded,
        labelledSpectra(m_data + QLatin1Char('/') + (queries.isEmpty() ? library : queries)),
        queries.isEmpty() ? LeaveOutOwnSample : LeaveOutNothing, {SearchMethod::Mineral},
        analysisStartParameters(), {}, folds);
    const QVector<double> reached{e.mineral.top1Percent(),
                                  e.mineral.top5Percent(),
                                  e.percentOfQueries(e.confident),
                                  e.confidentRightPercent(),
                                  e.percentOfQueries(e.uncertainWhenAbsent),
                                  e.percentOfQueries(e.groupRight),
                                  e.percentOfQueries(e.groupConfident),
                                  100.0 * e.groupConfidentRight / std::max(e.groupConfident, 1)};
    qInfo("top-1 %.1f %%, top-5 %.1f %%, confident %.1f %% (right %.1f %%), left out: "
          "uncertain %.1f %%; group right %.1f %%, confident %.1f %% (right %.1f %%)",
          reached[0], reached[1], reached[2], reached[3], reached[4], reached[5], reached[6],
          reached[7]);
    for (int i = 0; i < reached.size(); ++i)
        QVERIFY2(reached[i] >= minimum[i], qPrintable(QString::number(i)));
}

QTEST_GUILESS_MAIN(TestMineralSearchQuality)
#include "tst_mineralsearch_quality.moc"
