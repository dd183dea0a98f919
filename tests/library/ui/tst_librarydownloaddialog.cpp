#include "libraryserver.h"

#include "library/install/libraryinstaller.h"
#include "library/install/librarysources.h"
#include "library/ui/librarydownloaddialog.h"
#include "modaldialogs.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TestLibraryDownloadDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.listen());
        m_server.addRoute("/minerals.zip", {200, TestZip::build(TestZip::rruffSpectra(2))});
    }
    void init()
    {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    }
    void existingInstallation_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("replaced") << true;
        QTest::newRow("kept") << false;
    }
    void existingInstallation()
    {
        QFETCH(bool, replace);
        const LibraryPath existing = library("rruff-fair-unoriented", "/minerals.zip");
        const QString ownFile = existing.path + QStringLiteral("/own notes.txt");
        QVERIFY(QDir().mkpath(existing.path));
        QVERIFY(QFile(ownFile).open(QIODevice::WriteOnly));

        // Run modally, as the management dialog runs it: OK accepts the licence, the question
        // comes on top of the dialog, and OK closes it once everything is done.
        LibraryDownloadDialog dialog({existing});
        answerNextModal<QMessageBox>([replace](QMessageBox *box) {
            box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        QTimer clicker;
        connect(&clicker, &QTimer::timeout, &dialog, [&dialog] {
            if (QApplication::activeModalWidget() == &dialog && okButton(dialog)->isEnabled())
                okButton(dialog)->click();
        });
        clicker.start(50);
        QTimer::singleShot(30000, &dialog, &QDialog::reject);
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.installer().installed().size(), replace ? 1 : 0);
        QCOMPARE(QFileInfo::exists(ownFile), !replace);
    }

private:
    LibraryPath library(const char *identifier, const char *path) const
    {
        const QVector<LibraryPath> all = LibrarySources::installableLibraries();
        LibraryPath library = *std::find_if(all.cbegin(), all.cend(), [&](const LibraryPath &l) {
            return LibrarySources::identifier(l) == QLatin1String(identifier);
        });
        library.info.insert(QStringLiteral("url"), m_server.url(QLatin1String(path)));
        return library;
    }
    static QPushButton *okButton(const QWidget &dialog)
    {
        return dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))
            ->button(QDialogButtonBox::Ok);
    }

    LibraryServer m_server;
};

QTEST_MAIN(TestLibraryDownloadDialog)
#include "tst_librarydownloaddialog.moc"
