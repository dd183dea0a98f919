#include "report/ui/generatereportdialog.h"

#include "core/appidentity.h"
#include "measurementfolders.h"
#include "modaldialogs.h"
#include "reportfixture.h"

#include <QDesktopServices>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>

namespace {

QString setting(const char *key)
{
    return QSettings().value(QLatin1String(key)).toString();
}

} // namespace

class TestGenerateReportDialog : public QObject
{
    Q_OBJECT

public slots:
    void recordOpenedUrl(const QUrl &url) { m_opened << url; }

private slots:
    void initTestCase()
    {
        AppIdentity::apply();
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        m_data = ReportFixture::measurement(m_dir.filePath(QStringLiteral("m")));
    }
    void init() { QSettings().clear(); }

    // A link to a program is kept as chosen; a file that is no program is refused.
    void browseCompiler()
    {
        const QString link = m_dir.filePath(QStringLiteral("tex link"));
        QFile::link(ReportFixture::writeCompiler(m_dir.filePath(QStringLiteral("tex")), ""), link);
        GenerateReportDialog dialog(m_data, 0);
        auto *browse = childNamed<QToolButton>(&dialog, "buttonBrowse");
        QStringList shown, boxes;
        clickAnswering(browse, link, &shown, &boxes);
        clickAnswering(browse, m_dir.filePath(QStringLiteral("m/metadata.json")), &shown, &boxes);
        QCOMPARE(childNamed<QLineEdit>(&dialog, "pdflatexPath")->text(), link);
        QCOMPARE(setting("pdflatexExecutablePath"), link);
        QCOMPARE(boxes.size(), 1);
    }

    void targetCancelledThenFailureThenSuccess()
    {
        QSettings().setValue(QStringLiteral("LastReportLogoUsed"), QStringLiteral("/no/logo.png"));
        GenerateReportDialog dialog(m_data, 1);
        dialog.show();
        auto *logo = childNamed<QLineEdit>(&dialog, "logoPath");
        QCOMPARE(logo->text(), QStringLiteral("/no/logo.png"));
        QPushButton *ok
            = childNamed<QDialogButtonBox>(&dialog, "buttonBox")->button(QDialogButtonBox::Ok);
        auto *errors = childNamed<QPlainTextEdit>(&dialog, "errors");
        const QString intro = errors->toPlainText();
        const QString target = m_dir.filePath(QStringLiteral("report.pdf"));
        QStringList shown, boxes;

        clickAnswering(ok, QString(), &shown, &boxes);
        QVERIFY(dialog.isVisible());
        QVERIFY(setting("LastExportedReportPath").isEmpty());

        // The logo fails first; with the built-in logo the empty compiler path does.
        clickAnswering(ok, target, &shown, &boxes);
        logo->clear();
        clickAnswering(ok, target, &shown, &boxes);
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(errors->toPlainText(),
                 intro
                     + QStringLiteral("\nFailed to copy image files to temporary directory\n"
                                      "The given TeX compiler is not an executable program"));
        QCOMPARE(setting("LastExportedReportPath"), target);
        QCOMPARE(setting("LastReportLogoUsed"), QString());

        childNamed<QLineEdit>(&dialog, "pdflatexPath")
            ->setText(ReportFixture::writeCompiler(m_dir.filePath(QStringLiteral("good tex")),
                                                   "echo '%PDF' > report.pdf\n"));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "recordOpenedUrl");
        clickAnswering(ok, target, &shown, &boxes);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(target)});
    }

private:
    QTemporaryDir m_dir;
    SaveData m_data;
    QList<QUrl> m_opened;
};

QTEST_MAIN(TestGenerateReportDialog)
#include "tst_generatereportdialog.moc"
