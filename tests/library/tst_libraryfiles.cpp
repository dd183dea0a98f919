#include "library/chemistry.h"
#include "library/librarycache.h"
#include "library/spectrumname.h"
#include "spectrum/spectrumfile.h"

#include "testfiles.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <KTar>

class TestLibraryFiles : public QObject
{
    Q_OBJECT

private slots:
    void parseNames_data();
    void parseNames();
    void pigmentNames_data();
    void pigmentNames();
    void chemistryKeys_data();
    void chemistryKeys();
    void chemistryFromFormula();
    void chemistryFilePrecedence();
    void builtInChemistryTables();
    void spectrumIdentifier();
    void cacheIsBuiltOnceFromAllSources();
    void brokenCacheArchives_data();
    void brokenCacheArchives();
};

void TestLibraryFiles::parseNames_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("fields"); // name, id, laser, angle, orientation, kind, number

    QTest::newRow("classic") << QStringLiteral(
        "Quartz__R040031__Raman__532__0__unoriented__Raman_Data_Processed__13512.txt")
                             << QStringList{QStringLiteral("Quartz"),
                                            QStringLiteral("R040031"),
                                            QStringLiteral("532"),
                                            QStringLiteral("0"),
                                            QStringLiteral("unoriented"),
                                            QStringLiteral("Raman_Data_Processed"),
                                            QStringLiteral("13512")};
    QTest::newRow("newer export, empty orientation")
        << QStringLiteral(
               "Albite__R040068-3__Raman__514__45-000____Raman_Data_Processed__e0ba99.txt")
        << QStringList{QStringLiteral("Albite"),
                       QStringLiteral("R040068-3"),
                       QStringLiteral("514"),
                       QStringLiteral("45-000"),
                       QString(),
                       QStringLiteral("Raman_Data_Processed"),
                       QStringLiteral("e0ba99")};
    QTest::newRow("only the last extension goes")
        << QStringLiteral("Foo.bar__X__Raman__785__0__oriented__processed__1.5.txt")
        << QStringList{QStringLiteral("Foo.bar"),  QStringLiteral("X"),
                       QStringLiteral("785"),      QStringLiteral("0"),
                       QStringLiteral("oriented"), QStringLiteral("processed"),
                       QStringLiteral("1.5")};
    QTest::newRow("not in the scheme")
        << QStringLiteral("notes.txt") << QStringList{QStringLiteral("notes"),
                                                      QString(),
                                                      QString(),
                                                      QString(),
                                                      QString(),
                                                      QString(),
                                                      QString()};
}

void TestLibraryFiles::parseNames()
{
    QFETCH(QString, file);
    QFETCH(QStringList, fields);
    const auto fieldsOf = [](const rruff_infos &i) {
        return QStringList{i.name,        i.rruffId,  i.laserWavelength, i.angle,
                           i.orientation, i.dataKind, i.number};
    };
    const rruff_infos info = parseSpectrumName(file);
    QCOMPARE(fieldsOf(info), fields);
    // The cache entry parses back to the same record.
    const QString entry = cacheEntryName(info);
    QVERIFY(entry.endsWith(QLatin1String(".bin")));
    if (!info.rruffId.isEmpty())
        QCOMPARE(fieldsOf(parseSpectrumName(entry)), fields);
}

void TestLibraryFiles::pigmentNames_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("laser");
    QTest::addColumn<QString>("number");

    QTest::newRow("code, digit and suffix")
        << QStringLiteral("Azurite K12_785_2_a.txt") << QStringLiteral("Azurite_2")
        << QStringLiteral("785") << QStringLiteral("pigment_K12");
    QTest::newRow("code only") << QStringLiteral("Malachite M3_532.txt")
                               << QStringLiteral("Malachite") << QStringLiteral("532")
                               << QStringLiteral("pigment_M3");
    QTest::newRow("no match keeps the whole name")
        << QStringLiteral("unknown pigment.txt") << QStringLiteral("unknown pigment.txt")
        << QStringLiteral("0") << QStringLiteral("0");
}

void TestLibraryFiles::pigmentNames()
{
    QFETCH(QString, file);
    QFETCH(QString, name);
    QFETCH(QString, laser);
    QFETCH(QString, number);
    if (laser == QLatin1String("0"))
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
                                               "^Expression did not match filename:")));
    const QString mapped = pigmentNameMapper(file);
    QVERIFY(mapped.contains(QLatin1String("__Raman__")));
    const rruff_infos info = parseSpectrumName(mapped);
    QCOMPARE(info.name, name);
    QCOMPARE(info.laserWavelength, laser);
    QCOMPARE(info.number, number);
    QCOMPARE(info.orientation, QStringLiteral("unoriented"));
    QVERIFY(nameMapperForInstallHandler(QStringLiteral("chsopensource-pigments")));
    QVERIFY(!nameMapperForInstallHandler(QStringLiteral("rruff-excellent")));
}

