#include "spectrum/formats/spectrumimport.h"

#include "testfiles.h"

#include <QtTest>

#include <cmath>
#include <cstring>

using Doubles = QVector<double>;

namespace {

// A "new" little-endian SPC file: the 512-byte header, then `body` (x array, subfiles).
QByteArray spc(quint8 flags, qint8 exponent, qint32 points, double first, double last,
               qint32 subfiles, quint8 xType, const QByteArray &body, char version = 0x4B)
{
    char header[512] = {};
    header[0] = char(flags);
    header[1] = version;
    header[3] = char(exponent);
    qToLittleEndian(points, header + 4);
    qToLittleEndian(first, header + 8);
    qToLittleEndian(last, header + 16);
    qToLittleEndian(subfiles, header + 24);
    header[28] = char(xType);
    std::memcpy(header + 88, "handmade", 8);
    return QByteArray(header, sizeof header) + body;
}

// A 32-byte subfile header; `points` counts only in files with x per subfile.
QByteArray subheader(qint8 exponent, qint32 points = 0)
{
    char bytes[32] = {};
    bytes[1] = char(exponent);
    qToLittleEndian(points, bytes + 16);
    return QByteArray(bytes, sizeof bytes);
}

template<typename T>
QByteArray values(std::initializer_list<T> list)
{
    QByteArray bytes;
    for (const T value : list) {
        char raw[sizeof(T)];
        qToLittleEndian(value, raw);
        bytes.append(raw, sizeof(T));
    }
    return bytes;
}

const QByteArray jcampHead
    = "##TITLE=hand made\n##JCAMP-DX=4.24 $$ by hand\n"
      "##DATA TYPE=RAMAN SPECTRUM\n##XUNITS=1/CM\n##YUNITS=ARBITRARY UNITS\n";

// Ordinates 10 12 12 12 15 | 11 11 20 in SQZ, DIF and DUP form; each line after one ending in
// DIF form starts with the last ordinate again as a check.
QByteArray compressedJcamp(const QByteArray &secondLine)
{
    return jcampHead
           + "##XFACTOR=1\n##YFACTOR=1\n##FIRSTX=100\n##LASTX=107\n##NPOINTS=8\n"
             "##XYDATA=(X++(Y..Y))\n100A0K%TL\n"
           + secondLine + "\n107B0\n##END=\n";
}

// Every value followed by a repeat count of one; the last line a lone end mark, not a check.
QByteArray jcampWithEndMark(int declaredPoints)
{
    return jcampHead + "##FIRSTX=100\n##LASTX=102\n##NPOINTS=" + QByteArray::number(declaredPoints)
           + "\n##XYDATA=(X++(Y..Y))\n100A0SK2SJ0S\n102@\n##END=\n";
}

} // namespace

class TestSpectrumImport : public QObject
{
    Q_OBJECT

private slots:
    void import_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<double>("givenLaser");
        QTest::addColumn<QString>("format");
        QTest::addColumn<Doubles>("x");
        QTest::addColumn<Doubles>("y");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("problem"); // part of the error, empty for success

