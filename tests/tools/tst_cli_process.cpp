#include "clirun.h"
#include "spectrum/calibrationlines.h"
#include "spectrum/processing.h"
#include "spectrum/spectrumfile.h"

#include <QtEndian>
#include <QtTest>

namespace {

const QString rawAlbite = QStringLiteral(
    RAMAN_REPO_DATA_DIR
    "/rruff/library/Albite__R040068__Raman__532__0__unoriented__Raman_Data_Processed__15181.txt");

CliRun run(const QString &command, const QString &file, const QString &options)
{
    return runCliHere(QStringList{command, file}
                      + options.split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

} // namespace

class TestCliProcess : public QObject
{
    Q_OBJECT

private slots:
    void processRunsThePipeline_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<ProcessingParameters>("parameters");
        QTest::addColumn<int>("code");
        ProcessingParameters p;
        p.steps = Smooth | SubtractBackground | Cut | NormalizeToMaximum;
        p.cutMinimum = 200.0;
        p.cutMaximum = 1100.0;
        QTest::newRow("Goldindec")
            << "--smooth=2:5 --background=goldindec --cut=200:1100 --normalize=max" << p << 0;
        p = ProcessingParameters();
        p.steps = SubtractBackground | CutAfterBackground | Normalize;
        p.useGoldindec = false;
        p.splineSupportPoints = 6;
        p.dynamic = true;
        p.secondCutMinimum = 300.0;
        p.secondCutMaximum = 900.0;
        QTest::newRow("dynamic splines")
            << "--background=splines:6:dynamic --cut2=300:900 --normalize=unit" << p << 0;
        for (const char *bad : {"--background=splines:8:fast", "--cut=100"})
            QTest::newRow(bad) << bad << p << 2;
    }

    void processRunsThePipeline()
    {
        QFETCH(QString, options);
        QFETCH(ProcessingParameters, parameters);
        QFETCH(int, code);
        const CliRun result
            = run(QStringLiteral("process"), rawAlbite, QStringLiteral("--rebin=1.25 ") + options);
        QCOMPARE(result.code, code);
        if (code != 0) {
            QVERIFY(result.out.isEmpty()
                    && result.err.contains(options.section(QLatin1Char('='), 0, 0)));
            return;
        }
        const RamanData<Wavenumbers> expected
            = processed(loadSpectrumFromCSV(rawAlbite).resampled(1.25), parameters);
        QVERIFY(expected.size() > 400);
        QCOMPARE(result.out, QString::fromLatin1(spectrumText(expected)));
    }

    void processWritesTheRemovedBackground()
    {
        const QString output = m_dir.filePath(QStringLiteral("corrected.txt"));
        const QString background = m_dir.filePath(QStringLiteral("background.txt"));
        const CliRun result = run(QStringLiteral("process"), rawAlbite,
                                  QStringLiteral("--background goldindec -o %1 --baseline-out %2")
                                      .arg(output, background));
        QVERIFY(result.code == 0 && result.out.isEmpty());
        const RamanData<Wavenumbers> input = loadSpectrumFromCSV(rawAlbite);
        const RamanData<Wavenumbers> corrected = loadSpectrumFromCSV(output);
        const RamanData<Wavenumbers> removed = loadSpectrumFromCSV(background);
        QVERIFY(corrected.x == removed.x && corrected.size() == input.size());
        for (int i = 0; i < input.size(); ++i)
            QVERIFY(std::fabs(corrected.y[i] + removed.y[i] - input.y[i])
                    < 1e-5 * input.y[i] + 0.5);
    }

    void ccdConvertsFrames()
    {
        // 4 columns x 3 rows, little-endian; columns (10 12 11), (20 22 999), (30 32 31).
        const QVector<quint16> frame{10, 20, 30, 40, 12, 22, 32, 42, 11, 999, 31, 41};
        QByteArray bytes(frame.size() * 2, '\0');
        qToLittleEndian<quint16>(frame.constData(), frame.size(), bytes.data());
        QFile raw(m_dir.filePath(QStringLiteral("frame.raw")));
        QVERIFY(raw.open(QIODevice::WriteOnly) && raw.write(bytes) == bytes.size());
        raw.close();
        const QString lines = m_dir.filePath(QStringLiteral("calibration_lines.txt"));
        QVERIFY(writeCalibrationLines(lines, {{0, 1000, 2000}, {500, 600, 700}}));
        const QString frameSize = QStringLiteral("--width=4 --height=3 ");
        const auto ccd = [&](const QString &options) {
            return run(QStringLiteral("ccd"), raw.fileName(), frameSize + options);
        };

        QCOMPARE(ccd(QString()).out, QStringLiteral("0 0.0021\n1 0.002\n2 0.0061\n"));
        // 1e7/500 - 1e7/500.1 and 1e7/500 - 1e7/500.2
        QCOMPARE(ccd(QStringLiteral("--laser=500 --calibration ") + lines).out,
                 QStringLiteral("0 0.0021\n3.9992 0.002\n7.9968 0.0061\n"));
        QCOMPARE(ccd(QStringLiteral("--width=5")).code, 1);
        QCOMPARE(ccd(QStringLiteral("--laser=532")).code, 2);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("failed to open file")));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^no calibration data")));
        QCOMPARE(
            ccd(QStringLiteral("--calibration ") + m_dir.filePath(QStringLiteral("none"))).code, 1);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCliProcess)
#include "tst_cli_process.moc"
