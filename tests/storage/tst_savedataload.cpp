#include "storage/savedata.h"

#include "testfiles.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A measurement folder written by hand, with the file names of the version under test.
class Folder
{
public:
    explicit Folder(const QString &path)
        : m_path(path)
    {
        QDir().mkpath(path);
    }

    QString path() const { return m_path; }
    QString file(const QString &relative) const { return m_path + QLatin1Char('/') + relative; }

    void metadata(const QJsonObject &json) const
    {
        QVERIFY(TestFiles::writeJson(file(QStringLiteral("metadata.json")), json));
    }
    void raw(const QString &relative, const QByteArray &bytes) const
    {
        QVERIFY(TestFiles::write(file(relative), bytes));
    }
    void image(const QString &relative, int width, int height) const
    {
        QDir().mkpath(QFileInfo(file(relative)).path());
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QVERIFY(picture.save(file(relative)));
    }

private:
    QString m_path;
};

QJsonObject sectorJson(const QString &finalIdentification = QString())
{
    return QJsonObject{
        {QStringLiteral("exposure_objective"), QStringLiteral("50x")},
        {QStringLiteral("image_width"), QStringLiteral("120")},
        {QStringLiteral("exposure_data"),
         QJsonObject{{QStringLiteral("exp_time"), 1500},
                     {QStringLiteral("gain"), 2},
                     {QStringLiteral("cam_temp"), -59.5},
                     {QStringLiteral("ND_filter_used"), QStringLiteral("ND1")},
                     {QStringLiteral("exposure_objective"), QStringLiteral("20x")},
                     {QStringLiteral("objective_focal_length_camera"), 180.5},
                     {QStringLiteral("slitwidth"), 25.0},
                     {QStringLiteral("laser_wavelength"), 532.1}}},
        {QStringLiteral("identification_data"),
         QJsonObject{{QStringLiteral("mineral_suggested_auto"), QStringLiteral("Quartz")},
                     {QStringLiteral("mineral_suggested_manual"), QStringLiteral("Calcite")},
                     {QStringLiteral("mineral_final_identification"), finalIdentification},
                     {QStringLiteral("auto_korrelation"), 8.25},
                     {QStringLiteral("manual_korrelation"), 7.5},
                     {QStringLiteral("raman_library_ident_no"), QStringLiteral("R040031")},
                     {QStringLiteral("objective_focal_length_camera"), 42.0}}},
    };
}

const QByteArray spectrumText("100 1\n101 2\n102 3\n");

} // namespace

class TestSaveDataLoad : public QObject
{
    Q_OBJECT

private slots:
    void fileNamesByVersion_data();
    void fileNamesByVersion();
    void collectionNumber_data();
    void collectionNumber();
    void createdDateAndRating_data();
    void createdDateAndRating();
    void metadataFields();
    void malformedMetadata_data();
    void malformedMetadata();
    void missingMetadataFile();
    void missingLocationFolder();
    void metadataOnlyStillReadsCalibrationLines();
    void emptySectorsAreDroppedWhileLoading();
    void ccdRawFile_data();
    void ccdRawFile();

private:
    QString freshFolder() { return m_root.filePath(QString::number(++m_count)); }

    QTemporaryDir m_root;
    int m_count = 0;
};

