#include "libraryserver.h"
#include "testfiles.h"

#include "library/install/libraryarchive.h"
#include "library/install/libraryinstaller.h"
#include "library/install/librarysources.h"
#include "library/librarycache.h"
#include "library/referencelibrary.h"
#include "library/spectrumname.h"

#include <QtTest>

// The list of installable libraries, untrusted archives (nothing may be written outside the
// library folder, and a broken archive leaves no cache behind) and downloads end to end.
class TestLibraryInstaller : public QObject
{
    Q_OBJECT

private slots:
    void builtInList()
    {
        const QVector<LibraryPath> all = LibrarySources::installableLibraries();
        QVERIFY(all.size() > 1);
        for (const LibraryPath &library : all) {
            const QString id = LibrarySources::identifier(library);
            QVERIFY(LibrarySources::isInstallFolder(library.path));
            const bool pigments = id == QLatin1String("chsopensource-pigments");
            const QString handler = library.info.value(S("install-handler")).toString();
            QCOMPARE(bool(nameMapperForInstallHandler(handler)), pigments);
            QCOMPARE(library.info.value(S("preselect")).toBool(),
                     id.startsWith(QLatin1String("rruff-excellent")));
        }
        QVERIFY(!LibrarySources::isInstallFolder(LibrarySources::installFolder(S(".."))));
        QVERIFY(!LibrarySources::isInstallFolder(S("/tmp/rruff-lr-raman")));
    }
    void readingProblems_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<QStringList>("listed");
        const QString broken = S("^Failed to parse downloadable library list: .* at 15$");
        const QString badName = S("^Invalid library name: \"(|\\.|\\.\\.|a/b|a\\\\\\\\b)\"$");
        QTest::newRow("broken") << QByteArray("{\"libraries\": {") << QStringList{broken}
                                << QStringList();
        const QByteArray names
            = R"({"libraries": {"a/b": {}, "a\\b": {}, "..": {}, ".": {}, "": {}, "fine": {}}})";
        QTest::newRow("identifiers that are no folder names")
            << names << QStringList{badName} << QStringList{S("fine")};
    }
    void readingProblems()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, warnings);
        QFETCH(QStringList, listed);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(TestFiles::write(path, content));
        for (const QString &warning : warnings) {
            for (int i = 0; i < (listed.isEmpty() ? 1 : 5); ++i)
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        }
        QStringList identifiers;
        for (const LibraryPath &library : LibrarySources::installableLibraries(path))
            identifiers << LibrarySources::identifier(library);
        QCOMPARE(identifiers, listed);
    }
    void licenceText()
    {
        const QString path = m_dir.filePath(S("vendors.json"));
        QVERIFY(TestFiles::write(
            path, "{\"vendor-info\": {"
                  "\"v1\": {\"website\": \"https://v1/\", \"license-terms\": \"T1\"},"
                  "\"v2\": {\"website\": \"https://v2/\", \"license-terms\": \"T2\"}}}"));
        QCOMPARE(
            LibrarySources::licenceText({S("v1"), S("v3"), S("v2"), S("v1")},
                                        S("[${VENDOR_WEBSITE}: ${VENDOR_LICENSE}]"), path),
            S("[https://v1/: T1]No license details available for vendor v3\n[https://v2/: T2]"));
    }
    void archiveRefuses_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("blockedName"); // a folder where this file must go
        QTest::addColumn<QString>("message");

        const Entries good = TestZip::rruffSpectra(2);
        auto with = [&good](const char *name) {
            return TestZip::build(Entries(good)
                                  << qMakePair(QString::fromLatin1(name), good[0].second));
        };
        const QString refused = S("Refused archive entry '%1'");
        for (const char *name :
             {"../escape.txt", "/tmp/abs.txt", "sub/../../deep.txt", "..\\evil.txt", "data.zip"})
            QTest::newRow(name) << with(name) << QString() << refused.arg(QLatin1String(name));
        QTest::newRow("only a parent folder at the top")
            << TestZip::build({{S("../"), {}}, {S("../x.txt"), "1, 2"}}) << QString()
            << refused.arg(S("../x.txt"));
        const QByteArray whole = TestZip::build(good);
        QTest::newRow("truncated")
            << whole.left(whole.size() / 2) << QString() << S("Failed to open zip file");
        QTest::newRow("file cannot be written")
            << whole << good[1].first << S("Failed to open '%1' for writing: ");
    }
    void archiveRefuses()
    {
        QFETCH(QByteArray, archive);
        QFETCH(QString, blockedName);
        QFETCH(QString, message);
        const QDir root(m_dir.filePath(S("archive")));
        const QString folder = root.filePath(S("lib"));
        QDir(folder).removeRecursively();
        QVERIFY(TestFiles::write(LibraryArchive::downloadPath(folder), archive));
        if (!blockedName.isEmpty()) {
            QVERIFY(QDir(folder).mkpath(blockedName));
            message = message.arg(folder + QLatin1Char('/') + blockedName);
        }

        QStringList errors;
        QVERIFY(!LibraryArchive::installLibraryArchive(folder, S("rruff-zip"),
                                                       [&errors](const QString &text, int type) {
                                                           if (type == LibraryArchive::Error)
                                                               errors << text;
                                                       }));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().startsWith(message), qPrintable(errors.first()));
        // Nothing beside the library folder, nothing where "/" leads, no cache.
        QCOMPARE(root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{S("lib")});
        QVERIFY(!QFileInfo::exists(S("/tmp/abs.txt")));
        QVERIFY(!QFileInfo::exists(LibraryCache::cachePath(folder)));
        if (blockedName.isEmpty())
            QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList{S("data.zip")});
    }
    void initTestCase()
    {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
        QVERIFY(m_server.listen());
        const QByteArray minerals = TestZip::build(TestZip::rruffSpectra(3));
        Entries folder{{S("top/"), {}}};
        for (const auto &entry : TestZip::rruffSpectra(3))
            folder.append({S("top/") + entry.first, entry.second});
        folder.last().first.replace(S("top/"), S("top/sub/"));
        const QByteArray spectrum = TestZip::rruffSpectra(1)[0].second;
        m_server.addRoute("/minerals.zip", {200, minerals});
        m_server.addRoute("/moved", {302, {}, m_server.url(S("/folder.zip")).toUtf8()});
        m_server.addRoute("/folder.zip", {200, TestZip::build(folder)});
        m_server.addRoute("/truncated.zip", {200, minerals, {}, minerals.size() / 2});
        m_server.addRoute("/slip.zip", {200, TestZip::build({{S("../../x.txt"), spectrum}})});
        m_server.addRoute("/pigments.zip",
                          {200, TestZip::build({{S("Azurite K12_785_2_a.txt"), spectrum}})});
        m_server.addRoute("/stall.zip", {200, minerals, {}, -1, true});
    }
    void installsEachAndCountsFailures()
    {
        const QVector<LibraryPath> libraries{
            library("minerals", "/minerals.zip"),
            library("redirected", "/moved"),
            library("missing", "/missing.zip"),
            library("truncated", "/truncated.zip"),
            library("slip", "/slip.zip"),
            library("blocked", "/minerals.zip"),
            library("pigments", "/pigments.zip", "chsopensource-zip")};
        // A file where a library folder must go.
        QVERIFY(TestFiles::write(libraries[5].path, "keep me"));

        LibraryInstaller installer;
        QSignalSpy finished(&installer, &LibraryInstaller::finished);
        QStringList messages;
        connect(&installer, &LibraryInstaller::statusMessage, this,
                [&messages](const QString &text, int type) {
                    messages << QString::number(type) + QLatin1Char(' ') + text;
                });
        installer.start(libraries);
        QVERIFY(finished.wait(30000));
        QTRY_VERIFY(messages.contains(S("1 Successfully installed: pigments")));

        QCOMPARE(installer.installed(),
                 (QVector<LibraryPath>{libraries[0], libraries[1], libraries[6]}));
        QCOMPARE(installer.failed().size(), 4);
        QCOMPARE(installer.finishedSteps(), installer.totalSteps());
        for (const QString &expected :
             {S("2 download failed for path '%1': ").arg(libraries[2].path),
              S("2 download failed for path '%1': ").arg(libraries[3].path),
              S("2 Refused archive entry '../../x.txt'"), S("2 Installation failed: slip"),
              S("2 Konnte Datei '%1/data.zip' nicht öffnen.").arg(libraries[5].path)}) {
            QVERIFY2(std::any_of(messages.cbegin(), messages.cend(),
                                 [&](const QString &m) { return m.startsWith(expected); }),
                     qPrintable(expected));
        }

        // Failed folders are gone, the file in the way is kept, nothing else was written.
        const QDir data(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        QCOMPARE(data.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
                 (QStringList{S("blocked"), S("minerals"), S("pigments"), S("redirected")}));
        QVERIFY(QFileInfo(libraries[5].path).isFile());
        for (const LibraryPath &installed : installer.installed()) {
            QVERIFY(QFileInfo::exists(LibraryCache::cachePath(installed.path)));
            QVERIFY(!QFileInfo::exists(LibraryArchive::downloadPath(installed.path)));
        }
        const ReferenceLibrary loaded = *ReferenceLibrary::load(installer.installed());
        QCOMPARE(loaded.count(), 3 + 2 + 1); // the sub-folder of the redirected archive is not read
        QCOMPARE(loaded.info(5).number, S("pigment_K12"));
        QCOMPARE(loaded.info(5).library, S("pigments"));

        // Every request named the browser the vendors expect.
        for (const QByteArray &request : m_server.requests())
            QVERIFY(request.contains("\r\nUser-Agent: " + LibraryInstaller::userAgent() + "\r\n"));
    }
    void stoppingRemovesIncompleteFolders()
    {
        const LibraryPath stalled = library("stalled", "/stall.zip");
        {
            LibraryInstaller installer;
            installer.start({stalled});
            QTRY_VERIFY(QFileInfo(LibraryArchive::downloadPath(stalled.path)).size() > 0);
        }
        QVERIFY(!QFileInfo::exists(stalled.path));
    }

private:
    LibraryPath library(const char *identifier, const char *path,
                        const char *handler = "rruff-zip") const
    {
        return {LibrarySources::installFolder(QLatin1String(identifier)),
                true,
                false,
                {{S("url"), m_server.url(QLatin1String(path))},
                 {S("install-handler"), QLatin1String(handler)}}};
    }

    LibraryServer m_server;
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestLibraryInstaller)
#include "tst_libraryinstaller.moc"
