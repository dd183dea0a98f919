#include "libraryserver.h"
#include "testfiles.h"

#include "core/appidentity.h"
#include "core/librarysettings.h"
#include "core/pathmanager.h"
#include "library/install/libraryinstaller.h"
#include "library/install/librarysources.h"
#include "library/librarycache.h"
#include "library/libraryloader.h"
#include "library/ui/librarydownloaddialog.h"
#include "library/ui/librarymanagementdialog.h"
#include "modaldialogs.h"

#include <QtTest>
#include <QtWidgets>

const char entryJson[] = R"({"category": "%1", "url": "%2", "readable-name": {"de_DE": "%3"}, )"
                         R"("install-handler": "rruff-zip", "preselect": %4})";

class TestLibraryManagementDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AppIdentity::apply();
        QVERIFY(m_server.listen());
        m_server.addRoute("/minerals.zip", {200, TestZip::build(TestZip::rruffSpectra(2))});
        const QString entry = QString::fromUtf8(entryJson);
        const QString url = m_server.url(S("/minerals.zip"));
        const QString sources = S("{\"libraries\": {\"test-minerals\": %1, \"test-pigments\": %2}}")
                                    .arg(entry.arg(S("minerals"), url, S("Minerale"), S("true")),
                                         entry.arg(S("pigments"), url, S("Pigmente"), S("false")));
        m_sources = m_dir.filePath(S("sources.json"));
        QVERIFY(TestFiles::write(m_sources, sources.toUtf8()));
        m_first = m_dir.filePath(S("first"));
        m_second = m_dir.filePath(S("second"));
        const Entries spectra = TestZip::rruffSpectra(5);
        for (int i = 0; i < spectra.size(); ++i)
            QVERIFY(
                TestFiles::write((i < 3 ? m_first : m_second) + QLatin1Char('/') + spectra[i].first,
                                 spectra[i].second));
    }
    void init()
    {
        QSettings().clear();
        LibrarySettings::storeLibraryPaths(
            {{m_first, true, false, {}}, {m_second, false, false, {}}});
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
        QFile::remove(LibraryCache::cachePath(m_first));
        QFile::remove(LibraryCache::cachePath(m_second));
    }
    void preselectsOnlyOnFirstSetUp()
    {
        // Only a first set-up, with nothing configured, suggests the preselected libraries.
        QVERIFY(LibraryManagementDialog(nullptr, nullptr, m_sources)
                    .chosenInstallableLibraries()
                    .isEmpty());
        LibrarySettings::storeLibraryPaths({});
        const auto chosen
            = LibraryManagementDialog(nullptr, nullptr, m_sources).chosenInstallableLibraries();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(LibrarySources::identifier(chosen[0]), S("test-minerals"));
    }
    void applyStoresAndReloadsOnChange()
    {
        auto library = std::make_shared<LibraryLoader>();
        library->setLibraryFolders(
            PathManager::readLibraryPaths(PathManager::instance().defaultLibraryFolder()));
        library->loadNow();
        QCOMPARE(library->library()->count(), 3);

        LibraryManagementDialog dialog(library, nullptr, m_sources);
        QSignalSpy updated(&dialog, &LibraryManagementDialog::update_sig);
        QSignalSpy reloaded(library.get(), &LibraryLoader::libraryChanged);
        dialog.applyAndReload();
        QCOMPARE(updated.count() + reloaded.count(), 0);

        item(dialog, 0, 1)->setCheckState(0, Qt::Checked);
        dialog.applyAndReload();
        QCOMPARE(updated.count(), 1);
        QTRY_COMPARE(reloaded.count(), 1);
        QCOMPARE(library->library()->count(), 5);
        QCOMPARE(storedSettings(),
                 (QVector<QVariantList>{{m_first, true, false}, {m_second, true, false}}));

        dialog.findChild<QTreeWidget *>()->setCurrentItem(item(dialog, 0, 0));
        dialog.findChild<QPushButton *>(S("buttonRemoveLibrary"))->click();
        dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QTRY_COMPARE(library->library()->count(), 2);
        QCOMPARE(storedSettings(), (QVector<QVariantList>{{m_second, true, false}}));
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
        const QString ownFile = existing.path + S("/own notes.txt");
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
        library.info.insert(S("url"), m_server.url(QLatin1String(path)));
        return library;
    }
    static QPushButton *okButton(const QWidget &dialog)
    {
        return dialog.findChild<QDialogButtonBox *>(S("buttonBox"))->button(QDialogButtonBox::Ok);
    }

    static QTreeWidgetItem *item(const QDialog &dialog, int group, int row)
    {
        return dialog.findChild<QTreeWidget *>()->topLevelItem(group)->child(row);
    }
    static QVector<QVariantList> storedSettings()
    {
        QVector<QVariantList> stored;
        for (const LibraryPath &path : LibrarySettings::storedLibraryPaths())
            stored.append({path.path, path.enabled, path.system});
        return stored;
    }

    QTemporaryDir m_dir;
    LibraryServer m_server;
    QString m_sources, m_first, m_second;
};

QTEST_MAIN(TestLibraryManagementDialog)
#include "tst_librarymanagementdialog.moc"