void TestSaveDataLoad::fileNamesByVersion_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QStringList>("files"); // written into Location1 (or top level for Overview)
    QTest::addColumn<bool>("withLaser");
    QTest::addColumn<bool>("withoutLaser");
    QTest::addColumn<bool>("overview");
    QTest::addColumn<bool>("processed");
    QTest::addColumn<bool>("raw");
    QTest::addColumn<bool>("ccd");
    QTest::addColumn<bool>("calibration");

    const QStringList old{
        QStringLiteral("AB_with_laser.png"),    QStringLiteral("without_laser.png"),
        QStringLiteral("../Overview.png"),      QStringLiteral("AB.csv"),
        QStringLiteral("AB_raw.csv"),           QStringLiteral("AB_ccd_raw.raw"),
        QStringLiteral("calibration_lines.txt")};
    const QStringList middle{
        QStringLiteral("AB_with_laser.jpg"),    QStringLiteral("without_laser.jpg"),
        QStringLiteral("../Overview.jpg"),      QStringLiteral("AB.csv"),
        QStringLiteral("AB_raw.csv"),           QStringLiteral("AB_ccd_raw.raw"),
        QStringLiteral("calibration_lines.txt")};
    const QStringList current{
        QStringLiteral("with_laser.jpg"),       QStringLiteral("without_laser.jpg"),
        QStringLiteral("../Overview.jpg"),      QStringLiteral("data.csv"),
        QStringLiteral("data_raw.csv"),         QStringLiteral("data_ccd_raw.raw"),
        QStringLiteral("calibration_lines.txt")};

    // Columns: with laser, without laser, overview, processed, raw, CCD, calibration lines.
    QTest::newRow("v0") << 0 << old << true << true << true << true << false << false << false;
    QTest::newRow("v2 ignores raw spectrum")
        << 2 << old << true << true << true << true << false << false << false;
    QTest::newRow("v3 reads raw spectrum")
        << 3 << middle << true << true << true << true << true << false << false;
    QTest::newRow("v4 reads CCD frame")
        << 4 << middle << true << true << true << true << true << true << false;
    QTest::newRow("v7 reads calibration lines")
        << 7 << middle << true << true << true << true << true << true << true;
    QTest::newRow("v8 new names") << 8 << current << true << true << true << true << true << true
                                  << true;
    QTest::newRow("v11") << 11 << current << true << true << true << true << true << true << true;
    QTest::newRow("v11 ignores old names")
        << 11 << middle << false << true << true << false << false << false << true;
    QTest::newRow("v2 ignores jpg names")
        << 2 << middle << false << false << false << true << false << false << false;
}

void TestSaveDataLoad::fileNamesByVersion()
{
    QFETCH(int, version);
    QFETCH(QStringList, files);
    QFETCH(bool, withLaser);
    QFETCH(bool, withoutLaser);
    QFETCH(bool, overview);
    QFETCH(bool, processed);
    QFETCH(bool, raw);
    QFETCH(bool, ccd);
    QFETCH(bool, calibration);

    const Folder folder(freshFolder());
    folder.metadata({{QStringLiteral("save_data_version"), version},
                     {QStringLiteral("owner_ident_label"), QStringLiteral("AB")},
                     {QStringLiteral("sectors"), QJsonArray{sectorJson(QStringLiteral("Quarz"))}}});
    for (const QString &name : files) {
        const QString relative = QStringLiteral("Location1/") + name;
        if (name.endsWith(QLatin1String(".png")) || name.endsWith(QLatin1String(".jpg")))
            folder.image(relative, 16, 12);
        else if (name.endsWith(QLatin1String(".csv")))
            folder.raw(relative, spectrumText);
        else if (name.endsWith(QLatin1String(".raw")))
            folder.raw(relative, QByteArray("\x01\x00\x02\x00", 4));
        else
            folder.raw(relative, "540.056 100.5\n585.249 700.25\n");
    }
    // Picture names that never change with the version.
    for (const char *name :
         {"raw_spectrum.png", "ccd_raw.png", "searchresult.png", "searchresult table.png"})
        folder.image(QStringLiteral("Location1/") + QLatin1String(name), 8, 4);

    if (version >= 4 && !ccd) {
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^Failed to load CCD raw data")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Error message")));
    }
    SaveData data;
    QVERIFY(data.load(folder.path(), AllSaveDataParts));
    QCOMPARE(data.metadata().save_data_version, version);
    QCOMPARE(data.sectorCount(), 1);
    const SaveDataSector &s = data.activeSector();
    QCOMPARE(!s.withLaserImage.isNull(), withLaser);
    QCOMPARE(!s.withoutLaserImage.isNull(), withoutLaser);
    QCOMPARE(!data.metadata().overviewImage.isNull(), overview);
    QCOMPARE(s.processedSpectrum.size() == 3, processed);
    QCOMPARE(s.rawSpectrum.size() == 3, raw);
    QCOMPARE(s.ccdRaw == (QVector<quint16>{1, 2}), ccd);
    QCOMPARE(s.calibrationLines.size() == 2, calibration);
    QCOMPARE(s.rawSpectrumImage.size(), QSize(8, 4));
    QCOMPARE(s.ccdRawImage.size(), QSize(8, 4));
    QCOMPARE(s.identificationData.searchResultImage.size(), QSize(8, 4));
    QCOMPARE(s.identificationData.searchResultTableImage.size(), QSize(8, 4));
    if (calibration) {
        QCOMPARE(s.calibrationLines.wavelengths, (QVector<double>{540.056, 585.249}));
        QCOMPARE(s.calibrationLines.pixels, (QVector<double>{100.5, 700.25}));
    }
}

