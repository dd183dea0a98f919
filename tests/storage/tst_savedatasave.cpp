// Saving and removing measurements. A failed save keeps the old folder in place or whole in the
// backup area; failures come from files in the way and over-long paths (tests may run as root).
#include "core/appidentity.h"
#include "savedatafixture.h"
#include "storage/backup.h"
#include "testfiles.h"

#include <QStorageInfo>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

namespace {

QStringList dataIoWarnings;
QtMessageHandler testlibHandler = nullptr;

void collectWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && qstrcmp(context.category, "data.io") == 0)
        dataIoWarnings << message;
    testlibHandler(type, context, message);
}

// `path` extended by folders to exactly `length` characters.
QString paddedPath(QString path, int length)
{
    while (path.size() < length) {
        const int left = length - path.size();
        int segment = qMin(200, left - 1);
        if (left - 1 - segment == 1)
            --segment; // a lone separator cannot follow
        path += QLatin1Char('/') + QString(segment, QLatin1Char('d'));
    }
    return path;
}

QString overwrittenToday()
{
    return backupRoot() + S("overwritten/") + QDate::currentDate().toString(Qt::ISODate)
           + QLatin1Char('/');
}

QStringList foldersIn(const QString &path)
{
    return QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

// Pictures pass through JPEG, so only their sizes are kept for comparing.
SaveDataSector withPictureSizes(SaveDataSector s, QList<QSize> &sizes)
{
    IdentificationData &id = s.identificationData;
    for (QImage *image : {&s.withLaserImage, &s.withoutLaserImage, &s.ccdRawImage,
                          &s.rawSpectrumImage, &id.searchResultImage, &id.searchResultTableImage}) {
        sizes << image->size();
        *image = QImage();
    }
    return s;
}

void compareSectors(const SaveDataSector &actual, const SaveDataSector &expected)
{
    QList<QSize> actualSizes, expectedSizes;
    QVERIFY(withPictureSizes(actual, actualSizes) == withPictureSizes(expected, expectedSizes));
    QCOMPARE(actualSizes, expectedSizes);
}

} // namespace

