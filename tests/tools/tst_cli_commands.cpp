#include "clirun.h"
#include "core/appidentity.h"
#include "librarycopy.h"
#include "measurementfolders.h"
#include "reportfixture.h"
#include "savedatafixture.h"
#include "spectrum/calibrationlines.h"
#include "spectrum/processing.h"
#include "spectrum/spectrumfile.h"
#include "storage/backup.h"
#include "syntheticspectra.h"
#include "testfiles.h"

#include <QtTest>

namespace {

const QString rawAlbite = S(
    RAMAN_REPO_DATA_DIR
    "/rruff/library/Albite__R040068__Raman__532__0__unoriented__Raman_Data_Processed__15181.txt");

CliRun run(const QString &command, const QString &file, const QString &options)
{
    return runCliHere(QStringList{command, file}
                      + options.split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

const QVector<QVector<SyntheticBand>> minerals{
    {{464, 1.0, 4}, {206, 0.4, 6}, {128, 0.3, 4}},
    {{1086, 1.0, 3}, {282, 0.4, 5}, {712, 0.2, 3}, {155, 0.3, 4}},
    {{660, 1.0, 5}, {300, 0.5, 4}, {1350, 0.3, 6}},
    {{985, 1.0, 3}, {230, 0.6, 5}, {830, 0.35, 4}},
};

} // namespace

// The commands of raman-cli, run in this process.
class TestCliCommands : public QObject
{
    Q_OBJECT

private slots:
    void processRunsThePipeline_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<ProcessingParameters>("parameters");
        ProcessingParameters p;
        p.steps = Smooth | SubtractBackground | Cut | NormalizeToMaximum;
        p.cutMinimum = 200.0;
        p.cutMaximum = 1100.0;
        QTest::newRow("Goldindec")
            << "--smooth=2:5 --background=goldindec --cut=200:1100 --normalize=max" << p;
        p = ProcessingParameters();
        p.steps = SubtractBackground | CutAfterBackground | Normalize;
        p.useGoldindec = false;
        p.splineSupportPoints = 6;
        p.dynamic = true;
        p.secondCutMinimum = 300.0;
        p.secondCutMaximum = 900.0;
        QTest::newRow("dynamic splines")
            << "--background=splines:6:dynamic --cut2=300:900 --normalize=unit" << p;
    }

    void processRunsThePipeline()
    {
        QFETCH(QString, options);
        QFETCH(ProcessingParameters, parameters);
        const CliRun result = run(S("process"), rawAlbite, S("--rebin=1.25 ") + options);
        QCOMPARE(result.code, 0);
        const RamanData<Wavenumbers> expected
            = processed(loadSpectrumFromCSV(rawAlbite).resampled(1.25), parameters);
        QVERIFY(expected.size() > 400);
        QCOMPARE(result.out, QString::fromLatin1(spectrumText(expected)));
    }

    void processWritesTheRemovedBackground()
    {
        const QString output = m_dir.filePath(S("corrected.txt"));
        const QString background = m_dir.filePath(S("background.txt"));
        const CliRun result
            = run(S("process"), rawAlbite,
                  S("--background goldindec -o %1 --baseline-out %2").arg(output, background));
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
        const QString raw = m_dir.filePath(S("frame.raw"));
        QVERIFY(TestFiles::write(raw, bytes));
        const QString lines = m_dir.filePath(S("calibration_lines.txt"));
        QVERIFY(writeCalibrationLines(lines, {{0, 1000, 2000}, {500, 600, 700}}));
        const QString frameSize = S("--width=4 --height=3 ");
        const auto ccd
            = [&](const QString &options) { return run(S("ccd"), raw, frameSize + options); };

        QCOMPARE(ccd(QString()).out, S("0 0.0021\n1 0.002\n2 0.0061\n"));
        // 1e7/500 - 1e7/500.1 and 1e7/500 - 1e7/500.2
        QCOMPARE(ccd(S("--laser=500 --calibration ") + lines).out,
                 S("0 0.0021\n3.9992 0.002\n7.9968 0.0061\n"));
        QCOMPARE(ccd(S("--width=5")).code, 1);
        QCOMPARE(ccd(S("--laser=532")).code, 2);
        expectWarning("failed to open file");
        expectWarning("^no calibration data");
        QCOMPARE(ccd(S("--calibration ") + m_dir.filePath(S("none"))).code, 1);
    }

    void upgradesOldFoldersOnly()
    {
        QTemporaryDir dir;
        const QString root = dir.filePath(S("archive"));
        Fixture::writeVersion5Folder(root + S("/2017/old"));
        SaveData current = Fixture::measurement(1);
        QVERIFY(current.save(root + S("/2020"), S("current"), {}));
        QVERIFY(TestFiles::write(root + S("/broken/metadata.json"), "{ not json"));
        const auto before = Fixture::snapshot(root);
        const QString dataHome
            = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        QVERIFY(QDir().mkpath(backupRoot()));

        const QString brokenLine = root + S("/broken\t?\tunreadable\n");
        QCOMPARE(upgrade({root, S("--dry-run")}),
                 QString(S("1 ") + root + S("/2017/old\t5\tdry-run\n") + brokenLine));
        QVERIFY(Fixture::snapshot(root) == before);

        // The backup area below the second folder holds the old version now; it stays untouched.
        QCOMPARE(upgrade({root, dataHome}),
                 QString(S("1 ") + root + S("/2017/old\t5\tupgraded\n") + brokenLine));
        SaveData upgraded;
        QVERIFY(upgraded.load(root + S("/2017/old"), AllSaveDataParts));
        QCOMPARE(upgraded.metadata().save_data_version, CurrentSaveDataVersion);
        QCOMPARE(upgraded.activeSector().rawSpectrum, Fixture::sector(5).rawSpectrum);
        QCOMPARE(QDir(backupRoot() + S("overwritten/") + QDate::currentDate().toString(Qt::ISODate))
                     .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                     .size(),
                 1);

        QVERIFY(QDir(root + S("/broken")).removeRecursively());
        QCOMPARE(upgrade({root}), S("0 "));
        QCOMPARE(upgrade({dir.filePath(S("missing"))}), S("2 "));
    }

    // Killed at any moment, a saving process leaves the measurement whole: in place or as a
    // backup.
    void killedAnywhereLosesNothing()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(S("m"));
        const QString cli = S(RAMAN_BINARY_DIR "/bin/raman-cli");
        const auto upgrade = [&](int killAfterMs) {
            QDir(folder).removeRecursively();
            QDir(backupRoot()).removeRecursively();
            Fixture::writeVersion5Folder(folder);
            QProcess process;
            QElapsedTimer timer;
            timer.start();
            process.start(cli, {S("upgrade"), folder});
            if (!process.waitForFinished(killAfterMs))
                process.kill();
            process.waitForFinished();
            return int(timer.elapsed());
        };
        const auto whole = [](const QString &candidate) {
            SaveData data;
            return data.load(candidate, AllSaveDataParts) && data.sectorCount() == 1
                   && data.activeSector().rawSpectrum == Fixture::sector(5).rawSpectrum;
        };
        const int fullRun = upgrade(60000);
        QRandomGenerator random(11);
        for (int round = 0; round < 20; ++round) {
            upgrade(int(random.bounded(fullRun + 1)));
            QStringList found{folder};
            for (QDirIterator it(backupRoot(), {S("metadata.json")}, QDir::Files,
                                 QDirIterator::Subdirectories);
                 it.hasNext();)
                found << QFileInfo(it.next()).path();
            QVERIFY2(std::any_of(found.cbegin(), found.cend(), whole),
                     qPrintable(found.join(QLatin1Char(' '))));
        }
    }

