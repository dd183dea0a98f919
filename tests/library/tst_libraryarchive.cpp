#include "libraryserver.h"

#include "library/libraryarchive.h"
#include "library/librarycache.h"
#include "library/rlibrary.h"

#include <QtTest>

#include <algorithm>

Q_DECLARE_METATYPE(Entries)

class TestLibraryArchive : public QObject
{
    Q_OBJECT

private slots:
    void installs_data();
    void installs();
    void refuses_data();
    void refuses();
    void entryThatCannotBeWritten();

private:
    // Unpacks `archive` into root/lib; the messages it reported go to m_messages.
    bool install(const QByteArray &archive, const QString &handler);

    QTemporaryDir m_root;
    QString m_folder;
    QStringList m_messages;
};

bool TestLibraryArchive::install(const QByteArray &archive, const QString &handler)
{
    QDir(m_root.path()).removeRecursively();
    m_folder = m_root.filePath(QStringLiteral("lib"));
    m_messages.clear();
    QDir().mkpath(m_folder);
    QFile zip(LibraryArchive::downloadPath(m_folder));
    if (!zip.open(QIODevice::WriteOnly) || zip.write(archive) != archive.size())
        return false;
    zip.close();
    return LibraryArchive::installLibraryArchive(
        m_folder, handler, [this](const QString &message, int) { m_messages << message; });
}

void TestLibraryArchive::installs_data()
{
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<QString>("handler");
    // name | number | laser wavelength of every spectrum loaded
    QTest::addColumn<QStringList>("spectra");

    const Entries spectra = TestZip::rruffSpectra(4);
    QStringList flat;
    for (int i = 0; i < 3; ++i) {
        const rruff_infos info = parseSpectrumName(spectra.at(i).first);
        flat << info.name + QLatin1Char('|') + info.number + QLatin1Char('|')
                    + info.laserWavelength;
    }
    QTest::newRow("flat RRUFF archive") << spectra.mid(0, 3) << QStringLiteral("rruff-zip") << flat;

    Entries nested{{QStringLiteral("excellent_unoriented/"), {}}};
    for (int i = 0; i < 3; ++i)
        nested.append(
            {QStringLiteral("excellent_unoriented/") + spectra.at(i).first, spectra.at(i).second});
    nested.append(
        {QStringLiteral("excellent_unoriented/more/") + spectra.at(3).first, spectra.at(3).second});
    QTest::newRow("single top-level folder, sub-folders ignored")
        << nested << QStringLiteral("rruff-zip") << flat;

    const Entries pigments{{QStringLiteral("Azurite K12_785_2_a.txt"), spectra.at(0).second},
                           {QStringLiteral("Cinnabar_532.txt"), spectra.at(1).second}};
    // "Cinnabar" + "_" + no digit, then "__": the name ends before the added "_".
    QTest::newRow("pigment names mapped")
        << pigments << QStringLiteral("chsopensource-zip")
        << QStringList{QStringLiteral("Azurite_2|pigment_K12|785"),
                       QStringLiteral("Cinnabar|pigment_|532")};
}