void TestLibraryFiles::chemistryKeys_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    QTest::newRow("bracketed suffix")
        << QStringLiteral("Abenakiite-(Ce)") << QStringLiteral("abenakiitece");
    QTest::newRow("as in file names")
        << QStringLiteral("AbenakiiteCe") << QStringLiteral("abenakiitece");
    QTest::newRow("plain suffix") << QStringLiteral("Ferrierite-K")
                                  << QStringLiteral("ferrieritek");
    QTest::newRow("several hyphens")
        << QStringLiteral("Ferro-ferri-hornblende") << QStringLiteral("ferroferrihornblende");
    QTest::newRow("simple") << QStringLiteral("Quartz") << QStringLiteral("quartz");
}

void TestLibraryFiles::chemistryKeys()
{
    QFETCH(QString, name);
    QFETCH(QString, key);
    QCOMPARE(chemistryKey(name), key);
}

void TestLibraryFiles::chemistryFromFormula()
{
    const Chemistry c = Chemistry::fromFormula(
        QStringLiteral("◽(Mg,Fe<sup>2+</sup>)<sub>2</sub>SiO<sub>4</sub>·H<sub>2</sub>O"));
    QCOMPARE(c.formulaPlain, QStringLiteral("◽(Mg,Fe2+)2SiO4·H2O"));
    QStringList symbols;
    for (quint16 code : c.elements)
        symbols << Chemistry::elementSymbol(code);
    QCOMPARE(symbols, (QStringList{QStringLiteral("Mg"), QStringLiteral("Fe"), QStringLiteral("Si"),
                                   QStringLiteral("O"), QStringLiteral("H"), QStringLiteral("O")}));
    QCOMPARE(Chemistry::elementCode(QStringLiteral("Mg")), quint16(('M' << 8) | 'g'));
    QCOMPARE(Chemistry::elementCode(QStringLiteral("O")), quint16('O' << 8));
}

void TestLibraryFiles::chemistryFilePrecedence()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chemistry.csv"));
    QVERIFY(TestFiles::write(path, "Quartz SiO<sub>2</sub>\nquartz Si O<sub>2</sub>\n\n"
                                   "Abenakiite-(Ce) Na\nQuartz-123 SiO<sub>2</sub>:Ti\n"));
    const ChemistryTable table = readChemistryFile(path);
    QCOMPARE(table.value(QStringLiteral("quartz")).formulaHtml, QStringLiteral("Si O<sub>2</sub>"));
    QCOMPARE(table.value(QStringLiteral("quartz-123")).formulaPlain, QStringLiteral("SiO2:Ti"));
    // Written with hyphen and brackets, an entry can never be found by a spectrum's key.
    QVERIFY(!table.contains(chemistryKey(QStringLiteral("Abenakiite-(Ce)"))));

    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^failed to open chemistry file:")));
    QVERIFY(readChemistryFile(dir.filePath(QStringLiteral("none.csv"))).isEmpty());
}

void TestLibraryFiles::builtInChemistryTables()
{
    const ChemistryTable ima = readChemistryFile(QStringLiteral(":/chemistry.csv"));
    const ChemistryTable extra = readChemistryFile(QStringLiteral(":/chemistry-extra.csv"));
    QVERIFY(ima.size() > 5000);
    QVERIFY(!extra.isEmpty());
    QCOMPARE(ima.value(chemistryKey(QStringLiteral("Abenakiite-(Ce)"))).elements.size() > 0, true);
    QCOMPARE(ima.value(QStringLiteral("quartz")).formulaPlain, QStringLiteral("SiO2"));
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
        QVERIFY2(!ima.contains(it.key()), qPrintable(it.key()));
}

void TestLibraryFiles::spectrumIdentifier()
{
    QCOMPARE(LibraryCache::spectrumIdentifier({1.0}), QStringLiteral("6c3c396e"));
    QCOMPARE(LibraryCache::spectrumIdentifier({0.5, -2.0, 1e300}), QStringLiteral("43c95f11"));
}

