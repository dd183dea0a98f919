#include "library/chemistry.h"
#include "library/librarycache.h"
#include "library/spectrumname.h"
#include "spectrum/spectrumfile.h"

#include "testfiles.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class TestLibraryFiles : public QObject
{
    Q_OBJECT

private slots:
    void parseNames_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("fields"); // name|id|laser|angle|orientation|kind|number
        QTest::newRow("classic")
            << "Quartz__R040031__Raman__532__0__unoriented__Raman_Data_Processed__13512.txt"
            << "Quartz|R040031|532|0|unoriented|Raman_Data_Processed|13512";
        QTest::newRow("empty orientation")
            << "Albite__R040068-3__Raman__514__45-000____Raman_Data_Processed__e0ba99.txt"
            << "Albite|R040068-3|514|45-000||Raman_Data_Processed|e0ba99";
        QTest::newRow("not in the scheme") << "notes.txt"
                                           << "notes||||||";
    }
    void parseNames()
    {
        QFETCH(QString, file);
        QFETCH(QString, fields);
        const auto fieldsOf = [](const rruff_infos &i) {
            return QStringList{i.name,        i.rruffId,  i.laserWavelength, i.angle,
                               i.orientation, i.dataKind, i.number}
                .join(QLatin1Char('|'));
        };
        const rruff_infos info = parseSpectrumName(file);
        QCOMPARE(fieldsOf(info), fields);
        const QString entry = cacheEntryName(info);
        QVERIFY(entry.endsWith(QLatin1String(".bin")));
        if (!info.rruffId.isEmpty())
            QCOMPARE(fieldsOf(parseSpectrumName(entry)), fields);
    }
    void pigmentNames_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("fields"); // name|laser|number
        QTest::newRow("code, digit and suffix") << "Azurite K12_785_2_a.txt"
                                                << "Azurite_2|785|pigment_K12";
        QTest::newRow("no match keeps the whole name") << "unknown pigment.txt"
                                                       << "unknown pigment.txt|0|0";
    }
    void pigmentNames()
    {
        QFETCH(QString, file);
        QFETCH(QString, fields);
        if (fields.endsWith(QLatin1String("|0|0")))
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
                                                   "^Expression did not match filename:")));
        const rruff_infos info = parseSpectrumName(pigmentNameMapper(file));
        QCOMPARE(QStringList({info.name, info.laserWavelength, info.number}).join(QLatin1Char('|')),
                 fields);
        QCOMPARE(info.orientation, QStringLiteral("unoriented"));
        QVERIFY(nameMapperForInstallHandler(QStringLiteral("chsopensource-pigments")));
        QVERIFY(!nameMapperForInstallHandler(QStringLiteral("rruff-excellent")));
    }
    void chemistryKeys()
    {
        for (const char *name : {"Abenakiite-(Ce)", "AbenakiiteCe"})
            QCOMPARE(chemistryKey(QLatin1String(name)), QStringLiteral("abenakiitece"));
        const Chemistry c = Chemistry::fromFormula(
            QStringLiteral("◽(Mg,Fe<sup>2+</sup>)<sub>2</sub>SiO<sub>4</sub>·H<sub>2</sub>O"));
        QCOMPARE(c.formulaPlain, QStringLiteral("◽(Mg,Fe2+)2SiO4·H2O"));
        QStringList symbols;
        for (quint16 code : c.elements)
            symbols << Chemistry::elementSymbol(code);
        QCOMPARE(symbols.join(QLatin1Char(' ')), QStringLiteral("Mg Fe Si O H O"));
    }
    void chemistryFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("chemistry.csv"));
        QVERIFY(TestFiles::write(path, "Quartz SiO<sub>2</sub>\nquartz Si O<sub>2</sub>\n\n"
                                       "Abenakiite-(Ce) Na\nQuartz-123 SiO<sub>2</sub>:Ti\n"));
        const ChemistryTable table = readChemistryFile(path);
        QCOMPARE(table.value(QStringLiteral("quartz")).formulaHtml,
                 QStringLiteral("Si O<sub>2</sub>"));
        QCOMPARE(table.value(QStringLiteral("quartz-123")).formulaPlain, QStringLiteral("SiO2:Ti"));
        // Written with hyphen and brackets, an entry can never be found by a spectrum's key.
        QVERIFY(!table.contains(chemistryKey(QStringLiteral("Abenakiite-(Ce)"))));

        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^failed to open chemistry file:")));
        QVERIFY(readChemistryFile(dir.filePath(QStringLiteral("none.csv"))).isEmpty());
        const ChemistryTable ima = readChemistryFile(QStringLiteral(":/chemistry.csv"));
        const ChemistryTable extra = readChemistryFile(QStringLiteral(":/chemistry-extra.csv"));
        QVERIFY(ima.size() > 5000 && !extra.isEmpty());
        QVERIFY(!ima.value(chemistryKey(QStringLiteral("Abenakiite-(Ce)"))).elements.isEmpty());
        QCOMPARE(ima.value(QStringLiteral("quartz")).formulaPlain, QStringLiteral("SiO2"));
    }
    void cacheIsBuiltOnceFromAllSources()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("My Library"));
        const QString pattern = QStringLiteral("/%1__R%2__Raman__%3__0__unoriented__Raman_Data_"
                                               "Processed__%2.txt");
        const auto file = [&](const char *name, const char *number, const char *laser) -> QString {
            return folder
                   + pattern.arg(QLatin1String(name), QLatin1String(number), QLatin1String(laser));
        };
        QVERIFY(TestFiles::write(file("Quartz", "1", "532"), "100 1\n101 2\n"));
        QVERIFY(
            TestFiles::write(file("Calcite", "2", "785"), "# source: test\n300, 0.5\n301, 0.25\n"));
        QVERIFY(TestFiles::write(file("Empty", "3", "532"), ""));
        QVERIFY(TestFiles::write(folder + QStringLiteral("/readme.md"), "not a spectrum"));
        const QString measurement = folder + QStringLiteral("/Probe 7");
        const QJsonObject sector{{QStringLiteral("identification_data"),
                                  QJsonObject{{QStringLiteral("mineral_final_identification"),
                                               QStringLiteral("Gips")}}}};
        QVERIFY(TestFiles::writeJson(measurement + QStringLiteral("/metadata.json"),
                                     {{QStringLiteral("save_data_version"), 11},
                                      {QStringLiteral("sectors"), QJsonArray{sector}}}));
        QVERIFY(TestFiles::write(measurement + QStringLiteral("/Location1/data.csv"),
                                 "1 0.5\n2 -2\n3 1e+300\n"));
        QVERIFY(
            TestFiles::write(measurement + QStringLiteral("/Location1/calibration_lines.txt"), ""));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/not a measurement")));

        QVERIFY(LibraryCache::ensureCache(folder));
        const QStringList left = QDir(folder).entryList(QDir::Files);
        QVERIFY(left.contains(QStringLiteral("cache.tar")));
        QVERIFY(left.filter(QRegularExpression(QStringLiteral("\\.(bin|tmp)$"))).isEmpty());

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
                                               "^Empty data in cache for .*Empty__R3")));
        QVector<LibraryCache::CacheEntry> entries;
        QVERIFY(LibraryCache::readCacheEntries(folder, entries));
        QStringList names;
        for (const LibraryCache::CacheEntry &entry : entries)
            names << entry.name;
        names.sort();
        QCOMPARE(
            names.join(QLatin1Char(' ')),
            QStringLiteral("Calcite__R2_785_2.bin Gips__BXXXXXX_532_43c95f11.bin "
                           "Quartz__R1_532_1.bin")
                .replace(QRegularExpression(QStringLiteral("_(\\d+)_")),
                         QStringLiteral("__Raman__\\1__0__unoriented__Raman_Data_Processed__")));
        for (const LibraryCache::CacheEntry &entry : entries) {
            const RamanData<Wavenumbers> data = LibraryCache::decodeEntry(entry.data);
            if (entry.name.startsWith(QLatin1String("Calcite")))
                QCOMPARE(data.x + data.y, (QVector<double>{300, 301, 0.5, 0.25}));
        }

        // An existing cache is kept as it is.
        const QDateTime built = QFileInfo(LibraryCache::cachePath(folder)).lastModified();
        QVERIFY(TestFiles::write(
            folder + QStringLiteral("/New__R4__Raman__532__0__unoriented__x__4.txt"),
            "1 1\n2 2\n"));
        QTest::qWait(20);
        QVERIFY(LibraryCache::ensureCache(folder));
        QCOMPARE(QFileInfo(LibraryCache::cachePath(folder)).lastModified(), built);

        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^no such directory:")));
        QVERIFY(!LibraryCache::ensureCache(dir.filePath(QStringLiteral("missing"))));
    }
    void brokenCacheArchives_data()
    {
        QTest::addColumn<int>("keptBytes");        // of a valid archive; -1: garbage instead
        QTest::addColumn<QByteArray>("firstSize"); // octal size field written into the first header
        QTest::newRow("garbage") << -1 << QByteArray();
        QTest::newRow("cut in the middle of an entry") << 700 << QByteArray();
        // Found by fuzzing: the whole claim was allocated before reading.
        QTest::newRow("entry claiming 2 GiB") << 1 << QByteArray("20000003100");
    }
    void brokenCacheArchives()
    {
        QFETCH(int, keptBytes);
        QFETCH(QByteArray, firstSize);
        QTemporaryDir dir;
        const QString folder = dir.path();
        for (int i = 0; i < 3; ++i)
            QVERIFY(TestFiles::write(
                folder + QStringLiteral("/M%1__R__Raman__532__0__unoriented__k__%1.txt").arg(i),
                "100 1\n101 2\n102 3\n103 4\n"));
        QVERIFY(LibraryCache::ensureCache(folder));
        QFile cache(LibraryCache::cachePath(folder));
        QVERIFY(cache.open(QIODevice::ReadWrite));
        QByteArray bytes = cache.readAll();
        if (!firstSize.isEmpty()) {
            bytes.replace(124, firstSize.size(), firstSize);
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(QStringLiteral("^Damaged cache")));
        }
        cache.resize(0);
        cache.seek(0);
        cache.write(keptBytes < 0         ? QByteArray(4096, 'x')
                    : firstSize.isEmpty() ? bytes.left(keptBytes)
                                          : bytes);
        cache.close();

        // Whatever survives must decode without crashing; nothing is invented.
        QVector<LibraryCache::CacheEntry> entries;
        LibraryCache::readCacheEntries(folder, entries);
        QVERIFY(entries.size() <= (firstSize.isEmpty() ? 3 : 2));
        for (const LibraryCache::CacheEntry &entry : entries)
            QVERIFY(LibraryCache::decodeEntry(entry.data).x.size() <= 4);
    }
};

QTEST_GUILESS_MAIN(TestLibraryFiles)
#include "tst_libraryfiles.moc"