void TestSaveDataLoad::collectionNumber_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("expectedName");
    QTest::addColumn<QString>("expectedId");

    QTest::newRow("label and number") << 7 << QStringLiteral("AB") << QStringLiteral("12")
                                      << QStringLiteral("") << QStringLiteral("AB_12");
    QTest::newRow("number only") << 7 << QStringLiteral("") << QStringLiteral("12")
                                 << QStringLiteral("") << QStringLiteral("12");
    QTest::newRow("label only") << 5 << QStringLiteral("AB") << QStringLiteral("")
                                << QStringLiteral("") << QStringLiteral("AB");
    QTest::newRow("neither") << 2 << QStringLiteral("") << QStringLiteral("") << QStringLiteral("")
                             << QStringLiteral("");
    QTest::newRow("v8 uses collection keys") << 8 << QStringLiteral("AB") << QStringLiteral("12")
                                             << QStringLiteral("Alpen") << QStringLiteral("17");
}

void TestSaveDataLoad::collectionNumber()
{
    QFETCH(int, version);
    QFETCH(QString, label);
    QFETCH(QString, number);
    QFETCH(QString, expectedName);
    QFETCH(QString, expectedId);

    const Folder folder(freshFolder());
    folder.metadata({{QStringLiteral("save_data_version"), version},
                     {QStringLiteral("owner_ident_label"), label},
                     {QStringLiteral("owner_ident_no"), number},
                     {QStringLiteral("collection_name"), QStringLiteral("Alpen")},
                     {QStringLiteral("collection_id"), QStringLiteral("17")}});
    SaveData data;
    QVERIFY(data.load(folder.path(), Metadata));
    QCOMPARE(data.metadata().collection_name, expectedName);
    QCOMPARE(data.metadata().collection_id, expectedId);
}

void TestSaveDataLoad::createdDateAndRating_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QJsonValue>("createdDate"); // Undefined: key absent
    QTest::addColumn<QJsonValue>("rating");
    QTest::addColumn<QDateTime>("expectedCreated");
    QTest::addColumn<int>("expectedRating");

    const QDateTime saved(QDate(2020, 5, 17), QTime(9, 41, 3));
    const QDateTime created(QDate(2019, 1, 2), QTime(3, 4, 5));
    const QJsonValue absent(QJsonValue::Undefined);
    const QJsonValue createdText(created.toString(Qt::ISODate));
    QTest::newRow("v8 takes saved date") << 8 << createdText << QJsonValue(3) << saved << 3;
    QTest::newRow("v9 keeps created date") << 9 << createdText << QJsonValue(0) << created << 0;
    QTest::newRow("v9 without created date") << 9 << absent << absent << QDateTime() << -1;
    QTest::newRow("rating of wrong type")
        << 11 << createdText << QJsonValue(QStringLiteral("4")) << created << 0;
}

