#include "libraryserver.h"
#include "testfiles.h"

#include "core/appidentity.h"
#include "library/librarycache.h"
#include "library/librarydownloaddialog.h"
#include "library/librarymanagementdialog.h"
#include "library/librarysettings.h"
#include "library/librarysources.h"
#include "library/pathmanager.h"
#include "library/rlibrary.h"

#include <QDialogButtonBox>
#include <QJsonArray>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

class TestLibraryManagementDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void presentsConfiguredAndInstallable_data();
    void presentsConfiguredAndInstallable();
    void applyStoresAndReloadsOnChange();
    void caches();
    void chosenLibrariesAreInstalled();

private:
    QStringList treeRows(const LibraryManagementDialog &dialog) const;
    QTreeWidgetItem *item(const LibraryManagementDialog &dialog, int group, int row) const;
    void storeTwoFolders();
    QVector<QVariantList> storedSettings() const;

    QTemporaryDir m_dir;
    LibraryServer m_server;
    QString m_sources;
    QString m_first, m_second;
};

void TestLibraryManagementDialog::initTestCase()
{
    AppIdentity::apply();
    QVERIFY(m_server.listen());
    m_server.addRoute("/minerals.zip",
                      {200, TestZip::build(TestZip::rruffSpectra(2)), {}, -1, false});
    const QJsonObject vendor{{QStringLiteral("website"), QStringLiteral("https://example.org/")},
                             {QStringLiteral("license-terms"), QStringLiteral("Cite us.")}};
    auto entry = [this](const char *category, const char *name, bool preselect) {
        QJsonObject library{{QStringLiteral("category"), QLatin1String(category)},
                            {QStringLiteral("url"), m_server.url(QStringLiteral("/minerals.zip"))},
                            {QStringLiteral("readable-name"),
                             QJsonObject{{QStringLiteral("de_DE"), QLatin1String(name)}}},
                            {QStringLiteral("install-handler"), QStringLiteral("rruff-zip")},
                            {QStringLiteral("vendor-id"), QStringLiteral("example.org")}};
        if (preselect)
            library.insert(QStringLiteral("preselect"), true);
        return library;
    };
    m_sources = m_dir.filePath(QStringLiteral("sources.json"));
    QVERIFY(TestFiles::writeJson(
        m_sources,
        {{QStringLiteral("libraries"),
          QJsonObject{{QStringLiteral("test-minerals"), entry("minerals", "Testminerale", true)},
                      {QStringLiteral("test-pigments"), entry("pigments", "Testpigmente", false)}}},
         {QStringLiteral("vendor-info"), QJsonObject{{QStringLiteral("example.org"), vendor}}}}));
    m_first = m_dir.filePath(QStringLiteral("first"));
    m_second = m_dir.filePath(QStringLiteral("second"));
    const QString rruff = TestFiles::testDataDir() + QStringLiteral("/rruff/library");
    QVERIFY(QDir().mkpath(m_first));
    QVERIFY(QDir().mkpath(m_second));
    const QStringList files
        = QDir(rruff).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (int i = 0; i < 5; ++i) {
        QVERIFY(QFile::copy(rruff + QLatin1Char('/') + files.at(i),
                            (i < 3 ? m_first : m_second) + QLatin1Char('/') + files.at(i)));
    }
}

void TestLibraryManagementDialog::init()
{
    QSettings().clear();
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    QFile::remove(LibraryCache::cachePath(m_first));
    QFile::remove(LibraryCache::cachePath(m_second));
}

void TestLibraryManagementDialog::storeTwoFolders()
{
    LibrarySettings::storeLibraryPaths(
        {LibraryPath{m_first, true, false, {}}, LibraryPath{m_second, false, false, {}}});
}

QVector<QVariantList> TestLibraryManagementDialog::storedSettings() const
{
    QVector<QVariantList> stored;
    QSettings settings;
    const int count = settings.beginReadArray(QStringLiteral("Paths/LibraryPaths"));
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        stored.append({settings.value(QStringLiteral("Path")).toString(),
                       settings.value(QStringLiteral("Enabled")).toBool(),
                       settings.value(QStringLiteral("System")).toBool()});
    }
    return stored;
}

// "group / name / status / checked" for every entry.
QStringList TestLibraryManagementDialog::treeRows(const LibraryManagementDialog &dialog) const
{
    QStringList rows;
    const auto *tree = dialog.findChild<QTreeWidget *>(QStringLiteral("treeLibraries"));
    for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        const QTreeWidgetItem *group = tree->topLevelItem(g);
        rows << group->text(0);
        for (int i = 0; i < group->childCount(); ++i) {
            const QTreeWidgetItem *entry = group->child(i);
            rows << QStringLiteral("  %1 / %2 / %3")
                        .arg(entry->text(0), entry->text(1),
                             entry->checkState(0) == Qt::Checked ? QStringLiteral("x")
                                                                 : QStringLiteral(" "));
        }
    }
    return rows;
}

QTreeWidgetItem *TestLibraryManagementDialog::item(const LibraryManagementDialog &dialog, int group,
                                                   int row) const
{
    return dialog.findChild<QTreeWidget *>(QStringLiteral("treeLibraries"))
        ->topLevelItem(group)
        ->child(row);
}

