#include "core/appidentity.h"
#include "spectrum/calibrationfile.h"
#include "spectrum/calibrationlines.h"
#include "spectrum/ccdspectrum.h"
#include "testfiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using Doubles = QVector<double>;

class TestCcdSpectrum : public QObject
{
    Q_OBJECT

private slots:

    // A frame of two columns whose first holds `column` and whose second, never used, zeros.
    static QVector<quint16> firstColumn(const QVector<quint16> &column)
    {
        QVector<quint16> frame(2 * column.size(), 0);
        for (int r = 0; r < column.size(); ++r)
            frame[2 * r] = column[r];
        return frame;
    }

    void columnSums_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QVector<quint16>>("pixels");
        QTest::addColumn<QVector<double>>("expected");
        QTest::addColumn<QString>("stats");
        QTest::newRow("width 1") << QSize(1, 3) << QVector<quint16>{7, 8, 9} << QVector<double>{}
                                 << QStringLiteral("min 0 max 0 total 0 average per line 0");
        QTest::newRow("no outlier: the largest goes")
            << QSize(2, 5) << firstColumn({12, 10, 14, 11, 13}) << QVector<double>{0.0046}
            << QStringLiteral("min 1 max 1 total 1 average per line 0.5");
        QTest::newRow("bright pixel and next largest go")
            << QSize(2, 5) << firstColumn({12, 10, 500, 11, 13}) << QVector<double>{0.0033}
            << QStringLiteral("min 2 max 2 total 2 average per line 1");
        QTest::newRow("height 10: all may go")
            << QSize(2, 10) << firstColumn({1, 9, 9, 9, 9, 9, 9, 9, 9, 9}) << QVector<double>{0.0}
            << QStringLiteral("min 10 max 10 total 10 average per line 5");
        QVector<quint16> tall(25, 100);
        std::fill_n(tall.begin(), 5, 1); // five at 1, twenty at 100
        QTest::newRow("height 25: 6th smallest is the reference")
            << QSize(2, 25) << firstColumn(tall) << QVector<double>{0.1905}
            << QStringLiteral("min 1 max 1 total 1 average per line 0.5");
        // Rows [1 2 99] and [3 4 99]: columns (1, 3) and (2, 4).
        QTest::newRow("row after row")
            << QSize(3, 2) << QVector<quint16>{1, 2, 99, 3, 4, 99} << QVector<double>{0.0, 0.0002}
            << QStringLiteral("min 1 max 2 total 3 average per line 1");
    }

    void columnSums()
    {
        QFETCH(QSize, size);
        QFETCH(QVector<quint16>, pixels);
        QFETCH(QVector<double>, expected);
        QFETCH(QString, stats);
        QTest::ignoreMessage(QtDebugMsg, "computing spectrum from CCD");
        QTest::ignoreMessage(QtDebugMsg,
                             qPrintable(QStringLiteral("hotpixel removal stats: ") + stats));
        const RamanData<RawPixels> spectrum = computeSpectrumFromCCD(size, pixels);
        QCOMPARE(spectrum.size(), size.width() - 1);
        for (int c = 0; c < expected.size(); ++c)
            QVERIFY(spectrum.x[c] == c && std::fabs(spectrum.y[c] - expected[c]) < 1e-12);

        QTest::ignoreMessage(QtDebugMsg, "computing spectrum from CCD");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("needs more than")));
        QVERIFY(computeSpectrumFromCCD(size + QSize(0, 1), pixels).isEmpty());
    }

    void runsOnThePool()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("data.algorithms.debug=false"));
        QVector<quint16> frame(1340 * 400);
        for (int i = 0; i < frame.size(); ++i)
            frame[i] = quint16(1000 + (unsigned(i) * 7919u) % 300u + (i % 4999 == 0 ? 60000 : 0));
        QFuture<RamanData<RawPixels>> future = computeSpectrumFromCCDAsync(QSize(1340, 400), frame);
        QCOMPARE(future.result(), computeSpectrumFromCCD(QSize(1340, 400), frame));
    }

    void calibrationFromTheDefaultFile()
    {
        AppIdentity::apply();
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCOMPARE(defaultCalibrationFilePath(), folder + QStringLiteral("/Calibration.txt"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeCalibrationLines(defaultCalibrationFilePath(),
                                      {{0, 1000, 2000}, {500, 600, 700}}));
        const CalibrationParameters fit = calibrationFromLines();
        QVERIFY(std::fabs(fit.a) < 1e-15 && std::fabs(fit.b - 0.1) < 1e-12
                && std::fabs(fit.c - 500) < 1e-9);

        QVERIFY(QFile::remove(defaultCalibrationFilePath()));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("failed to open file")));
        QTest::ignoreMessage(QtWarningMsg,
                             "no calibration data -- using identity calibration parameters");
        const CalibrationParameters none = calibrationFromLines();
        QVERIFY(std::isnan(none.a) && std::isnan(none.b) && std::isnan(none.c));
    }

    // Calibration-lines files.
    void load_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<Doubles>("wavelengths");
        QTest::addColumn<Doubles>("pixels");
        QTest::newRow("blanks and CRLF") << QByteArray("  540.056    100.5  \r\n585 700\r\n")
                                         << Doubles{540.056, 585} << Doubles{100.5, 700};
        QTest::newRow("empty line adds a zero pair")
            << QByteArray("540 100\n\n585 700\n") << Doubles{540, 0, 585} << Doubles{100, 0, 700};
        QTest::newRow("not a number") << QByteArray("neon x\n") << Doubles{0} << Doubles{0};
    }

    void load()
    {
        QFETCH(QByteArray, content);
        QFETCH(Doubles, wavelengths);
        QFETCH(Doubles, pixels);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(TestFiles::write(path, content));
        const CalibrationLines lines = loadCalibrationLines(path);
        QCOMPARE(lines.wavelengths, wavelengths);
        QCOMPARE(lines.pixels, pixels);
    }

    void writeAndFailures()
    {
        const CalibrationLines lines{{101.25, 699.5, 1302}, {540.056, 585.2494, 640.225}};
        const QString path = m_dir.filePath(QStringLiteral("calibration_lines.txt"));
        QVERIFY(writeCalibrationLines(path, lines));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("540.056 101.25\n585.249 699.5\n640.225 1302\n"));

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
                                               "^failed to load calibration lines: failed to open "
                                               "file .* for reading$")));
        QCOMPARE(loadCalibrationLines(m_dir.filePath(QStringLiteral("none"))).size(), 0);
        // A folder where the file should go makes the write fail without touching anything.
        const QString blocked = m_dir.filePath(QStringLiteral("blocked"));
        QVERIFY(QDir().mkpath(blocked));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^failed to write")));
        QVERIFY(!writeCalibrationLines(blocked, lines));
        QVERIFY(QFileInfo(blocked).isDir());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCcdSpectrum)
#include "tst_ccdspectrum.moc"