void TestSaveDataLoad::createdDateAndRating()
{
    QFETCH(int, version);
    QFETCH(QJsonValue, createdDate);
    QFETCH(QJsonValue, rating);
    QFETCH(QDateTime, expectedCreated);
    QFETCH(int, expectedRating);

    QJsonObject json{{QStringLiteral("save_data_version"), version},
                     {QStringLiteral("saved_date"), QStringLiteral("2020-05-17T09:41:03")}};
    if (!createdDate.isUndefined())
        json.insert(QStringLiteral("created_date"), createdDate);
    if (!rating.isUndefined())
        json.insert(QStringLiteral("rating"), rating);
    const Folder folder(freshFolder());
    folder.metadata(json);
    SaveData data;
    QVERIFY(data.load(folder.path(), Metadata));
    QCOMPARE(data.metadata().created_date, expectedCreated);
    QCOMPARE(data.metadata().rating, expectedRating);
}

void TestSaveDataLoad::metadataFields()
{
    const Folder folder(freshFolder());
    folder.metadata(
        {{QStringLiteral("save_data_version"), 11},
         {QStringLiteral("created_as_version"), 9},
         {QStringLiteral("owner"), QStringLiteral("Müller")},
         {QStringLiteral("collection_name"), QStringLiteral("Alpen")},
         {QStringLiteral("collection_id"), QStringLiteral("17")},
         {QStringLiteral("unique_ident"), QStringLiteral("3f2a61c0-9b1e-4d6e-8a55-0c1d2e3f4a5b")},
         {QStringLiteral("location"), QStringLiteral("Gotthard")},
         {QStringLiteral("found_date"), QStringLiteral("1987-06-05")},
         {QStringLiteral("found_date_year_only"), true},
         {QStringLiteral("nodate"), false},
         {QStringLiteral("mineral_comment"), QStringLiteral("Spitze abgebrochen")},
         {QStringLiteral("sectors"), QJsonArray{sectorJson(QStringLiteral("Quarz"))}}});
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Could not descend")));
    SaveData data;
    QVERIFY(data.load(folder.path() + QStringLiteral("/./"), Metadata));
    const SaveDataMetadata &m = data.metadata();
    QCOMPARE(data.folderPath(), folder.path());
    QCOMPARE(m.created_as_version, 9);
    QCOMPARE(m.owner, QStringLiteral("Müller"));
    QCOMPARE(m.unique_ident, QStringLiteral("3f2a61c0-9b1e-4d6e-8a55-0c1d2e3f4a5b"));
    QCOMPARE(m.location, QStringLiteral("Gotthard"));
    QCOMPARE(m.found_date, QDate(1987, 6, 5));
    QVERIFY(m.found_date_year_only);
    QVERIFY(!m.nodate);
    QCOMPARE(m.mineral_comment, QStringLiteral("Spitze abgebrochen"));
    QCOMPARE(data.defaultFolderName(), QStringLiteral("Alpen-17-3f2a61c0-9b1e"));
    QCOMPARE(data.loadedParts(), SaveDataParts(Metadata));

    const SaveDataSector &s = data.activeSector();
    QCOMPARE(s.exposure_objective, QStringLiteral("50x"));
    QCOMPARE(s.image_width, QStringLiteral("120"));
    QCOMPARE(s.exposureData.exp_time, 1500);
    QCOMPARE(s.exposureData.gain, 2);
    QCOMPARE(s.exposureData.cam_temp, -59.5);
    QCOMPARE(s.exposureData.ND_filter_used, QStringLiteral("ND1"));
    QCOMPARE(s.exposureData.exposure_objective, QStringLiteral("20x"));
    QCOMPARE(s.exposureData.objective_focal_length_camera, 180.5);
    QCOMPARE(s.exposureData.slitwidth, 25.0);
    QCOMPARE(s.exposureData.laser_wavelength, 532.1);
    const IdentificationData &id = s.identificationData;
    QCOMPARE(id.mineral_suggested_auto, QStringLiteral("Quartz"));
    QCOMPARE(id.mineral_suggested_manual, QStringLiteral("Calcite"));
    QCOMPARE(id.mineral_final_identification, QStringLiteral("Quarz"));
    QCOMPARE(id.auto_korrelation, 8.25);
    QCOMPARE(id.manual_korrelation, 7.5);
    QCOMPARE(id.raman_library_ident_no, QStringLiteral("R040031"));
    QCOMPARE(id.objective_focal_length_camera, 42.0);
}

