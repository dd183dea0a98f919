#include "identificationeval.h"

#include <QTemporaryDir>
#include <QtTest>

// Keeps the identification quality on real RRUFF measurements from slipping. The rates were
// 98 of 120 first hits for both methods when this test was written.
class TestIdentification : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void topHitRates_data();
    void topHitRates();

private:
    QTemporaryDir m_dir;
    RLibrary m_library;
    QVector<RruffQuery> m_queries;
};

void TestIdentification::initTestCase()
{
    const QString rruff = QStringLiteral(RAMAN_TEST_DATA_DIR "/rruff");
    m_queries = rruffQueries(rruff);
    if (m_queries.isEmpty())
        QSKIP("reference spectra not available");
    const QString folder = m_dir.filePath(QStringLiteral("rruff"));
    QVERIFY(copyLibraryFolder(rruff + QStringLiteral("/library"), folder));
    LibraryPath path;
    path.path = folder;
    m_library.setLibraryFolders({path});
    m_library.readLibraryFromDisk();
    QCOMPARE(m_library.count(), 763);
    QCOMPARE(m_queries.size(), 120);
}

void TestIdentification::topHitRates_data()
{
    QTest::addColumn<unsigned>("flags");
    QTest::addColumn<int>("minimumTop1");
    QTest::addColumn<int>("minimumTop5");
    QTest::newRow("fingerprint") << unsigned(RLibrary::FingerprintSearch) << 95 << 103;
    QTest::newRow("correlation") << unsigned(RLibrary::NormalizeToUnitNorm) << 95 << 104;
}

void TestIdentification::topHitRates()
{
    QFETCH(unsigned, flags);
    QFETCH(int, minimumTop1);
    QFETCH(int, minimumTop5);
    const IdentificationRates rates = identificationRates(m_library, m_queries, flags);
    qInfo("top-1 %d, top-5 %d of %d", rates.top1, rates.top5, rates.queries);
    QCOMPARE(rates.searched, rates.queries);
    QVERIFY(rates.top1 >= minimumTop1);
    QVERIFY(rates.top5 >= minimumTop5);
}

QTEST_GUILESS_MAIN(TestIdentification)
#include "tst_identification.moc"
