#include "report/generatereportdialog.h"

#include "core/appidentity.h"
#include "measurementfolders.h"
#include "reportfixture.h"

#include <QDesktopServices>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>

namespace {

// Answers file choosers (empty `file`: cancels) and message boxes while `context` lives;
// records the message texts in `shown`.
void answerDialogs(QObject *context, const QString &file, QStringList *shown)
{
    auto *timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, context, [file, shown] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *chooser = qobject_cast<QFileDialog *>(modal)) {
            // Typed; selectFile() races with the chooser's folder scan.
            chooser->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(file);
            file.isEmpty() ? chooser->reject() : static_cast<QDialog *>(chooser)->accept();
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            *shown << box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    timer->start(10);
}

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

    void browseCompiler_data()
    {
        QTest::addColumn<QString>("chosen"); // empty: the chooser is cancelled
        QTest::addColumn<bool>("accepted");
        const QString link = m_dir.filePath(QStringLiteral("tex link"));
        QFile::link(ReportFixture::writeCompiler(m_dir.filePath(QStringLiteral("tex")), ""), link);
        QTest::newRow("link to a program, kept as chosen") << link << true;
        QTest::newRow("not executable")
            << m_dir.filePath(QStringLiteral("m/metadata.json")) << false;
    }

    void browseCompiler()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, accepted);
        GenerateReportDialog dialog(m_data, 0);
        auto *path = childNamed<QLineEdit>(&dialog, "pdflatexPath");
        path->setText(QStringLiteral("/old"));
        QStringList shown;
        answerDialogs(&dialog, chosen, &shown);
        childNamed<QToolButton>(&dialog, "buttonBrowse")->click();
        QCOMPARE(path->text(), accepted ? chosen : QStringLiteral("/old"));
        QCOMPARE(setting("pdflatexExecutablePath"), path->text());
        QCOMPARE(shown.size(), accepted ? 0 : 1);
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
        QStringList shown;
        const QString target = m_dir.filePath(QStringLiteral("report.pdf"));

        auto *cancelling = new QObject(&dialog);
        answerDialogs(cancelling, QString(), &shown);
        ok->click();
        delete cancelling;
        QVERIFY(dialog.isVisible());
        QVERIFY(setting("LastExportedReportPath").isEmpty());

        // The logo fails first; with the built-in logo the empty compiler path does.
        answerDialogs(new QObject(&dialog), target, &shown);
        ok->click();
        logo->clear();
        ok->click();
        QCOMPARE(shown.size(), 2);
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
        ok->click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(target)});
    }

private:
    QTemporaryDir m_dir;
    SaveData m_data;
    QList<QUrl> m_opened;
};

QTEST_MAIN(TestGenerateReportDialog)
#include "tst_generatereportdialog.moc"
