// The built-in template through the real pdflatex, read back with poppler's tools.
#include "report/reportgenerator.h"

#include "core/appidentity.h"
#include "reportfixture.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

class TestReportPdf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void builtInTemplate_data();
    void builtInTemplate();

private:
    QTemporaryDir m_dir;
    QTranslator m_translator;
};

namespace {

QByteArray popplerOutput(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(30000);
    return process.readAllStandardOutput();
}

} // namespace

void TestReportPdf::initTestCase()
{
    AppIdentity::apply();
    QVERIFY2(!ReportFixture::pdflatex().isEmpty(), "pdflatex is missing: bash scripts/setup.sh");
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
             "pdftotext is missing: bash scripts/setup.sh");
    QVERIFY(m_translator.load(QStringLiteral(":/translations/en_GB.qm")));
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
}

void TestReportPdf::cleanup()
{
    QCoreApplication::removeTranslator(&m_translator);
}

void TestReportPdf::builtInTemplate_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QJsonObject>("metadata");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("lines"); // pieces of the text, blanks collapsed
    const QJsonObject comment{
        {QStringLiteral("mineral_comment"), QStringLiteral("50% _a_ #3 {x} $5 C:\\temp\nZeile 2")}};
    QTest::newRow("German") << QStringLiteral("de_DE") << comment << 0
                            << QStringList{
                                   QStringLiteral("Eigentümer Huber & Söhne"),
                                   QStringLiteral("Probennummer A_17"),
                                   QStringLiteral("Funddatum 14.07.21"),
                                   QStringLiteral("Ergebnis Quarz"),
                                   QStringLiteral("Ausgewählt durch Manuell ausgewählt"),
                                   QStringLiteral("Durchgeführt am 28.02.24 09:00"),
                                   QStringLiteral("Laser-Wellenlänge 532.1 nm"),
                                   QStringLiteral("Bildbreite: 85 µm, Aufnahme-Objektiv: 100x/0.9"),
                                   QStringLiteral("Belichtungszeit 1500 s"),
                                   QStringLiteral("Dichtefilter ND 50%"),
                                   QStringLiteral("Kommentar: 50% _a_ #3 {x} $5 C:\\temp"),
                                   QStringLiteral("Zeile 2"),
                                   QStringLiteral("software version 1.5.0."),
                                   QStringLiteral("ID: 3f2a61c0-9b1e-4c55-a0a6-6f0c1d2e3f40")};
    QTest::newRow("English, no date, second point without photo")
        << QStringLiteral("en_GB") << QJsonObject{{QStringLiteral("nodate"), true}} << 1
        << QStringList{QStringLiteral("Sample Analysis"),
                       QStringLiteral("Owner Huber & Söhne"),
                       QStringLiteral("\nDate found\n"),
                       QStringLiteral("Measuring point no. 2"),
                       QStringLiteral("Result Calcit"),
                       QStringLiteral("Selected by Identified automatically"),
                       QStringLiteral("Performed on 28/02/2024 09:00"),
                       QStringLiteral("Image width: , Objective:"),
                       QStringLiteral("Recording parameters Comment: No comment given.")};
}

void TestReportPdf::builtInTemplate()
{
    QFETCH(QString, locale);
    QFETCH(QJsonObject, metadata);
    QFETCH(int, row);
    QFETCH(QStringList, lines);
    QLocale::setDefault(QLocale(locale));
    if (locale != QLatin1String("de_DE"))
        QCoreApplication::installTranslator(&m_translator);

    const QString folder = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    SaveData data;
    QVERIFY(data.load(ReportFixture::writeMeasurement(folder, metadata), AllSaveDataParts));
    ReportGenerator generator(data);
    generator.setCompilerPath(ReportFixture::pdflatex());
    const QString pdf = folder + QStringLiteral("/report with blanks.pdf");
    QVERIFY2(generator.generate(pdf, row), qPrintable(generator.errors().join(u'\n')));

    QVERIFY(popplerOutput(QStringLiteral("pdfinfo"), {pdf}).contains("Pages:           1\n"));
    // Layout mode keeps table rows on one line; blanks and ligatures are made comparable.
    QString text
        = QString::fromUtf8(popplerOutput(QStringLiteral("pdftotext"),
                                          {QStringLiteral("-layout"), pdf, QStringLiteral("-")}))
              .normalized(QString::NormalizationForm_KC);
    text.replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
    text.replace(QRegularExpression(QStringLiteral(" ?\\n ?")), QStringLiteral("\n"));
    for (const QString &line : lines)
        QVERIFY2(text.contains(line.normalized(QString::NormalizationForm_KC)),
                 qPrintable(line + QStringLiteral(" not in:\n") + text));
    QVERIFY(!text.contains(QLatin1String("[")));
}

QTEST_GUILESS_MAIN(TestReportPdf)
#include "tst_reportpdf.moc"
