#include "report/generatereportdialog.h"

#include "core/appidentity.h"
#include "reportfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace {

// Answers the next modal dialog of type T; the watch ends with `context`.
template<typename T>
void whenShown(QObject *context, std::function<void(T *)> answer)
{
    auto *timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, context, [timer, answer] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            answer(dialog);
        }
    });
    timer->start(10);
}

void chooseFile(QObject *context, const QString &file, QString *title = nullptr)
{
    whenShown<QFileDialog>(context, [file, title](QFileDialog *dialog) {
        if (title)
            *title = dialog->windowTitle();
        if (file.isEmpty()) {
            dialog->reject();
        } else {
            // Typed, as a user would; selectFile() races with the dialog's folder scan.
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(file);
            static_cast<QDialog *>(dialog)->accept(); // protected in QFileDialog
        }
    });
}

void answerMessage(QObject *context, QString *message)
{
    whenShown<QMessageBox>(context, [message](QMessageBox *box) {
        *message = box->windowTitle() + QLatin1Char('|') + box->text();
        box->button(QMessageBox::Ok)->click();
    });
}

QVariant setting(const char *key)
{
    return QSettings().value(QLatin1String(key));
}

} // namespace

class TestGenerateReportDialog : public QObject
{
    Q_OBJECT

public slots:
    void recordOpenedUrl(const QUrl &url) { m_opened << url; }

private slots:
    void initTestCase();
    void init();
    void formFollowsSettings();
    void browseCompiler_data();
    void browseCompiler();
    void browseTemplateAndLogo_data();
    void browseTemplateAndLogo();
    void cancellingTheTargetKeepsTheDialog();
    void failureShowsTheErrors();
    void successOpensThePdf();

private:
    template<typename T>
    static T *child(QWidget *dialog, const char *name)
    {
        return dialog->findChild<T *>(QLatin1String(name));
    }
    static void clickOk(QDialog *dialog)
    {
        child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
    }

    QTemporaryDir m_dir;
    SaveData m_data;
    QList<QUrl> m_opened;
};

void TestGenerateReportDialog::initTestCase()
{
    AppIdentity::apply();
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QVERIFY(m_data.load(ReportFixture::writeMeasurement(m_dir.filePath(QStringLiteral("m"))),
                        AllSaveDataParts));
}

void TestGenerateReportDialog::init()
{
    QSettings().clear();
}

void TestGenerateReportDialog::formFollowsSettings()
{
    QSettings settings;
    settings.setValue(QStringLiteral("OpenReportAfterGenerating"), false);
    settings.setValue(QStringLiteral("LastReportLogoUsed"), QStringLiteral("/l/logo.png"));
    settings.setValue(QStringLiteral("LastReportTemplateUsed"), QStringLiteral("/t/a.tex"));
    settings.setValue(QStringLiteral("pdflatexExecutablePath"), QStringLiteral("/bin/tex"));
    GenerateReportDialog dialog(m_data, 0);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Bericht generieren"));
    QCOMPARE(child<QCheckBox>(&dialog, "cBoxOpenWhenDone")->isChecked(), false);
    QCOMPARE(child<QLineEdit>(&dialog, "logoPath")->text(), QStringLiteral("/l/logo.png"));
    QCOMPARE(child<QLineEdit>(&dialog, "templatePath")->text(), QStringLiteral("/t/a.tex"));
    QCOMPARE(child<QPlainTextEdit>(&dialog, "errors")->toPlainText(),
             QStringLiteral("Klicken Sie \"Ok\", um das Dokument zu generieren."));
    QCOMPARE(child<QDialogButtonBox>(&dialog, "buttonBox")->button(QDialogButtonBox::Ok)->text(),
             QStringLiteral("Speichern unter ..."));

    auto *compiler = child<QLineEdit>(&dialog, "pdflatexPath");
    QCOMPARE(compiler->text(), QStringLiteral("/bin/tex"));
    QTest::keyClicks(compiler, QStringLiteral("x"));
    QCOMPARE(setting("pdflatexExecutablePath").toString(), QStringLiteral("/bin/texx"));
    child<QCheckBox>(&dialog, "cBoxOpenWhenDone")->click();
    QCOMPARE(setting("OpenReportAfterGenerating").toBool(), true);
    QCOMPARE(GenerateReportDialog(m_data, 0).findChild<QCheckBox *>()->isChecked(), true);
}

void TestGenerateReportDialog::browseCompiler_data()
{
    QTest::addColumn<QString>("chosen"); // empty: the chooser is cancelled
    QTest::addColumn<QString>("expected");
    const QString script = ReportFixture::writeCompiler(m_dir.filePath(QStringLiteral("tex")), "");
    const QString link = m_dir.filePath(QStringLiteral("pdflatex link"));
    QFile::link(script, link);
    const QString plain = m_dir.filePath(QStringLiteral("plain.txt"));
    TestFiles::write(plain, "text");
    QTest::newRow("link to a program, kept as chosen") << link << link;
    QTest::newRow("not executable") << plain << QStringLiteral("/old");
    QTest::newRow("cancelled") << QString() << QStringLiteral("/old");
}

