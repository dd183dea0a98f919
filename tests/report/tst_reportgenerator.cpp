#include "report/reportgenerator.h"

#include "core/appidentity.h"
#include "reportfixture.h"
#include "testfiles.h"

#include <QtTest>

using ReportFixture::list;
using ReportFixture::toolText;

static QByteArray read(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TestReportGenerator : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    void initTestCase()
    {
        AppIdentity::apply();
        QLoggingCategory::setFilterRules(S("*.debug=false"));
        m_tmp = path("tmp"); // every temporary folder of the generator lands here
        QVERIFY(QDir().mkpath(m_tmp));
        qputenv("TMPDIR", QFile::encodeName(m_tmp));
        QVERIFY(m_translator.load(S(":/translations/en_GB.qm")));
        QCoreApplication::installTranslator(&m_translator);
        m_data = ReportFixture::measurement(path("m"));
    }

    void cleanup()
    {
        QCOMPARE(QDir(m_tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    void textRules()
    {
        QCOMPARE(ReportGenerator::latexEscaped(S("50% & #1 _a {b} $5 ^~")),
                 S("50\\% \\& \\#1 \\_a \\{b\\} \\$5 "
                   "\\textasciicircum{}\\textasciitilde{}"));
        // Single pass: what one replacement inserts is not escaped again.
        QCOMPARE(ReportGenerator::latexEscaped(S("C:\\t\\$\nx")),
                 S("C:$\\backslash$t$\\backslash$\\$\\\\{}x"));
        QCOMPARE(ReportGenerator::translateCaptions(S("\\textbf{tr(Kommentar)}: tr(Gain)")),
                 S("\\textbf{Kommentar)}: tr(Gain"));
        QCOMPARE(ReportGenerator::translateCaptions(S("tr(Laser-Wellenlänge) tr(Unbekannt")),
                 S("Laser wavelength tr(Unbekannt"));
    }

    // The stand-in keeps its folder and arguments, then writes the PDF over an older one.
    void compilerCall()
    {
        const QByteArray seen = path("seen").toUtf8();
        QSettings().setValue(S("pdflatexArguments"), list("-x|a b"));
        ReportGenerator::setTexCompilerPath(ReportFixture::writeCompiler(
            path("recording tex"), "cp -r \"$PWD\" '" + seen
                                       + "'\nfor a in \"$@\"; do echo \"$a\"; "
                                         "done > '"
                                       + seen + "/args'\necho %PDF > report.pdf\n"));
        const QString logo = path("own logo.png");
        QImage(7, 3, QImage::Format_RGB32).save(logo);
        const QString output = path("out.pdf");
        QVERIFY(TestFiles::write(output, "an older report"));

        ReportGenerator generator(m_data);
        generator.setLogoAndTemplate(logo, QString());
        QVERIFY2(generator.generate(output, 1), qPrintable(generator.errors().join(u'\n')));
        const QDir files(QString::fromUtf8(seen));
        const QStringList args = QString::fromUtf8(read(files.filePath(S("args")))).split(u'\n');
        QCOMPARE(args.mid(0, 2), list("-x|a b"));
        QVERIFY(args.value(2).startsWith(m_tmp));
        QCOMPARE(QImage(files.filePath(S("with_laser.jpg"))).size(), QSize(1, 1));
        QCOMPARE(QImage(files.filePath(S("logo.png"))).size(), QSize(7, 3));
        QVERIFY(read(files.filePath(S("report.tex"))).contains("\\textbf{Calcit}"));
        QCOMPARE(read(output), QByteArray("%PDF\n"));
    }

    void failures_data()
    {
        QTest::addColumn<QByteArray>("compiler");     // script body
        QTest::addColumn<QByteArray>("templateText"); // empty: built-in; "missing": no file
        QTest::addColumn<QString>("logo");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QStringList>("expected"); // "*": any text

        const auto row = [](const char *tag, const QByteArray &compiler, const char *expected,
                            const QByteArray &templateText = {}, const char *logo = "",
                            const char *output = "report.pdf") {
            QTest::newRow(tag) << compiler << templateText << S(logo) << S(output)
                               << list(expected);
        };
        const QByteArray pdf = "echo pdf > report.pdf\n";
        const QByteArray mib(1024 * 1024, '%');
        row("template of 1 MiB", pdf, "", mib);
        row("one byte more", pdf,
            "The file to be used as TeX template is unreasonably large, not loading it|"
            "Got empty LaTeX template file",
            mib + '%');
        row("no template file", pdf,
            "Could not open TeX template file|Got empty LaTeX template file", "missing");
        row("no logo file", pdf, "Failed to copy image files to temporary directory", {},
            "no logo.png");
        row("not executable", "-", "The given TeX compiler is not an executable program");
        row("cannot start", "#!/no/such/shell\n", "The given TeX compiler could not be started|*");
        row("exit 1", "echo log; echo bad >&2; " + pdf + "exit 1",
            "The given TeX compiler exited with non-zero status|log\n|bad\n");
        row("TeX error",
            "printf 'This is TeX\\n! Undefined control sequence.\\n<argument> x\\n"
            "l.7 \\\\foo\\n\\n! Second.\\nl.9 x\\n'; exit 1",
            "The given TeX compiler exited with non-zero status|"
            "! Undefined control sequence.\nl.7 \\foo");
        row("no output", "exit 0",
            "The given TeX compiler claims to have succeeded, but did not create the expected "
            "output file");
        // It ignores the polite request, as a hung program might.
        row("too slow",
            "trap '' TERM\necho $$ > '" + path("slow.pid").toUtf8()
                + "'\necho 'still thinking' >&2\nwait\n" + pdf,
            "The given TeX compiler did not finish within 15 seconds|still thinking\n");
        row("target below a file", pdf, "Failed to copy output file to the given destination", {},
            "", "a file/report.pdf");
    }

    void failures()
    {
        QFETCH(QByteArray, compiler);
        QFETCH(QByteArray, templateText);
        QFETCH(QString, logo);
        QFETCH(QString, output);
        QFETCH(QStringList, expected);

        const QString child = path("child.pid");
        QFile::remove(child);
        // Nothing the compiler started may outlive the attempt.
        ReportGenerator::setTexCompilerPath(ReportFixture::writeCompiler(
            path("tex"),
            compiler.startsWith("#!")
                ? compiler
                : "sleep 30 & echo $! > '" + child.toUtf8() + "'\n" + compiler,
            compiler != "-"));
        QString templatePath;
        if (!templateText.isEmpty()) {
            templatePath = path("template.tex");
            QFile::remove(templatePath);
            if (templateText != "missing")
                QVERIFY(TestFiles::write(templatePath, templateText));
        }
        QVERIFY(TestFiles::write(path("a file"), "not a folder"));

        ReportGenerator generator(m_data);
        generator.setLogoAndTemplate(logo.isEmpty() ? QString() : m_root.filePath(logo),
                                     templatePath);
        QCOMPARE(generator.generate(m_root.filePath(output), 0), expected.isEmpty());
        const QStringList errors = generator.errors();
        QCOMPARE(errors.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            if (expected[i] != QLatin1String("*"))
                QCOMPARE(errors[i], expected[i]);
        }
        QVERIFY(!ReportFixture::processAlive(child));
        QVERIFY(!ReportFixture::processAlive(path("slow.pid")));
    }

    // The built-in template through the real pdflatex, read back with poppler's tools.
    void builtInTemplate_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QJsonObject>("metadata");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("pieces"); // pieces of the text, blanks collapsed, between "|"
        QTest::newRow("German")
            << S("de_DE")
            << QJsonObject{{S("mineral_comment"), S("Preis $5 #1 50% _a_ {x} C:\\temp\n"
                                                    "zweite Zeile ~ ^ x\\y")}}
            << 0
            << S("Eigentümer Huber & Söhne|Probennummer A_17|Funddatum 14.07.21|"
                 "Ergebnis Quarz|Ausgewählt durch Manuell ausgewählt|"
                 "Durchgeführt am 28.02.24 09:00|Laser-Wellenlänge 532.1 nm|"
                 "Bildbreite: 85 µm, Aufnahme-Objektiv: 100x/0.9|"
                 "Belichtungszeit 1500 s|Dichtefilter ND 50%|"
                 "Sensor-Temperatur −59.1235|Kommentar: Preis $5 #1 50% _a_ {x} C:\\temp\n"
                 "zweite Zeile ~ ^ x\\y|Programmversion " RAMAN_VERSION "|Kennung der Analyse: "
                 "3f2a61c0-9b1e|Bericht erstellt am ")
                   + QLocale(S("de_DE")).toString(QDate::currentDate(), QLocale::LongFormat);
        QTest::newRow("English, year only, point without photo")
            << S("en_GB") << QJsonObject{{S("found_date_year_only"), true}} << 1
            << S("Sample Analysis|Owner Huber & Söhne Result Calcit|Year found 2021|"
                 "Measuring point no. 2|Selected by Identified automatically|"
                 "Performed on 28/02/2024 09:00|Image width: , Objective:|"
                 "Recording parameters Comment: No comment given.|Report written on ")
                   + QLocale(S("en_GB")).toString(QDate::currentDate(), QLocale::LongFormat);
    }

    void builtInTemplate()
    {
        QFETCH(QString, locale);
        QFETCH(QJsonObject, metadata);
        QFETCH(int, row);
        QFETCH(QString, pieces);
        QLocale::setDefault(QLocale(locale));
        QCoreApplication::removeTranslator(&m_translator);
        if (locale != QLatin1String("de_DE"))
            QCoreApplication::installTranslator(&m_translator);

        const QString folder = m_root.filePath(QString::fromLatin1(QTest::currentDataTag()));
        ReportGenerator generator(ReportFixture::measurement(folder, metadata));
        generator.setCompilerPath(QStandardPaths::findExecutable(S("pdflatex")));
        const QString pdf = folder + S("/report with blanks.pdf");
        QVERIFY2(generator.generate(pdf, row), qPrintable(generator.errors().join(u'\n')));

        QVERIFY(toolText("pdfinfo", {pdf}).contains(QRegularExpression(S("Pages: +1\n"))));
        // Table rows stay on one line in layout mode; ligatures and blanks are made comparable.
        QString text = toolText("pdftotext", {S("-layout"), pdf, S("-")});
        text.replace(QRegularExpression(S("[ \\t]+")), S(" "));
        text.replace(QRegularExpression(S(" ?\\n ?")), S("\n"));
        for (const QString &piece : ReportFixture::normalized(pieces).split(u'|'))
            QVERIFY2(text.contains(piece), qPrintable(piece + S(" not in:\n") + text));
        QVERIFY(!text.contains(QLatin1String("[")));
    }

private:
    QString path(const char *name) const { return m_root.filePath(QString::fromUtf8(name)); }

    QTemporaryDir m_root;
    QString m_tmp;
    QTranslator m_translator;
    SaveData m_data;
};

QTEST_GUILESS_MAIN(TestReportGenerator)
#include "tst_reportgenerator.moc"
