// Loading every format version, saving and removing measurements. A failed save keeps the old
// folder in place and the record as it was; failures come from files in the way (tests may run as
// root; tst_upgradefaults fails each system call in turn).
#include "core/appidentity.h"
#include "savedatafixture.h"
#include "storage/backup.h"
#include "storage/savedata.h"
#include "testfiles.h"

#include <QtTest>

namespace {

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

void writeImage(const QString &path, int width, int height)
{
    QDir().mkpath(QFileInfo(path).path());
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(path));
}

QJsonObject sectorJson(const QString &finalIdentification = QString())
{
    return {{S("exposure_objective"), S("50x")},
            {S("exposure_data"),
             QJsonObject{{S("exp_time"), 1500}, {S("objective_focal_length_camera"), 180.5}}},
            {S("identification_data"),
             QJsonObject{{S("mineral_final_identification"), finalIdentification},
                         {S("objective_focal_length_camera"), 42.0}}}};
}

const QByteArray threePoints("100 1\n101 2\n102 3\n");

} // namespace

class TestSaveData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { AppIdentity::apply(); }

    void init() { QDir(backupRoot()).removeRecursively(); }

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
        QVERIFY(!QFileInfo::exists(data.sectorFolderPath(2) + S("data.csv"))); // nothing to write

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

    // Saving again after a change of the metadata copies the files (JPEG would not survive
    // decoding and encoding byte for byte); a folder or file missing on disk stays missing.
    void resaveCopiesFilesAndKeepsGaps()
    {
        QTemporaryDir dir;
        SaveData first = Fixture::measurement(2);
        QVERIFY(first.save(dir.path(), S("m"), {}));
        const QString folder = dir.filePath(S("m"));
        QVERIFY(QDir(folder + S("/Location1")).removeRecursively());
        QVERIFY(QFile::remove(folder + S("/Location2/data.csv")));
        const auto before = Fixture::snapshot(folder);

        SaveData data;
        QVERIFY(data.load(folder, AllSaveDataParts));
        QVERIFY(data.sectors().at(0).missingOnDisk);
        data.setMetadata(Fixture::ownedBy(data.metadata(), S("Neu")));
        QVERIFY(data.save(dir.path(), S("m"), {}));

        auto after = Fixture::snapshot(folder);
        QVERIFY(after.take(S("/metadata.json")) != before.value(S("/metadata.json")));
        auto expected = before;
        expected.remove(S("/metadata.json"));
        QCOMPARE(after.keys(), expected.keys());
        QVERIFY(after == expected);
        SaveData reloaded;
        QVERIFY(reloaded.load(folder, Metadata));
        QCOMPARE(reloaded.metadata().owner, S("Neu"));
        QCOMPARE(reloaded.finalIdentifications(), (QStringList{S("Quarz 1"), S("Quarz 2")}));
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

    // Where no second name for a file can be made, the files are copied.
    void backupOnAnotherDevice()
    {
        QTemporaryDir base(S("/dev/shm/tst_savedatasafety-XXXXXX"));
        QDir().mkpath(backupRoot());
        if (!base.isValid()
            || QStorageInfo(base.path()).device() == QStorageInfo(backupRoot()).device())
            QSKIP("no temporary folder on another device");
        const QString folder = base.filePath(S("m"));
        QVERIFY(TestFiles::write(folder + S("/x"), "{\"save_data_version\": 5}"));
        QVERIFY(TestFiles::write(folder + S("/L/b"), "old"));
        const auto old = Fixture::snapshot(folder);

        SaveData data = Fixture::measurement(1);
        QVERIFY2(data.save(base.path(), S("m"), {}), qPrintable(data.lastSaveError()));
        QCOMPARE(data.folderPath(), folder);
        QCOMPARE(foldersIn(base.path()), QStringList{S("m")});
        const QStringList backups = foldersIn(overwrittenToday());
        QCOMPARE(backups.size(), 1);
        QVERIFY(Fixture::snapshot(overwrittenToday() + backups.first()) == old);
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

    void fileNamesByVersion_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QStringList>("files"); // written into Location1
        // with laser, without laser, overview, processed, raw, CCD, calibration lines
        QTest::addColumn<QString>("loaded");

        const auto names = [](const char *label, const char *picture, const char *data) {
            const QString p = QLatin1String(picture), d = QLatin1String(data);
            return QStringList{QLatin1String(label) + S("with_laser.") + p,
                               S("without_laser.") + p,
                               S("../Overview.") + p,
                               d + S(".csv"),
                               d + S("_raw.csv"),
                               d + S("_ccd_raw.raw"),
                               S("calibration_lines.txt")};
        };
        const QStringList old = names("AB_", "png", "AB"), middle = names("AB_", "jpg", "AB"),
                          current = names("", "jpg", "data");
        QTest::newRow("v2 ignores raw spectrum") << 2 << old << S("1111000");
        QTest::newRow("v4 reads CCD frame") << 4 << middle << S("1111110");
        QTest::newRow("v8 new names") << 8 << current << S("1111111");
        QTest::newRow("v11 ignores old names") << 11 << middle << S("0110001");
    }

    void fileNamesByVersion()
    {
        QFETCH(int, version);
        QFETCH(QStringList, files);
        QFETCH(QString, loaded);

        const QString path = folder({{S("save_data_version"), version},
                                     {S("owner_ident_label"), S("AB")},
                                     {S("sectors"), QJsonArray{sectorJson(S("Quarz"))}}});
        for (const QString &name : files) {
            const QString file = path + S("/Location1/") + name;
            if (name.endsWith(QLatin1String(".png")) || name.endsWith(QLatin1String(".jpg")))
                writeImage(file, 16, 12);
            else if (name.endsWith(QLatin1String(".csv")))
                QVERIFY(TestFiles::write(file, threePoints));
            else if (name.endsWith(QLatin1String(".raw"))) // little endian, odd byte dropped
                QVERIFY(TestFiles::write(file, QByteArray("\x01\x00\x02\x00\x07", 5)));
            else
                QVERIFY(TestFiles::write(file, "540.056 100.5\n585.249 700.25\n"));
        }
        for (const char *name : {"raw_spectrum.png", "searchresult table.png"})
            writeImage(path + S("/Location1/") + QLatin1String(name), 8, 4);

        SaveData data;
        QVERIFY(data.load(path, AllSaveDataParts));
        const SaveDataSector &s = data.activeSector();
        QString actual;
        for (const bool read : {!s.withLaserImage.isNull(), !s.withoutLaserImage.isNull(),
                                !data.metadata().overviewImage.isNull(),
                                s.processedSpectrum.size() == 3, s.rawSpectrum.size() == 3,
                                s.ccdRaw == QVector<quint16>{1, 2}, s.calibrationLines.size() == 2})
            actual += QLatin1Char(read ? '1' : '0');
        QCOMPARE(actual, loaded);
        QCOMPARE(s.rawSpectrumImage.size(), QSize(8, 4));
        QCOMPARE(s.identificationData.searchResultTableImage.size(), QSize(8, 4));
    }

    void metadataByVersion_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<QString>("collectionName");
        QTest::addColumn<QString>("collectionId");
        QTest::addColumn<QDateTime>("created");
        QTest::addColumn<int>("rating");

        const QJsonObject ident{{S("owner_ident_label"), S("AB")},
                                {S("owner_ident_no"), S("12")},
                                {S("collection_name"), S("Alpen")},
                                {S("collection_id"), S("17")},
                                {S("saved_date"), S("2020-05-17T09:41:03")},
                                {S("created_date"), S("2019-01-02T03:04:05")},
                                {S("rating"), 3}};
        const QDateTime saved(QDate(2020, 5, 17), QTime(9, 41, 3));
        const QDateTime created(QDate(2019, 1, 2), QTime(3, 4, 5));
        const auto with = [&](int version, std::initializer_list<const char *> removed) {
            QJsonObject json = ident;
            json.insert(S("save_data_version"), version);
            for (const char *key : removed)
                json.remove(QLatin1String(key));
            return json;
        };
        QTest::newRow("v7 label and number") << with(7, {}) << S("") << S("AB_12") << saved << 3;
        QTest::newRow("v5 label only")
            << with(5, {"owner_ident_no"}) << S("") << S("AB") << saved << 3;
        QTest::newRow("v8 collection keys, saved date")
            << with(8, {}) << S("Alpen") << S("17") << saved << 3;
        QJsonObject wrongRating = with(11, {});
        wrongRating.insert(S("rating"), S("4"));
        QTest::newRow("rating of wrong type")
            << wrongRating << S("Alpen") << S("17") << created << 0;
    }

    void metadataByVersion()
    {
        QFETCH(QJsonObject, json);
        QFETCH(QString, collectionName);
        QFETCH(QString, collectionId);
        QFETCH(QDateTime, created);
        QFETCH(int, rating);
        SaveData data;
        QVERIFY(data.load(folder(json), Metadata));
        QCOMPARE(data.metadata().collection_name, collectionName);
        QCOMPARE(data.metadata().collection_id, collectionId);
        QCOMPARE(data.metadata().created_date, created);
        QCOMPARE(data.metadata().rating, rating);
    }

    void metadataFields()
    {
        const QString path = folder({{S("save_data_version"), 11},
                                     {S("collection_name"), S("Alpen")},
                                     {S("collection_id"), S("17")},
                                     {S("unique_ident"), S("3f2a61c0-9b1e-4d6e-8a55-0c1d2e3f4a5b")},
                                     {S("found_date"), S("1987-06-05")},
                                     {S("found_date_year_only"), true},
                                     {S("sectors"), QJsonArray{sectorJson(S("Quarz"))}}});
        // Metadata only, but the calibration lines come with it.
        QVERIFY(TestFiles::write(path + S("/Location1/calibration_lines.txt"), "540.056 100\n"));
        QVERIFY(TestFiles::write(path + S("/Location1/data.csv"), threePoints));
        SaveData data;
        QVERIFY(data.load(path + S("/./"), Metadata));
        QCOMPARE(data.activeSector().calibrationLines.size(), 1);
        QVERIFY(data.activeSector().processedSpectrum.isEmpty());
        QCOMPARE(data.folderPath(), path);
        QCOMPARE(data.metadata().found_date, QDate(1987, 6, 5));
        QVERIFY(data.metadata().found_date_year_only);
        QCOMPARE(data.defaultFolderName(), S("Alpen-17-3f2a61c0-9b1e"));
        // The same key in two sections of a sector.
        QCOMPARE(data.activeSector().exposureData.objective_focal_length_camera, 180.5);
        QCOMPARE(data.activeSector().identificationData.objective_focal_length_camera, 42.0);
        QVERIFY(data.activeSector().identificationData.auto_group.isEmpty()); // not kept then
    }

    void malformedMetadata_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("sectors");

        QTest::newRow("wrong types")
            << QByteArray("{\"save_data_version\": \"11\", \"owner\": 5, \"sectors\": {\"a\": 1},"
                          " \"found_date\": 20200101, \"nodate\": \"yes\"}")
            << 0;
        QTest::newRow("sector of wrong types")
            << QByteArray("{\"save_data_version\": 11, \"owner\": \"B\", \"sectors\": ["
                          "{\"exposure_data\": [1], \"identification_data\": {\"mineral_final_"
                          "identification\": \"X\", \"auto_korrelation\": \"high\"}}, 7]}")
            << 2;
    }

    void malformedMetadata()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, sectors);
        const QString path = folder({});
        QVERIFY(TestFiles::write(path + S("/metadata.json"), content));
        for (int i = 0; i < sectors; ++i)
            expectWarning("^Could not descend");
        SaveData data;
        QVERIFY(data.load(path, AllSaveDataParts));
        QCOMPARE(data.metadata().owner, sectors ? S("B") : QString());
        QCOMPARE(data.metadata().save_data_version, sectors ? 11 : 0);
        QCOMPARE(data.metadata().rating, -1);
        QVERIFY(!data.metadata().found_date.isValid() && !data.metadata().nodate);
        QCOMPARE(data.sectorCount(), sectors);
        QCOMPARE(data.activeSectorIndex(), sectors - 1);
        for (const SaveDataSector &s : data.sectors())
            QCOMPARE(s.identificationData.auto_korrelation, 0.0);
    }

    void noMeasurementFolder()
    {
        const QString empty = m_root.filePath(S("empty"));
        QDir().mkpath(empty);
        SaveData data;
        QVERIFY(!data.load(empty + S("//sub/.."), AllSaveDataParts));
        QCOMPARE(data.folderPath(), empty);
        QCOMPARE(data.sectorCount(), 0);
    }

private:
    // A fresh measurement folder with the given metadata.
    QString folder(const QJsonObject &json)
    {
        const QString path = m_root.filePath(QString::number(++m_count));
        [&] { QVERIFY(TestFiles::writeJson(path + S("/metadata.json"), json)); }();
        return path;
    }

    QTemporaryDir m_root;
    int m_count = 0;
};

QTEST_MAIN(TestSaveData)
#include "tst_savedata.moc"
