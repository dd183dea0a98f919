#include "spectrum/calibrationlines.h"

#include "testfiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using Doubles = QVector<double>;

class TestCalibrationLines : public QObject
{
    Q_OBJECT

private slots:
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

QTEST_GUILESS_MAIN(TestCalibrationLines)
#include "tst_calibrationlines.moc"
