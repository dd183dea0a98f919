#include "report/reportgenerator.h"

#include "core/appidentity.h"
#include "reportfixture.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

class TestReportGenerator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void escaping_data();
    void escaping();
    void captions_data();
    void captions();
    void builtInTemplateIsFilledCompletely();
    void replacements_data();
    void replacements();
    void compilerCall_data();
    void compilerCall();
    void failures_data();
    void failures();
    void slowCompilerIsStopped();

private:
    QString path(const QString &name) const { return m_root.filePath(name); }
    SaveData measurement(const QJsonObject &metadata = {}, const QJsonObject &identification = {});

    QTemporaryDir m_root;
    QString m_tmp;
    QTranslator m_translator;
};

void TestReportGenerator::initTestCase()
{
    AppIdentity::apply();
    // Every temporary folder the generator makes lands here, so leftovers can be seen.
    m_tmp = path(QStringLiteral("tmp"));
    QVERIFY(QDir().mkpath(m_tmp));
    qputenv("TMPDIR", QFile::encodeName(m_tmp));
    QVERIFY(m_translator.load(QStringLiteral(":/translations/en_GB.qm")));
    QCoreApplication::installTranslator(&m_translator);
    QLocale::setDefault(QLocale(QStringLiteral("en_GB")));
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
}

void TestReportGenerator::init()
{
    QSettings().clear();
}

void TestReportGenerator::cleanup()
{
    QCOMPARE(QDir(m_tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

SaveData TestReportGenerator::measurement(const QJsonObject &metadata,
                                          const QJsonObject &identification)
{
    static int count = 0;
    const QString folder = path(QStringLiteral("measurement%1").arg(++count));
    ReportFixture::writeMeasurement(folder, metadata, identification);
    SaveData data;
    data.load(folder, AllSaveDataParts);
    return data;
}

void TestReportGenerator::escaping_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QStringLiteral("Öl, 5 µm (x)") << QStringLiteral("Öl, 5 µm (x)");
    QTest::newRow("specials") << QStringLiteral("50% & #1 _a {b} $5")
                              << QStringLiteral("50\\% \\& \\#1 \\_a \\{b\\} \\$5");
    QTest::newRow("accents") << QStringLiteral("^~") << QStringLiteral("\\^\\~");
    QTest::newRow("backslash") << QStringLiteral("C:\\t") << QStringLiteral("C:$\\backslash$t");
    QTest::newRow("line feed") << QStringLiteral("a\nb") << QStringLiteral("a\\\\b");
    // What one replacement inserts is never escaped again.
    QTest::newRow("one pass") << QStringLiteral("\\$\n") << QStringLiteral("$\\backslash$\\$\\\\");
}

void TestReportGenerator::escaping()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ReportGenerator::latexEscaped(text), expected);
}

void TestReportGenerator::captions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("caption") << QStringLiteral("tr(Laser-Wellenlänge) & x")
                             << QStringLiteral("Laser wavelength & x");
    QTest::newRow("later positions shift") << QStringLiteral("tr(Ergebnis) [A]\ntr(Kommentar): [B]")
                                           << QStringLiteral("Result [A]\nComment: [B]");
    QTest::newRow("up to the last bracket") << QStringLiteral("\\textbf{tr(Kommentar)}: tr(Gain)")
                                            << QStringLiteral("\\textbf{Kommentar)}: tr(Gain");
    QTest::newRow("one caption per line")
        << QStringLiteral("tr(Probe)\ntr(Fundort):") << QStringLiteral("Sample\nLocality:");
    QTest::newRow("unknown stays")
        << QStringLiteral("tr(Unbekannt)") << QStringLiteral("Unbekannt");
    QTest::newRow("no caption") << QStringLiteral("\\tr{x} (y)") << QStringLiteral("\\tr{x} (y)");
}

void TestReportGenerator::captions()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ReportGenerator::translateCaptions(text), expected);
}

