#include "report/reportgenerator.h"

#include "core/appidentity.h"
#include "reportfixture.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

class TestReportGenerator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { QSettings().clear(); }
    void cleanup();
    void textRules_data();
    void textRules();
    void compilerCall();
    void failures_data();
    void failures();
    void slowCompilerIsStopped();

private:
    QString path(const QString &name) const { return m_root.filePath(name); }

    QTemporaryDir m_root;
    QString m_tmp;
    QTranslator m_translator;
    SaveData m_data;
};

void TestReportGenerator::initTestCase()
{
    AppIdentity::apply();
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    // Every temporary folder of the generator lands here, so leftovers show.
    m_tmp = path(QStringLiteral("tmp"));
    QVERIFY(QDir().mkpath(m_tmp));
    qputenv("TMPDIR", QFile::encodeName(m_tmp));
    QVERIFY(m_translator.load(QStringLiteral(":/translations/en_GB.qm")));
    QCoreApplication::installTranslator(&m_translator);
    m_data = ReportFixture::measurement(path(QStringLiteral("m")));
}

void TestReportGenerator::cleanup()
{
    QCOMPARE(QDir(m_tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestReportGenerator::textRules_data()
{
    QTest::addColumn<bool>("escape"); // else: translate the captions
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const char *const rows[][3] = {
        {"e", "Öl (5 µm) [X]", "Öl (5 µm) [X]"},
        {"e", "50% & #1 _a {b} $5 ^~", "50\\% \\& \\#1 \\_a \\{b\\} \\$5 \\^\\~"},
        // single pass: what one replacement inserts is not escaped again
        {"e", "C:\\t\\$\nx", "C:$\\backslash$t$\\backslash$\\$\\\\x"},
        {"t", "tr(Ergebnis) [A]\ntr(Kommentar): [B]", "Result [A]\nComment: [B]"},
        {"t", "\\textbf{tr(Kommentar)}: tr(Gain)", "\\textbf{Kommentar)}: tr(Gain"},
        {"t", "tr(Laser-Wellenlänge) tr(Unbekannt", "Laser wavelength tr(Unbekannt"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[1]) << (row[0][0] == 'e') << QString::fromUtf8(row[1])
                              << QString::fromUtf8(row[2]);
}

void TestReportGenerator::textRules()
{
    QFETCH(bool, escape);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(escape ? ReportGenerator::latexEscaped(text)
                    : ReportGenerator::translateCaptions(text),
             expected);
}

// The stand-in records how it was called and what it found, then writes the PDF.
void TestReportGenerator::compilerCall()
{
    const QByteArray seen = path(QStringLiteral("seen")).toUtf8();
    QSettings().setValue(QStringLiteral("pdflatexArguments"),
                         QStringList{QStringLiteral("-x"), QStringLiteral("a b")});
    ReportGenerator::setTexCompilerPath(ReportFixture::writeCompiler(
        path(QStringLiteral("recording tex")), "cp -r \"$PWD\" '" + seen
                                                   + "'\nfor a in \"$@\"; "
                                                     "do echo \"$a\"; done > '"
                                                   + seen
                                                   + "/args'\n"
                                                     "echo %PDF > report.pdf\n"));
    const QString logo = path(QStringLiteral("own logo.png"));
    QImage(7, 3, QImage::Format_RGB32).save(logo);
    const QString output = path(QStringLiteral("out.pdf"));
    QVERIFY(TestFiles::write(output, "an older report"));

    ReportGenerator generator(m_data);
    generator.setLogoAndTemplate(logo, QString());
    QVERIFY2(generator.generate(output, 1), qPrintable(generator.errors().join(u'\n')));
    QVERIFY(generator.errors().isEmpty());

    QFile args(QString::fromUtf8(seen) + QStringLiteral("/args"));
    QVERIFY(args.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(args.readAll()).split(u'\n');
    QCOMPARE(lines.mid(0, 2), (QStringList{QStringLiteral("-x"), QStringLiteral("a b")}));
    QVERIFY(lines.value(2).startsWith(m_tmp)
            && lines.value(2).endsWith(QLatin1String("/report.tex")));
    const QDir files(QString::fromUtf8(seen));
    QCOMPARE(QImage(files.filePath(QStringLiteral("with_laser.jpg"))).size(), QSize(1, 1));
    QCOMPARE(QImage(files.filePath(QStringLiteral("logo.png"))).size(), QSize(7, 3));
    QFile source(files.filePath(QStringLiteral("report.tex")));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QVERIFY(source.readAll().contains("\\textbf{Calcit}"));
    QFile pdf(output);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QCOMPARE(pdf.readAll(), QByteArray("%PDF\n"));
}

void TestReportGenerator::failures_data()
{
    QTest::addColumn<QByteArray>("compiler");     // script body; empty: no compiler set
    QTest::addColumn<QByteArray>("templateText"); // empty: built-in; "missing", "empty" file
    QTest::addColumn<QString>("logo");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QStringList>("expected"); // "*": any text

    const QByteArray pdf = "echo pdf > report.pdf\n";
    const QByteArray mib(1024 * 1024, '%');
    const QString out = QStringLiteral("report.pdf");
    const QString noCompiler
        = QStringLiteral("The given TeX compiler is not an executable program");
    const QString empty = QStringLiteral("Got empty LaTeX template file");
    QTest::newRow("template of 1 MiB") << pdf << mib << QString() << out << QStringList();
    QTest::newRow("one byte more")
        << pdf << QByteArray(mib + '%') << QString() << out
        << QStringList{QStringLiteral("The file to be used as TeX template is unreasonably large, "
                                      "not loading it"),
                       empty};
    QTest::newRow("empty template")
        << pdf << QByteArray("empty") << QString() << out << QStringList{empty};
    QTest::newRow("no template file")
        << pdf << QByteArray("missing") << QString() << out
        << QStringList{QStringLiteral("Could not open TeX template file"), empty};
    QTest::newRow("no logo file") << pdf << QByteArray() << QStringLiteral("no logo.png") << out
                                  << QStringList{QStringLiteral(
                                         "Failed to copy image files to temporary directory")};
    QTest::newRow("no compiler") << QByteArray() << QByteArray() << QString() << out
                                 << QStringList{noCompiler};
    QTest::newRow("not executable")
        << QByteArray("-") << QByteArray() << QString() << out << QStringList{noCompiler};
    QTest::newRow("cannot start") << QByteArray("#!/no/such/shell\n") << QByteArray() << QString()
                                  << out
                                  << QStringList{QStringLiteral(
                                                     "The given TeX compiler could not be started"),
                                                 QStringLiteral("*")};
    QTest::newRow("exit 1")
        << QByteArray("echo log; echo bad >&2; " + pdf + "exit 1") << QByteArray() << QString()
        << out
        << QStringList{QStringLiteral("The given TeX compiler exited with non-zero status"),
                       QStringLiteral("log\n"), QStringLiteral("bad\n")};
    QTest::newRow("no output") << QByteArray("exit 0") << QByteArray() << QString() << out
                               << QStringList{QStringLiteral(
                                      "The given TeX compiler claims to have succeeded, but did "
                                      "not create the expected output file")};
    QTest::newRow("target below a file")
        << pdf << QByteArray() << QString() << QStringLiteral("a file/report.pdf")
        << QStringList{QStringLiteral("Failed to copy output file to the given destination")};
}

void TestReportGenerator::failures()
{
    QFETCH(QByteArray, compiler);
    QFETCH(QByteArray, templateText);
    QFETCH(QString, logo);
    QFETCH(QString, output);
    QFETCH(QStringList, expected);

    const QString child = path(QStringLiteral("child.pid"));
    QFile::remove(child);
    if (!compiler.isEmpty()) {
        // What the compiler leaves running in the background must not outlive the attempt.
        ReportGenerator::setTexCompilerPath(ReportFixture::writeCompiler(
            path(QStringLiteral("tex")),
            compiler.startsWith("#!")
                ? compiler
                : QByteArray("sleep 30 & echo $! > '" + child.toUtf8() + "'\n" + compiler),
            compiler != "-"));
    }
    QString templatePath;
    if (!templateText.isEmpty()) {
        templatePath = path(QStringLiteral("template.tex"));
        QFile::remove(templatePath);
        if (templateText != "missing")
            QVERIFY(TestFiles::write(templatePath, templateText == "empty" ? "" : templateText));
    }
    QVERIFY(TestFiles::write(path(QStringLiteral("a file")), "not a folder"));

    ReportGenerator generator(m_data);
    generator.setLogoAndTemplate(logo.isEmpty() ? logo : path(logo), templatePath);
    QCOMPARE(generator.generate(path(output), 0), expected.isEmpty());
    const QStringList errors = generator.errors();
    QCOMPARE(errors.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        if (expected[i] != QLatin1String("*"))
            QCOMPARE(errors[i], expected[i]);
    }
    QVERIFY(!ReportFixture::processAlive(child));
}

void TestReportGenerator::slowCompilerIsStopped()
{
    const QByteArray pids = path(QStringLiteral("slow")).toUtf8();
    // Ignoring the polite request, as a hung program might.
    ReportGenerator::setTexCompilerPath(ReportFixture::writeCompiler(
        path(QStringLiteral("slow tex")), "trap '' TERM\necho $$ > '" + pids
                                              + ".pid'\nsleep 60 & "
                                                "echo $! > '"
                                              + pids
                                              + ".child'\necho 'still thinking' "
                                                ">&2\nwait\necho pdf > report.pdf\n"));
    ReportGenerator generator(m_data);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!generator.generate(path(QStringLiteral("slow.pdf")), 0));
    QVERIFY(timer.elapsed() < 40000); // not waiting for the 60 s of its child
    QCOMPARE(generator.errors(),
             (QStringList{QStringLiteral("The given TeX compiler did not finish within 15 seconds"),
                          QStringLiteral("still thinking\n")}));
    QVERIFY(QFile::exists(QString::fromUtf8(pids + ".pid")));
    QVERIFY(!ReportFixture::processAlive(QString::fromUtf8(pids + ".pid")));
    QVERIFY(!ReportFixture::processAlive(QString::fromUtf8(pids + ".child")));
    QVERIFY(!QFile::exists(path(QStringLiteral("slow.pdf"))));
}

QTEST_GUILESS_MAIN(TestReportGenerator)
#include "tst_reportgenerator.moc"