class TestSaveDataSave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AppIdentity::apply();
        testlibHandler = qInstallMessageHandler(collectWarnings);
    }

    void init()
    {
        dataIoWarnings.clear();
        QDir(backupRoot()).removeRecursively();
    }

    void newRecord()
    {
        SaveData data;
        const QString id = data.metadata().unique_ident;
        QCOMPARE(id.size(), 36);
        QVERIFY(SaveData().metadata().unique_ident != id);
        QCOMPARE(data.defaultFolderName(), S("unspecified-unspecified-") + id.left(13));
        data.addSector();
        data.addSector();
        QCOMPARE(data.sectorCount(), 1);
        QTest::ignoreMessage(QtWarningMsg, "sectors list is empty -- not updating anything");
        SaveData().replaceActiveSector(Fixture::sector(1));
        SaveDataSector s;
        s.processedSpectrum = {{1}, {2}};
        s.withoutLaserImage = QImage(1, 1, QImage::Format_RGB32);
        s.identificationData.mineral_suggested_auto = S("Quartz");
        s.rawSpectrum.x = {1, 2};
        QVERIFY(s.isEmpty());
        s.rawSpectrum.y = {1, 2};
        QVERIFY(!s.isEmpty());
    }

    void removeSector_data()
    {
        QTest::addColumn<int>("active");
        QTest::addColumn<int>("removed");
        QTest::addColumn<int>("expectedActive");
        QTest::addColumn<QString>("expectedNames");
        QTest::newRow("before active") << 2 << 0 << 1 << S("B,C");
        QTest::newRow("first while first active") << 0 << 0 << -1 << S("B,C");
        QTest::newRow("after active") << 0 << 2 << 0 << S("A,B");
    }

    void removeSector()
    {
        QFETCH(int, active);
        QFETCH(int, removed);
        QFETCH(int, expectedActive);
        QFETCH(QString, expectedNames);
        SaveData data;
        for (const char *name : {"A", "B", "C"}) {
            SaveDataSector sector;
            sector.identificationData.mineral_final_identification = QLatin1String(name);
            data.addSector();
            data.replaceActiveSector(sector);
        }
        data.setActiveSector(active);
        data.setActiveSector(3); // out of range on both sides: ignored
        data.setActiveSector(-1);
        data.removeSector(removed);
        QVERIFY(data.isModified());
        QCOMPARE(data.activeSectorIndex(), expectedActive);
        QCOMPARE(data.finalIdentifications().join(QLatin1Char(',')), expectedNames);
    }

    void removeFromDisk()
    {
        QVERIFY(!SaveData().removeFromDisk()); // no folder yet
        QTemporaryDir dir;
        const QString folder = dir.filePath(S("measurement"));
        QVERIFY(TestFiles::write(folder + S("/Location1/data.csv"), "1 2\n"));
        QVERIFY(TestFiles::write(folder + S("/metadata.json"), "{}"));
        SaveData data;
        QVERIFY(data.load(folder, Metadata));
        QVERIFY(data.removeFromDisk());
        QVERIFY(!QFileInfo::exists(folder));
        QVERIFY(QFileInfo::exists(dir.path()));
    }

    void roundTrip()
    {
        QTemporaryDir dir;
        SaveData data = Fixture::measurement(3);
        SaveDataSector withoutSpectrum = data.activeSector();
        withoutSpectrum.processedSpectrum = {};
        data.replaceActiveSector(withoutSpectrum);
        const QDateTime created = data.metadata().created_date;
        QVERIFY(data.save(dir.path(), S("m"), {}));
        QVERIFY(!data.isModified());
        QCOMPARE(data.metadata().created_date, created);
        QCOMPARE(QFileInfo(data.sectorFolderPath(2) + S("data.csv")).size(), 0);

        SaveData loaded;
        QVERIFY(loaded.load(data.folderPath(), AllSaveDataParts));
        SaveDataMetadata expected = data.metadata();
        SaveDataMetadata actual = loaded.metadata();
        QCOMPARE(actual.overviewImage.size(), expected.overviewImage.size());
        actual.overviewImage = expected.overviewImage = QImage();
        QVERIFY(actual == expected);
        QCOMPARE(loaded.sectorCount(), 3);
        for (int i = 0; i < 3; ++i)
            compareSectors(loaded.sectors().at(i), data.sectors().at(i));
    }

    void noNonEmptySector()
    {
        SaveData data = Fixture::measurement(1);
        data.replaceActiveSector(SaveDataSector());
        QTemporaryDir dir;
        QVERIFY(data.save(dir.path(), S("m"), {}));
        QVERIFY(foldersIn(data.folderPath()).isEmpty());
    }

    // An old folder is rewritten in place, the old one whole in the backup area.
    void oldFolderSavedInPlaceTwice()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(S("AB 12"));
        Fixture::writeVersion5Folder(folder);
        const auto original = Fixture::snapshot(folder);
        SaveData data;
        QVERIFY(data.load(folder, AllSaveDataParts));
        const SaveData loaded = data;
        QVERIFY(data.save(dir.path(), S("AB 12"), {}));
        QVERIFY(data.save(dir.path(), S("AB 12"), {}));

        const QStringList backups = foldersIn(overwrittenToday());
        QCOMPARE(backups.size(), 2);
        QCOMPARE(int(Fixture::snapshot(overwrittenToday() + backups.at(0)) == original)
                     + int(Fixture::snapshot(overwrittenToday() + backups.at(1)) == original),
                 1);

        SaveData reloaded;
        QVERIFY(reloaded.load(folder, AllSaveDataParts));
        QCOMPARE(reloaded.metadata().save_data_version, CurrentSaveDataVersion);
        QCOMPARE(reloaded.metadata().collection_id, S("AB_12"));
        QCOMPARE(reloaded.metadata().created_date, loaded.metadata().created_date);
        compareSectors(reloaded.sectors().at(0), loaded.sectors().at(0));
    }

    void unsavedCopiesAndTheirRemoval()
    {
        SaveData data = Fixture::measurement(1);
        for (int round = 0; round < 2; ++round) {
            data.backupUnsaved({});
            QThreadPool::globalInstance()->waitForDone();
        }
        QVERIFY(data.isModified() && data.folderPath().isEmpty());
        SaveData copy;
        QVERIFY(copy.load(backupRoot() + S("/unsaved/") + QDate::currentDate().toString(Qt::ISODate)
                              + QLatin1Char('/') + data.defaultFolderName(),
                          AllSaveDataParts));
        QCOMPARE(copy.metadata().unique_ident, data.metadata().unique_ident);
        QCOMPARE(foldersIn(overwrittenToday()).size(), 1);

        const QString direct = backupRoot() + data.defaultFolderName();
        QVERIFY(QDir().mkpath(direct));
        data.removeBackup();
        QVERIFY(QFileInfo::exists(direct));
        QFile(direct + S("/metadata.json")).open(QIODevice::WriteOnly);
        data.removeBackup();
        QVERIFY(!QFileInfo::exists(direct));
    }

    void previousContentSurvives_data()
    {
        QTest::addColumn<QString>("blockedBackupPath");
        QTest::addColumn<int>("folderPathLength"); // 0: short
        QTest::addColumn<bool>("otherDevice");
        QTest::addColumn<QStringList>("failedComponents");

        QTest::newRow("backup area blocked")
            << S("overwritten") << 0 << false << QStringList{S("backup of the previous")};
        QTest::newRow("backup on another device") << QString() << 0 << true << QStringList();
        // Paths of 4096 characters fail; a sector's files are 11 plus their name longer.
        QTest::newRow("table picture")
            << QString() << 4063 << false << QStringList{S("searchresult table.png")};
        QTest::newRow("sector folder")
            << QString() << 4086 << false
            << QStringList{S("Location1 for sector 1"), S("main metadata"), S("overview image")};
    }

    void previousContentSurvives()
    {
        QFETCH(QString, blockedBackupPath);
        QFETCH(int, folderPathLength);
        QFETCH(bool, otherDevice);
        QFETCH(QStringList, failedComponents);
#ifndef Q_OS_LINUX
        if (folderPathLength > 0)
            QSKIP("relies on the path length limit of Linux");
#endif
        QTemporaryDir base(otherDevice ? S("/dev/shm/tst_savedatasafety-XXXXXX")
                                       : QDir::tempPath() + S("/tst-XXXXXX"));
        QDir().mkpath(backupRoot());
        if (!base.isValid()
            || (otherDevice
                && QStorageInfo(base.path()).device() == QStorageInfo(backupRoot()).device()))
            QSKIP("no temporary folder on another device");

        const QString folder = folderPathLength > 0 ? paddedPath(base.path(), folderPathLength)
                                                    : base.filePath(S("m"));
        QVERIFY(TestFiles::write(folder + S("/x"), "{\"save_data_version\": 5}"));
        QVERIFY(TestFiles::write(folder + S("/L/b"), "old"));
        const auto old = Fixture::snapshot(folder);
        if (!blockedBackupPath.isEmpty())
            QVERIFY(TestFiles::write(backupRoot() + blockedBackupPath, "in the way"));

        SaveData data = Fixture::measurement(1);
        const bool saved = data.save(QFileInfo(folder).path(), QFileInfo(folder).fileName(), {});

        QCOMPARE(saved, failedComponents.isEmpty());
        QCOMPARE(data.isModified(), !saved);
        QCOMPARE(data.folderPath(), folder);
        const QStringList failures = dataIoWarnings.filter(S("Save unsuccessful"));
        QCOMPARE(failures.size(), failedComponents.size());
        for (const QString &component : qAsConst(failedComponents))
            QVERIFY2(!failures.filter(component).isEmpty(), qPrintable(component));

        const QStringList backups = foldersIn(overwrittenToday());
        if (backups.isEmpty()) {
            QVERIFY(!saved);
            QVERIFY(Fixture::snapshot(folder) == old);
        } else {
            QCOMPARE(backups.size(), 1);
            QVERIFY(Fixture::snapshot(overwrittenToday() + backups.first()) == old);
        }
    }

    void unusableTargetChangesNothing_data()
    {
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("blockingFile");
        QTest::newRow("file at target") << QString() << S("m") << S("m");
        QTest::newRow("empty name") << QString() << QString() << QString();
        QTest::newRow("dot dot") << S("keep") << S("..") << QString();
    }

    void unusableTargetChangesNothing()
    {
        QFETCH(QString, parent);
        QFETCH(QString, name);
        QFETCH(QString, blockingFile);
        QTemporaryDir base;
        QVERIFY(TestFiles::write(base.filePath(S("keep/x")), "keep"));
        if (!blockingFile.isEmpty())
            QVERIFY(TestFiles::write(base.filePath(blockingFile), "in the way"));
        const auto before = Fixture::snapshot(base.path());

        SaveData data = Fixture::measurement(1);
        QVERIFY(!data.save(QDir(base.path()).filePath(parent), name, {}));
        QVERIFY(data.isModified());
        QVERIFY(Fixture::snapshot(base.path()) == before);
        QVERIFY(!QFileInfo::exists(backupRoot() + S("overwritten")));
    }
};

QTEST_MAIN(TestSaveDataSave)
#include "tst_savedatasave.moc"