void TestSaveDataLoad::malformedMetadata_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("owner");
    QTest::addColumn<int>("sectors");

    QTest::newRow("not JSON") << QByteArray("{\"owner\": \"A\", ") << QString() << 0;
    QTest::newRow("array at top") << QByteArray("[1, 2, 3]") << QString() << 0;
    QTest::newRow("empty file") << QByteArray() << QString() << 0;
    QTest::newRow("wrong types") << QByteArray(
        "{\"save_data_version\": \"11\", \"owner\": 5, \"sectors\": {\"a\": 1},"
        " \"found_date\": 20200101, \"nodate\": \"yes\"}")
                                 << QString() << 0;
    QTest::newRow("sector of wrong types")
        << QByteArray("{\"save_data_version\": 11, \"owner\": \"B\", \"sectors\": ["
                      "{\"exposure_data\": [1], \"identification_data\": {\"mineral_final_"
                      "identification\": \"X\", \"auto_korrelation\": \"high\"}}, 7]}")
        << QStringLiteral("B") << 2;
}

void TestSaveDataLoad::malformedMetadata()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, owner);
    QFETCH(int, sectors);
    const Folder folder(freshFolder());
    folder.raw(QStringLiteral("metadata.json"), content);
    for (int i = 0; i < sectors; ++i)
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^Could not descend")));
    SaveData data;
    QVERIFY(data.load(folder.path(), AllSaveDataParts));
    QCOMPARE(data.metadata().owner, owner);
    QCOMPARE(data.metadata().rating, -1);
    QCOMPARE(data.metadata().save_data_version, owner.isEmpty() ? 0 : 11);
    QVERIFY(!data.metadata().found_date.isValid());
    QVERIFY(!data.metadata().nodate);
    QCOMPARE(data.sectorCount(), sectors);
    QCOMPARE(data.activeSectorIndex(), sectors - 1);
    for (const SaveDataSector &s : data.sectors()) {
        QCOMPARE(s.exposureData.exp_time, 0);
        QCOMPARE(s.identificationData.auto_korrelation, 0.0);
    }
}

void TestSaveDataLoad::missingMetadataFile()
{
    const QString path = freshFolder();
    QDir().mkpath(path);
    SaveData data;
    QVERIFY(!data.load(path + QStringLiteral("//sub/.."), AllSaveDataParts));
    QCOMPARE(data.folderPath(), path);
    QCOMPARE(data.sectorCount(), 0);
    QVERIFY(!data.load(m_root.filePath(QStringLiteral("does-not-exist")), Metadata));
}

void TestSaveDataLoad::missingLocationFolder()
{
    const Folder folder(freshFolder());
    folder.metadata({{QStringLiteral("save_data_version"), 11},
                     {QStringLiteral("sectors"), QJsonArray{sectorJson(QStringLiteral("A")),
                                                            sectorJson(QStringLiteral("B"))}}});
    folder.raw(QStringLiteral("Location1/data_raw.csv"), spectrumText);
    folder.raw(QStringLiteral("Location1/data_ccd_raw.raw"), QByteArray(4, '\0'));
    folder.raw(QStringLiteral("Location1/calibration_lines.txt"), "1 2\n");
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^Could not descend into location "
                                                           "directory .*Location2")));
    SaveData data;
    QVERIFY(data.load(folder.path(), AllSaveDataParts));
    QCOMPARE(data.sectorCount(), 2);
    QCOMPARE(data.sectors().at(0).rawSpectrum.size(), 3);
    QCOMPARE(data.sectors().at(1).identificationData.mineral_final_identification,
             QStringLiteral("B"));
    QVERIFY(data.sectors().at(1).rawSpectrum.isEmpty());
    QCOMPARE(data.activeSectorIndex(), 1);
}

