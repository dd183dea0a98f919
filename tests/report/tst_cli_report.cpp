// raman-cli report with stand-in compilers that "compile" by copying the filled-in source.
#include "core/appidentity.h"
#include "measurementfolders.h"
#include "reportfixture.h"

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestCliReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { QSettings().clear(); }
    void reports_data();
    void reports();

private:
    QTemporaryDir m_dir;
};

void TestCliReport::initTestCase()
{
    AppIdentity::apply();
    ReportFixture::measurement(m_dir.filePath(QStringLiteral("measurement")));
    ReportFixture::writeCompiler(m_dir.filePath(QStringLiteral("bin/pdflatex")),
                                 "cp report.tex report.pdf\n");
    ReportFixture::writeCompiler(m_dir.filePath(QStringLiteral("failing")),
                                 "echo bad >&2\nexit 1\n");
    TestFiles::write(m_dir.filePath(QStringLiteral("mini.tex")),
                     "tr(Probe) [SAMPLE_OWNER] [LOCATION_NUMBER]");
}

void TestCliReport::reports_data()
{
    QTest::addColumn<QString>("compiler"); // empty: pdflatex on PATH
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("errContains");
    QTest::addColumn<QString>("written"); // file and the start of its text
    QTest::newRow("all points, compiler on PATH, English")
        << QString()
        << words("../measurement --template=../mini.tex --all-points -o r.PDF --language=en_GB")
        << 0 << QStringLiteral("1\tr_Location1.pdf\n2\tr_Location2.pdf\n") << QString()
        << QStringLiteral("r_Location2.pdf|Sample Huber \\& Söhne 2");
    QTest::newRow("failing compiler")
        << QStringLiteral("failing") << words("../measurement") << 1 << QString()
        << QStringLiteral(
               "raman-cli report: point 1: The given TeX compiler exited with non-zero status\n"
               "raman-cli report: point 1: \nraman-cli report: point 1: bad\n")
        << QString();
    QTest::newRow("point and all points")
        << QStringLiteral("bin/pdflatex") << words("../measurement --point=1 --all-points") << 2
        << QString() << QStringLiteral("either --point or --all-points") << QString();
}

void TestCliReport::reports()
{
    QFETCH(QString, compiler);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, errContains);
    QFETCH(QString, written);

    const QString work = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(work));
    QProcess process;
    process.setWorkingDirectory(work);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (compiler.isEmpty()) {
        environment.insert(QStringLiteral("PATH"), m_dir.filePath(QStringLiteral("bin:"))
                                                       + environment.value(QStringLiteral("PATH")));
    } else {
        QSettings().setValue(QStringLiteral("pdflatexExecutablePath"), m_dir.filePath(compiler));
        QSettings().sync();
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(RAMAN_BINARY_DIR "/bin/raman-cli"),
                  QStringList{QStringLiteral("report")} + arguments);
    QVERIFY(process.waitForFinished(60000));
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitCode(), exitCode);
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), out);
    QVERIFY2(err.contains(errContains), qPrintable(err));
    if (!written.isEmpty()) {
        QFile file(work + QLatin1Char('/') + written.section(u'|', 0, 0));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(file.readAll()).startsWith(written.section(u'|', 1)));
    }
}

QTEST_GUILESS_MAIN(TestCliReport)
#include "tst_cli_report.moc"
