#include "spectrum/spectrumfile.h"

#include "testfiles.h"

#include <QBuffer>
#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using Doubles = QVector<double>;
using Header = QMap<QString, QString>;

class TestSpectrumFile : public QObject
{
    Q_OBJECT

private slots:

    void load_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<Doubles>("x");
        QTest::addColumn<Doubles>("y");
        QTest::addColumn<Header>("header");
        QTest::addColumn<QString>("warning");

        const Doubles x{100, 101.5, 103};
        const Doubles y{5, -2.5, 7e-3};
        QTest::newRow("blank separated")
            << QByteArray("100 5\n101.5 -2.5\n103 0.007\n") << x << y << Header{} << QString();
        QTest::newRow("header lines")
            << QByteArray("# Sample : Quartz\n#laser wavelength:532 nm\n#no key here\n## RRUFF=1\n"
                          "# Sample: Calcite\n100 5\n101.5 -2.5\n103 0.007\n")
            << x << y
            << Header{{QStringLiteral("Sample"), QStringLiteral("Calcite")},
                      {QStringLiteral("laser wavelength"), QStringLiteral("532 nm")}}
            << QString();
        QTest::newRow("descending is reversed")
            << QByteArray("103 0.007\n101.5 -2.5\n100 5\n") << x << y << Header{} << QString();
        QTest::newRow("rising and falling is refused")
            << QByteArray("100 1\n103 2\n101 3\n") << Doubles{} << Doubles{} << Header{}
            << QStringLiteral("is not sorted either way, refusing to load.");
        QTest::newRow("lone value ends the data")
            << QByteArray("100 5\n101.5 -2.5\n5\n200 1\n") << Doubles{100, 101.5}
            << Doubles{5, -2.5} << Header{} << QString();
        QTest::newRow("comma, tab, CRLF, end marker")
            << QByteArray("100, 5\r\n101.5,\t-2.5\r\n103, 7e-3\r\n"
                          "##END=\r\n\r\n")
            << x << y << Header{} << QString();
        QTest::newRow("header wrapped onto a line without #")
            << QByteArray("##DESCRIPTION=a long\ncontinued text\n100 5\n101 6\n") << Doubles{}
            << Doubles{} << Header{} << QString();
        QTest::newRow("non-finite values are kept")
            << QByteArray("100 nan\n101 5\n102 inf\n") << Doubles{100, 101, 102}
            << Doubles{qQNaN(), 5, qInf()} << Header{} << QStringLiteral("invalid value read from");
    }

    void load()
    {
        QFETCH(QByteArray, content);
        QFETCH(Doubles, x);
        QFETCH(Doubles, y);
        QFETCH(Header, header);
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
        QCOMPARE(data.y.size(), y.size());
        for (int i = 0; i < y.size(); ++i) {
            if (std::isnan(y[i]))
                QVERIFY(std::isnan(data.y[i]));
            else
                QCOMPARE(data.y[i], y[i]);
        }
        QCOMPARE(readHeader, header);
    }

    void missingFile()
    {
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("failed to open file:")));
        Header header{{QStringLiteral("stale"), QStringLiteral("entry")}};
        QVERIFY(
            loadSpectrumFromCSV(m_dir.filePath(QStringLiteral("missing.txt")), &header).isEmpty());
    }

    void textRoundTrip()
    {
        // Six significant digits, fixed down to 1e-4.
        const RamanData<Wavenumbers> data{{150.123456, 151.5, 2000.25, 1234567.0},
                                          {0.5, -1234.5678, 1e-5, 1e-4}};
        QCOMPARE(spectrumText(data),
                 QByteArray("150.123 0.5\n151.5 -1234.57\n2000.25 1e-05\n1.23457e+06 0.0001\n"));
        const QString path = m_dir.filePath(QStringLiteral("roundtrip.csv"));
        QVERIFY(writeSpectrumText(path, data));
        const RamanData<Wavenumbers> read = loadSpectrumFromCSV(path);
        QCOMPARE(read.x, (Doubles{150.123, 151.5, 2000.25, 1234570}));
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

    // Real reference spectra load, sorted.
    void realReferenceSpectra()
    {
        const QString root = TestFiles::rruffDir();
        int loaded = 0;
        for (QDirIterator it(root, {QStringLiteral("*.txt")}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();) {
            const RamanData<Wavenumbers> data = loadSpectrumFromCSV(it.next());
            QVERIFY(data.size() >= 100 && std::is_sorted(data.x.cbegin(), data.x.cend()));
            ++loaded;
        }
        QCOMPARE(loaded, 185);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestSpectrumFile)
#include "tst_spectrumfile.moc"
