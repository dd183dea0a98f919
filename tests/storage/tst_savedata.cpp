#include "storage/savedata.h"

#include "testfiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(SaveDataSector)

namespace {

SaveDataSector sectorIdentifiedAs(const QString &name)
{
    SaveDataSector sector;
    sector.identificationData.mineral_final_identification = name;
    return sector;
}

// A record whose sectors carry the given final identifications (all non-empty sectors).
SaveData recordWith(const QStringList &identifications)
{
    SaveData data;
    for (const QString &name : identifications) {
        data.addSector();
        data.replaceActiveSector(sectorIdentifiedAs(name));
    }
    return data;
}

} // namespace

class TestSaveData : public QObject
{
    Q_OBJECT

private slots:
    void newRecord();
    void addSectorDropsEmptySectors();
    void removeSector_data();
    void removeSector();
    void replaceActiveSectorWithoutSectors();
    void setActiveSectorIgnoresInvalidIndex();
    void setMetadataReplacesEverything();
    void unsavedChangesNeedContent();
    void emptySectorDefinition_data();
    void emptySectorDefinition();
    void finalIdentifications();
    void removeFromDisk();
};

void TestSaveData::newRecord()
{
    const SaveData data;
    const QString id = data.metadata().unique_ident;
    QCOMPARE(id.size(), 36);
    QVERIFY(!id.contains(QLatin1Char('{')));
    QVERIFY(SaveData().metadata().unique_ident != id);
    QCOMPARE(data.metadata().save_data_version, CurrentSaveDataVersion);
    QCOMPARE(data.metadata().created_as_version, CurrentSaveDataVersion);
    QVERIFY(!data.metadata().saved_date.isValid());
    QCOMPARE(data.activeSectorIndex(), -1);
    QVERIFY(!data.isModified());
    QCOMPARE(int(data.loadedParts()), 0);
    QVERIFY(data.folderPath().isEmpty());
    QCOMPARE(data.defaultFolderName(), QStringLiteral("unspecified-unspecified-") + id.left(13));
}

void TestSaveData::addSectorDropsEmptySectors()
{
    SaveData data;
    data.addSector();
    data.addSector();
    QCOMPARE(data.sectorCount(), 1);
    QVERIFY(!data.isModified());
    data.replaceActiveSector(sectorIdentifiedAs(QStringLiteral("Quarz")));
    data.addSector();
    QCOMPARE(data.sectorCount(), 2);
    QCOMPARE(data.activeSectorIndex(), 1);
    QCOMPARE(data.sectorFolderPath(1), QStringLiteral("/Location2/"));
}

void TestSaveData::removeSector_data()
{
    QTest::addColumn<int>("active");
    QTest::addColumn<int>("removed");
    QTest::addColumn<int>("expectedActive");
    QTest::addColumn<QStringList>("expectedNames");

    const auto names = [](const char *a, const char *b) {
        return QStringList{QLatin1String(a), QLatin1String(b)};
    };
    QTest::newRow("before active") << 2 << 0 << 1 << names("B", "C");
    QTest::newRow("the active one") << 1 << 1 << 0 << names("A", "C");
    QTest::newRow("first while first active") << 0 << 0 << -1 << names("B", "C");
    QTest::newRow("after active") << 0 << 2 << 0 << names("A", "B");
}

