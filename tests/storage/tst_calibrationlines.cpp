#include "storage/calibrationlines.h"

#include "testfiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using Doubles = QVector<double>;

class TestCalibrationLines : public QObject
{
    Q_OBJECT

private slots:
    void load_data();
    void load();
    void missingFile();
    void roundTrip();

private:
    QTemporaryDir m_dir;
};

void TestCalibrationLines::load_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Doubles>("wavelengths");
    QTest::addColumn<Doubles>("pixels");

    QTest::newRow("two lines") << QByteArray("540.056 100.5\n585.249 700\n")
                               << Doubles{540.056, 585.249} << Doubles{100.5, 700};
    QTest::newRow("several blanks")
        << QByteArray("  540.056    100.5  \n") << Doubles{540.056} << Doubles{100.5};
    QTest::newRow("empty line adds a zero pair")
        << QByteArray("540 100\n\n585 700\n") << Doubles{540, 0, 585} << Doubles{100, 0, 700};
    QTest::newRow("missing pixel") << QByteArray("540\n") << Doubles{540} << Doubles{0};
    QTest::newRow("not a number") << QByteArray("neon x\n") << Doubles{0} << Doubles{0};
    QTest::newRow("CRLF") << QByteArray("540 100\r\n585 700\r\n") << Doubles{540, 585}
                          << Doubles{100, 700};
    QTest::newRow("empty file") << QByteArray() << Doubles{} << Doubles{};
}

void TestCalibrationLines::load()
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

void TestCalibrationLines::missingFile()
{
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^failed to load calibration lines: "
                                                           "failed to open file .* for reading$")));
    const CalibrationLines lines = loadCalibrationLines(m_dir.filePath(QStringLiteral("none")));
    QCOMPARE(lines.size(), 0);
    QCOMPARE(lines.wavelengths.size(), 0);
}

void TestCalibrationLines::roundTrip()
{
    CalibrationLines lines;
    lines.wavelengths = {540.056, 585.2494, 640.225};
    lines.pixels = {101.25, 699.5, 1302};
    const QString path = m_dir.filePath(QStringLiteral("calibration_lines.txt"));
    QVERIFY(writeCalibrationLines(path, lines));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("540.056 101.25\n585.249 699.5\n640.225 1302\n"));
    const CalibrationLines read = loadCalibrationLines(path);
    QCOMPARE(read.pixels, lines.pixels);
    QCOMPARE(read.wavelengths, (Doubles{540.056, 585.249, 640.225}));

    // A folder where the file should go makes the write fail without touching anything.
    const QString blocked = m_dir.filePath(QStringLiteral("blocked"));
    QVERIFY(QDir().mkpath(blocked));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^failed to write")));
    QVERIFY(!writeCalibrationLines(blocked, lines));
    QVERIFY(QFileInfo(blocked).isDir());
}

QTEST_GUILESS_MAIN(TestCalibrationLines)
#include "tst_calibrationlines.moc"
