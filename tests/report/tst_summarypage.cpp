// The page is read back through poppler's text extraction, not through our own painter.
#include "core/appidentity.h"
#include "report/summarypage.h"
#include "savedatafixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Ligatures such as "fi" and the micro sign come back in compatibility form only.
QString normalized(const QString &text)
{
    return text.normalized(QString::NormalizationForm_KC);
}

QString run(const char *program, const QStringList &arguments)
{
    QProcess process;
    process.start(QString::fromLatin1(program), arguments);
    process.waitForFinished(30000);
    return normalized(QString::fromUtf8(process.readAllStandardOutput()));
}

QStringList list(const char *joined)
{
    return normalized(QString::fromUtf8(joined)).split(u'|');
}

// Flags: 1 no date, 2 year only, 4 no automatic, 8 no manual identification.
SaveData pageRecord(const QString &comment, int flags = 0)
{
    SaveData data = Fixture::measurement(1);
    SaveDataMetadata m = data.metadata();
    m.mineral_comment = comment;
    m.nodate = flags & 1;
    m.found_date_year_only = flags & 2;
    data.setMetadata(m);
    SaveDataSector s = data.activeSector();
    if (flags & 4)
        s.identificationData.mineral_suggested_auto.clear();
    if (flags & 8)
        s.identificationData.mineral_suggested_manual.clear();
    data.replaceActiveSector(s);
    return data;
}

} // namespace

class tst_SummaryPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { AppIdentity::apply(); }

    void unwritable()
    {
        QVERIFY(!writeSummaryPage(pageRecord(QString()), m_dir.path(), 0)); // a folder
        QVERIFY(
            !writeSummaryPage(pageRecord(QString()), m_dir.filePath(QStringLiteral("x.pdf")), 1));
    }

    void texts_data()
    {
        QTest::addColumn<QString>("comment");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("full date, automatic, seven remark lines")
            << QStringLiteral("erste\nzweite\n\nvierte\nfünfte\nsechste\nsiebte") << 0
            << list("Funddatum: 01.06.1987|Spektrum automatisch identifiziert|fünfte|"
                    "Quarz 1 (8.25)|Belichtungszeit: 3s|-60.25°C|532 nm|manuell|ND 0.1|101 µm|20x "
                    "#1|"
                    "Gotthard, Schweiz")
            << list("sechste|532.1|50.25|manuell zugeordnet");
        // Narrow letters, so that the whole line fits on the page whatever the font size.
        QTest::newRow("year only, manual, long remark")
            << QString(80, u'i') + QString(20, u'Y') << 2 + 4
            << list("Fundjahr: 1987|Spektrum manuell zugeordnet|"
                    "iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii"
                    "ii")
            << list("01.06.1987|Funddatum:|automatisch|Y");
        QTest::newRow("no date, no method")
            << QString() << 1 + 2 + 4 + 8 << list("Funddatum:") << list("1987|Fundjahr:|Spektrum ");
    }

    void texts()
    {
        QFETCH(QString, comment);
        QFETCH(int, flags);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        const QString path = m_dir.filePath(QStringLiteral("texts.pdf"));
        QVERIFY(writeSummaryPage(pageRecord(comment, flags), path, 0));
        const QString info = run("pdfinfo", {path});
        QVERIFY(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
        QVERIFY(
            info.contains(QRegularExpression(QStringLiteral("Title:\\s+Raman-Analyse für 17\\n"))));
        const QString text = run("pdftotext", {path, QStringLiteral("-")}).simplified();
        for (const QString &t : qAsConst(present))
            QVERIFY2(text.contains(t), qPrintable(t + QStringLiteral(" missing in ") + text));
        for (const QString &t : qAsConst(absent))
            QVERIFY2(!text.contains(t), qPrintable(t + QStringLiteral(" found in ") + text));
    }

    // Saving numbers the written sectors anew; each page still shows its own sector.
    void savedPageShowsItsSector()
    {
        SaveData data = Fixture::measurement(3);
        data.setActiveSector(1);
        data.replaceActiveSector(SaveDataSector());
        QVERIFY(data.save(m_dir.path(), QStringLiteral("saved"), writeSummaryPage));
        const QString text
            = run("pdftotext",
                  {data.sectorFolderPath(1) + QStringLiteral("summary.pdf"), QStringLiteral("-")});
        QVERIFY(text.contains(normalized(QStringLiteral("103 µm"))));
        QVERIFY(text.contains(QStringLiteral("Quarz 3")));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_SummaryPage)
#include "tst_summarypage.moc"
