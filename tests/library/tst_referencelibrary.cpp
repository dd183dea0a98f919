#include "library/chemistry.h"
#include "library/identify/search.h"
#include "library/librarycache.h"
#include "library/libraryloader.h"
#include "library/spectrumname.h"
#include "measurementfolders.h"
#include "spectrum/spectrumfile.h"
#include "syntheticspectra.h"
#include "testfiles.h"

#include <QtTest>

namespace {

const QVector<QVector<SyntheticBand>> minerals{
    {{464, 1.0, 4}, {206, 0.4, 6}, {128, 0.3, 4}},                    // quartz-like
    {{1086, 1.0, 3}, {282, 0.4, 5}, {712, 0.2, 3}, {155, 0.3, 4}},    // calcite-like
    {{1008, 1.0, 3}, {414, 0.25, 6}, {494, 0.2, 6}, {1136, 0.15, 5}}, // gypsum-like
    {{417, 1.0, 3}, {378, 0.2, 4}, {750, 0.15, 6}, {576, 0.1, 5}},    // corundum-like
};
const char *const names[] = {"Quartz", "Calcite", "Gypsum", "Corundum"};

QString spectrumPath(const QString &folder, const char *name, int number)
{
    return folder
           + S("/%1__R%2__Raman__532__0__unoriented__Raman_Data_Processed__%2.txt")
                 .arg(QLatin1String(name))
                 .arg(number);
}

void writeSpectrum(const QString &folder, const char *name, int number,
                   const RamanData<Wavenumbers> &data)
{
    QVERIFY(TestFiles::write(spectrumPath(folder, name, number),
                             data.isEmpty() ? QByteArray() : spectrumText(data)));
}

// Which spectrum the search names is kept up by the hit rates on real spectra (tst_identification).
QVector<double> scores(const ReferenceLibrary &library, SearchMethod method,
                       const RamanData<Wavenumbers> &query)
{
    return searchLibrary(library, method, SearchQuery::fromSpectrum(query, {}), {}).scores;
}

} // namespace

