// raman-cli report, run as a process with stand-in compilers that "compile" by copying the
// filled-in source, so the written file shows what the template became.
#include "core/appidentity.h"
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
    void init();
    void reports_data();
    void reports();

private:
    QTemporaryDir m_dir;
};

void TestCliReport::initTestCase()
{
    AppIdentity::apply();
    ReportFixture::writeMeasurement(m_dir.filePath(QStringLiteral("measurement")));
    ReportFixture::writeCompiler(m_dir.filePath(QStringLiteral("bin/pdflatex")),
                                 "cp report.tex report.pdf\n");
    ReportFixture::writeCompiler(m_dir.filePath(QStringLiteral("failing")),
                                 "echo bad >&2\nexit 1\n");
    TestFiles::write(m_dir.filePath(QStringLiteral("mini.tex")),
                     "tr(Probe) [SAMPLE_OWNER] [LOCATION_NUMBER]");
}

void TestCliReport::init()
{
    QSettings().clear();
}

void TestCliReport::reports_data()
{
    QTest::addColumn<QString>("compiler"); // file in the test folder; empty: pdflatex on PATH
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("errContains");
    QTest::addColumn<QString>("written"); // file and the start of its text

    const QString m = QStringLiteral("measurement");
    const QString copying = QStringLiteral("bin/pdflatex");
    const QString mini = QStringLiteral("--template=mini.tex");
    QTest::newRow("default point and name")
        << copying << QStringList{m, mini} << 0 << QStringLiteral("1\tmeasurement_Location1.pdf\n")
        << QString() << QStringLiteral("measurement_Location1.pdf|Probe Huber \\& Söhne 1");
    QTest::newRow("all points, compiler on PATH, English")
        << QString()
        << QStringList{m,
                       mini,
                       QStringLiteral("--all-points"),
                       QStringLiteral("-o"),
                       QStringLiteral("r.PDF"),
                       QStringLiteral("--language=en_GB")}
        << 0 << QStringLiteral("1\tr_Location1.pdf\n2\tr_Location2.pdf\n") << QString()
        << QStringLiteral("r_Location2.pdf|Sample Huber \\& Söhne 2");
    QTest::newRow("built-in template") << copying
                                       << QStringList{m, QStringLiteral("--point=2"),
                                                      QStringLiteral("-o"), QStringLiteral("b.pdf")}
                                       << 0 << QStringLiteral("2\tb.pdf\n") << QString()
                                       << QStringLiteral("b.pdf|% Built-in report");
    QTest::newRow("failing compiler")
        << QStringLiteral("failing") << QStringList{m} << 1 << QString()
        << QStringLiteral(
               "raman-cli report: point 1: The given TeX compiler exited with non-zero status\n"
               "raman-cli report: point 1: \nraman-cli report: point 1: bad\n")
        << QString();
    QTest::newRow("no such point")
        << copying << QStringList{m, QStringLiteral("--point=3")} << 1 << QString()
        << QStringLiteral("There is no measuring point 3 in this measurement") << QString();
    QTest::newRow("missing logo") << copying << QStringList{m, QStringLiteral("--logo=nothing.png")}
                                  << 1 << QString()
                                  << QStringLiteral(
                                         "Failed to copy image files to temporary directory")
                                  << QString();
    QTest::newRow("not a measurement")
        << copying << QStringList{QStringLiteral("bin")} << 1 << QString()
        << QStringLiteral("is not a measurement folder") << QString();
    QTest::newRow("point and all points")
        << copying << QStringList{m, QStringLiteral("--point=1"), QStringLiteral("--all-points")}
        << 2 << QString() << QStringLiteral("either --point or --all-points") << QString();
    QTest::newRow("point 0") << copying << QStringList{m, QStringLiteral("--point=0")} << 2
                             << QString() << QStringLiteral("--point needs") << QString();
    QTest::newRow("help") << copying << QStringList{QStringLiteral("--help")} << 0 << QString()
                          << QString() << QString();
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
    // Relative paths are resolved against the test folder.
    for (QString &argument : arguments) {
        if (argument == QLatin1String("measurement") || argument == QLatin1String("bin"))
            argument = QStringLiteral("../") + argument;
        argument.replace(QLatin1String("=mini.tex"), QLatin1String("=../mini.tex"));
    }
    process.start(QStringLiteral(RAMAN_BINARY_DIR "/bin/raman-cli"),
                  QStringList{QStringLiteral("report")} + arguments);
    QVERIFY(process.waitForFinished(60000));
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitCode(), exitCode);
    if (arguments.contains(QLatin1String("--help")))
        QVERIFY(process.readAllStandardOutput().contains("--all-points"));
    else
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