void TestLibraryManagementDialog::presentsConfiguredAndInstallable_data()
{
    QTest::addColumn<bool>("configured");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("first set-up preselects")
        << false
        << QStringList{QStringLiteral("Eingerichtete Bibliotheken"),
                       QStringLiteral("Mineralien zum Herunterladen"),
                       QStringLiteral("  Testminerale / Nicht installiert / x"),
                       QStringLiteral("Pigmente zum Herunterladen"),
                       QStringLiteral("  Testpigmente / Nicht installiert /  ")};
    QTest::newRow("configured folders")
        << true
        << QStringList{QStringLiteral("Eingerichtete Bibliotheken"),
                       QStringLiteral("  first / Kein Cache / x"),
                       QStringLiteral("  second / Kein Cache /  "),
                       QStringLiteral("Mineralien zum Herunterladen"),
                       QStringLiteral("  Testminerale / Nicht installiert /  "),
                       QStringLiteral("Pigmente zum Herunterladen"),
                       QStringLiteral("  Testpigmente / Nicht installiert /  ")};
}

void TestLibraryManagementDialog::presentsConfiguredAndInstallable()
{
    QFETCH(bool, configured);
    QFETCH(QStringList, rows);
    if (configured)
        storeTwoFolders();
    const LibraryManagementDialog dialog(nullptr, nullptr, m_sources);
    QCOMPARE(treeRows(dialog), rows);
    QCOMPARE(dialog.chosenInstallableLibraries().size(), configured ? 0 : 1);
}

void TestLibraryManagementDialog::applyStoresAndReloadsOnChange()
{
    storeTwoFolders();
    auto library = std::make_shared<RLibrary>();
    library->setLibraryFolders(
        PathManager::readLibraryPaths(PathManager::instance().defaultLibraryFolder()));
    library->readLibraryFromDisk();
    QCOMPARE(library->count(), 3);

    LibraryManagementDialog dialog(library, nullptr, m_sources);
    QSignalSpy updated(&dialog, &LibraryManagementDialog::update_sig);
    QSignalSpy invalidated(library.get(), &RLibrary::dataAboutToBeInvalidated);
    dialog.applyAndReload();
    QCOMPARE(updated.count(), 0);
    QCOMPARE(invalidated.count(), 0);

    item(dialog, 0, 1)->setCheckState(0, Qt::Checked);
    dialog.applyAndReload();
    QCOMPARE(updated.count(), 1);
    QCOMPARE(invalidated.count(), 1);
    QCOMPARE(library->count(), 5);
    QCOMPARE(storedSettings(),
             (QVector<QVariantList>{{m_first, true, false}, {m_second, true, false}}));

    auto *remove = dialog.findChild<QPushButton *>(QStringLiteral("buttonRemoveLibrary"));
    QVERIFY(!remove->isEnabled());
    dialog.findChild<QTreeWidget *>()->setCurrentItem(item(dialog, 0, 0));
    QVERIFY(remove->isEnabled());
    remove->click();
    dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(library->count(), 2);
    QCOMPARE(storedSettings(), (QVector<QVariantList>{{m_second, true, false}}));
}

void TestLibraryManagementDialog::caches()
{
    storeTwoFolders();
    QVERIFY(LibraryCache::ensureCache(m_first));
    QVERIFY(LibraryCache::ensureCache(m_second));
    auto library = std::make_shared<RLibrary>();
    LibraryManagementDialog dialog(library, nullptr, m_sources);
    dialog.addLibraryFolder(m_first + QStringLiteral("/"));
    QCOMPARE(dialog.configuredLibraries().size(), 2);

    auto *tree = dialog.findChild<QTreeWidget *>();
    tree->setCurrentItem(item(dialog, 0, 1));
    dialog.findChild<QPushButton *>(QStringLiteral("buttonClearCache"))->click();
    QVERIFY(!QFileInfo::exists(LibraryCache::cachePath(m_second)));
    QCOMPARE(item(dialog, 0, 1)->text(1), QStringLiteral("Kein Cache"));

    for (const bool deleteAll : {false, true}) {
        QTimer::singleShot(0, this, [deleteAll]() {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            for (QAbstractButton *button : box->buttons()) {
                if (deleteAll ? button->text() == QStringLiteral("Alle löschen")
                              : box->standardButton(button) == QMessageBox::Cancel)
                    button->click();
            }
        });
        dialog.clearAllCaches();
        QCOMPARE(QFileInfo::exists(LibraryCache::cachePath(m_first)), !deleteAll);
    }
    // Cleared caches are rebuilt by the reload that applying starts.
    QSignalSpy updated(&dialog, &LibraryManagementDialog::update_sig);
    dialog.applyAndReload();
    QCOMPARE(updated.count(), 1);
    QVERIFY(QFileInfo::exists(LibraryCache::cachePath(m_first)));
    QCOMPARE(library->count(), 3);
}

void TestLibraryManagementDialog::chosenLibrariesAreInstalled()
{
    auto library = std::make_shared<RLibrary>();
    LibraryManagementDialog dialog(library, nullptr, m_sources);
    const QString installed = LibrarySources::installFolder(QStringLiteral("test-minerals"));
    QVector<LibraryPath> handedOver;
    // Accepts the licence, then closes the download dialog once everything is done.
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&]() {
        auto *download = qobject_cast<LibraryDownloadDialog *>(QApplication::activeModalWidget());
        if (!download)
            return;
        if (handedOver.isEmpty())
            handedOver = download->libraries();
        QPushButton *ok = download->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        if (ok->isEnabled())
            ok->click();
    });
    poll.start(20);
    dialog.applyAndReload();
    QCOMPARE(handedOver.size(), 1);
    QCOMPARE(handedOver.first().path, installed);
    QCOMPARE(storedSettings(), (QVector<QVariantList>{{installed, true, false}}));
    QCOMPARE(library->count(), 2);
    QCOMPARE(library->info(0).library, QStringLiteral("test-minerals"));
}

QTEST_MAIN(TestLibraryManagementDialog)
#include "tst_librarymanagementdialog.moc"