void TestLibraryArchive::installs()
{
    QFETCH(Entries, entries);
    QFETCH(QString, handler);
    QFETCH(QStringList, spectra);

    QVERIFY2(install(TestZip::build(entries), handler), qPrintable(m_messages.join(u'\n')));
    QCOMPARE(m_messages.constFirst(),
             QStringLiteral("Extracting: ") + LibraryArchive::downloadPath(m_folder));
    QCOMPARE(m_messages.constLast(), QStringLiteral("Cache created for '%1'.").arg(m_folder));
    QVERIFY(QFileInfo::exists(LibraryCache::cachePath(m_folder)));
    QCOMPARE(QDir(m_folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());

    RLibrary library;
    library.setLibraryFolders({LibraryPath{m_folder, true, false, {}}});
    library.readLibraryFromDisk();
    QStringList loaded;
    for (int i = 0; i < library.count(); ++i) {
        const rruff_infos info = library.info(i);
        QVERIFY(!library.spectrumData(i).x.isEmpty());
        QCOMPARE(info.library, QStringLiteral("lib"));
        loaded << info.name + QLatin1Char('|') + info.number + QLatin1Char('|')
                      + info.laserWavelength;
    }
    loaded.sort();
    spectra.sort();
    QCOMPARE(loaded, spectra);
}

void TestLibraryArchive::refuses_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QString>("message");

    const Entries good = TestZip::rruffSpectra(2);
    const QByteArray text = good.first().second;
    auto withEntry = [&good](const QString &name, const QByteArray &data) {
        return TestZip::build(Entries(good) << qMakePair(name, data));
    };
    const QString refused = QStringLiteral("Refused archive entry '%1'");
    QTest::newRow("parent folder") << withEntry(QStringLiteral("../escape.txt"), text)
                                   << refused.arg(QStringLiteral("../escape.txt"));
    QTest::newRow("absolute path") << withEntry(QStringLiteral("/tmp/abs.txt"), text)
                                   << refused.arg(QStringLiteral("/tmp/abs.txt"));
    QTest::newRow("parent inside a folder") << withEntry(QStringLiteral("sub/../../deep.txt"), text)
                                            << refused.arg(QStringLiteral("sub/../../deep.txt"));
    QTest::newRow("backslash") << withEntry(QStringLiteral("..\\evil.txt"), text)
                               << refused.arg(QStringLiteral("..\\evil.txt"));
    QTest::newRow("only a parent folder at the top")
        << TestZip::build({{QStringLiteral("../"), {}}, {QStringLiteral("../x.txt"), text}})
        << refused.arg(QStringLiteral("../x.txt"));
    QTest::newRow("the archive's own name")
        << withEntry(QStringLiteral("data.zip"), text) << refused.arg(QStringLiteral("data.zip"));
    const QByteArray whole = TestZip::build(good);
    QTest::newRow("truncated") << whole.left(whole.size() / 2)
                               << QStringLiteral("Failed to open zip file");
    QTest::newRow("not a zip") << QByteArray("<html><body>Moved</body></html>")
                               << QStringLiteral("Failed to open zip file");
}

void TestLibraryArchive::refuses()
{
    QFETCH(QByteArray, archive);
    QFETCH(QString, message);

    QVERIFY(!install(archive, QStringLiteral("rruff-zip")));
    QVERIFY2(std::any_of(m_messages.cbegin(), m_messages.cend(),
                         [&message](const QString &m) { return m.startsWith(message); }),
             qPrintable(m_messages.join(u'\n')));
    // Nothing written: not beside the library folder, not inside it, not where "/" leads.
    QCOMPARE(QDir(m_root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("lib")});
    QCOMPARE(QDir(m_folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("data.zip")});
    QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/abs.txt")));
}

void TestLibraryArchive::entryThatCannotBeWritten()
{
    const Entries spectra = TestZip::rruffSpectra(1);
    const QString target = m_root.filePath(QStringLiteral("lib/")) + spectra.first().first;
    // A folder where the file must go.
    QDir(m_root.path()).removeRecursively();
    QVERIFY(QDir().mkpath(target));
    QFile zip(m_root.filePath(QStringLiteral("lib/data.zip")));
    QVERIFY(zip.open(QIODevice::WriteOnly));
    zip.write(TestZip::build(spectra));
    zip.close();
    QStringList messages;
    QVERIFY(!LibraryArchive::installLibraryArchive(m_root.filePath(QStringLiteral("lib")),
                                                   QStringLiteral("rruff-zip"),
                                                   [&messages](const QString &message, int type) {
                                                       if (type == LibraryArchive::Error)
                                                           messages << message;
                                                   }));
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().startsWith(
                 QStringLiteral("Failed to open '%1' for writing: ").arg(target)),
             qPrintable(messages.first()));
    QVERIFY(!QFileInfo::exists(LibraryCache::cachePath(m_root.filePath(QStringLiteral("lib")))));
}

QTEST_GUILESS_MAIN(TestLibraryArchive)
#include "tst_libraryarchive.moc"