void TestGenerateReportDialog::browseCompiler()
{
    QFETCH(QString, chosen);
    QFETCH(QString, expected);
    GenerateReportDialog dialog(m_data, 0);
    child<QLineEdit>(&dialog, "pdflatexPath")->setText(QStringLiteral("/old"));
    QString title, warning;
    chooseFile(&dialog, chosen, &title);
    answerMessage(&dialog, &warning);
    child<QToolButton>(&dialog, "buttonBrowse")->click();
    QCOMPARE(title, QStringLiteral("TeX-Compiler auswählen"));
    QCOMPARE(child<QLineEdit>(&dialog, "pdflatexPath")->text(), expected);
    QCOMPARE(warning, expected == chosen ? QString()
                                         : QStringLiteral("Kein gültiges Programm|Bitte wählen Sie "
                                                          "eine ausführbare Datei aus."));
}

void TestGenerateReportDialog::browseTemplateAndLogo_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("title");
    const QString file = m_dir.filePath(QStringLiteral("m/metadata.json"));
    QTest::newRow("template") << QStringLiteral("buttonBrowseTemplate")
                              << QStringLiteral("templatePath") << file
                              << QStringLiteral("Template auswählen");
    QTest::newRow("template cancelled: built-in")
        << QStringLiteral("buttonBrowseTemplate") << QStringLiteral("templatePath") << QString()
        << QStringLiteral("Template auswählen");
    QTest::newRow("logo") << QStringLiteral("buttonBrowseLogo") << QStringLiteral("logoPath")
                          << file << QStringLiteral("Logo auswählen");
    QTest::newRow("logo cancelled: built-in")
        << QStringLiteral("buttonBrowseLogo") << QStringLiteral("logoPath") << QString()
        << QStringLiteral("Logo auswählen");
}

void TestGenerateReportDialog::browseTemplateAndLogo()
{
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, chosen);
    QFETCH(QString, title);
    GenerateReportDialog dialog(m_data, 0);
    dialog.findChild<QLineEdit *>(field)->setText(QStringLiteral("/before.tex"));
    QString shownTitle;
    chooseFile(&dialog, chosen, &shownTitle);
    dialog.findChild<QToolButton *>(button)->click();
    QCOMPARE(shownTitle, title);
    QCOMPARE(dialog.findChild<QLineEdit *>(field)->text(), chosen);
}

void TestGenerateReportDialog::cancellingTheTargetKeepsTheDialog()
{
    GenerateReportDialog dialog(m_data, 0);
    dialog.show();
    QString title;
    chooseFile(&dialog, QString(), &title);
    clickOk(&dialog);
    QCOMPARE(title, QStringLiteral("Bericht speichern"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(QSettings().allKeys(), QStringList());
}

void TestGenerateReportDialog::failureShowsTheErrors()
{
    GenerateReportDialog dialog(m_data, 0);
    dialog.show();
    child<QLineEdit>(&dialog, "logoPath")->setText(QStringLiteral("/l.png"));
    const QString target = m_dir.filePath(QStringLiteral("failed.pdf"));
    QString warning;
    chooseFile(&dialog, target);
    answerMessage(&dialog, &warning);
    clickOk(&dialog);
    QCOMPARE(warning, QStringLiteral("Bericht generieren fehlgeschlagen|Das Generieren des "
                                     "Berichts ist fehlgeschlagen."));
    QVERIFY(dialog.isVisible());
    QCOMPARE(child<QPlainTextEdit>(&dialog, "errors")->toPlainText(),
             QStringLiteral("Klicken Sie \"Ok\", um das Dokument zu generieren.\n"
                            "Failed to copy image files to temporary directory"));
    QCOMPARE(setting("LastExportedReportPath").toString(), target);
    QCOMPARE(setting("LastReportLogoUsed").toString(), QStringLiteral("/l.png"));
    QCOMPARE(setting("LastReportTemplateUsed").toString(), QString());

    // Empty compiler path, second attempt in the same dialog.
    child<QLineEdit>(&dialog, "logoPath")->clear();
    chooseFile(&dialog, target);
    answerMessage(&dialog, &warning);
    clickOk(&dialog);
    QVERIFY(child<QPlainTextEdit>(&dialog, "errors")
                ->toPlainText()
                .endsWith(QLatin1String("directory\nThe given TeX compiler is not an executable "
                                        "program")));
    QVERIFY(!QFile::exists(target));
}

void TestGenerateReportDialog::successOpensThePdf()
{
    ReportGenerator::setTexCompilerPath(ReportFixture::writeCompiler(
        m_dir.filePath(QStringLiteral("good tex")), "echo '%PDF' > report.pdf\n"));
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "recordOpenedUrl");
    GenerateReportDialog dialog(m_data, 1);
    dialog.show();
    const QString target = m_dir.filePath(QStringLiteral("written.pdf"));
    chooseFile(&dialog, target);
    clickOk(&dialog);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QVERIFY(QFile::exists(target));
    QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(target)});
}

QTEST_MAIN(TestGenerateReportDialog)
#include "tst_generatereportdialog.moc"