void TestSaveDataLoad::metadataOnlyStillReadsCalibrationLines()
{
    const Folder folder(freshFolder());
    folder.metadata({{QStringLiteral("save_data_version"), 7},
                     {QStringLiteral("owner_ident_label"), QStringLiteral("AB")},
                     {QStringLiteral("sectors"), QJsonArray{sectorJson(QStringLiteral("Q"))}}});
    folder.raw(QStringLiteral("Location1/calibration_lines.txt"), "540.056 100\n");
    folder.raw(QStringLiteral("Location1/AB.csv"), spectrumText);
    folder.image(QStringLiteral("Location1/AB_with_laser.jpg"), 10, 10);
    SaveData data;
    QVERIFY(data.load(folder.path(), Metadata));
    const SaveDataSector &s = data.activeSector();
    QCOMPARE(s.calibrationLines.size(), 1);
    QVERIFY(s.processedSpectrum.isEmpty());
    QVERIFY(s.withLaserImage.isNull());
}

void TestSaveDataLoad::emptySectorsAreDroppedWhileLoading()
{
    const Folder folder(freshFolder());
    folder.metadata(
        {{QStringLiteral("save_data_version"), 11},
         {QStringLiteral("sectors"), QJsonArray{sectorJson(), sectorJson(QStringLiteral("B")),
                                                sectorJson(QStringLiteral("C")), sectorJson()}}});
    for (int n = 1; n <= 4; ++n)
        QDir().mkpath(folder.file(QStringLiteral("Location%1").arg(n)));
    SaveData data;
    QVERIFY(data.load(folder.path(), Metadata));
    // The first (empty) sector goes when the second is added; the empty last one stays.
    QCOMPARE(data.sectorCount(), 3);
    QCOMPARE(data.finalIdentifications(),
             (QStringList{QStringLiteral("B"), QStringLiteral("C"), QString()}));
    QCOMPARE(data.nonEmptySectorCount(), 2);
    QCOMPARE(data.activeSectorIndex(), 2);

    const Folder none(freshFolder());
    none.metadata({{QStringLiteral("save_data_version"), 11}});
    QVERIFY(data.load(none.path(), AllSaveDataParts));
    QCOMPARE(data.sectorCount(), 0);
    QCOMPARE(data.activeSectorIndex(), -1);
    QVERIFY(!data.sector(0).has_value());
}

void TestSaveDataLoad::ccdRawFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QVector<quint16>>("values");
    QTest::newRow("little endian")
        << QByteArray("\x34\x12\xff\xff", 4) << QVector<quint16>{0x1234, 0xffff};
    QTest::newRow("odd size drops last byte")
        << QByteArray("\x01\x00\x02\x00\x07", 5) << QVector<quint16>{1, 2};
    QTest::newRow("single byte") << QByteArray("\x07", 1) << QVector<quint16>{};
}

void TestSaveDataLoad::ccdRawFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QVector<quint16>, values);
    const Folder folder(freshFolder());
    folder.metadata({{QStringLiteral("save_data_version"), 11},
                     {QStringLiteral("sectors"), QJsonArray{sectorJson(QStringLiteral("X"))}}});
    folder.raw(QStringLiteral("Location1/data_ccd_raw.raw"), bytes);
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^failed to load calibration")));
    SaveData data;
    QVERIFY(data.load(folder.path(), AllSaveDataParts));
    QCOMPARE(data.activeSector().ccdRaw, values);

    // A folder standing where the file should be cannot be opened: warned, nothing read.
    const Folder blocked(freshFolder());
    blocked.metadata({{QStringLiteral("save_data_version"), 11},
                      {QStringLiteral("sectors"), QJsonArray{sectorJson(QStringLiteral("X"))}}});
    QDir().mkpath(blocked.file(QStringLiteral("Location1/data_ccd_raw.raw")));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^Failed to load CCD raw data from")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Error message was:")));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^failed to load calibration")));
    QVERIFY(data.load(blocked.path(), AllSaveDataParts));
    QVERIFY(data.activeSector().ccdRaw.isEmpty());
}

QTEST_GUILESS_MAIN(TestSaveDataLoad)
#include "tst_savedataload.moc"