        // `title` and `format` are not compared for failures, `problem` is empty for success.
        const auto reads = [](const char *tag, const QByteArray &content, const char *format,
                              const Doubles &x, const Doubles &y, const char *title = "",
                              double laser = NAN) {
            QTest::newRow(tag) << content << laser << S(format) << x << y << S(title) << QString();
        };
        const auto fails = [](const char *tag, const QByteArray &content, const char *problem) {
            QTest::newRow(tag) << content << double(NAN) << QString() << Doubles{} << Doubles{}
                               << QString() << S(problem);
        };
        const char *jcamp = "JCAMP-DX";
        reads("JCAMP AFFN, factors",
              jcampHead
                  + "##XFACTOR=2\n##YFACTOR=0.5\n##FIRSTX=100\n##LASTX=104\n##DELTAX=1\n"
                    "##NPOINTS=5\n##XYDATA=(X++(Y..Y))\n50 10 20 30\n51.5 4.0E+01, 50\n##END=\n",
              jcamp, {100, 101, 102, 103, 104}, {5, 10, 15, 20, 25}, "hand made");
        reads("JCAMP SQZ DIF DUP", compressedJcamp("104A5m%R"), jcamp,
              {100, 101, 102, 103, 104, 105, 106, 107}, {10, 12, 12, 12, 15, 11, 11, 20},
              "hand made");
        fails("JCAMP DIF check fails", compressedJcamp("104A6m%R"), "Prüfsumme in Zeile 13");
        reads("JCAMP XYPOINTS",
              jcampHead
                  + "##YFACTOR=2\n##NPOINTS=3\n##XYPOINTS=(XY..XY)\n200, 1.5; 201, 2.5\n"
                    "202,3.5\n##END=\n",
              jcamp, {200, 201, 202}, {3, 5, 7}, "hand made");
        reads("JCAMP PEAK TABLE XYW, descending",
              jcampHead + "##PEAK TABLE=(XYW..XYW)\n400,20,3 300,10,2\n##END=\n", jcamp, {300, 400},
              {10, 20}, "hand made");
        reads("JCAMP LINK, first block",
              QByteArray("##TITLE=link\n##JCAMP-DX=5.01\n##DATA TYPE=LINK\n##BLOCKS=2\n")
                  + jcampHead + "##XYPOINTS=(XY..XY)\n1,2 3,4\n##END=\n" + jcampHead
                  + "##XYPOINTS=(XY..XY)\n7,7 8,8\n##END=\n##END=\n",
              jcamp, {1, 3}, {2, 4}, "hand made");
        const QByteArray nanometers = "##TITLE=nm\n##JCAMP-DX=4.24\n##XUNITS=NANOMETERS\n"
                                      "##XYPOINTS=(XY..XY)\n510,1 520,2\n##END=\n";
        const Doubles shifts{20000 - 1e7 / 510, 20000 - 1e7 / 520};
        reads("JCAMP nm, laser given", nanometers, jcamp, shifts, {1, 2}, "nm", 500);
        reads("JCAMP nm, laser in file",
              QByteArray(nanometers).replace("##XUNITS", "##$LASER WAVELENGTH=500 nm\n##XUNITS"),
              jcamp, shifts, {1, 2}, "nm");
        fails("JCAMP nm, laser unknown", nanometers, "Laserwellenlänge ist unbekannt");
        fails("JCAMP absurd count",
              jcampHead + "##NPOINTS=2147483648\n##XYDATA=(X++(Y..Y))\n1 1\n##END=\n",
              "unsinnige Punktzahl 2147483648");
        fails("JCAMP absurd repeat",
              jcampHead + "##FIRSTX=1\n##DELTAX=1\n##XYDATA=(X++(Y..Y))\n1 A0Z99999999\n##END=\n",
              "mehr als 10000000 Datenpunkte");
        fails("JCAMP end mark before the last point", jcampWithEndMark(4), "Prüfsumme in Zeile 11");
        fails("JCAMP truncated", compressedJcamp("104A5m%R").left(200), "abgeschnitten");
        fails("JCAMP fewer points than declared",
              QByteArray(compressedJcamp("104A5m%R")).replace("NPOINTS=8", "NPOINTS=9"),
              "8 Datenpunkte statt der angegebenen 9");

