#include "library/ui/correlationparametersdialog.h"

#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSignalSpy>
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

    void changesAndReset()
    {
        CorrelationParametersDialog dialog;
        QSignalSpy spy(&dialog, &CorrelationParametersDialog::parametersChanged);
        const QList<QDoubleSpinBox *> boxes = dialog.findChildren<QDoubleSpinBox *>();
        QCOMPARE(boxes.size(), 15);
        for (QDoubleSpinBox *box : boxes)
            box->setValue(box->value() == box->maximum() ? box->minimum() : box->maximum());
        QCOMPARE(spy.count(), 15);
        dialog.findChild<QPushButton *>(QStringLiteral("buttonReset"))->click();
        QCOMPARE(spy.count(), 30);
        QCOMPARE(dialog.parameters(-1).minHeight, 0.005);
        QCOMPARE(dialog.parameters(-1).maxWavenumDiff, 10.0);
    }
};

QTEST_MAIN(TestCorrelationParametersDialog)
#include "tst_correlationparametersdialog.moc"