// Library folders, file names, chemistry and caches, loading and searching.
class TestReferenceLibrary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_first = m_dir.filePath(S("minerals"));
        m_second = m_dir.filePath(S("own"));
        for (int i = 0; i < minerals.size(); ++i)
            writeSpectrum(m_first, names[i], 100 + i,
                          syntheticSpectrum(minerals[i], i, 0.002, 50, 1800, 0.5));
        writeSpectrum(m_second, "Quartz", 200,
                      syntheticSpectrum(minerals[0], 9, 0.004, 100, 1500, 0.7));
        QVERIFY(TestFiles::write(m_second + S("/chemistry.csv"),
                                 "Quartz-200 SiO<sub>2</sub>:Fe\nCalcite Ca(CO<sub>3</sub>)\n"));
        QVERIFY(TestFiles::write(m_first + S("/chemistry.csv"),
                                 "Corundum Al<sub>2</sub>O<sub>3</sub>:Cr\n"));
    }
    void loadsEnabledFoldersInOrder()
    {
        LibraryLoader loader;
        QSignalSpy changed(&loader, &LibraryLoader::libraryChanged);
        loader.setLibraryFolders(folders({m_second, m_first, m_second})
                                 + folders({m_dir.filePath(S("off"))}, false));
        // Loaded off this thread; the library is swapped in here.
        loader.startLoading();
        QVERIFY(loader.isLoading());
        QTRY_COMPARE(changed.count(), 1);
        QVERIFY(!loader.isLoading());
        const ReferenceLibrary &library = *loader.library();
        QCOMPARE(library.count(), 6);
        QCOMPARE(library.info(0).library, S("own"));
        QCOMPARE(library.info(0).number, S("200"));
        QCOMPARE(library.info(5).number, S("200"));
        QCOMPARE(library.info(1).library, S("minerals"));

        QCOMPARE(library.fingerprints().size(), library.count());
        for (int i = 0; i < library.count(); ++i)
            QVERIFY(library.fingerprint(i).peaks.size() >= 3);
        QVERIFY(QFileInfo::exists(m_first + S("/cache.tar")));
    }
    void chemistryPrecedence()
    {
        const ReferenceLibrary library = *ReferenceLibrary::load(folders({m_first, m_second}));
        QHash<QString, QString> formulas; // number -> plain formula
        for (int i = 0; i < library.count(); ++i)
            formulas.insert(library.info(i).number, library.info(i).chemistry.formulaPlain);
        QCOMPARE(formulas.value(S("100")), S("SiO2"));     // built in
        QCOMPARE(formulas.value(S("200")), S("SiO2:Fe"));  // this spectrum
        QCOMPARE(formulas.value(S("101")), S("Ca(CO3)"));  // later folder
        QCOMPARE(formulas.value(S("103")), S("Al2O3:Cr")); // library file
    }
    void brokenFolders()
    {
        const QString corrupt = m_dir.filePath(S("corrupt"));
        QVERIFY(TestFiles::write(corrupt + S("/cache.tar"), QByteArray(3000, '\x7f')));
        const QString zeros = m_dir.filePath(S("zeros"));
        writeSpectrum(zeros, "Nothing", 1, syntheticSpectrum({}, 1, 0.0));
        writeSpectrum(zeros, "Empty", 2, {});

        expectWarning("^no such directory:");
        expectWarning("^Failed to read library cache archive:");
        expectWarning("^Empty data in cache for .*Empty");
        const ReferenceLibrary library
            = *ReferenceLibrary::load(folders({m_dir.filePath(S("missing")), corrupt, zeros}));
        // The flat spectrum loads but has no fingerprint; it must not break the search.
        QCOMPARE(library.count(), 1);
        QVERIFY(library.fingerprint(0).peaks.isEmpty());
        QCOMPARE(scores(library, SearchMethod::Fingerprint, syntheticSpectrum(minerals[0])),
                 QVector<double>{-1.0});
    }
    // Malformed spectra seen in the field hung or aborted the load; they are skipped now.
    void malformedSpectraAreSkipped()
    {
        const QString text = m_dir.filePath(S("malformed text"));
        const QString cached = m_dir.filePath(S("malformed cache"));
        for (int i = 0; i < minerals.size(); ++i)
            writeSpectrum(i < 2 ? text : cached, names[i], 300 + i, syntheticSpectrum(minerals[i]));
        writeSpectrum(text, "Nanite", 901, {{100, qQNaN(), 200}, {1, 2, 3}});
        writeSpectrum(text, "Farite", 902, {{0, 2.5e9}, {1, 2}});
        QVERIFY(LibraryCache::ensureCache(cached));
        // 1.8e258 as the second x of the last spectrum's cache entry.
        QFile cache(LibraryCache::cachePath(cached));
        QVERIFY(cache.open(QIODevice::ReadWrite));
        const QByteArray corundum
            = LibraryCache::encodeEntry(loadSpectrumFromCSV(spectrumPath(cached, "Corundum", 303)));
        QVERIFY(cache.seek(cache.readAll().indexOf(corundum) + 16));
        QVERIFY(cache.write(QByteArray::fromHex("758df84f7b3ac4ec")) == 8);
        cache.close();

        for (const char *warning :
             {"Nanite.*refused: x value nan at point 1 is not finite",
              "Farite.*refused: x value 2.5e\\+09 at point 1 is beyond", "^Empty data.*Nanite",
              "^Empty data.*Farite", "^Skipping library spectrum Corundum.*is beyond"})
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QLatin1String(warning)));
        const ReferenceLibrary library = *ReferenceLibrary::load(folders({text, cached}));
        QCOMPARE(library.count(), 3);
    }
    // A folder the user cannot write to (a share, a system-wide installation) loads without a
    // warning: its cache goes to the user's cache folder, and where that fails too the folder is
    // read without one. A folder where a file must go makes the writes fail (root ignores
    // permissions).
    void unwritableFolderLoads_data()
    {
        QTest::addColumn<bool>("userCacheWritable");
        QTest::newRow("cache in the user's cache folder") << true;
        QTest::newRow("read without a cache") << false;
    }
    void unwritableFolderLoads()
    {
        QFETCH(bool, userCacheWritable);
        QStandardPaths::setTestModeEnabled(true);
        const QString users
            = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + S("/libraries");
        QDir(users).removeRecursively();
        QFile::remove(users);
        if (!userCacheWritable)
            QVERIFY(TestFiles::write(users, "in the way"));
        const QString folder = m_dir.filePath(S("share %1").arg(userCacheWritable));
        for (int i = 0; i < 2; ++i)
            writeSpectrum(folder, names[i], 400 + i, syntheticSpectrum(minerals[i]));
        QVERIFY(QDir().mkpath(folder + S("/cache.tar.tmp")));

        static int warnings = 0;
        warnings = 0;
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &, const QString &) {
                warnings += type == QtWarningMsg || type == QtCriticalMsg;
            });
        const auto load = [&folder] { return ReferenceLibrary::load(folders({folder}))->count(); };
        QCOMPARE(load(), 2);
        const QString cache = LibraryCache::cacheInUse(folder);
        QCOMPARE(cache.startsWith(users + QLatin1Char('/')), userCacheWritable);
        if (userCacheWritable) {
            // A changed folder gets a new cache in the old one's place.
            writeSpectrum(folder, names[2], 402, syntheticSpectrum(minerals[2]));
            QCOMPARE(load(), 3);
            QVERIFY(!QFileInfo::exists(cache));
            QCOMPARE(QDir(users).entryList(QDir::Files).size(), 1);
        }
        qInstallMessageHandler(previous);
        QCOMPARE(warnings, 0);
        QFile::remove(users);
    }
    // A rewritten cache reloads off this thread; whoever holds the old library keeps it whole.
    void reloadsWhenCacheIsRewritten()
    {
        const QString folder = m_dir.filePath(S("watched"));
        writeSpectrum(folder, "Quartz", 1, syntheticSpectrum(minerals[0]));
        LibraryLoader loader;
        loader.setLibraryFolders(folders({folder}));
        loader.loadNow();
        const std::shared_ptr<const ReferenceLibrary> before = loader.library();
        QCOMPARE(before->count(), 1);
        QSignalSpy changed(&loader, &LibraryLoader::libraryChanged);

        writeSpectrum(folder, "Calcite", 2, syntheticSpectrum(minerals[1]));
        QVERIFY(LibraryCache::rebuildCache(folder));
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(loader.library()->count(), 2);
        QCOMPARE(before->count(), 1);
        QCOMPARE(before->info(0).name, S("Quartz"));
        // Its points come from the cache it was loaded from, replaced on disk meanwhile.
        QCOMPARE(before->spectrumData(0), loadSpectrumFromCSV(spectrumPath(folder, "Quartz", 1)));
        const ReferenceLibrary &after = *loader.library();
        QCOMPARE(after.spectrumData(after.indexOfNumber(S("2"))),
                 loadSpectrumFromCSV(spectrumPath(folder, "Calcite", 2)));

        // A deleted cache does not reload.
        QVERIFY(QFile::remove(folder + S("/cache.tar")));
        QTest::qWait(300);
        QCOMPARE(changed.count(), 1);
    }
    // Unusable queries: tst_mineralsearch.
    void tooNoisyForBands()
    {
        QVERIFY(!looksTooNoisyForBands(syntheticSpectrum(minerals[1], 3, 0.002)));
        // Pure noise has no peak above 25 noise levels.
        QVERIFY(looksTooNoisyForBands(syntheticSpectrum({}, 3, 1.0)));
    }

    void parseNames_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("pigment");
        QTest::addColumn<QString>("fields"); // name|id|laser|angle|orientation|kind|number
        QTest::newRow("classic")
            << "Quartz__R040031__Raman__532__0__unoriented__Raman_Data_Processed__13512.txt"
            << false << "Quartz|R040031|532|0|unoriented|Raman_Data_Processed|13512";
        QTest::newRow("empty orientation")
            << "Albite__R040068-3__Raman__514__45-000____Raman_Data_Processed__e0ba99.txt" << false
            << "Albite|R040068-3|514|45-000||Raman_Data_Processed|e0ba99";
        QTest::newRow("not in the scheme") << "notes.txt" << false << "notes||||||";
        QTest::newRow("pigment: code, digit and suffix")
            << "Azurite K12_785_2_a.txt" << true
            << "Azurite_2|BXXXXXX|785|0|unoriented|Raman_Data_Processed|pigment_K12";
        QTest::newRow("pigment: no match keeps the whole name")
            << "unknown pigment.txt" << true
            << "unknown pigment.txt|BXXXXXX|0|0|unoriented|Raman_Data_Processed|0";
    }
    void parseNames()
    {
        QFETCH(QString, file);
        QFETCH(bool, pigment);
        QFETCH(QString, fields);
        const auto fieldsOf = [](const rruff_infos &i) {
            return QStringList{i.name,        i.rruffId,  i.laserWavelength, i.angle,
                               i.orientation, i.dataKind, i.number}
                .join(QLatin1Char('|'));
        };
        if (fields.endsWith(QLatin1String("|0")))
            expectWarning("^Expression did not match filename:");
        const rruff_infos info = parseSpectrumName(pigment ? pigmentNameMapper(file) : file);
        QCOMPARE(fieldsOf(info), fields);
        if (!info.rruffId.isEmpty())
            QCOMPARE(fieldsOf(parseSpectrumName(cacheEntryName(info))), fields);
    }
    void chemistryKeys()
    {
        for (const char *name : {"Abenakiite-(Ce)", "AbenakiiteCe"})
            QCOMPARE(chemistryKey(QLatin1String(name)), S("abenakiitece"));
        const Chemistry c = Chemistry::fromFormula(
            S("◽(Mg,Fe<sup>2+</sup>)<sub>2</sub>SiO<sub>4</sub>·H<sub>2</sub>O"));
        QCOMPARE(c.formulaPlain, S("◽(Mg,Fe2+)2SiO4·H2O"));
        QStringList symbols;
        for (quint16 code : c.elements)
            symbols << Chemistry::elementSymbol(code);
        QCOMPARE(symbols.join(QLatin1Char(' ')), S("Mg Fe Si O H O"));
    }
    void chemistryFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(S("chemistry.csv"));
        QVERIFY(TestFiles::write(path, "Quartz SiO<sub>2</sub>\nquartz Si O<sub>2</sub>\n\n"
                                       "Abenakiite-(Ce) Na\nQuartz-123 SiO<sub>2</sub>:Ti\n"));
        const ChemistryTable table = readChemistryFile(path);
        QCOMPARE(table.value(S("quartz")).formulaHtml, S("Si O<sub>2</sub>"));
        QCOMPARE(table.value(S("quartz-123")).formulaPlain, S("SiO2:Ti"));
        // Written with hyphen and brackets, an entry can never be found by a spectrum's key.
        QVERIFY(!table.contains(chemistryKey(S("Abenakiite-(Ce)"))));

        expectWarning("^failed to open chemistry file:");
        QVERIFY(readChemistryFile(dir.filePath(S("none.csv"))).isEmpty());
        const ChemistryTable ima = readChemistryFile(S(":/chemistry.csv"));
        QVERIFY(!ima.value(chemistryKey(S("Abenakiite-(Ce)"))).elements.isEmpty());
        QCOMPARE(ima.value(S("quartz")).formulaPlain, S("SiO2"));
    }
    void cacheIsBuiltOnceFromAllSources()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(S("My Library"));
        const QString pattern = S("/%1__R%2__Raman__%3__0__unoriented__Raman_Data_"
                                  "Processed__%2.txt");
        const auto file = [&](const char *name, const char *number, const char *laser) -> QString {
            return folder
                   + pattern.arg(QLatin1String(name), QLatin1String(number), QLatin1String(laser));
        };
        QVERIFY(TestFiles::write(file("Quartz", "1", "532"), "100 1\n101 2\n"));
        QVERIFY(
            TestFiles::write(file("Calcite", "2", "785"), "# source: test\n300, 0.5\n301, 0.25\n"));
        QVERIFY(TestFiles::write(file("Empty", "3", "532"), ""));
        QVERIFY(TestFiles::write(folder + S("/readme.md"), "not a spectrum"));
        const QString measurement = folder + S("/Probe 7");
        QVERIFY(writeTestMeasurement(measurement, {{}, {}, -1, {S("Gips")}, {}}));
        QVERIFY(
            TestFiles::write(measurement + S("/Location1/data.csv"), "1 0.5\n2 -2\n3 1e+300\n"));
        QVERIFY(QDir().mkpath(folder + S("/not a measurement")));

        QVERIFY(LibraryCache::ensureCache(folder));
        const QStringList left = QDir(folder).entryList(QDir::Files);
        QVERIFY(left.contains(S("cache.tar")));
        QVERIFY(left.filter(QRegularExpression(S("\\.(bin|tmp)$"))).isEmpty());

        expectWarning("^Empty data in cache for .*Empty__R3");
        QVector<LibraryCache::CacheEntry> entries;
        QVERIFY(LibraryCache::readCacheEntries(folder, entries));
        QStringList names;
        for (const LibraryCache::CacheEntry &entry : entries)
            names << entry.name;
        names.sort();
        QCOMPARE(names.join(QLatin1Char(' ')),
                 S("Calcite__R2_785_2.bin Gips__BXXXXXX_532_43c95f11.bin "
                   "Quartz__R1_532_1.bin")
                     .replace(QRegularExpression(S("_(\\d+)_")),
                              S("__Raman__\\1__0__unoriented__Raman_Data_Processed__")));
        for (const LibraryCache::CacheEntry &entry : entries) {
            const RamanData<Wavenumbers> data = LibraryCache::decodeEntry(entry.data);
            if (entry.name.startsWith(QLatin1String("Calcite")))
                QCOMPARE(data.x + data.y, (QVector<double>{300, 301, 0.5, 0.25}));
        }

        // An existing cache is kept as it is.
        const QDateTime built = QFileInfo(LibraryCache::cachePath(folder)).lastModified();
        QVERIFY(TestFiles::write(folder + S("/New__R4__Raman__532__0__unoriented__x__4.txt"),
                                 "1 1\n2 2\n"));
        QTest::qWait(20);
        QVERIFY(LibraryCache::ensureCache(folder));
        QCOMPARE(QFileInfo(LibraryCache::cachePath(folder)).lastModified(), built);

        expectWarning("^no such directory:");
        QVERIFY(!LibraryCache::ensureCache(dir.filePath(S("missing"))));
    }
    void brokenCacheArchives_data()
    {
        // Garbage instead of an archive: brokenFolders.
        QTest::addColumn<int>("keptBytes");        // of a valid archive
        QTest::addColumn<QByteArray>("firstSize"); // octal size field written into the first header
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
            QVERIFY(
                TestFiles::write(folder + S("/M%1__R__Raman__532__0__unoriented__k__%1.txt").arg(i),
                                 "100 1\n101 2\n102 3\n103 4\n"));
        QVERIFY(LibraryCache::ensureCache(folder));
        QFile cache(LibraryCache::cachePath(folder));
        QVERIFY(cache.open(QIODevice::ReadWrite));
        QByteArray bytes = cache.readAll();
        if (!firstSize.isEmpty()) {
            bytes.replace(124, firstSize.size(), firstSize);
            expectWarning("^Damaged cache");
        }
        cache.resize(0);
        cache.seek(0);
        cache.write(firstSize.isEmpty() ? bytes.left(keptBytes) : bytes);
        cache.close();

        // Whatever survives must decode without crashing; nothing is invented.
        QVector<LibraryCache::CacheEntry> entries;
        LibraryCache::readCacheEntries(folder, entries);
        QVERIFY(entries.size() <= (firstSize.isEmpty() ? 3 : 2));
        for (const LibraryCache::CacheEntry &entry : entries)
            QVERIFY(LibraryCache::decodeEntry(entry.data).x.size() <= 4);
    }

private:
    static QVector<LibraryPath> folders(const QStringList &paths, bool enabled = true)
    {
        QVector<LibraryPath> list;
        for (const QString &path : paths)
            list.append({path, enabled, false, {}});
        return list;
    }
    QTemporaryDir m_dir;
    QString m_first, m_second;
};

QTEST_GUILESS_MAIN(TestReferenceLibrary)
#include "tst_referencelibrary.moc"