void TestLibraryFiles::cacheIsBuiltOnceFromAllSources()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("My Library"));
    QVERIFY(TestFiles::write(folder
                                 + QStringLiteral("/Quartz__R1__Raman__532__0__unoriented__"
                                                  "Raman_Data_Processed__1.txt"),
                             "100 1\n101 2\n102 3\n"));
    QVERIFY(TestFiles::write(folder
                                 + QStringLiteral("/Calcite__R2__Raman__785__0__unoriented__"
                                                  "Raman_Data_Processed__2.txt"),
                             "# source: test\n300, 0.5\n301, 0.25\n"));
    QVERIFY(TestFiles::write(folder
                                 + QStringLiteral("/Empty__R3__Raman__532__0__unoriented__"
                                                  "Raman_Data_Processed__3.txt"),
                             ""));
    QVERIFY(TestFiles::write(folder + QStringLiteral("/readme.md"), "not a spectrum"));
    // A measurement folder placed in the library: its first point's processed spectrum.
    const QString measurement = folder + QStringLiteral("/Probe 7");
    const QJsonObject sector{
        {QStringLiteral("identification_data"),
         QJsonObject{{QStringLiteral("mineral_final_identification"), QStringLiteral("Gips")}}}};
    QVERIFY(TestFiles::writeJson(measurement + QStringLiteral("/metadata.json"),
                                 {{QStringLiteral("save_data_version"), 11},
                                  {QStringLiteral("sectors"), QJsonArray{sector}}}));
    QVERIFY(TestFiles::write(measurement + QStringLiteral("/Location1/data.csv"),
                             "1 0.5\n2 -2\n3 1e+300\n"));
    QVERIFY(TestFiles::write(measurement + QStringLiteral("/Location1/calibration_lines.txt"), ""));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/not a measurement")));

    QVERIFY(LibraryCache::ensureCache(folder));
    const QStringList left = QDir(folder).entryList(QDir::Files);
    QVERIFY(left.contains(QStringLiteral("cache.tar")));
    QVERIFY(left.filter(QRegularExpression(QStringLiteral("\\.(bin|tmp)$"))).isEmpty());

    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(QStringLiteral("^Empty data in cache for .*Empty__R3")));
    QVector<LibraryCache::CacheEntry> entries;
    QVERIFY(LibraryCache::readCacheEntries(folder, entries));
    QStringList names;
    for (const LibraryCache::CacheEntry &entry : entries)
        names << entry.name;
    names.sort();
    QCOMPARE(
        names,
        (QStringList{
            QStringLiteral("Calcite__R2__Raman__785__0__unoriented__Raman_Data_Processed__2.bin"),
            QStringLiteral("Gips__BXXXXXX__Raman__532__0__unoriented__Raman_Data_Processed__"
                           "43c95f11.bin"),
            QStringLiteral("Quartz__R1__Raman__532__0__unoriented__Raman_Data_Processed__1.bin")}));
    for (const LibraryCache::CacheEntry &entry : entries) {
        if (entry.name.startsWith(QLatin1String("Calcite"))) {
            const RamanData<Wavenumbers> data = LibraryCache::decodeEntry(entry.data);
            QCOMPARE(data.x, (QVector<double>{300, 301}));
            QCOMPARE(data.y, (QVector<double>{0.5, 0.25}));
        }
    }

    // An existing cache is kept as it is, whatever the folder holds now.
    const QDateTime built = QFileInfo(LibraryCache::cachePath(folder)).lastModified();
    QVERIFY(TestFiles::write(
        folder + QStringLiteral("/New__R4__Raman__532__0__unoriented__x__4.txt"), "1 1\n2 2\n"));
    QTest::qWait(20);
    QVERIFY(LibraryCache::ensureCache(folder));
    QCOMPARE(QFileInfo(LibraryCache::cachePath(folder)).lastModified(), built);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^no such directory:")));
    QVERIFY(!LibraryCache::ensureCache(dir.filePath(QStringLiteral("missing"))));
}

void TestLibraryFiles::brokenCacheArchives_data()
{
    QTest::addColumn<int>("keptBytes"); // of a valid archive; -1: garbage instead
    QTest::newRow("garbage") << -1;
    QTest::newRow("empty file") << 0;
    QTest::newRow("cut in the middle of an entry") << 700;
    QTest::newRow("cut after a header") << 512;
}

void TestLibraryFiles::brokenCacheArchives()
{
    QFETCH(int, keptBytes);
    QTemporaryDir dir;
    const QString folder = dir.path();
    for (int i = 0; i < 3; ++i) {
        QVERIFY(TestFiles::write(
            folder + QStringLiteral("/M%1__R__Raman__532__0__unoriented__k__%1.txt").arg(i),
            "100 1\n101 2\n102 3\n103 4\n"));
    }
    QVERIFY(LibraryCache::ensureCache(folder));
    QFile cache(LibraryCache::cachePath(folder));
    QVERIFY(cache.open(QIODevice::ReadWrite));
    const QByteArray whole = cache.readAll();
    cache.resize(0);
    cache.seek(0);
    cache.write(keptBytes < 0 ? QByteArray(4096, 'x') : whole.left(keptBytes));
    cache.close();

    // Whatever survives must decode without crashing; nothing is invented.
    QVector<LibraryCache::CacheEntry> entries;
    LibraryCache::readCacheEntries(folder, entries);
    QVERIFY(entries.size() <= 3);
    for (const LibraryCache::CacheEntry &entry : entries)
        QVERIFY(LibraryCache::decodeEntry(entry.data).x.size() <= 4);
}

QTEST_GUILESS_MAIN(TestLibraryFiles)
#include "tst_libraryfiles.moc"
