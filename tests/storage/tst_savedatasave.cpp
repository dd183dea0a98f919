#include "core/appidentity.h"
#include "savedatafixture.h"
#include "storage/backup.h"
#include "storage/savedata.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

namespace {

QString today()
{
    return QDate::currentDate().toString(Qt::ISODate);
}

QStringList overwrittenToday()
{
    return QDir(backupRoot() + QStringLiteral("overwritten/") + today())
        .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

QJsonObject readJson(const QString &folder)
{
    QFile file(folder + QStringLiteral("/metadata.json"));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

// Pictures pass through JPEG, so only their sizes can come back unchanged.
void compareWithoutPictures(SaveDataSector actual, SaveDataSector expected)
{
    for (auto member : {&SaveDataSector::withLaserImage, &SaveDataSector::withoutLaserImage,
                        &SaveDataSector::ccdRawImage, &SaveDataSector::rawSpectrumImage}) {
        QCOMPARE((actual.*member).size(), (expected.*member).size());
        actual.*member = expected.*member = QImage();
    }
    for (auto member :
         {&IdentificationData::searchResultImage, &IdentificationData::searchResultTableImage}) {
        QCOMPARE((actual.identificationData.*member).size(),
                 (expected.identificationData.*member).size());
        actual.identificationData.*member = expected.identificationData.*member = QImage();
    }
    QVERIFY(actual == expected);
}

} // namespace

class tst_SaveDataSave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { AppIdentity::apply(); }
    void init() { QDir(backupRoot()).removeRecursively(); }

    void roundTrip()
    {
        QTemporaryDir dir;
        SaveData data = Fixture::measurement(3);
        const SaveDataMetadata before = data.metadata();
        QVERIFY(data.isModified());
        QVERIFY(data.save(dir.path(), QStringLiteral("m")));
        QVERIFY(!data.isModified());
        QCOMPARE(data.folderPath(), dir.filePath(QStringLiteral("m")));
        QCOMPARE(data.metadata().created_date, before.created_date);
        QVERIFY(qAbs(data.metadata().saved_date.secsTo(QDateTime::currentDateTime())) < 5);

        SaveData loaded;
        QVERIFY(loaded.load(data.folderPath(), AllSaveDataParts));
        SaveDataMetadata expected = data.metadata();
        SaveDataMetadata actual = loaded.metadata();
        QCOMPARE(actual.save_data_version, CurrentSaveDataVersion);
        QCOMPARE(actual.overviewImage.size(), expected.overviewImage.size());
        actual.overviewImage = expected.overviewImage = QImage();
        QVERIFY(actual == expected);
        QCOMPARE(loaded.sectorCount(), data.sectorCount());
        for (int i = 0; i < data.sectorCount(); ++i)
            compareWithoutPictures(loaded.sectors().at(i), data.sectors().at(i));
    }

    void nonEmptySectorsOnly_data()
    {
        QTest::addColumn<QVector<bool>>("nonEmpty");
        QTest::addColumn<QStringList>("widthsPerLocation");
        QTest::newRow("sectors 1 and 3")
            << QVector<bool>{true, false, true}
            << QStringList{QStringLiteral("101 µm"), QStringLiteral("103 µm")};
        QTest::newRow("none") << QVector<bool>{false} << QStringList{};
    }

    void nonEmptySectorsOnly()
    {
        QFETCH(QVector<bool>, nonEmpty);
        QFETCH(QStringList, widthsPerLocation);
        SaveData data = Fixture::measurement(nonEmpty.size());
        for (int i = 0; i < nonEmpty.size(); ++i) {
            data.setActiveSector(i);
            if (!nonEmpty[i])
                data.replaceActiveSector(SaveDataSector());
        }
        QTemporaryDir dir;
        QVERIFY(data.save(dir.path(), QStringLiteral("m")));
        const QJsonArray sectors
            = readJson(data.folderPath()).value(QStringLiteral("sectors")).toArray();
        QCOMPARE(sectors.size(), widthsPerLocation.size());
        for (int n = 1; n <= widthsPerLocation.size(); ++n) {
            QCOMPARE(sectors.at(n - 1)[QStringLiteral("image_width")].toString(),
                     widthsPerLocation.at(n - 1));
            QVERIFY(
                QFileInfo::exists(data.sectorFolderPath(n - 1) + QStringLiteral("summary.pdf")));
        }
        QVERIFY(!QFileInfo::exists(data.sectorFolderPath(widthsPerLocation.size())));
    }

    void emptySpectrumStillGetsItsFile()
    {
        SaveData data = Fixture::measurement(1);
        SaveDataSector s = data.activeSector();
        s.processedSpectrum = {};
        data.replaceActiveSector(s);
        QTemporaryDir dir;
        QVERIFY(data.save(dir.path(), QStringLiteral("m")));
        const QFileInfo csv(data.sectorFolderPath(0) + QStringLiteral("data.csv"));
        QVERIFY(csv.isFile());
        QCOMPARE(csv.size(), 0);
    }

    // The upgrade of an old folder: rewritten in place, the old one whole in the backup area.
    void oldFolderSavedInPlace()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("AB 12"));
        Fixture::writeVersion5Folder(folder);
        const auto original = Fixture::snapshot(folder);
        SaveData data;
        QVERIFY(data.load(folder, AllSaveDataParts));
        const SaveData loaded = data;

