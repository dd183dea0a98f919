#include "core/appidentity.h"
#include "spectrum/calibration.h"
#include "spectrum/calibrationfile.h"
#include "spectrum/calibrationlines.h"
#include "spectrum/ccdspectrum.h"
#include "spectrum/quadraticfit.h"
#include "spectrum/ramandata.h"
#include "spectrum/savitzkygolay.h"
#include "spectrum/spectrumfile.h"

#include "testfiles.h"

#include <QtTest>

#include <cmath>

using Spectrum = RamanData<Wavenumbers>;
using Doubles = QVector<double>;
using Header = QMap<QString, QString>;

static Doubles range(double first, double last, double step = 1.0)
{
    Doubles values;
    for (double v = first; v <= last + 1e-9; v += step)
        values.append(v);
    return values;
}

// NaN matches NaN.
static bool near(const Doubles &actual, const Doubles &expected, double tolerance = 1e-12)
{
    for (int i = 0; i < actual.size() && actual.size() == expected.size(); ++i) {
        if (actual[i] != expected[i] && !(std::fabs(actual[i] - expected[i]) <= tolerance)
            && !(std::isnan(actual[i]) && std::isnan(expected[i])))
            return false;
    }
    return actual.size() == expected.size();
}

// A frame of two columns whose first holds `column` and whose second, never used, zeros.
static QVector<quint16> firstColumn(const QVector<quint16> &column)
{
    QVector<quint16> frame(2 * column.size(), 0);
    for (int r = 0; r < column.size(); ++r)
        frame[2 * r] = column[r];
    return frame;
}

// Spectra in memory, in text files and from CCD frames; calibration lines.
class TestSpectrum : public QObject
{
    Q_OBJECT

private slots:
    void cut_data()
    {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<Doubles>("expectedX");
        QTest::addColumn<QString>("warning");
        QTest::newRow("limits inclusive") << 2.0 << 5.0 << Doubles{2, 3, 4, 5} << QString();
        QTest::newRow("between points") << 2.5 << 5.5 << Doubles{3, 4, 5} << QString();
        QTest::newRow("equal limits")
            << 100.0 << 100.0 << range(0, 10) << S("empty cut limits, ignoring");
        QTest::newRow("above data")
            << 20.0 << 30.0 << Doubles{} << S("cut range is completely out of data bounds");
        QTest::newRow("min above max") << 7.0 << 3.0 << Doubles{7, 8, 9, 10} << QString();
    }

    void cut()
    {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(Doubles, expectedX);
        QFETCH(QString, warning);
        Spectrum data{range(0, 10), range(100, 110)};
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
        data.cut(min, max);
        QCOMPARE(data.x, expectedX);
        QCOMPARE(data.y.size(), expectedX.size());
        for (int i = 0; i < data.size(); ++i)
            QCOMPARE(data.y[i], data.x[i] + 100);
    }

    void normalization()
    {
        const Spectrum data{{1, 2}, {3, 4}};
        QVERIFY(near(data.normalized().y, {3 / std::sqrt(2.5), 4 / std::sqrt(2.5)}));
        const Spectrum zeros{{1, 2, 3}, {0, 0, 0}};
        expectWarning("^invalid norm 0 ");
        QVERIFY(zeros.normalized().y.isSharedWith(zeros.y));

        double maximum = 0;
        QCOMPARE(Spectrum({{1, 2, 3, 4}, {2, 8, -4, 8}}).normalizedToMaximum(&maximum).y,
                 (Doubles{0.25, 1, -0.5, 1}));
        QCOMPARE(maximum, 8.0);
        QVERIFY(Spectrum().normalizedToMaximum(&maximum).isEmpty() && std::isnan(maximum));
    }

    void resampled()
    {
        // The last bin whose upper edge stays below x = 10 is centred at 8.75.
        const Spectrum constant = Spectrum{range(0, 10), Doubles(11, 3.5)}.resampled(1.25);
        QCOMPARE(constant.x, range(0, 8.75, 1.25));
        QVERIFY(near(constant.y, Doubles(8, 3.5)));
        // Bin 0 weighs y0 by 1.625 and y1 by 0.625, bin 1 is 0.375 y0 + y1 + 0.875 y2; over 2.25.
        const Spectrum r = Spectrum{{0, 1, 2, 3, 4}, {0, 10, 20, 30, 40}}.resampled(1.25);
        QVERIFY(r.size() >= 2 && r.x[0] == 0.0 && r.x[1] == 1.25);
        QVERIFY(qFuzzyCompare(r.y[0], 6.25 / 2.25) && qFuzzyCompare(r.y[1], 27.5 / 2.25));
        // A first point above the upper edge of bin 0: the first bin has no lower neighbour.
        const Spectrum late = Spectrum{{1, 2, 3, 4, 5, 6}, Doubles(6, 2.0)}.resampled(1.25);
        QVERIFY(!late.isEmpty() && late.x.first() == 1.25 && near(late.y, Doubles(late.size(), 2)));
        QVERIFY(Spectrum().resampled(1.25).isEmpty());
        // x that would never reach its last bin, and a grid beyond memory: refused, not walked.
        for (const Spectrum &bad :
             {Spectrum{{100, qQNaN(), 200}, {1, 2, 3}}, Spectrum{{100, 1.8e258, 200}, {1, 2, 3}},
              Spectrum{{0, 2.5e9}, {1, 2}}}) {
            expectWarning("^cannot resample");
            QVERIFY(bad.resampled(1.25).isEmpty());
        }
    }

