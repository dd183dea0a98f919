#include "testfiles.h"
#include "toolprocess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

class TestCliInfo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void usage_data();
    void usage();
    void versionSevenFolder();
    void partsLimitWhatIsLoaded();
    void notAMeasurementFolder();

private:
    QJsonObject info(const QStringList &arguments);

    QTemporaryDir m_dir;
    QString m_folder;
};

void TestCliInfo::initTestCase()
{
    m_folder = m_dir.filePath(QStringLiteral("old measurement"));
    const QJsonObject sector{
        {QStringLiteral("exposure_objective"), QStringLiteral("50x")},
        {QStringLiteral("exposure_data"), QJsonObject{{QStringLiteral("exp_time"), 700}}},
        {QStringLiteral("identification_data"),
         QJsonObject{{QStringLiteral("mineral_final_identification"), QStringLiteral("Gips")}}}};
    QVERIFY(
        TestFiles::writeJson(m_folder + QStringLiteral("/metadata.json"),
                             {{QStringLiteral("save_data_version"), 7},
                              {QStringLiteral("owner_ident_label"), QStringLiteral("AB")},
                              {QStringLiteral("owner_ident_no"), QStringLiteral("12")},
                              {QStringLiteral("saved_date"), QStringLiteral("2018-07-20T14:30:00")},
                              {QStringLiteral("sectors"), QJsonArray{sector}}}));
    QVERIFY(TestFiles::write(m_folder + QStringLiteral("/Location1/AB.csv"), "1 2\n3 4\n5 6\n"));
    QVERIFY(TestFiles::write(m_folder + QStringLiteral("/Location1/AB_raw.csv"), "1 2\n3 4\n"));
    QVERIFY(TestFiles::write(m_folder + QStringLiteral("/Location1/AB_ccd_raw.raw"),
                             QByteArray(10, '\1')));
    QVERIFY(TestFiles::write(m_folder + QStringLiteral("/Location1/calibration_lines.txt"),
                             "540 100\n585 700\n"));
    QImage photo(32, 24, QImage::Format_RGB32);
    photo.fill(Qt::gray);
    QVERIFY(photo.save(m_folder + QStringLiteral("/Location1/AB_with_laser.jpg")));
}

QJsonObject TestCliInfo::info(const QStringList &arguments)
{
    const ToolRun run
        = runTool(QStringLiteral("raman-cli"), QStringList{QStringLiteral("info")} + arguments);
    if (run.exitCode != 0)
        qWarning("raman-cli failed: %s", run.err.constData());
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    if (error.error != QJsonParseError::NoError)
        qWarning("not JSON: %s", run.out.constData());
    return document.object();
}

void TestCliInfo::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("outContains");
    QTest::addColumn<QString>("errContains");

    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0 << QStringLiteral("info")
                          << QString();
    QTest::newRow("version") << QStringList{QStringLiteral("--version")} << 0
                             << QStringLiteral("raman-cli ") << QString();
    QTest::newRow("command help") << QStringList{QStringLiteral("info"), QStringLiteral("--help")}
                                  << 0 << QStringLiteral("--parts") << QString();
    QTest::newRow("nothing") << QStringList{} << 2 << QString() << QStringLiteral("Usage");
    QTest::newRow("unknown command") << QStringList{QStringLiteral("frobnicate")} << 2 << QString()
                                     << QStringLiteral("unknown command");
    QTest::newRow("bad parts") << QStringList{QStringLiteral("info"), QStringLiteral("."),
                                              QStringLiteral("--parts"), QStringLiteral("some")}
                               << 2 << QString() << QStringLiteral("--parts");
    QTest::newRow("no folder") << QStringList{QStringLiteral("info")} << 2 << QString()
                               << QStringLiteral("FOLDER");
}

void TestCliInfo::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, outContains);
    QFETCH(QString, errContains);
    const ToolRun run = runTool(QStringLiteral("raman-cli"), arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY(QString::fromUtf8(run.out).contains(outContains));
    QVERIFY(QString::fromUtf8(run.err).contains(errContains));
}

void TestCliInfo::versionSevenFolder()
{
    const QJsonObject json = info({m_folder});
    QCOMPARE(json.value(QStringLiteral("save_data_version")).toInt(), 7);
    QCOMPARE(json.value(QStringLiteral("collection_id")).toString(), QStringLiteral("AB_12"));
    QCOMPARE(json.value(QStringLiteral("collection_name")).toString(), QString());
    QCOMPARE(json.value(QStringLiteral("rating")).toInt(), -1);
    QCOMPARE(json.value(QStringLiteral("created_date")).toString(),
             QStringLiteral("2018-07-20T14:30:00"));
    QVERIFY(json.value(QStringLiteral("found_date")).isNull());
    QCOMPARE(json.value(QStringLiteral("folderPath")).toString(), m_folder);
    QCOMPARE(json.value(QStringLiteral("activeSectorIndex")).toInt(), 0);
    QCOMPARE(json.value(QStringLiteral("nonEmptySectorCount")).toInt(), 1);

    const QJsonArray sectors = json.value(QStringLiteral("sectors")).toArray();
    QCOMPARE(sectors.size(), 1);
    const QJsonObject s = sectors.first().toObject();
    QCOMPARE(s.value(QStringLiteral("exposure_objective")).toString(), QStringLiteral("50x"));
    QCOMPARE(s.value(QStringLiteral("exposure_data"))
                 .toObject()
                 .value(QStringLiteral("exp_time"))
                 .toInt(),
             700);
    QCOMPARE(s.value(QStringLiteral("identification_data"))
                 .toObject()
                 .value(QStringLiteral("mineral_final_identification"))
                 .toString(),
             QStringLiteral("Gips"));
    QCOMPARE(s.value(QStringLiteral("processed_spectrum_points")).toInt(), 3);
    QCOMPARE(s.value(QStringLiteral("raw_spectrum_points")).toInt(), 2);
    QCOMPARE(s.value(QStringLiteral("ccd_raw_values")).toInt(), 5);
    QCOMPARE(s.value(QStringLiteral("calibration_lines")).toInt(), 2);
    const QJsonObject images = s.value(QStringLiteral("images")).toObject();
    QCOMPARE(images.value(QStringLiteral("with_laser"))
                 .toObject()
                 .value(QStringLiteral("width"))
                 .toInt(),
             32);
    QVERIFY(images.value(QStringLiteral("without_laser")).isNull());
}

void TestCliInfo::partsLimitWhatIsLoaded()
{
    const QJsonObject s = info({m_folder, QStringLiteral("--parts"), QStringLiteral("metadata")})
                              .value(QStringLiteral("sectors"))
                              .toArray()
                              .first()
                              .toObject();
    QCOMPARE(s.value(QStringLiteral("processed_spectrum_points")).toInt(), 0);
    QCOMPARE(s.value(QStringLiteral("ccd_raw_values")).toInt(), 0);
    QCOMPARE(s.value(QStringLiteral("calibration_lines")).toInt(), 2);
    QVERIFY(
        s.value(QStringLiteral("images")).toObject().value(QStringLiteral("with_laser")).isNull());
}

void TestCliInfo::notAMeasurementFolder()
{
    const ToolRun run
        = runTool(QStringLiteral("raman-cli"), {QStringLiteral("info"), m_dir.path()});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY(run.err.contains("not a measurement folder"));
}

QTEST_GUILESS_MAIN(TestCliInfo)
#include "tst_cli_info.moc"
