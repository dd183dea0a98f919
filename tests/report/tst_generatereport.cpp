#include "core/appidentity.h"
#include "measurementfolders.h"
#include "modaldialogs.h"
#include "report/summarypage.h"
#include "report/ui/generatereportdialog.h"
#include "reportfixture.h"
#include "savedatafixture.h"
#include "testfiles.h"

#include <QtTest>
#include <QtWidgets>

namespace {

using ReportFixture::list;
using ReportFixture::normalized;
using ReportFixture::toolText;

// Columns [first, last) of the table that a poppler tool lists (object numbers differ between
// documents, names and sizes do not).
QStringList listed(const char *tool, const QStringList &arguments, int first, int last)
{
    QStringList rows = toolText(tool, arguments).split(u'\n', Qt::SkipEmptyParts).mid(2);
    for (QString &row : rows)
        row = row.split(u' ', Qt::SkipEmptyParts).mid(first, last - first).join(u' ');
    return rows;
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

QString setting(const char *key)
{
    return QSettings().value(QLatin1String(key)).toString();
}

} // namespace

// The summary page written with each measuring point, and the dialog that generates a report.
class TestGenerateReport : public QObject
{
    Q_OBJECT

private slots:
    void noSuchSector() { QVERIFY(summaryPagePdf(pageRecord(QString()), 1).isEmpty()); }

    // The page is read back through poppler's text extraction, not through our own painter.
    void texts_data()
    {
        QTest::addColumn<QString>("comment");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("full date, automatic, seven remark lines")
            << S("erste\nzweite\n\nvierte\nfünfte\nsechste\nsiebte") << 0
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
        const QString path = m_dir.filePath(S("texts.pdf"));
        QVERIFY(TestFiles::write(path, summaryPagePdf(pageRecord(comment, flags), 0)));
        const QString info = toolText("pdfinfo", {path});
        QVERIFY(info.contains(QRegularExpression(S("Pages:\\s+1\\n"))));
        QVERIFY(info.contains(QRegularExpression(S("Title:\\s+Raman-Analyse für 17\\n"))));
        const QString text = toolText("pdftotext", {path, S("-")}).simplified();
        for (const QString &t : qAsConst(present))
            QVERIFY2(text.contains(t), qPrintable(t + S(" missing in ") + text));
        for (const QString &t : qAsConst(absent))
            QVERIFY2(!text.contains(t), qPrintable(t + S(" found in ") + text));
    }

    // Saving numbers the written sectors anew; each page still shows its own sector. Pages drawn
    // together are split into documents of one page each, with their own pictures and fonts.
    void savedPageShowsItsSector()
    {
        SaveData data = Fixture::measurement(3);
        data.setActiveSector(1);
        data.replaceActiveSector(SaveDataSector());
        QVERIFY(data.save(m_dir.path(), S("saved"), summaryPagesPdf));
        const QString text
            = toolText("pdftotext", {data.sectorFolderPath(1) + S("summary.pdf"), S("-")});
        QVERIFY(text.contains(normalized(S("103 µm"))));
        QVERIFY(text.contains(S("Quarz 3")));

        // The same as each page drawn alone: texts, fonts, pictures, and nothing of the other.
        const QVector<QByteArray> pages = summaryPagesPdf(data, {2, 0});
        QCOMPARE(pages.size(), 2);
        for (const int k : {0, 1}) {
            const QString path = m_dir.filePath(S("page%1.pdf").arg(k));
            const QString alone = m_dir.filePath(S("alone%1.pdf").arg(k));
            QVERIFY(TestFiles::write(path, pages.at(k)));
            QVERIFY(TestFiles::write(alone, summaryPagePdf(data, 2 - 2 * k)));
            QProcess info;
            info.start(S("pdfinfo"), {path});
            QVERIFY(info.waitForFinished(30000));
            QCOMPARE(info.readAllStandardError(), QByteArray()); // no repaired cross-references
            QCOMPARE(toolText("pdftotext", {path, S("-")}), toolText("pdftotext", {alone, S("-")}));
            QCOMPARE(listed("pdffonts", {path}, 0, 7), listed("pdffonts", {alone}, 0, 7));
            QCOMPARE(listed("pdfimages", {S("-list"), path}, 2, 9),
                     listed("pdfimages", {S("-list"), alone}, 2, 9));
        }
    }

    void initTestCase()
    {
        AppIdentity::apply();
        QLoggingCategory::setFilterRules(S("*.debug=false"));
        m_data = ReportFixture::measurement(m_dir.filePath(S("m")));
    }
    void init() { QSettings().clear(); }

