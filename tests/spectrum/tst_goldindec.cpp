#include "spectrum/goldindec.h"
#include "spectrum/spectrumfile.h"
#include "syntheticspectra.h"

#include <QtTest>

// Runs from a folder of its own: Goldindec writes its diagnostic curves beside the program.
class TestGoldindec : public QObject
{
    Q_OBJECT

private slots:

    void recoversBands_data()
    {
        QTest::addColumn<Background>("background");
        QTest::addColumn<unsigned>("reduction");
        QTest::newRow("polynomial, 1") << Background(polynomialBackground) << 1u;
        QTest::newRow("fluorescence, 4") << Background(fluorescenceBackground) << 4u;
        QTest::newRow("none, 4") << Background([](double) { return 0.0; }) << 4u;
    }

    void recoversBands()
    {
        QFETCH(Background, background);
        QFETCH(unsigned, reduction);
        const SyntheticSpectrum s = spectrumOnBackground(background);
        const QVector<double> corrected = goldindecBaseline(s.data.x, s.data.y, reduction, 0);
        QVERIFY(closeToBands(corrected, s.bands));
        const QVector<double> baseline
            = goldindecBaseline(s.data.x, s.data.y, reduction, GoldindecReturnBaseline);
        for (int i = 0; i < baseline.size(); ++i)
            QVERIFY(std::fabs(baseline[i] + corrected[i] - s.data.y[i]) < 1e-9);

        // A constant signal is all background.
        const QVector<double> flat(s.data.x.size(), 250.0);
        QCOMPARE(goldindecBaseline(s.data.x, flat, reduction, 0),
                 QVector<double>(flat.size(), 0.0));
    }

    void refusesUnusableInput()
    {
        const SyntheticSpectrum s = spectrumOnBackground(polynomialBackground);
        const QVector<double> &x = s.data.x;
        const QVector<double> &y = s.data.y;
        const auto expect = [](const char *message) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QLatin1String(message)));
        };
        expect("shift vec not equal size of intensity vec");
        QCOMPARE(goldindecBaseline(x, y.mid(1), 4, 0), y.mid(1));
        expect("reduction factor 0");
        QCOMPARE(goldindecBaseline(x, y, 0, 0), y);
        expect("too few distinct points");
        QCOMPARE(goldindecBaseline(x.mid(0, 36), y.mid(0, 36), 4, GoldindecReturnBaseline),
                 QVector<double>(36, 0.0));
    }

    void fitsOnlyTheFirst5000Points()
    {
        const SyntheticSpectrum s = spectrumOnBackground(polynomialBackground);
        QVector<double> x = s.data.x;
        QVector<double> y = s.data.y;
        for (int i = 0; i < 3000; ++i) {
            x.append(x.last() + 1.25);
            y.append(y.at(i));
        }
        QTest::ignoreMessage(QtDebugMsg, "Abbruch  5001  zeilen eingelesen");
        const QVector<double> baseline = goldindecBaseline(x, y, 1, GoldindecReturnBaseline);
        QCOMPARE(baseline.size(), x.size());
        QCOMPARE(baseline.last(), baseline[4999]);
        QVERIFY(std::fabs(baseline[1000] - polynomialBackground(x[1000])) < 30.0);
    }

    void writesDiagnosticCurves()
    {
        const QDir folder(QCoreApplication::applicationDirPath());
        const SyntheticSpectrum s = spectrumOnBackground(fluorescenceBackground);
        const QVector<double> corrected = goldindecBaseline(s.data.x, s.data.y, 4, 0);
        QCOMPARE(goldindecBaseline(s.data.x, s.data.y, 4, GoldindecWriteDiagnostics), corrected);
        const auto curve = [&](const char *name) {
            return loadSpectrumFromCSV(folder.filePath(QLatin1String(name)));
        };
        // Curves of the reduced spectrum, every fourth point.
        const RamanData<Wavenumbers> original = curve("original.txt");
        const RamanData<Wavenumbers> subtracted = curve("subbase.txt");
        QCOMPARE(original.size(), 751);
        QVERIFY(std::fabs(subtracted.y[1] - corrected[4]) < 1e-3);
        QVERIFY(std::fabs(curve("baseline.txt").y[1] + subtracted.y[1] - original.y[1]) < 1e-2);

        // A curve that cannot be written is only logged.
        QVERIFY(QFile::remove(folder.filePath(QStringLiteral("baseline.txt"))));
        QVERIFY(folder.mkpath(QStringLiteral("baseline.txt")));
        QTest::ignoreMessage(QtDebugMsg,
                             QRegularExpression(QStringLiteral("^\\*\\*\\* error \\*\\*\\* "
                                                               "while opening .*baseline")));
        QCOMPARE(goldindecBaseline(s.data.x, s.data.y, 4, GoldindecWriteDiagnostics), corrected);
        QVERIFY(QDir(folder.filePath(QStringLiteral("baseline.txt"))).removeRecursively());
    }
};

QTEST_GUILESS_MAIN(TestGoldindec)
#include "tst_goldindec.moc"