    void calibrated()
    {
        // The pixel index is the position in the sequence, not x.
        const RamanData<RawPixels> pixels{{7, 8, 9}, {1, 2, 3}};
        QCOMPARE(::calibrated(pixels, {1, 2, 3}).x, (Doubles{3, 6, 11}));
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::ignoreMessage(QtWarningMsg,
                             "invalid calibration parameters, returning unchanged data");
        QCOMPARE(::calibrated(pixels, {nan, nan, nan}).x, pixels.x);
    }

    void laserWavelength()
    {
        LaserWavelengthSettings settings;
        settings.nominalWavelength = 532.0;
        const auto extract = [&](quint32 mode, const Doubles &x, const Doubles &y, double min,
                                 double max, const char *warning = nullptr) {
            settings.mode = mode;
            settings.searchMinimum = min;
            settings.searchMaximum = max;
            if (warning)
                QTest::ignoreMessage(QtWarningMsg, warning);
            return extractLaserWavelength(RamanData<Nanometers>{x, y}, settings);
        };
        // A parabola with its vertex at 532.3 nm, sampled every 0.5 nm.
        const Doubles x = range(528, 537, 0.5);
        Doubles y;
        for (double v : x)
            y.append(1000 - 40 * (v - 532.3) * (v - 532.3));
        QCOMPARE(extract(1, {}, {}, 0, 0), 532.0);
        QVERIFY(std::fabs(extract(0, x, y, 529, 535) - 532.3) < 1e-9);
        QCOMPARE(extract(0, x, y, 532.2, 535,
                         "Laser peak is at corner of search range, cannot determine wavelength"),
                 532.0);
        QCOMPARE(extract(0, {530, 529, 531}, {1, 2, 3}, 529, 530.5,
                         "Refusing to extract laser wavelength from unsorted data"),
                 532.0);
        const RamanData<Wavenumbers> shift
            = toRamanShift(RamanData<Nanometers>{{532.0, 545.0}, {1, 2}}, settings);
        QVERIFY(near(shift.x, {0.0, 1e7 / 532.0 - 1e7 / 545.0}, 1e-9)
                && shift.y == Doubles({1, 2}));
    }

    void fitQuadratic()
    {
        Doubles x, y;
        for (int i = -5; i <= 20; ++i) {
            x.append(i * 13.0);
            y.append(-1.5e-3 * x.last() * x.last() + 0.07 * x.last() + 535.5);
        }
        const QuadraticCoefficients q = ::fitQuadratic(x, y);
        QVERIFY(near({q.a, q.b, q.c}, {-1.5e-3, 0.07, 535.5}, 1e-7));
        QVERIFY(!std::isfinite(::fitQuadratic({2, 2, 2}, {1, 2, 3}).a));
    }

    void smoothing()
    {
        const Doubles &c = savitzkyGolayCoefficients(2, 5, 1.25);
        QVERIFY(near(c, {-3 / 35.0, 12 / 35.0, 17 / 35.0, 12 / 35.0, -3 / 35.0}, 1e-14));
        QVERIFY(near(savitzkyGolayCoefficients(3, 7, 1.0),
                     {-2 / 21.0, 3 / 21.0, 6 / 21.0, 7 / 21.0, 6 / 21.0, 3 / 21.0, -2 / 21.0},
                     1e-14));
        // The edges are extended with the end values: the last output sees 0, 0, 35, 35, 35.
        QVERIFY(near(Spectrum{range(0, 4), {0, 0, 0, 0, 35}}.smoothed(2, 5).y, {0, 0, -3, 9, 26},
                     1e-12));
        const Doubles values{1, 5, 2, 8, 3, 9, 4};
        // Even width, order zero, zero spacing are refused.
        for (const auto &p : std::vector<std::tuple<unsigned, unsigned, double>>{
                 {2, 4, 1.0}, {0, 5, 1.0}, {2, 5, 0.0}}) {
            QTest::ignoreMessage(QtWarningMsg,
                                 "Invalid parameters passed to savitzkyGolaySmoothed");
            expectWarning("^Parameters are");
            QCOMPARE(savitzkyGolaySmoothed(values, std::get<0>(p), std::get<1>(p), std::get<2>(p)),
                     values);
        }
    }

