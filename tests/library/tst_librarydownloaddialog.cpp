#include "libraryserver.h"

#include "library/librarydownloaddialog.h"
#include "library/libraryinstaller.h"
#include "library/librarysources.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QTextEdit>
#include <QtTest>

class TestLibraryDownloadDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void licenceThenProgressThenSummary();
    void existingInstallation_data();
    void existingInstallation();

private:
    LibraryPath library(const QString &identifier, const QString &path);
    template<typename T>
    static T *child(const QWidget &dialog, const char *name)
    {
        return dialog.findChild<T *>(QLatin1String(name));
    }

    LibraryServer m_server;
    QVector<LibraryPath> m_builtIn;
};

void TestLibraryDownloadDialog::initTestCase()
{
    QVERIFY(m_server.listen());
    m_server.addRoute("/minerals.zip",
                      {200, TestZip::build(TestZip::rruffSpectra(2)), {}, -1, false});
    m_builtIn = LibrarySources::installableLibraries();
}

void TestLibraryDownloadDialog::init()
{
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
}

LibraryPath TestLibraryDownloadDialog::library(const QString &identifier, const QString &path)
{
    // The built-in description with the address of the test server.
    auto found = std::find_if(m_builtIn.cbegin(), m_builtIn.cend(), [&](const LibraryPath &l) {
        return LibrarySources::identifier(l) == identifier;
    });
    LibraryPath library = found != m_builtIn.cend() ? *found : LibraryPath();
    library.info.insert(QStringLiteral("url"), m_server.url(path));
    return library;
}

void TestLibraryDownloadDialog::licenceThenProgressThenSummary()
{
    const LibraryPath good
        = library(QStringLiteral("rruff-excellent-unoriented"), QStringLiteral("/minerals.zip"));
    const LibraryPath missing
        = library(QStringLiteral("rruff-poor-oriented"), QStringLiteral("/missing.zip"));
    LibraryDownloadDialog dialog({good, missing});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Raman-Bibliotheken herunterladen"));
    auto *pages = child<QStackedWidget>(dialog, "stackedWidget");
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("pageLicence"));
    QPushButton *ok = child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok);
    QCOMPARE(ok->text(), QStringLiteral("Akzeptieren und herunterladen"));
    // One vendor, named once although both libraries come from it.
    const QString licence = child<QTextBrowser>(dialog, "textLicence")->toPlainText();
    QCOMPARE(licence.count(QStringLiteral("Lizenztext: ")), 1);
    QVERIFY(licence.contains(QStringLiteral("Von: https://rruff.info/")));

    ok->click();
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("pageProgress"));
    ok = child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok);
    QVERIFY(!ok->isEnabled());
    QCOMPARE(child<QLabel>(dialog, "labelInstallStatus")->text(),
             QStringLiteral("Warte auf Download ..."));
    QTRY_VERIFY_WITH_TIMEOUT(ok->isEnabled(), 30000);

    QCOMPARE(child<QLabel>(dialog, "labelDownloadStatus")->text(), QStringLiteral("Fertig."));
    QCOMPARE(child<QLabel>(dialog, "labelInstallStatus")->text(), QStringLiteral("Fertig."));
    auto *bar = child<QProgressBar>(dialog, "progressBar");
    QCOMPARE(bar->maximum(), 4);
    QCOMPARE(bar->text(), QStringLiteral("Fertig: 4 von 4"));
    auto *summary = child<QLabel>(dialog, "labelSummary");
    QVERIFY(!summary->isHidden());
    QCOMPARE(summary->text(),
             QStringLiteral("Die Installation von 1 Bibliotheken ist fehlgeschlagen (1 erfolgreich "
                            "installiert)<br>Klicken Sie 'Details' für weitere Informationen."));

    auto *details = child<QTextEdit>(dialog, "textDetails");
    QVERIFY(details->isHidden());
    child<QPushButton>(dialog, "buttonDetails")->click();
    QVERIFY(!details->isHidden());
    const QStringList lines = details->toPlainText().split(QLatin1Char('\n'));
    QVERIFY(lines.contains(
        QStringLiteral("[success] Successfully installed: Exzellent ohne Polarisation")));
    QVERIFY(lines.contains(
        QStringLiteral("[info] Download finished for target path '%1'").arg(good.path)));
    QVERIFY(std::any_of(lines.cbegin(), lines.cend(), [&missing](const QString &line) {
        return line.startsWith(
            QStringLiteral("[error] download failed for path '%1': ").arg(missing.path));
    }));
    QVERIFY(details->toHtml().contains(QStringLiteral("color:#8b0000")));

    ok->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.isHidden());
}

void TestLibraryDownloadDialog::existingInstallation_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("replaced") << true;
    QTest::newRow("kept") << false;
}

void TestLibraryDownloadDialog::existingInstallation()
{
    QFETCH(bool, replace);
    const LibraryPath existing
        = library(QStringLiteral("rruff-fair-unoriented"), QStringLiteral("/minerals.zip"));
    const QString marker = existing.path + QStringLiteral("/own notes.txt");
    QVERIFY(QDir().mkpath(existing.path));
    QFile(marker).open(QIODevice::WriteOnly);

    LibraryDownloadDialog dialog({existing});
    QString question;
    QTimer::singleShot(0, this, [&]() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        question = box->windowTitle() + QLatin1Char('|') + box->text();
        box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(question,
             QStringLiteral("Bibliothek schon vorhanden|Diese Bibliothek war schon einmal "
                            "installiert, soll die bestehende Installation in '%1' "
                            "ersetzt werden?")
                 .arg(QDir::toNativeSeparators(existing.path)));
    QPushButton *ok = child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok);
    QTRY_VERIFY_WITH_TIMEOUT(ok->isEnabled(), 30000);
    QCOMPARE(dialog.libraries().size(), replace ? 1 : 0);
    QCOMPARE(dialog.installer().installed().size(), replace ? 1 : 0);
    QCOMPARE(QFileInfo::exists(marker), !replace);
}

QTEST_MAIN(TestLibraryDownloadDialog)
#include "tst_librarydownloaddialog.moc"
