// raman-cli report with stand-in compilers on PATH that "compile" by copying the filled-in source.
#include "core/appidentity.h"
#include "measurementfolders.h"
#include "reportfixture.h"
#include "toolprocess.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestCliReport : public QObject
{
    Q_OBJECT

private slots:
    void report()
    {
        AppIdentity::apply();
        QSettings().clear();
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        ReportFixture::measurement(dir.filePath(QStringLiteral("measurement")));
        const QString compiler = dir.filePath(QStringLiteral("bin/pdflatex"));
        ReportFixture::writeCompiler(compiler, "cp report.tex report.pdf\n");
        TestFiles::write(dir.filePath(QStringLiteral("mini.tex")),
                         "tr(Probe) [SAMPLE_OWNER] [LOCATION_NUMBER]");
        qputenv("PATH", QFile::encodeName(dir.filePath(QStringLiteral("bin:"))) + qgetenv("PATH"));

        ToolRun run = runTool(QStringLiteral("raman-cli"),
                              words("report measurement --template=mini.tex --all-points -o r.PDF "
                                    "--language=en_GB"));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("1\tr_Location1.pdf\n2\tr_Location2.pdf\n"));
        QFile written(dir.filePath(QStringLiteral("r_Location2.pdf")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().startsWith("Sample Huber \\& Söhne 2"));

        run = runTool(QStringLiteral("raman-cli"),
                      words("report measurement --point=1 --all-points"));
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains("either --point or --all-points"));

        ReportFixture::writeCompiler(compiler, "echo bad >&2\nexit 1\n");
        run = runTool(QStringLiteral("raman-cli"), words("report measurement"));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("point 1: The given TeX compiler exited with non-zero status"));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("measurement_Location1.pdf"))));
    }
};

QTEST_GUILESS_MAIN(TestCliReport)
#include "tst_cli_report.moc"
