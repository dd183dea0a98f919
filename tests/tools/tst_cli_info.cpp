#include "core/appidentity.h"
#include "measurementfolders.h"
#include "reportfixture.h"
#include "testfiles.h"
#include "toolprocess.h"

#include <QtTest>

class TestCliInfo : public QObject
{
    Q_OBJECT

private slots:
    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("errContains");
        const auto row = [](const char *tag, const QStringList &arguments, int code,
                            const char *err) { QTest::newRow(tag) << arguments << code << S(err); };
        row("nothing", {}, 2, "Usage");
        row("unknown command", {S("frobnicate")}, 2, "unknown command");
        row("bad parts", {S("info"), S("."), S("--parts"), S("some")}, 2, "--parts");
        row("no folder", {S("info")}, 2, "FOLDER");
        row("not a measurement folder", {S("info"), QDir::tempPath()}, 1,
            "not a measurement folder");
    }

    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, errContains);
        const ToolRun run = runTool(S("raman-cli"), arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(run.out.isEmpty() && QString::fromUtf8(run.err).contains(errContains));
    }

    void versionSevenFolder()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(S("old measurement"));
        const QJsonObject sector{{S("identification_data"),
                                  QJsonObject{{S("mineral_final_identification"), S("Gips")}}}};
        QVERIFY(TestFiles::writeJson(folder + S("/metadata.json"),
                                     {{S("save_data_version"), 7},
                                      {S("owner_ident_label"), S("AB")},
                                      {S("owner_ident_no"), S("12")},
                                      {S("saved_date"), S("2018-07-20T14:30:00")},
                                      {S("sectors"), QJsonArray{sector}}}));
        QVERIFY(TestFiles::write(folder + S("/Location1/AB.csv"), "1 2\n3 4\n5 6\n"));
        QVERIFY(TestFiles::write(folder + S("/Location1/AB_ccd_raw.raw"), QByteArray(10, '\1')));
        QVERIFY(TestFiles::write(folder + S("/Location1/calibration_lines.txt"), "540 100\n"));
        QImage photo(32, 24, QImage::Format_RGB32);
        photo.fill(Qt::gray);
        QVERIFY(photo.save(folder + S("/Location1/AB_with_laser.jpg")));

        // Reading old versions is tested with storage; here what info adds.
        const QJsonObject json = info({folder});
        QCOMPARE(json.value(S("created_date")).toString(), S("2018-07-20T14:30:00"));
        QVERIFY(json.value(S("found_date")).isNull());
        QCOMPARE(json.value(S("nonEmptySectorCount")).toInt(), 1);
        QJsonObject s = json.value(S("sectors")).toArray().first().toObject();
        QCOMPARE(s.value(S("processed_spectrum_points")).toInt(), 3);
        QCOMPARE(s.value(S("raw_spectrum_points")).toInt(), 0);
        QCOMPARE(s.value(S("ccd_raw_values")).toInt(), 5);
        QCOMPARE(s.value(S("calibration_lines")).toInt(), 1);
        const QJsonObject images = s.value(S("images")).toObject();
        QCOMPARE(images.value(S("with_laser")).toObject().value(S("width")).toInt(), 32);
        QVERIFY(images.value(S("without_laser")).isNull());

        // --parts limits what is loaded; calibration lines come with the metadata.
        s = info({folder, S("--parts"), S("metadata")})
                .value(S("sectors"))
                .toArray()
                .first()
                .toObject();
        QCOMPARE(s.value(S("processed_spectrum_points")).toInt(), 0);
        QCOMPARE(s.value(S("ccd_raw_values")).toInt(), 0);
        QCOMPARE(s.value(S("calibration_lines")).toInt(), 1);
        QVERIFY(s.value(S("images")).toObject().value(S("with_laser")).isNull());
    }

    // Stand-in compilers on PATH "compile" by copying the filled-in source.
    void report()
    {
        AppIdentity::apply();
        QSettings().clear();
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        ReportFixture::measurement(dir.filePath(S("measurement")));
        const QString compiler = dir.filePath(S("bin/pdflatex"));
        ReportFixture::writeCompiler(compiler, "cp report.tex report.pdf\n");
        TestFiles::write(dir.filePath(S("mini.tex")), "tr(Probe) [SAMPLE_OWNER] [LOCATION_NUMBER]");
        qputenv("PATH", QFile::encodeName(dir.filePath(S("bin:"))) + qgetenv("PATH"));

        ToolRun run = runTool(S("raman-cli"),
                              words("report measurement --template=mini.tex --all-points -o r.PDF "
                                    "--language=en_GB"));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("1\tr_Location1.pdf\n2\tr_Location2.pdf\n"));
        QFile written(dir.filePath(S("r_Location2.pdf")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().startsWith("Sample Huber \\& Söhne 2"));

        run = runTool(S("raman-cli"), words("report measurement --point=1 --all-points"));
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains("either --point or --all-points"));

        ReportFixture::writeCompiler(compiler, "echo bad >&2\nexit 1\n");
        run = runTool(S("raman-cli"), words("report measurement"));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("point 1: The given TeX compiler exited with non-zero status"));
        QVERIFY(!QFile::exists(dir.filePath(S("measurement_Location1.pdf"))));
    }

private:
    static QJsonObject info(const QStringList &arguments)
    {
        const ToolRun run = runTool(S("raman-cli"), QStringList{S("info")} + arguments);
        if (run.exitCode != 0)
            qWarning("raman-cli failed: %s", run.err.constData());
        return QJsonDocument::fromJson(run.out).object();
    }
};

QTEST_GUILESS_MAIN(TestCliInfo)
#include "tst_cli_info.moc"
