#include "library/ui/correlationparametersdialog.h"

#include <QtTest>

class TestCorrelationParametersDialog : public QObject
{
    Q_OBJECT

private slots:
    void widthScale_data()
    {
        QTest::addColumn<int>("slider");
        QTest::addColumn<double>("scale");
        QTest::newRow("unset") << -1 << 1.0;
        QTest::newRow("four times") << 49 << 4.0;
        QTest::newRow("beyond five falls back") << 100 << 1.0;
        QTest::newRow("zero falls back") << -51 << 1.0;
        QTest::newRow("narrow") << -26 << 0.25;
    }

    void widthScale()
    {
        QFETCH(int, slider);
        QFETCH(double, scale);
        QCOMPARE(CorrelationParametersDialog::widthScale(slider), scale);
        const FingerprintParameters p = CorrelationParametersDialog().parameters(slider);
        QCOMPARE(p.checkWidth, 16 * scale);
        QCOMPARE(p.halfFitSize, 4 * scale);
        QCOMPARE(p.maxWidth, 70 * scale);
        QCOMPARE(p.peakNoiseFactor, 25 / scale);
    }
};

QTEST_MAIN(TestCorrelationParametersDialog)
#include "tst_correlationparametersdialog.moc"