        QVERIFY(data.save(dir.path(), QStringLiteral("AB 12")));
        QVERIFY(data.save(dir.path(), QStringLiteral("AB 12")));
        const QStringList backups = overwrittenToday();
        QCOMPARE(backups.size(), 2);
        QVERIFY(backups.at(0).startsWith(QStringLiteral("AB 12-backup")));
        const QString firstBackup
            = backupRoot() + QStringLiteral("overwritten/") + today() + QLatin1Char('/');
        const bool firstIsOriginal = Fixture::snapshot(firstBackup + backups.at(0)) == original;
        QVERIFY(firstIsOriginal != (Fixture::snapshot(firstBackup + backups.at(1)) == original));

        const QJsonObject json = readJson(folder);
        QCOMPARE(json.value(QStringLiteral("save_data_version")).toInt(), 11);
        QCOMPARE(json.value(QStringLiteral("collection_id")).toString(), QStringLiteral("AB_12"));
        QVERIFY(!json.contains(QStringLiteral("owner_ident_label")));
        const QStringList files
            = QDir(folder + QStringLiteral("/Location1")).entryList(QDir::Files);
        for (const char *name : {"with_laser.jpg", "data.csv", "data_raw.csv", "data_ccd_raw.raw",
                                 "calibration_lines.txt", "summary.pdf"})
            QVERIFY2(files.contains(QLatin1String(name)), name);

        SaveData reloaded;
        QVERIFY(reloaded.load(folder, AllSaveDataParts));
        QCOMPARE(reloaded.metadata().created_date, loaded.metadata().created_date);
        QCOMPARE(reloaded.metadata().collection_id, loaded.metadata().collection_id);
        compareWithoutPictures(reloaded.sectors().at(0), loaded.sectors().at(0));
    }

    void backupUnsavedLeavesRecordAlone()
    {
        SaveData data = Fixture::measurement(1);
        for (int round = 0; round < 2; ++round) {
            data.backupUnsaved();
            QThreadPool::globalInstance()->waitForDone();
        }
        QVERIFY(data.isModified());
        QVERIFY(data.folderPath().isEmpty());
        const QString copy = backupRoot() + QStringLiteral("/unsaved/") + today() + QLatin1Char('/')
                             + data.defaultFolderName();
        SaveData loaded;
        QVERIFY(loaded.load(copy, AllSaveDataParts));
        QCOMPARE(loaded.metadata().unique_ident, data.metadata().unique_ident);
        QCOMPARE(overwrittenToday().size(), 1);
    }

    void removeBackupOnlyRemovesMeasurementFolders()
    {
        const SaveData data = Fixture::measurement(0);
        const QString copy = backupRoot() + data.defaultFolderName();
        QVERIFY(QDir().mkpath(copy));
        data.removeBackup();
        QVERIFY(QFileInfo::exists(copy));
        QFile(copy + QStringLiteral("/metadata.json")).open(QIODevice::WriteOnly);
        data.removeBackup();
        QVERIFY(!QFileInfo::exists(copy));
    }

    void copyRecursively()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("a"));
        QDir().mkpath(source + QStringLiteral("/b/.c"));
        QFile(source + QStringLiteral("/b/.c/.hidden")).open(QIODevice::WriteOnly);
        QFile file(source + QStringLiteral("/top"));
        file.open(QIODevice::WriteOnly);
        file.write("content");
        file.close();
        QVERIFY(::copyRecursively(source, dir.filePath(QStringLiteral("x/y"))));
        QCOMPARE(Fixture::snapshot(dir.filePath(QStringLiteral("x/y"))), Fixture::snapshot(source));
        QVERIFY(!::copyRecursively(dir.filePath(QStringLiteral("missing")),
                                   dir.filePath(QStringLiteral("z"))));
    }
};

QTEST_MAIN(tst_SaveDataSave)
#include "tst_savedatasave.moc"
