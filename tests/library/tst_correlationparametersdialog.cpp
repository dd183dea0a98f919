#include "library/correlationparametersdialog.h"

#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestCorrelationParametersDialog : public QObject
{
    Q_OBJECT

private slots:
    void startsWithDefaults();
    void widthScale_data();
    void widthScale();
    void everySpinBoxAnnouncesChanges();
    void resetRestoresDefaults();
};

void TestCorrelationParametersDialog::startsWithDefaults()
{
    const CorrelationParametersDialog dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("dialogsetcorrelationparams"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Matching Parameter"));
    QCOMPARE(dialog.findChildren<QDoubleSpinBox *>().size(), 15);
    const FingerprintParameters p = dialog.parameters(-1);
    const FingerprintParameters d;
    QCOMPARE(p.peakNoiseFactor, d.peakNoiseFactor);
    QCOMPARE(p.minHeight, d.minHeight);
    QCOMPARE(p.mustDropTo, d.mustDropTo);
    QCOMPARE(p.uncertaintyEnergy, d.uncertaintyEnergy);
    QCOMPARE(p.maxWidth, d.maxWidth);
    QVERIFY(!p.ignoreUnmatchedMeasured);
}

void TestCorrelationParametersDialog::widthScale_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<double>("scale");
    QTest::newRow("unset") << -1 << 1.0;
    QTest::newRow("four times") << 49 << 4.0;
    QTest::newRow("beyond five falls back") << 100 << 1.0;
    QTest::newRow("zero falls back") << -51 << 1.0;
    QTest::newRow("narrow") << -26 << 0.25;
}

void TestCorrelationParametersDialog::widthScale()
{
    QFETCH(int, slider);
    QFETCH(double, scale);
    QCOMPARE(CorrelationParametersDialog::widthScale(slider), scale);
    const FingerprintParameters p = CorrelationParametersDialog().parameters(slider);
    QCOMPARE(p.checkWidth, 16 * scale);
    QCOMPARE(p.halfFitSize, 4 * scale);
    QCOMPARE(p.maxWidth, 70 * scale);
    QCOMPARE(p.peakNoiseFactor, 25 / scale);
    QCOMPARE(p.maxWavenumDiff, 10.0);
}

void TestCorrelationParametersDialog::everySpinBoxAnnouncesChanges()
{
    CorrelationParametersDialog dialog;
    QSignalSpy spy(&dialog, &CorrelationParametersDialog::parametersChanged);
    for (QDoubleSpinBox *box : dialog.findChildren<QDoubleSpinBox *>())
        box->setValue(box->value() == box->maximum() ? box->minimum() : box->maximum());
    QCOMPARE(spy.count(), 15);
}

void TestCorrelationParametersDialog::resetRestoresDefaults()
{
    CorrelationParametersDialog dialog;
    dialog.findChild<QDoubleSpinBox *>(QStringLiteral("sBoxMinHeight"))->setValue(0.2);
    dialog.findChild<QDoubleSpinBox *>(QStringLiteral("sBoxMaxWavenumDiff"))->setValue(30);
    QSignalSpy spy(&dialog, &CorrelationParametersDialog::parametersChanged);
    auto *reset = dialog.findChild<QPushButton *>(QStringLiteral("buttonReset"));
    QVERIFY(reset);
    QCOMPARE(reset->text(), QStringLiteral("Zurücksetzen"));
    reset->click();
    QCOMPARE(spy.count(), 2);
    QCOMPARE(dialog.parameters(-1).minHeight, 0.005);
    QCOMPARE(dialog.parameters(-1).maxWavenumDiff, 10.0);
}

QTEST_MAIN(TestCorrelationParametersDialog)
#include "tst_correlationparametersdialog.moc"
