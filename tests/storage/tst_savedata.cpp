#include "storage/savedata.h"

#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

SaveDataSector sectorIdentifiedAs(const QString &name)
{
    SaveDataSector sector;
    sector.identificationData.mineral_final_identification = name;
    return sector;
}

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
    void newRecord()
    {
        SaveData data;
        const QString id = data.metadata().unique_ident;
        QCOMPARE(id.size(), 36);
        QVERIFY(SaveData().metadata().unique_ident != id);
        QCOMPARE(data.defaultFolderName(),
                 QStringLiteral("unspecified-unspecified-") + id.left(13));
        data.addSector();
        data.addSector();
        QCOMPARE(data.sectorCount(), 1);
        QTest::ignoreMessage(QtWarningMsg, "sectors list is empty -- not updating anything");
        SaveData().replaceActiveSector(sectorIdentifiedAs(QStringLiteral("Quarz")));
    }

    void removeSector_data()
    {
        QTest::addColumn<int>("active");
        QTest::addColumn<int>("removed");
        QTest::addColumn<int>("expectedActive");
        QTest::addColumn<QString>("expectedNames");
        QTest::newRow("before active") << 2 << 0 << 1 << QStringLiteral("B,C");
        QTest::newRow("first while first active") << 0 << 0 << -1 << QStringLiteral("B,C");
        QTest::newRow("after active") << 0 << 2 << 0 << QStringLiteral("A,B");
    }

    void removeSector()
    {
        QFETCH(int, active);
        QFETCH(int, removed);
        QFETCH(int, expectedActive);
        QFETCH(QString, expectedNames);
        SaveData data = recordWith({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        data.setActiveSector(active);
        data.setActiveSector(3); // out of range on both sides: ignored
        data.setActiveSector(-1);
        data.removeSector(removed);
        QVERIFY(data.isModified());
        QCOMPARE(data.activeSectorIndex(), expectedActive);
        QCOMPARE(data.finalIdentifications().join(QLatin1Char(',')), expectedNames);
    }

    void emptySectorDefinition()
    {
        SaveDataSector s;
        s.processedSpectrum = {{1}, {2}};
        s.withoutLaserImage = QImage(1, 1, QImage::Format_RGB32);
        s.identificationData.mineral_suggested_auto = QStringLiteral("Quartz");
        s.rawSpectrum.x = {1, 2};
        QVERIFY(s.isEmpty());
        s.rawSpectrum.y = {1, 2};
        QVERIFY(!s.isEmpty());
    }

    void removeFromDisk()
    {
        QVERIFY(!SaveData().removeFromDisk()); // no folder yet
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("measurement"));
        QVERIFY(TestFiles::write(folder + QStringLiteral("/Location1/data.csv"), "1 2\n"));
        QVERIFY(TestFiles::write(folder + QStringLiteral("/metadata.json"), "{}"));
        SaveData data;
        QVERIFY(data.load(folder, Metadata));
        QVERIFY(data.removeFromDisk());
        QVERIFY(!QFileInfo::exists(folder));
        QVERIFY(QFileInfo::exists(dir.path()));
    }
};

QTEST_GUILESS_MAIN(TestSaveData)
#include "tst_savedata.moc"
