#include "core/appidentity.h"
#include "savedatafixture.h"
#include "storage/backup.h"

#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

namespace {

QString overwrittenToday()
{
    return backupRoot() + QStringLiteral("overwritten/")
           + QDate::currentDate().toString(Qt::ISODate) + QLatin1Char('/');
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
        SaveDataSector withoutSpectrum = data.activeSector();
        withoutSpectrum.processedSpectrum = {};
        data.replaceActiveSector(withoutSpectrum);
        const QDateTime created = data.metadata().created_date;
        QVERIFY(data.save(dir.path(), QStringLiteral("m"), {}));
        QVERIFY(!data.isModified());
        QCOMPARE(data.metadata().created_date, created);
        QCOMPARE(QFileInfo(data.sectorFolderPath(2) + QStringLiteral("data.csv")).size(), 0);

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
        QVERIFY(data.save(dir.path(), QStringLiteral("m"), {}));
        QVERIFY(foldersIn(data.folderPath()).isEmpty());
    }

    // An old folder is rewritten in place, the old one whole in the backup area.
    void oldFolderSavedInPlaceTwice()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("AB 12"));
        Fixture::writeVersion5Folder(folder);
        const auto original = Fixture::snapshot(folder);
        SaveData data;
        QVERIFY(data.load(folder, AllSaveDataParts));
        const SaveData loaded = data;
        QVERIFY(data.save(dir.path(), QStringLiteral("AB 12"), {}));
        QVERIFY(data.save(dir.path(), QStringLiteral("AB 12"), {}));

        const QStringList backups = foldersIn(overwrittenToday());
        QCOMPARE(backups.size(), 2);
        QCOMPARE(int(Fixture::snapshot(overwrittenToday() + backups.at(0)) == original)
                     + int(Fixture::snapshot(overwrittenToday() + backups.at(1)) == original),
                 1);

        SaveData reloaded;
        QVERIFY(reloaded.load(folder, AllSaveDataParts));
        QCOMPARE(reloaded.metadata().save_data_version, CurrentSaveDataVersion);
        QCOMPARE(reloaded.metadata().collection_id, QStringLiteral("AB_12"));
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
        QVERIFY(copy.load(backupRoot() + QStringLiteral("/unsaved/")
                              + QDate::currentDate().toString(Qt::ISODate) + QLatin1Char('/')
                              + data.defaultFolderName(),
                          AllSaveDataParts));
        QCOMPARE(copy.metadata().unique_ident, data.metadata().unique_ident);
        QCOMPARE(foldersIn(overwrittenToday()).size(), 1);

        const QString direct = backupRoot() + data.defaultFolderName();
        QVERIFY(QDir().mkpath(direct));
        data.removeBackup();
        QVERIFY(QFileInfo::exists(direct));
        QFile(direct + QStringLiteral("/metadata.json")).open(QIODevice::WriteOnly);
        data.removeBackup();
        QVERIFY(!QFileInfo::exists(direct));
    }
};

QTEST_MAIN(tst_SaveDataSave)
#include "tst_savedatasave.moc"