    void mismatchedSizesAreNeverIndexed()
    {
        const Spectrum broken{{1, 2, 3, 4, 5}, {1, 2, 3, 4}};
        QCOMPARE(broken.size(), -1);
        expectWarning("^invalid norm");
        QCOMPARE(broken.normalized(), broken);
        QCOMPARE(broken.normalizedToMaximum(), broken);
        QCOMPARE(broken.smoothed(2, 5), broken);
        QVERIFY(broken.resampled(1.25).isEmpty());
        Spectrum cut = broken;
        cut.cut(2, 4);
        QCOMPARE(cut, broken);
        QVERIFY(::calibrated(RamanData<RawPixels>{broken.x, broken.y}, {0, 1, 0}).isEmpty());
    }

    void textFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<Doubles>("x");
        QTest::addColumn<Doubles>("y");
        QTest::addColumn<Header>("header");
        QTest::addColumn<QString>("warning");

        const auto row = [](const char *tag, const QByteArray &content, const Doubles &x,
                            const Doubles &y, const char *warning = "", const Header &header = {}) {
            QTest::newRow(tag) << content << x << y << header << S(warning);
        };
        const Doubles x{100, 101.5, 103};
        const Doubles y{5, -2.5, 7e-3};
        row("blank separated", "100 5\n101.5 -2.5\n103 0.007\n", x, y);
        row("header lines",
            "# Sample : Quartz\n#laser wavelength:532 nm\n#no key here\n## RRUFF=1\n"
            "# Sample: Calcite\n100 5\n101.5 -2.5\n103 0.007\n",
            x, y, "", {{S("Sample"), S("Calcite")}, {S("laser wavelength"), S("532 nm")}});
        row("descending is reversed", "103 0.007\n101.5 -2.5\n100 5\n", x, y);
        row("rising and falling is refused", "100 1\n103 2\n101 3\n", {}, {},
            "is not sorted either way");
        // NaN passes every comparison of an order check.
        row("NaN x is refused", "100 1\nnan 2\n200 3\n", {}, {}, "not finite");
        row("absurd range is refused", "0 1\n2500000000 2\n", {}, {}, "is beyond 1e+06");
        row("lone value ends the data", "100 5\n101.5 -2.5\n5\n200 1\n", {100, 101.5}, {5, -2.5});
        row("comma, tab, CRLF, end marker", "100, 5\r\n101.5,\t-2.5\r\n103, 7e-3\r\n##END=\r\n\r\n",
            x, y);
        row("header wrapped onto a line without #",
            "##DESCRIPTION=a long\ncontinued text\n100 5\n101 6\n", {}, {});
        row("non-finite values are kept", "100 nan\n101 5\n102 inf\n", {100, 101, 102},
            {qQNaN(), 5, qInf()}, "invalid value read from");
    }

    void textFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(Doubles, x);
        QFETCH(Doubles, y);
        QFETCH(QString, warning);

        const QString path
            = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QLatin1String(".txt"));
        QVERIFY(TestFiles::write(path, content));
        if (!warning.isEmpty()) {
            const int count = warning.startsWith(QLatin1String("invalid value")) ? 2 : 1;
            for (int i = 0; i < count; ++i)
                QTest::ignoreMessage(QtWarningMsg,
                                     QRegularExpression(QRegularExpression::escape(warning)));
        }
        Header readHeader;
        const RamanData<Wavenumbers> data = loadSpectrumFromCSV(path, &readHeader);
        QCOMPARE(data.x, x);
        QVERIFY(near(data.y, y, 0));
        QTEST(readHeader, "header");
    }

    void textRoundTrip()
    {
        // Six significant digits, fixed down to 1e-4.
        const RamanData<Wavenumbers> data{{150.123456, 151.5, 2000.25, 123456.7},
                                          {0.5, -1234.5678, 1e-5, 1e-4}};
        QCOMPARE(spectrumText(data),
                 QByteArray("150.123 0.5\n151.5 -1234.57\n2000.25 1e-05\n123457 0.0001\n"));
        const QString path = m_dir.filePath(S("roundtrip.csv"));
        QVERIFY(writeSpectrumText(path, data));
        const RamanData<Wavenumbers> read = loadSpectrumFromCSV(path);
        QCOMPARE(read.x, (Doubles{150.123, 151.5, 2000.25, 123457}));
        QCOMPARE(read.y, (Doubles{0.5, -1234.57, 1e-5, 1e-4}));
    }

    void binaryRoundTrip()
    {
        const RamanData<Wavenumbers> data{{1, 2.5, -3}, {4, 5e300, 6e-300}};
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << data << 7.0; // a last x without its y is dropped
        // Big-endian doubles, x before y.
        QCOMPARE(bytes.size(), 7 * 8);
        QCOMPARE(bytes.left(8), QByteArray::fromHex("3ff0000000000000"));
        QDataStream in(bytes);
        RamanData<Wavenumbers> read;
        in >> read;
        QCOMPARE(read, data);
    }

    void columnSums_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QVector<quint16>>("pixels");
        QTest::addColumn<QVector<double>>("expected");
        QTest::newRow("width 1") << QSize(1, 3) << QVector<quint16>{7, 8, 9} << QVector<double>{};
        QTest::newRow("no outlier: the largest goes")
            << QSize(2, 5) << firstColumn({12, 10, 14, 11, 13}) << QVector<double>{0.0046};
        QTest::newRow("bright pixel and next largest go")
            << QSize(2, 5) << firstColumn({12, 10, 500, 11, 13}) << QVector<double>{0.0033};
        QTest::newRow("height 10: all may go")
            << QSize(2, 10) << firstColumn({1, 9, 9, 9, 9, 9, 9, 9, 9, 9}) << QVector<double>{0.0};
        QVector<quint16> tall(25, 100);
        std::fill_n(tall.begin(), 5, 1); // five at 1, twenty at 100
        QTest::newRow("height 25: 6th smallest is the reference")
            << QSize(2, 25) << firstColumn(tall) << QVector<double>{0.1905};
        // Rows [1 2 99] and [3 4 99]: columns (1, 3) and (2, 4).
        QTest::newRow("row after row")
            << QSize(3, 2) << QVector<quint16>{1, 2, 99, 3, 4, 99} << QVector<double>{0.0, 0.0002};
    }

    void columnSums()
    {
        QFETCH(QSize, size);
        QFETCH(QVector<quint16>, pixels);
        QFETCH(QVector<double>, expected);
        const RamanData<RawPixels> spectrum = computeSpectrumFromCCD(size, pixels);
        QCOMPARE(spectrum.size(), size.width() - 1);
        for (int c = 0; c < expected.size(); ++c)
            QVERIFY(spectrum.x[c] == c && std::fabs(spectrum.y[c] - expected[c]) < 1e-12);

        expectWarning("needs more than");
        QVERIFY(computeSpectrumFromCCD(size + QSize(0, 1), pixels).isEmpty());
    }

    void calibrationFromTheDefaultFile()
    {
        AppIdentity::apply();
        QVERIFY(QDir().mkpath(QFileInfo(defaultCalibrationFilePath()).path()));
        QVERIFY(writeCalibrationLines(defaultCalibrationFilePath(),
                                      {{0, 1000, 2000}, {500, 600, 700}}));
        const CalibrationParameters fit = calibrationFromLines();
        QVERIFY(std::fabs(fit.a) < 1e-15 && std::fabs(fit.b - 0.1) < 1e-12
                && std::fabs(fit.c - 500) < 1e-9);

        QVERIFY(QFile::remove(defaultCalibrationFilePath()));
        expectWarning("failed to open file");
        QTest::ignoreMessage(QtWarningMsg,
                             "no calibration data -- using identity calibration parameters");
        const CalibrationParameters none = calibrationFromLines();
        QVERIFY(std::isnan(none.a) && std::isnan(none.b) && std::isnan(none.c));
    }

    // Calibration-lines files.
    void calibrationLinesFiles_data()
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

    void calibrationLinesFiles()
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
        const QString path = m_dir.filePath(S("calibration_lines.txt"));
        QVERIFY(writeCalibrationLines(path, lines));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("540.056 101.25\n585.249 699.5\n640.225 1302\n"));

        expectWarning("^failed to load calibration lines");
        QCOMPARE(loadCalibrationLines(m_dir.filePath(S("none"))).size(), 0);
        expectWarning("failed to open file:");
        Header header{{S("stale"), S("entry")}};
        QVERIFY(loadSpectrumFromCSV(m_dir.filePath(S("none")), &header).isEmpty());
        // A folder where the file should go makes the write fail without touching anything.
        const QString blocked = m_dir.filePath(S("blocked"));
        QVERIFY(QDir().mkpath(blocked));
        expectWarning("^failed to write");
        QVERIFY(!writeCalibrationLines(blocked, lines));
        QVERIFY(QFileInfo(blocked).isDir());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestSpectrum)
#include "tst_spectrum.moc"
