// The page is checked through poppler's text extraction, not through our own painter.
#include "core/appidentity.h"
#include "report/summarypage.h"
#include "savedatafixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Ligatures such as "fi" come back as one character unless normalised.
QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC);
}

// Points of the PDF page from dots of the page's printable area (20 mm left margin, none on top).
constexpr double pointsPerDot = 72.0 / 600.0;
constexpr double leftMarginPoints = 20.0 / 25.4 * 72.0;

bool shows(const QString &text, const QString &expected)
{
    return text.contains(expected.normalized(QString::NormalizationForm_KC));
}

SaveData pageRecord()
{
    SaveData data = Fixture::measurement(1);
    SaveDataMetadata m = data.metadata();
    m.mineral_comment = QStringLiteral("erste\nzweite\n\nvierte\nfünfte\nsechste\nsiebte");
    data.setMetadata(m);
    return data;
}

} // namespace

class tst_SummaryPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AppIdentity::apply();
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QVERIFY(m_dir.isValid());
    }

    void pageProperties()
    {
        const QString path = m_dir.filePath(QStringLiteral("properties.pdf"));
        QVERIFY(writeSummaryPage(pageRecord(), path, 0));
        const QString info = run(QStringLiteral("pdfinfo"), {path});
        QVERIFY(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
        QVERIFY(info.contains(QRegularExpression(
            QStringLiteral("Page size:\\s+595[.\\d]* x 84[12][.\\d]* pts \\(A4\\)"))));
        QVERIFY(
            info.contains(QRegularExpression(QStringLiteral("Title:\\s+Raman-Analyse für 17\\n"))));
        QVERIFY(info.contains(QStringLiteral("RAMAN-Spektrometer 'Corvalinthe'")));
        QVERIFY(!writeSummaryPage(pageRecord(), m_dir.path(), 0));
        QVERIFY(!writeSummaryPage(pageRecord(), path, 1));
    }

    void texts_data()
    {
        QTest::addColumn<bool>("nodate");
        QTest::addColumn<bool>("yearOnly");
        QTest::addColumn<QString>("autoName");
        QTest::addColumn<QString>("manualName");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        const QString quartz = QStringLiteral("Quartz");
        const QString calcite = QStringLiteral("Calcite");
        QTest::newRow("full date, automatic")
            << false << false << quartz << calcite
            << QStringList{QStringLiteral("Funddatum: 01.06.1987"),
                           QStringLiteral("Spektrum automatisch identifiziert"),
                           QStringLiteral("fünfte"),
                           QStringLiteral("Quarz 1 (8.25)"),
                           QStringLiteral("Belichtungszeit: 3s"),
                           QStringLiteral("-60.25°C"),
                           QStringLiteral("532 nm"),
                           QStringLiteral("manuell"),
                           QStringLiteral("ND 0.1"),
                           QStringLiteral("101 µm"),
                           QStringLiteral("20x #1"),
                           QStringLiteral("Gotthard, Schweiz")}
            << QStringList{QStringLiteral("sechste"), QStringLiteral("532.1"),
                           QStringLiteral("50.25"), QStringLiteral("manuell zugeordnet")};
        QTest::newRow("year only, manual")
            << false << true << QString() << calcite
            << QStringList{QStringLiteral("Fundjahr: 1987"),
                           QStringLiteral("Spektrum manuell zugeordnet")}
            << QStringList{QStringLiteral("01.06.1987"), QStringLiteral("Funddatum:"),
                           QStringLiteral("automatisch")};
        QTest::newRow("no date, no method")
            << true << true << QString() << QString() << QStringList{QStringLiteral("Funddatum:")}
            << QStringList{QStringLiteral("1987"), QStringLiteral("Fundjahr:"),
                           QStringLiteral("Spektrum ")};
    }

    void texts()
    {
        QFETCH(bool, nodate);
        QFETCH(bool, yearOnly);
        QFETCH(QString, autoName);
        QFETCH(QString, manualName);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        SaveData data = pageRecord();
        SaveDataMetadata m = data.metadata();
        m.nodate = nodate;
        m.found_date_year_only = yearOnly;
        data.setMetadata(m);
        SaveDataSector s = data.activeSector();
        s.identificationData.mineral_suggested_auto = autoName;
        s.identificationData.mineral_suggested_manual = manualName;
        data.replaceActiveSector(s);

        const QString path = m_dir.filePath(QStringLiteral("texts.pdf"));
        QVERIFY(writeSummaryPage(data, path, 0));
        const QString text
            = run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).simplified();
        for (const QString &t : qAsConst(present))
            QVERIFY2(shows(text, t), qPrintable(t + QStringLiteral(" missing in: ") + text));
        for (const QString &t : qAsConst(absent))
            QVERIFY2(!shows(text, t), qPrintable(t + QStringLiteral(" found in: ") + text));
    }

    void remarkCutTo80Characters()
    {
        SaveData data = pageRecord();
        SaveDataMetadata m = data.metadata();
        // Narrow letters, so that the whole line fits on the page.
        m.mineral_comment = QString(80, QLatin1Char('i')) + QString(20, QLatin1Char('Y'));
        data.setMetadata(m);
        const QString path = m_dir.filePath(QStringLiteral("remark.pdf"));
        QVERIFY(writeSummaryPage(data, path, 0));
        const QString text = run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
        QVERIFY(text.contains(QString(80, QLatin1Char('i'))));
        QVERIFY(!text.contains(QLatin1Char('Y')));
    }

    void positions_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::newRow("date") << QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"))
                              << 3600.0 << 400.0;
        QTest::newRow("Id") << QStringLiteral("Id:") << 2600.0 << 680.0;
        QTest::newRow("Probe") << QStringLiteral("Probe:") << 0.0 << 920.0;
        QTest::newRow("Ident-Nr") << QStringLiteral("Ident-Nr.:") << 1900.0 << 920.0;
        QTest::newRow("Sammlung") << QStringLiteral("Sammlung:") << 3000.0 << 920.0;
        QTest::newRow("Aufnahmeparameter") << QStringLiteral("Aufnahmeparameter:") << 0.0 << 5200.0;
        QTest::newRow("Identifiziertes") << QStringLiteral("Identifiziertes") << 0.0 << 5800.0;
        QTest::newRow("ND-Filter") << QStringLiteral("ND-Filter:") << 2400.0 << -1.0;
        QTest::newRow("Laserwellenlänge") << QStringLiteral("Laserwellenlänge:") << 1000.0 << -1.0;
    }

    void positions()
    {
        QFETCH(QString, word);
        QFETCH(double, x);
        QFETCH(double, y);
        const QString path = m_dir.filePath(QStringLiteral("positions.pdf"));
        if (!QFileInfo::exists(path))
            QVERIFY(writeSummaryPage(pageRecord(), path, 0));
        const QString boxes = run(QStringLiteral("pdftotext"),
                                  {QStringLiteral("-bbox"), path, QStringLiteral("-")});
        const QRegularExpression box(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                                    "xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\">")
                                     + QRegularExpression::escape(word.toHtmlEscaped())
                                     + QStringLiteral("</word>"));
        const QRegularExpressionMatch match = box.match(boxes);
        QVERIFY2(match.hasMatch(), qPrintable(word));
        QVERIFY(qAbs(match.captured(1).toDouble() - (leftMarginPoints + x * pointsPerDot)) < 1.5);
        if (y >= 0) {
            QVERIFY(match.captured(2).toDouble() < y * pointsPerDot);
            QVERIFY(match.captured(3).toDouble() > y * pointsPerDot);
        }
    }

    // Saving numbers the written sectors anew; each page still shows its own sector.
    void savedPageShowsItsSector()
    {
        SaveData data = Fixture::measurement(3);
        data.setActiveSector(1);
        data.replaceActiveSector(SaveDataSector());
        QVERIFY(data.save(m_dir.path(), QStringLiteral("saved")));
        const QString text
            = run(QStringLiteral("pdftotext"),
                  {data.sectorFolderPath(1) + QStringLiteral("summary.pdf"), QStringLiteral("-")});
        QVERIFY(shows(text, QStringLiteral("103 µm")));
        QVERIFY(shows(text, QStringLiteral("Quarz 3")));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_SummaryPage)
#include "tst_summarypage.moc"