    // A link to a program is kept as chosen; a file that is no program is refused.
    void browseCompiler()
    {
        const QString link = m_dir.filePath(S("tex link"));
        QFile::link(ReportFixture::writeCompiler(m_dir.filePath(S("tex")), ""), link);
        GenerateReportDialog dialog(m_data, 0);
        auto *browse = childNamed<QToolButton>(&dialog, "buttonBrowse");
        QStringList boxes;
        boxes << clickAnswering(browse, link);
        boxes << clickAnswering(browse, m_dir.filePath(S("m/metadata.json")));
        QCOMPARE(childNamed<QLineEdit>(&dialog, "pdflatexPath")->text(), link);
        QCOMPARE(setting("pdflatexExecutablePath"), link);
        QCOMPARE(boxes.size(), 1);
    }

    void targetCancelledThenFailureThenSuccess()
    {
        QSettings().setValue(S("LastReportLogoUsed"), S("/no/logo.png"));
        GenerateReportDialog dialog(m_data, 1);
        dialog.show();
        auto *logo = childNamed<QLineEdit>(&dialog, "logoPath");
        QPushButton *ok
            = childNamed<QDialogButtonBox>(&dialog, "buttonBox")->button(QDialogButtonBox::Ok);
        auto *errors = childNamed<QPlainTextEdit>(&dialog, "errors");
        const QString intro = errors->toPlainText();
        const QString target = m_dir.filePath(S("report.pdf"));
        QStringList boxes;

        boxes << clickAnswering(ok, QString());
        QVERIFY(dialog.isVisible());
        QVERIFY(setting("LastExportedReportPath").isEmpty());

        // The logo fails first; with the built-in logo the empty compiler path does.
        boxes << clickAnswering(ok, target);
        logo->clear();
        boxes << clickAnswering(ok, target);
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(errors->toPlainText(),
                 intro
                     + S("\nFailed to copy image files to temporary directory\n"
                         "The given TeX compiler is not an executable program"));
        QCOMPARE(setting("LastExportedReportPath"), target);
        QCOMPARE(setting("LastReportLogoUsed"), QString());

        childNamed<QLineEdit>(&dialog, "pdflatexPath")
            ->setText(ReportFixture::writeCompiler(m_dir.filePath(S("good tex")),
                                                   "echo '%PDF' > report.pdf\n"));
        // The desktop's opener gets the report. When it finds no viewer, or there is no opener,
        // the report is still written and the user told where it is.
        QTemporaryDir bin;
        const QString opened = bin.filePath(S("opened"));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.path().toLocal8Bit());
        ReportFixture::writeCompiler(bin.filePath(S("xdg-open")),
                                     "echo \"$1\" > '" + opened.toLocal8Bit() + "'\n");
        boxes = clickAnswering(ok, target);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const auto openedUrl = [&opened] {
            QFile file(opened);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QTRY_COMPARE(openedUrl(), QUrl::fromLocalFile(target).toEncoded() + '\n');
        QVERIFY(boxes.isEmpty());

        ReportFixture::writeCompiler(bin.filePath(S("xdg-open")), "exit 4\n");
        dialog.show();
        boxes << clickAnswering(ok, m_dir.filePath(S("second.pdf")));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QMessageBox *told = nullptr;
        QTRY_VERIFY((told = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())));
        QCOMPARE(told->windowTitle(), S("Datei nicht geöffnet"));
        QVERIFY(told->text().contains(m_dir.filePath(S("second.pdf"))));
        told->accept();

        QFile::remove(bin.filePath(S("xdg-open")));
        dialog.show();
        boxes << clickAnswering(ok, m_dir.filePath(S("third.pdf")));
        qputenv("PATH", path);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(boxes, QStringList{S("Datei nicht geöffnet")});
    }

    // The chooser starts beside the measurement, named after the point's mineral.
    void targetSuggested()
    {
        GenerateReportDialog dialog(m_data, 1);
        const QString suggested = proposedFile([&dialog] {
            childNamed<QDialogButtonBox>(&dialog, "buttonBox")
                ->button(QDialogButtonBox::Ok)
                ->click();
        });
        QCOMPARE(QFileInfo(suggested).absolutePath(),
                 QFileInfo(m_data.folderPath()).absoluteFilePath());
        QCOMPARE(QFileInfo(suggested).fileName(), S("Calcit Messpunkt 2.pdf"));
    }

private:
    QTemporaryDir m_dir;
    SaveData m_data;
};

QTEST_MAIN(TestGenerateReport)
#include "tst_generatereport.moc"