void TestReportGenerator::builtInTemplateIsFilledCompletely()
{
    QFile file(QStringLiteral(":/report-templates/basic.tex"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const ReportGenerator generator(measurement());
    const QString filled = ReportGenerator::substitutePlaceholders(
        ReportGenerator::translateCaptions(QString::fromUtf8(file.readAll())),
        generator.replacements(0));
    QVERIFY(!filled.contains(QLatin1String("tr(")));
    QVERIFY2(!filled.contains(QRegularExpression(QStringLiteral("\\[[A-Z_]{2,}\\]"))),
             qPrintable(filled));
    for (const char *english : {"Owner", "Laser wavelength", "Recording parameters", "Slit width",
                                "Objective", "Huber \\& Söhne", "A\\_17", "\\bropen"})
        QVERIFY2(filled.contains(QString::fromUtf8(english)), english);
}

void TestReportGenerator::replacements_data()
{
    QTest::addColumn<QJsonObject>("metadata");
    QTest::addColumn<QJsonObject>("identification");
    QTest::addColumn<int>("row");
    QTest::addColumn<QVariantMap>("expected");
    const QJsonObject none;
    QTest::newRow("first point")
        << none << none << 0
        << QVariantMap{
               {QStringLiteral("ANALYSIS_RESULT_METHOD"), QStringLiteral("Selected manually")},
               {QStringLiteral("COMMENT_TEXT"), QStringLiteral("No comment given.")},
               {QStringLiteral("SAMPLE_FOUND_DATE_TEXT"), QStringLiteral("Date found")},
               {QStringLiteral("SAMPLE_FOUND_DATE"), QStringLiteral("14/07/2021")},
               {QStringLiteral("CREATED_DATE"), QStringLiteral("28/02/2024 09:00")},
               {QStringLiteral("SAVED_DATE"), QStringLiteral("02/03/2024 10:15")},
               {QStringLiteral("SAMPLE_ID"), QStringLiteral("A\\_17")},
               {QStringLiteral("LASER_WAVELENGTH"), QStringLiteral("532.1")},
               {QStringLiteral("SPECTRUM_CCD_TEMPERATURE"), QStringLiteral("-59.1235")},
               {QStringLiteral("SPECTRUM_SLIT_WIDTH"), QStringLiteral("1e-05")},
               {QStringLiteral("SPECTRUM_EXPOSURE_TIME"), QStringLiteral("1500")},
               {QStringLiteral("SPECTRUM_ND_FILTER"), QStringLiteral("ND 50\\%")},
               {QStringLiteral("VISUAL_IMAGE_OBJECTIVE"), QStringLiteral("100x/0.9")},
               {QStringLiteral("LOCATION_NUMBER"), QStringLiteral("1")}};
    QTest::newRow("second point")
        << none << none << 1
        << QVariantMap{{QStringLiteral("ANALYSIS_RESULT"), QStringLiteral("Calcit")},
                       {QStringLiteral("LOCATION_NUMBER"), QStringLiteral("2")}};
    QTest::newRow("automatic") << none
                               << QJsonObject{{QStringLiteral("mineral_suggested_manual"),
                                               QString()}}
                               << 0
                               << QVariantMap{{QStringLiteral("ANALYSIS_RESULT_METHOD"),
                                               QStringLiteral("Identified automatically")}};
    QTest::newRow("no date") << QJsonObject{{QStringLiteral("nodate"), true}} << none << 0
                             << QVariantMap{{QStringLiteral("SAMPLE_FOUND_DATE_TEXT"),
                                             QStringLiteral("Date found")},
                                            {QStringLiteral("SAMPLE_FOUND_DATE"), QString()}};
    QTest::newRow("year only")
        << QJsonObject{{QStringLiteral("found_date_year_only"), true}} << none << 0
        << QVariantMap{{QStringLiteral("SAMPLE_FOUND_DATE_TEXT"), QStringLiteral("Year found")},
                       {QStringLiteral("SAMPLE_FOUND_DATE"), QStringLiteral("2021")}};
    QTest::newRow("values are escaped, ids not")
        << QJsonObject{{QStringLiteral("mineral_comment"), QStringLiteral("a_b\nc")},
                       {QStringLiteral("unique_ident"), QStringLiteral("x_y")}}
        << QJsonObject{{QStringLiteral("mineral_final_identification"),
                        QStringLiteral("[UNIQUE_ID]&")}}
        << 0
        << QVariantMap{{QStringLiteral("COMMENT_TEXT"), QStringLiteral("a\\_b\\\\c")},
                       {QStringLiteral("UNIQUE_ID"), QStringLiteral("x_y")},
                       {QStringLiteral("ANALYSIS_RESULT"), QStringLiteral("[UNIQUE\\_ID]\\&")}};
}

void TestReportGenerator::replacements()
{
    QFETCH(QJsonObject, metadata);
    QFETCH(QJsonObject, identification);
    QFETCH(int, row);
    QFETCH(QVariantMap, expected);
    const QMap<QString, QString> table
        = ReportGenerator(measurement(metadata, identification)).replacements(row);
    QCOMPARE(table.size(), 25);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(table.value(it.key()), it.value().toString());
}

void TestReportGenerator::compilerCall_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("logo");
    QTest::addColumn<QSize>("photoSize");
    QTest::newRow("photo, built-in logo") << 0 << QString() << QSize(64, 48);
    QTest::newRow("no photo, own logo") << 1 << QStringLiteral("own logo.png") << QSize(1, 1);
}

// The stand-in records how it was called and what it found, then writes the PDF.
void TestReportGenerator::compilerCall()
{
    QFETCH(int, row);
    QFETCH(QString, logo);
    QFETCH(QSize, photoSize);
    const QString seen = path(QStringLiteral("seen"));
    QDir(seen).removeRecursively();
    QVERIFY(QDir().mkpath(seen));
    QSettings().setValue(QStringLiteral("pdflatexArguments"),
                         QStringList{QStringLiteral("-halt-on-error"), QStringLiteral("a b")});
    ReportGenerator::setTexCompilerPath(ReportFixture::writeCompiler(
        path(QStringLiteral("recording compiler")),
        "pwd > '" + seen.toUtf8() + "/pwd'; for a in \"$@\"; do echo \"$a\"; done > '"
            + seen.toUtf8() + "/args'\ncp -r . '" + seen.toUtf8()
            + "/files'\necho '%PDF-1.4 stand-in' > report.pdf\n"));
    if (!logo.isEmpty()) {
        logo = path(logo);
        QImage(7, 3, QImage::Format_RGB32).save(logo);
    }

    ReportGenerator generator(measurement());
    generator.setLogoAndTemplate(logo, QString());
    const QString output = path(QStringLiteral("out.pdf"));
    QVERIFY(TestFiles::write(output, "an older report"));
    QVERIFY2(generator.generate(output, row), qPrintable(generator.errors().join(u'\n')));
    QVERIFY(generator.errors().isEmpty());

    QFile pwd(seen + QStringLiteral("/pwd"));
    QVERIFY(pwd.open(QIODevice::ReadOnly));
    const QString folder = QString::fromUtf8(pwd.readAll().trimmed());
    QFile args(seen + QStringLiteral("/args"));
    QVERIFY(args.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(args.readAll()).split(u'\n', Qt::SkipEmptyParts),
             (QStringList{QStringLiteral("-halt-on-error"), QStringLiteral("a b"),
                          folder + QStringLiteral("/report.tex")}));
    QVERIFY(folder.startsWith(m_tmp));

    const QDir files(seen + QStringLiteral("/files"));
    QCOMPARE(QImage(files.filePath(QStringLiteral("with_laser.jpg"))).size(), photoSize);
    QCOMPARE(QImage(files.filePath(QStringLiteral("searchresult.png"))).isNull(), false);
    QCOMPARE(QImage(files.filePath(QStringLiteral("logo.png"))).size(),
             logo.isEmpty() ? QImage(QStringLiteral(":/icons/logo_corvalinthe.png")).size()
                            : QSize(7, 3));
    QFile source(files.filePath(QStringLiteral("report.tex")));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QVERIFY(source.readAll().contains("Huber \\& Söhne"));
    QFile pdf(output);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QCOMPARE(pdf.readAll(), QByteArray("%PDF-1.4 stand-in\n"));
}

void TestReportGenerator::failures_data()
{
    QTest::addColumn<QByteArray>("compiler"); // script body; empty: no compiler configured
    QTest::addColumn<bool>("executable");
    QTest::addColumn<QByteArray>("templateText"); // "-": none, "missing": a path with no file
    QTest::addColumn<QString>("logo");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QStringList>("expected"); // "*": any text

    const QByteArray writesPdf = "echo pdf > report.pdf\n";
    const QString pdf = QStringLiteral("report.pdf");
    const QByteArray mib(1024 * 1024, '%');
    const QString notExecutable
        = QStringLiteral("The given TeX compiler is not an executable program");
    const QString empty = QStringLiteral("Got empty LaTeX template file");
    QTest::newRow("template of 1 MiB")
        << writesPdf << true << mib << QString() << pdf << QStringList();
    QTest::newRow("one byte more")
        << writesPdf << true << (mib + '%') << QString() << pdf
        << QStringList{
               QStringLiteral(
                   "The file to be used as TeX template is unreasonably large, not loading it"),
               empty};
    QTest::newRow("empty template")
        << writesPdf << true << QByteArray() << QString() << pdf << QStringList{empty};
    QTest::newRow("no template file")
        << writesPdf << true << QByteArray("missing") << QString() << pdf
        << QStringList{QStringLiteral("Could not open TeX template file"), empty};
    QTest::newRow("no logo file") << writesPdf << true << QByteArray("-")
                                  << QStringLiteral("no logo.png") << pdf
                                  << QStringList{QStringLiteral(
                                         "Failed to copy image files to temporary directory")};
    QTest::newRow("no compiler") << QByteArray() << true << QByteArray("-") << QString() << pdf
                                 << QStringList{notExecutable};
    QTest::newRow("not executable")
        << writesPdf << false << QByteArray("-") << QString() << pdf << QStringList{notExecutable};
    QTest::newRow("cannot start") << QByteArray("#!/no/such/shell\n") << true << QByteArray("-")
                                  << QString() << pdf
                                  << QStringList{QStringLiteral(
                                                     "The given TeX compiler could not be started"),
                                                 QStringLiteral("*")};
    QTest::newRow("exit 1")
        << QByteArray("echo log; echo bad >&2; " + writesPdf + "exit 1\n") << true
        << QByteArray("-") << QString() << pdf
        << QStringList{QStringLiteral("The given TeX compiler exited with non-zero status"),
                       QStringLiteral("log\n"), QStringLiteral("bad\n")};
    QTest::newRow("no output") << QByteArray("exit 0\n") << true << QByteArray("-") << QString()
                               << pdf
                               << QStringList{QStringLiteral(
                                      "The given TeX compiler claims to have succeeded, but did "
                                      "not create the expected output file")};
    QTest::newRow("target below a file")
        << writesPdf << true << QByteArray("-") << QString() << QStringLiteral("a file/report.pdf")
        << QStringList{QStringLiteral("Failed to copy output file to the given destination")};
}

void TestReportGenerator::failures()
{
    QFETCH(QByteArray, compiler);
    QFETCH(bool, executable);
    QFETCH(QByteArray, templateText);
    QFETCH(QString, logo);
    QFETCH(QString, output);
    QFETCH(QStringList, expected);

    QFile::remove(path(QStringLiteral("child.pid")));
    if (!compiler.isEmpty()) {
        // A child left running in the background must not survive the attempt either.
        if (!compiler.startsWith("#!"))
            compiler.prepend("sleep 30 & echo $! > '" + path(QStringLiteral("child.pid")).toUtf8()
                             + "'\n");
        ReportGenerator::setTexCompilerPath(
            ReportFixture::writeCompiler(path(QStringLiteral("compiler")), compiler, executable));
    }
    QString templatePath;
    if (templateText == "missing") {
        templatePath = path(QStringLiteral("no such template.tex"));
    } else if (templateText != "-") {
        templatePath = path(QStringLiteral("template.tex"));
        QVERIFY(TestFiles::write(templatePath, templateText));
    }
    QVERIFY(TestFiles::write(path(QStringLiteral("a file")), "not a folder"));

    ReportGenerator generator(measurement());
    generator.setLogoAndTemplate(logo.isEmpty() ? logo : path(logo), templatePath);
    const bool ok = generator.generate(path(output), 0);
    const QStringList errors = generator.errors();
    QCOMPARE(ok, expected.isEmpty());
    QCOMPARE(errors.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        if (expected[i] != QLatin1String("*"))
            QCOMPARE(errors[i], expected[i]);
    }
    QVERIFY(!ReportFixture::processAlive(path(QStringLiteral("child.pid"))));
}

void TestReportGenerator::slowCompilerIsStopped()
{
    const QString pids = path(QStringLiteral("slow"));
    // Ignoring the polite request, as a hung program might.
    ReportGenerator::setTexCompilerPath(ReportFixture::writeCompiler(
        path(QStringLiteral("slow compiler")),
        "trap '' TERM\necho $$ > '" + pids.toUtf8() + ".pid'\nsleep 60 & echo $! > '"
            + pids.toUtf8() + ".child'\necho 'still thinking' >&2\nwait\necho pdf > report.pdf\n"));
    ReportGenerator generator(measurement());
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!generator.generate(path(QStringLiteral("slow.pdf")), 0));
    QVERIFY(timer.elapsed() < 40000);
    QCOMPARE(generator.errors(),
             (QStringList{QStringLiteral("The given TeX compiler did not finish within 15 seconds"),
                          QStringLiteral("still thinking\n")}));
    QVERIFY(QFile::exists(pids + QStringLiteral(".pid")));
    QVERIFY(!ReportFixture::processAlive(pids + QStringLiteral(".pid")));
    QVERIFY(!ReportFixture::processAlive(pids + QStringLiteral(".child")));
    QVERIFY(!QFile::exists(path(QStringLiteral("slow.pdf"))));
}

QTEST_GUILESS_MAIN(TestReportGenerator)
#include "tst_reportgenerator.moc"
