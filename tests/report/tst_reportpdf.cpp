// The built-in template through the real pdflatex, read back with poppler's tools.
#include "report/reportgenerator.h"

#include "core/appidentity.h"
#include "reportfixture.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

static QString toolOutput(const char *tool, const QStringList &arguments)
{
    QProcess process;
    process.start(QString::fromLatin1(tool), arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

class TestReportPdf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AppIdentity::apply();
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        QVERIFY(m_translator.load(QStringLiteral(":/translations/en_GB.qm")));
    }

    void builtInTemplate_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QJsonObject>("metadata");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("pieces"); // pieces of the text, blanks collapsed, between "|"
        QTest::newRow("German")
            << QStringLiteral("de_DE")
            << QJsonObject{{QStringLiteral("mineral_comment"),
                            QStringLiteral("50% _a_ #3 {x} $5 C:\\temp\nZeile 2")}}
            << 0
            << QStringLiteral("Eigentümer Huber & Söhne|Probennummer A_17|Funddatum 14.07.21|"
                              "Ergebnis Quarz|Ausgewählt durch Manuell ausgewählt|"
                              "Durchgeführt am 28.02.24 09:00|Laser-Wellenlänge 532.1 nm|"
                              "Bildbreite: 85 µm, Aufnahme-Objektiv: 100x/0.9|"
                              "Belichtungszeit 1500 s|Dichtefilter ND 50%|"
                              "Sensor-Temperatur −59.1235|Kommentar: 50% _a_ #3 {x} $5 C:\\temp\n|"
                              "Zeile 2|software version 1.5.0.|ID: 3f2a61c0-9b1e");
        QTest::newRow("English, year only, point without photo")
            << QStringLiteral("en_GB")
            << QJsonObject{{QStringLiteral("found_date_year_only"), true}} << 1
            << QStringLiteral("Sample Analysis|Owner Huber & Söhne Result Calcit|Year found 2021|"
                              "Measuring point no. 2|Selected by Identified automatically|"
                              "Performed on 28/02/2024 09:00|Image width: , Objective:|"
                              "Recording parameters Comment: No comment given.");
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

        const QString folder = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        ReportGenerator generator(ReportFixture::measurement(folder, metadata));
        const QString pdflatex = QStandardPaths::findExecutable(QStringLiteral("pdflatex"));
        generator.setCompilerPath(pdflatex);
        const QString pdf = folder + QStringLiteral("/report with blanks.pdf");
        QVERIFY2(generator.generate(pdf, row), qPrintable(generator.errors().join(u'\n')));

        QVERIFY(toolOutput("pdfinfo", {pdf})
                    .contains(QRegularExpression(QStringLiteral("Pages: +1\n"))));
        // Table rows stay on one line in layout mode; ligatures and blanks are made comparable.
        QString text
            = toolOutput("pdftotext", {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                  .normalized(QString::NormalizationForm_KC);
        text.replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
        text.replace(QRegularExpression(QStringLiteral(" ?\\n ?")), QStringLiteral("\n"));
        for (const QString &piece : pieces.normalized(QString::NormalizationForm_KC).split(u'|'))
            QVERIFY2(text.contains(piece), qPrintable(piece + QStringLiteral(" not in:\n") + text));
        QVERIFY(!text.contains(QLatin1String("[")));
    }

private:
    QTemporaryDir m_dir;
    QTranslator m_translator;
};

QTEST_GUILESS_MAIN(TestReportPdf)
#include "tst_reportpdf.moc"