    void initTestCase()
    {
        AppIdentity::apply();
        QDir(backupRoot()).removeRecursively();
        m_library = m_dir.filePath(S("library"));
        for (int i = 0; i < minerals.size(); ++i)
            QVERIFY(TestFiles::write(
                m_library
                    + S("/Mineral%1__R%1__Raman__532__0__unoriented__Raman_Data_"
                        "Processed__%1.txt")
                          .arg(10 + i),
                spectrumText(syntheticSpectrum(minerals[i], quint32(i), 0.002, 50, 1800, 1.0))));
        QVector<SyntheticBand> bands = minerals[1];
        for (const SyntheticBand &band : minerals[2])
            bands.append({band.position, 0.8 * band.height, band.hwhm});
        m_mixture = m_dir.filePath(S("mixture.txt"));
        QVERIFY(TestFiles::write(m_mixture,
                                 spectrumText(syntheticSpectrum(bands, 99, 0.004, 60, 1800, 1.0))));
        m_rruff = m_dir.filePath(S("rruff"));
        QVERIFY(copyLibraryFolder(TestFiles::rruffLibrary(), m_rruff));
    }

    void findsThePairOfAMixture()
    {
        const CliRun pairs = run(S("mixture"), m_mixture, S("--top=3 --library=") + m_library);
        QCOMPARE(pairs.code, 0);
        const QStringList lines = pairs.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        const QStringList best = lines[1].split(QLatin1Char('\t'));
        QCOMPARE((QStringList{best[0]} + best.mid(2)).join(QLatin1Char(' ')),
                 S("1 Mineral11 11 Mineral12 12"));
        QVERIFY(best[1].toDouble() > lines[2].split(QLatin1Char('\t'))[1].toDouble() - 1e-9);

        const CliRun fit
            = run(S("mixture"), m_mixture, S("--method=fit --top=1 --library=") + m_library);
        QCOMPARE(fit.code, 0);
        const QStringList rows = fit.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 2);
        const QStringList first = rows[1].split(QLatin1Char('\t'));
        QStringList names{first[4], first[7]};
        names.sort();
        QCOMPARE(names.join(QLatin1Char(' ')), S("Mineral11 Mineral12"));
        QVERIFY(first[1].toDouble() < 0.05);
        QVERIFY(qAbs(first[6].toDouble() + first[9].toDouble() - 1.0) < 0.01);
    }

    // Searched as queries, the library finds each of its spectra; left out of their own search,
    // samples of minerals with one sample are never found.
    void evaluateLeavesOutTheOwnSample()
    {
        for (const bool leaveOut : {false, true}) {
            const QStringList queries = leaveOut ? QStringList() : QStringList{m_library};
            const CliRun run
                = runCliHere(QStringList{S("evaluate"), S("--library"), m_library} + queries);
            QCOMPARE(run.code, 0);
            const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            QCOMPARE(lines.size(), 4);
            for (const QString &line : lines.mid(1)) {
                const QStringList fields = line.split(QLatin1Char('\t'));
                QCOMPARE(fields.mid(1, 3).join(QLatin1Char(' ')),
                         leaveOut ? S("4 4 0.0") : S("4 4 100.0"));
            }
        }
        const CliRun mixtures
            = runCliHere({S("evaluate"), S("--library"), m_library, S("--mixtures=3")});
        QCOMPARE(mixtures.code, 0);
        QVERIFY2(mixtures.out.contains(S("\n1:1\t3\t100.0\t100.0\n"))
                     && mixtures.out.contains(S("\n3:2:1\t3\t")),
                 qPrintable(mixtures.out));
    }

    // Every command checks its arguments before it reads or writes anything.
    void refusesBadInput_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *tag, const char *arguments, int code, const char *message) {
            QTest::newRow(tag) << S(arguments) << code << S(message);
        };
        row("nothing", "", 2, "Usage");
        row("unknown command", "frobnicate", 2, "unknown command");
        row("info: bad parts", "info . --parts some", 2, "--parts");
        row("info: no folder", "info", 2, "FOLDER");
        row("info: not a measurement", "info DIR", 1, "not a measurement folder");
        row("list: missing folder", "list NOFILE", 1, "is not a directory");
        row("list: bad sort", "list DIR --sort=9", 2, "unknown --sort column");
        row("process: bad splines", "process ALBITE --background=splines:8:fast", 2,
            "--background");
        row("process: one cut limit", "process ALBITE --cut=100", 2, "--cut");
        row("evaluate: a spectrum as library", "evaluate --library LIB MIXTURE", 1, "not a folder");
        row("evaluate: unknown method", "evaluate --method=best LIB", 2, "unknown --method");
        row("identify: unknown method", "identify --library LIB --method guess MIXTURE", 2,
            "unknown --method");
        row("report: point and all points", "report DIR --point=1 --all-points", 2,
            "either --point or --all-points");
        row("mixture: no spectrum", "mixture", 2, "expected exactly one SPECTRUM");
        row("mixture: missing file", "mixture NOFILE", 1, "cannot read");
        row("mixture: flat spectrum", "mixture FLAT --library=LIB", 1, "has no peaks");
        row("mixture: empty library", "mixture MIXTURE --library=EMPTY", 1, "holds no spectra");
        row("mixture: fit, flat spectrum", "mixture FLAT --method=fit --library=LIB", 1,
            "no answer");
        row("mixture: unknown method", "mixture MIXTURE --method=guess", 2, "unknown --method");
        row("mixture: four components", "mixture MIXTURE --method=fit --components=4", 2,
            "needs 2 or 3");
    }

    void refusesBadInput()
    {
        QFETCH(QString, arguments);
        QFETCH(int, code);
        QFETCH(QString, message);
        const QString flat = m_dir.filePath(S("flat.txt"));
        QVERIFY(TestFiles::write(flat, spectrumText(syntheticSpectrum({}, 1, 0.0))));
        const QString empty = m_dir.filePath(S("empty"));
        QDir().mkpath(empty);
        // Whole words or values after "=", replaced once: a temporary path may hold "LIB".
        const QMap<QString, QString> paths{
            {S("MIXTURE"), m_mixture}, {S("NOFILE"), m_dir.filePath(S("none.txt"))},
            {S("FLAT"), flat},         {S("EMPTY"), empty},
            {S("LIB"), m_library},     {S("ALBITE"), rawAlbite},
            {S("DIR"), m_dir.path()}};
        QStringList words = arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (QString &word : words) {
            const int value = word.indexOf(QLatin1Char('=')) + 1;
            word.replace(value, word.size() - value, paths.value(word.mid(value), word.mid(value)));
        }
        const CliRun run = runCliHere(words);
        QCOMPARE(run.code, code);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }

    void infoCounts()
    {
        QTemporaryDir dir;
        SaveData data = Fixture::measurement(1);
        SaveDataSector sector = data.activeSector();
        sector.withoutLaserImage = QImage();
        data.replaceActiveSector(sector);
        QVERIFY(data.save(dir.path(), S("m"), {}));

        // Reading and writing are tested with storage; here what info adds.
        QJsonObject json = info({data.folderPath()});
        QCOMPARE(json.value(S("created_date")).toString(), S("2019-03-04T10:11:12"));
        QCOMPARE(json.value(S("found_date")).toString(), S("1987-06-01"));
        QCOMPARE(json.value(S("nonEmptySectorCount")).toInt(), 1);
        QJsonObject s = json.value(S("sectors")).toArray().first().toObject();
        QCOMPARE(s.value(S("processed_spectrum_points")).toInt(), 200);
        QCOMPARE(s.value(S("raw_spectrum_points")).toInt(), 300);
        QCOMPARE(s.value(S("ccd_raw_values")).toInt(), 1340 * 3);
        QCOMPARE(s.value(S("calibration_lines")).toInt(), 3);
        const QJsonObject images = s.value(S("images")).toObject();
        QCOMPARE(images.value(S("with_laser")).toObject().value(S("width")).toInt(), 64);
        QVERIFY(images.value(S("without_laser")).isNull());

        // --parts limits what is loaded; calibration lines come with the metadata.
        json = info({data.folderPath(), S("--parts"), S("metadata")});
        s = json.value(S("sectors")).toArray().first().toObject();
        QCOMPARE(s.value(S("processed_spectrum_points")).toInt(), 0);
        QCOMPARE(s.value(S("ccd_raw_values")).toInt(), 0);
        QCOMPARE(s.value(S("calibration_lines")).toInt(), 3);
        QVERIFY(s.value(S("images")).toObject().value(S("with_laser")).isNull());
    }

    // Stand-in compilers on PATH "compile" by copying the filled-in source.
    void report()
    {
        QTemporaryDir dir;
        const QString home = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        ReportFixture::measurement(dir.filePath(S("measurement")));
        const QString compiler = dir.filePath(S("bin/pdflatex"));
        ReportFixture::writeCompiler(compiler, "cp report.tex report.pdf\n");
        TestFiles::write(dir.filePath(S("mini.tex")), "tr(Probe) [SAMPLE_OWNER] [LOCATION_NUMBER]");
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.filePath(S("bin:"))) + path);

        CliRun run = runCliHere(words("report measurement --template=mini.tex --all-points "
                                      "-o r.PDF --language=en_GB"));
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, S("1\tr_Location1.pdf\n2\tr_Location2.pdf\n"));
        QFile written(dir.filePath(S("r_Location2.pdf")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().startsWith("Sample Huber \\& Söhne 2"));

        ReportFixture::writeCompiler(compiler, "echo bad >&2\nexit 1\n");
        run = runCliHere(words("report measurement"));
        qputenv("PATH", path);
        QDir::setCurrent(home);
        QCOMPARE(run.code, 1);
        QVERIFY(run.err.contains(S("point 1: The given TeX compiler exited with non-zero status")));
        QVERIFY(!QFile::exists(dir.filePath(S("measurement_Location1.pdf"))));
    }

    // cache and identify on a copy of the real reference library.
    void cacheStates()
    {
        const QString missing = m_dir.filePath(S("missing"));
        CliRun run = runCliHere({S("cache"), m_rruff, missing});
        QCOMPARE(run.code, 1);
        QCOMPARE(run.out, m_rruff + S("\t145\tbuilt\n") + missing + S("\t0\tfailed\n"));
        QVERIFY(run.err.contains(S("is not a folder")));
        run = runCliHere({S("cache"), m_rruff});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, m_rruff + S("\t145\texisting\n"));
    }

    void identifyNamesTheMineral()
    {
        const QStringList identify{S("identify"), S("--library"), m_rruff};
        const CliRun run = runCliHere(
            identify + QStringList{S("--method"), S("fingerprint"), S("--top"), S("3"), m_calcite});
        QCOMPARE(run.code, 0);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + 3);
        const QStringList best = lines[1].split(QLatin1Char('\t'));
        QCOMPARE(best[0] + best[1] + best[3], m_calcite + S("1Calcite"));
        QVERIFY(best[2].toDouble() >= lines[3].split(QLatin1Char('\t'))[2].toDouble());

        // The same query as JCAMP-DX over wavelengths of a 532 nm laser (formats:
        // tst_spectrumimport).
        const RamanData<Wavenumbers> query = loadSpectrumFromCSV(m_calcite);
        QByteArray jcamp(
            "##TITLE=Calcite\n##JCAMP-DX=5.01\n##XUNITS=NANOMETERS\n##XYPOINTS=(XY..XY)\n");
        for (int i = 0; i < query.size(); ++i)
            jcamp += QByteArray::number(1e7 / (1e7 / 532 - query.x[i]), 'g', 12) + ", "
                     + QByteArray::number(query.y[i], 'g', 12) + '\n';
        const QString file = m_dir.filePath(S("query.jdx"));
        QVERIFY(TestFiles::write(file, jcamp + "##END=\n"));
        const QStringList found
            = runCliHere(identify + QStringList{S("--top"), S("1"), S("--laser"), S("532"), file})
                  .out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(found.size(), 2);
        const QStringList hit = found[1].split(QLatin1Char('\t'));
        QCOMPARE(hit[0] + hit[1] + hit[3], file + S("1Calcite"));
    }

    void mineralMethod_data()
    {
        // File content (none: the Calcite query; "-": no file) and the message on stderr.
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("answer") << QByteArray() << QString();
        QTest::newRow("flat") << QByteArray("100 5\n101 5\n102 5\n") << S("is flat");
        QTest::newRow("one point") << QByteArray("500, 1\n") << S("too few points");
        QTest::newRow("NaN") << QByteArray("100 1\n101 nan\n102 1\n") << S("NaN");
        QTest::newRow("outside") << QByteArray("9000 1\n9001 5\n9002 1\n") << S("short");
        QTest::newRow("no file") << QByteArray("-") << S("cannot read");
    }

    // Default method: the answer's first row has the confidences and the group answer; no answer,
    // a row "uncertain".
    void mineralMethod()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const QString path = content.isEmpty()
                                 ? m_calcite
                                 : m_dir.filePath(QLatin1String(QTest::currentDataTag()));
        QVERIFY(content.size() < 2 || TestFiles::write(path, content));
        const CliRun run
            = runCliHere({S("identify"), S("--library"), m_rruff, S("--top"), S("2"), path});
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(run.code, message.isEmpty() ? 0 : 1);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(lines.size(), message.isEmpty() ? 3 : 2);
        QVERIFY(lines[0].endsWith(
            QLatin1String("\tformula\tconfidence\tgroup\tgroup_answer\tgroup_confidence")));
        const QStringList first = lines[1].split(QLatin1Char('\t'));
        QCOMPARE(first.size(), 12);
        QCOMPARE(first[0] + first[3], path + (message.isEmpty() ? S("Calcite") : QString()));
        // Calcite names its own group in the IMA list.
        QCOMPARE(first[9] + first[10].section(QLatin1Char(':'), 0, 0),
                 message.isEmpty() ? S("CalciteCalcite") : QString());
        QVERIFY(message.isEmpty()
                    ? lines[2].endsWith(QLatin1String("\t-")) && first[8] != QLatin1String("-")
                          && first[11] != QLatin1String("-")
                    : first[8] == QLatin1String("uncertain") && first[11] == first[8]);
    }

private:
    static QJsonObject info(const QStringList &arguments)
    {
        const CliRun run = runCliHere(QStringList{S("info")} + arguments);
        if (run.code != 0)
            qWarning("raman-cli failed: %s", qPrintable(run.err));
        return QJsonDocument::fromJson(run.out.toUtf8()).object();
    }

    // Exit code, a blank, then what the command printed on its standard output.
    static QString upgrade(const QStringList &arguments)
    {
        const CliRun run = runCliHere(QStringList{S("upgrade")} + arguments);
        return QString::number(run.code) + QLatin1Char(' ') + run.out;
    }

    QTemporaryDir m_dir;
    QString m_library, m_mixture, m_rruff;
    const QString m_calcite = TestFiles::calciteQuery();
};

QTEST_MAIN(TestCliCommands)
#include "tst_cli_commands.moc"
