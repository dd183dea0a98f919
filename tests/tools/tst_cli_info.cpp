#include "core/appidentity.h"
#include "measurementfolders.h"
#include "reportfixture.h"
#include "savedatafixture.h"
#include "testfiles.h"
#include "toolprocess.h"

#include <QtTest>

class TestCliInfo : public QObject
{
    Q_OBJECT

private slots:
    void counts()
    {
        QTemporaryDir dir;
        SaveData data = Fixture::measurement(1);
        SaveDataSector sector = data.activeSector();
        sector.withoutLaserImage = QImage();
        data.replaceActiveSector(sector);
        QVERIFY(data.save(dir.path(), S("m"), {}));
        const QString folder = data.folderPath();

        // Reading and writing are tested with storage; here what info adds.
        QJsonObject json = info({folder});
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
        json = info({folder, S("--parts"), S("metadata")});
        s = json.value(S("sectors")).toArray().first().toObject();
        QCOMPARE(s.value(S("processed_spectrum_points")).toInt(), 0);
        QCOMPARE(s.value(S("ccd_raw_values")).toInt(), 0);
        QCOMPARE(s.value(S("calibration_lines")).toInt(), 3);
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