void TestSaveData::removeSector()
{
    QFETCH(int, active);
    QFETCH(int, removed);
    QFETCH(int, expectedActive);
    QFETCH(QStringList, expectedNames);

    SaveData data = recordWith({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    data.setActiveSector(active);
    data.removeSector(removed);
    QVERIFY(data.isModified());
    QCOMPARE(data.activeSectorIndex(), expectedActive);
    QCOMPARE(data.finalIdentifications(), expectedNames);
}

void TestSaveData::replaceActiveSectorWithoutSectors()
{
    SaveData data;
    QTest::ignoreMessage(QtWarningMsg, "sectors list is empty -- not updating anything");
    data.replaceActiveSector(sectorIdentifiedAs(QStringLiteral("Quarz")));
    QCOMPARE(data.sectorCount(), 0);
    QVERIFY(data.isModified());
    QVERIFY(!data.hasUnsavedChanges());
}

void TestSaveData::setActiveSectorIgnoresInvalidIndex()
{
    SaveData data = recordWith({QStringLiteral("A"), QStringLiteral("B")});
    data.setActiveSector(0);
    data.setActiveSector(2);
    data.setActiveSector(-1);
    QCOMPARE(data.activeSectorIndex(), 0);
    QVERIFY(!data.sector(-1).has_value());
    QVERIFY(!data.sector(2).has_value());
    QCOMPARE(data.sector(1)->identificationData.mineral_final_identification, QStringLiteral("B"));
}

void TestSaveData::setMetadataReplacesEverything()
{
    SaveData data;
    SaveDataMetadata m;
    m.owner = QStringLiteral("Huber");
    m.unique_ident = QStringLiteral("abc");
    m.rating = 4;
    m.save_data_version = 5;
    m.overviewImage = QImage(3, 2, QImage::Format_RGB32);
    data.setMetadata(m);
    QVERIFY(data.isModified());
    QCOMPARE(data.metadata(), m);
}

void TestSaveData::unsavedChangesNeedContent()
{
    SaveData data;
    data.addSector();
    data.setMetadata(SaveDataMetadata());
    QVERIFY(data.isModified());
    QVERIFY(!data.hasContent());
    QVERIFY(!data.hasUnsavedChanges());
    SaveDataSector sector;
    sector.rawSpectrum = {{1, 2}, {3, 4}};
    data.replaceActiveSector(sector);
    QVERIFY(data.hasUnsavedChanges());
}

void TestSaveData::emptySectorDefinition_data()
{
    QTest::addColumn<SaveDataSector>("sector");
    QTest::addColumn<bool>("empty");

    SaveDataSector s;
    QTest::newRow("new") << s << true;
    s.processedSpectrum = {{1}, {2}};
    s.withoutLaserImage = QImage(1, 1, QImage::Format_RGB32);
    s.identificationData.mineral_suggested_auto = QStringLiteral("Quartz");
    QTest::newRow("only processed spectrum, photo without laser, suggestion") << s << true;
    SaveDataSector raw;
    raw.rawSpectrum.x = {1, 2};
    QTest::newRow("raw spectrum without y") << raw << true;
    raw.rawSpectrum.y = {1, 2};
    QTest::newRow("complete raw spectrum") << raw << false;
    SaveDataSector photo;
    photo.withLaserImage = QImage(1, 1, QImage::Format_RGB32);
    QTest::newRow("photo with laser") << photo << false;
    SaveDataSector result;
    result.identificationData.searchResultImage = QImage(1, 1, QImage::Format_RGB32);
    QTest::newRow("search result picture") << result << false;
    QTest::newRow("final identification") << sectorIdentifiedAs(QStringLiteral("Q")) << false;
}

void TestSaveData::emptySectorDefinition()
{
    QFETCH(SaveDataSector, sector);
    QFETCH(bool, empty);
    QCOMPARE(sector.isEmpty(), empty);
}

void TestSaveData::finalIdentifications()
{
    SaveData data = recordWith({QStringLiteral("Quarz"), QStringLiteral("quarz"),
                                QStringLiteral("Quarz"), QStringLiteral("Calcit")});
    QCOMPARE(
        data.finalIdentifications(),
        (QStringList{QStringLiteral("Quarz"), QStringLiteral("quarz"), QStringLiteral("Calcit")}));
    // A sector without identification but with a spectrum adds the empty name once.
    SaveDataSector unnamed;
    unnamed.rawSpectrum = {{1, 2}, {3, 4}};
    data.addSector();
    data.replaceActiveSector(unnamed);
    data.addSector();
    data.replaceActiveSector(unnamed);
    QCOMPARE(data.finalIdentifications().count(QString()), 1);
    QCOMPARE(data.finalIdentifications().last(), QString());
}

void TestSaveData::removeFromDisk()
{
    SaveData unsaved;
    QVERIFY(!unsaved.removeFromDisk());

    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("measurement"));
    QVERIFY(TestFiles::write(folder + QStringLiteral("/metadata.json"), "{}"));
    QVERIFY(TestFiles::write(folder + QStringLiteral("/Location1/data.csv"), "1 2\n"));
    SaveData data;
    QVERIFY(data.load(folder, Metadata));
    QVERIFY(data.removeFromDisk());
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(QFileInfo::exists(dir.path()));
}

QTEST_GUILESS_MAIN(TestSaveData)
#include "tst_savedata.moc"