        reads("SPC even, float",
              spc(0, -128, 4, 100, 130, 1, 13,
                  subheader(-128) + values<float>({1.5f, 2.5f, -3.f, 4.f})),
              "SPC", {100, 110, 120, 130}, {1.5, 2.5, -3, 4}, "handmade");
        reads("SPC 32-bit integers",
              spc(0, 16, 3, 200, 100, 1, 13, subheader(0) + values<qint32>({65536, 131072, 32768})),
              "SPC", {100, 150, 200}, {0.5, 2, 1}, "handmade");
        reads("SPC 16-bit integers",
              spc(0x01, 1, 2, 10, 20, 1, 13, subheader(0) + values<qint16>({16384, -16384})), "SPC",
              {10, 20}, {0.5, -0.5}, "handmade");
        reads("SPC x array",
              spc(0x80, -128, 3, 0, 0, 1, 1,
                  values<float>({300.f, 310.5f, 320.f}) + subheader(-128)
                      + values<float>({1.f, 2.f, 3.f})),
              "SPC", {300, 310.5, 320}, {1, 2, 3}, "handmade");
        reads("SPC multifile XY",
              spc(0xC4, -128, 0, 0, 0, 2, 13,
                  subheader(-128, 2) + values<float>({5.f, 6.f, 7.f, 8.f}) + subheader(-128, 1)
                      + values<float>({9.f, 9.f})),
              "SPC", {5, 6}, {7, 8}, "handmade");
        fails("SPC old format", spc(0, 0, 2, 0, 1, 1, 13, QByteArray(64, '\0'), 0x4D),
              "alte SPC-Format");
        fails("SPC truncated",
              spc(0, -128, 1000, 0, 1, 1, 13, subheader(-128) + values<float>({1.f})),
              "abgeschnitten");
        fails("SPC absurd count", spc(0, -128, 2147483647, 0, 1, 1, 13, subheader(-128)),
              "unsinnige Punktzahl 2147483647");
        const QByteArray absolute
            = spc(0, -128, 2, 18000, 19000, 1, 1, subheader(-128) + values<float>({1.f, 2.f}));
        fails("SPC absolute wavenumbers, laser unknown", absolute, "Laserwellenlänge");
        reads("SPC absolute wavenumbers, laser given", absolute, "SPC", {1000, 2000}, {2, 1},
              "handmade", 500);

        reads("RRUFF old",
              "##NAMES=Quartz\r\n##RAMAN WAVELENGTH=532\r\n100.5, 1.0E+01\r\n101, 2\r\n##END=\r\n",
              "RRUFF", {100.5, 101}, {10, 2}, "Quartz");
        reads("RRUFF new, wrapped header",
              "##NAMES=Albite\n##ORIENTATION=Laser parallel\n to a\n\n##FILETYPE=Raman"
              "\n##RAMAN WAVELENGTH=514\n\n150.0, 3\n151.0, 4\n##END=\n\n",
              "RRUFF", {150, 151}, {3, 4}, "Albite");
        fails("RRUFF broken data line", "##NAMES=Albite\n150.0, 3\n151.0,\n##END=\n", "Zeile 3");

        reads("TSV decimal comma", "Raman shift\tIntensity\n100,5\t1,25\n101,5\t2\n", "CSV",
              {100.5, 101.5}, {1.25, 2});
        reads("semicolons", "title: sample 1\nx;y\n1;2\n\n3,5;4\n", "CSV", {1, 3.5}, {2, 4},
              "sample 1");
        reads("commas, more columns", "shift,a,b\n1,2,3\n2,4,5\n", "CSV", {1, 2}, {2, 4});
        reads("blanks, decimal comma", "100,5  7,5\n101,5 8\n", "CSV", {100.5, 101.5}, {7.5, 8});
        reads("own layout, descending", "# laser: 785\n200 5\n100 6\n", "CSV", {100, 200}, {6, 5});
        fails("wavelength column, laser unknown", "Wavelength (nm)\tCounts\n510\t1\n",
              "Laserwellenlänge");
        fails("not monotonic", "1 1\n3 1\n2 1\n", "steigen nicht");
        fails("NaN", "1 nan\n2 3\n", "NaN oder unendlich) bei Punkt 1");
        fails("column missing", "1 1\n2 2\n3\n", "Zeile 3");
        fails("empty", QByteArray(), "keine Datenpunkte");
        fails("binary", QByteArray("\x01\x02\0\0abc", 7), "unbekanntes");
    }

    void import()
    {
        QFETCH(QByteArray, content);
        QFETCH(double, givenLaser);
        QFETCH(QString, format);
        QFETCH(Doubles, x);
        QFETCH(Doubles, y);
        QFETCH(QString, title);
        QFETCH(QString, problem);
        const QString path = m_dir.filePath(S("spectrum.dat"));
        QVERIFY(TestFiles::write(path, content));
        const ImportedSpectrum imported = importSpectrum(path, givenLaser);
        QCOMPARE(imported.error.isEmpty(), problem.isEmpty());
        if (!problem.isEmpty()) {
            QVERIFY2(imported.error.startsWith(S("spectrum.dat: "))
                         && imported.error.contains(problem),
                     qPrintable(imported.error));
            QVERIFY(imported.spectrum.isEmpty());
            return;
        }
        QCOMPARE(imported.format, format);
        QCOMPARE(imported.title, title);
        QCOMPARE(imported.spectrum.y, y);
        QCOMPARE(imported.spectrum.size(), x.size());
        for (int i = 0; i < x.size(); ++i)
            QVERIFY2(std::fabs(imported.spectrum.x[i] - x[i]) < 1e-9 * std::fabs(x[i]) + 1e-12,
                     qPrintable(QString::number(imported.spectrum.x[i], 'g', 17)));
    }

    void reportsWhatItSkipped()
    {
        const QString path = m_dir.filePath(S("two.spc"));
        QVERIFY(TestFiles::write(path, spc(0x04, -128, 2, 1, 2, 3, 13,
                                           subheader(-128) + values<float>({1.f, 2.f})
                                               + subheader(-128) + values<float>({3.f, 4.f}))));
        const ImportedSpectrum imported = importSpectrum(path);
        QVERIFY(imported.ok());
        QCOMPARE(imported.notes,
                 QStringList{S("die Datei enthält 3 Spektren, nur das erste wurde gelesen")});

        const QString endMark = m_dir.filePath(S("endmark.jdx"));
        QVERIFY(TestFiles::write(endMark, jcampWithEndMark(3)));
        const ImportedSpectrum marked = importSpectrum(endMark);
        QVERIFY2(marked.ok(), qPrintable(marked.error));
        QCOMPARE(marked.spectrum.y, (Doubles{10, 32, 42}));
        QCOMPARE(marked.notes.size(), 1);

        QCOMPARE(importSpectrum(m_dir.filePath(S("missing.jdx"))).error,
                 S("missing.jdx: die Datei lässt sich nicht öffnen"));
    }

    void rruffNewFormatFilesLoadWhole()
    {
        RAMAN_SHARED_DATA(rruff, "rruff");
        const QString folder = rruff + QLatin1Char('/');
        QFile index(folder + S("INDEX.csv"));
        QVERIFY(index.open(QIODevice::ReadOnly));
        static const QRegularExpression dataLine(S("^\\s*[-+\\d.eE]+,\\s*[-+\\d.eE]+\\s*$"));
        int files = 0;
        while (!index.atEnd()) {
            const QStringList fields = QString::fromUtf8(index.readLine()).split(QLatin1Char(','));
            if (fields.size() < 3 || !fields[1].startsWith(QLatin1String("newformat")))
                continue;
            QFile file(folder + S("formats/") + fields[2]);
            QVERIFY(file.open(QIODevice::ReadOnly));
            int lines = 0;
            for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')))
                lines += line.contains(dataLine);
            const ImportedSpectrum imported = importSpectrum(file.fileName());
            QVERIFY2(imported.ok(), qPrintable(imported.error));
            QCOMPARE(imported.spectrum.size(), lines);
            QCOMPARE(imported.laserWavelength, 514.0);
            ++files;
        }
        QCOMPARE(files, 14);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestSpectrumImport)
#include "tst_spectrumimport.moc"
