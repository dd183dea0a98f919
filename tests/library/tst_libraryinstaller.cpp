#include "libraryserver.h"

#include "library/libraryarchive.h"
#include "library/librarycache.h"
#include "library/libraryinstaller.h"
#include "library/librarysources.h"
#include "library/rlibrary.h"

#include <QSignalSpy>
#include <QtTest>

class TestLibraryInstaller : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void installsEachAndCountsFailures();
    void folderThatCannotBeCreated();
    void stoppingRemovesIncompleteFolders();

private:
    LibraryPath library(const QString &identifier, const QString &path,
                        const QString &handler = QStringLiteral("rruff-zip"));

    LibraryServer m_server;
};

void TestLibraryInstaller::initTestCase()
{
    QVERIFY(m_server.listen());
    const QByteArray minerals = TestZip::build(TestZip::rruffSpectra(3));
    Entries folder{{QStringLiteral("top/"), {}}};
    for (const auto &entry : TestZip::rruffSpectra(2))
        folder.append({QStringLiteral("top/") + entry.first, entry.second});
    m_server.addRoute("/minerals.zip", {200, minerals, {}, -1, false});
    m_server.addRoute("/moved",
                      {302, {}, m_server.url(QStringLiteral("/folder.zip")).toUtf8(), -1, false});
    m_server.addRoute("/folder.zip", {200, TestZip::build(folder), {}, -1, false});
    m_server.addRoute("/truncated.zip", {200, minerals, {}, minerals.size() / 2, false});
    m_server.addRoute(
        "/slip.zip",
        {200,
         TestZip::build(TestZip::Entries{{QStringLiteral("../../escape.txt"), QByteArray("x")}}),
         {},
         -1,
         false});
    m_server.addRoute("/pigments.zip", {200,
                                        TestZip::build({{QStringLiteral("Azurite K12_785_2_a.txt"),
                                                         TestZip::rruffSpectra(1).first().second}}),
                                        {},
                                        -1,
                                        false});
    m_server.addRoute("/stall.zip", {200, minerals, {}, -1, true});
}

void TestLibraryInstaller::init()
{
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
}

LibraryPath TestLibraryInstaller::library(const QString &identifier, const QString &path,
                                          const QString &handler)
{
    LibraryPath library;
    library.path = LibrarySources::installFolder(identifier);
    library.info = {{QStringLiteral("url"), m_server.url(path)},
                    {QStringLiteral("install-handler"), handler}};
    return library;
}

void TestLibraryInstaller::installsEachAndCountsFailures()
{
    const QVector<LibraryPath> libraries{
        library(QStringLiteral("minerals"), QStringLiteral("/minerals.zip")),
        library(QStringLiteral("redirected"), QStringLiteral("/moved")),
        library(QStringLiteral("missing"), QStringLiteral("/missing.zip")),
        library(QStringLiteral("truncated"), QStringLiteral("/truncated.zip")),
        library(QStringLiteral("slip"), QStringLiteral("/slip.zip")),
        library(QStringLiteral("pigments"), QStringLiteral("/pigments.zip"),
                QStringLiteral("chsopensource-zip")),
    };
    LibraryInstaller installer;
    QSignalSpy finished(&installer, &LibraryInstaller::finished);
    QSignalSpy progress(&installer, &LibraryInstaller::progressChanged);
    QStringList messages;
    connect(&installer, &LibraryInstaller::statusMessage, this,
            [&messages](const QString &message, int type) {
                messages << QString::number(type) + QLatin1Char(' ') + message;
            });
    installer.start(libraries);
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.count(), 1);
    QTRY_VERIFY(messages.size() >= 20);

    QCOMPARE(installer.installed(),
             (QVector<LibraryPath>{libraries[0], libraries[1], libraries[5]}));
    QCOMPARE(installer.failed().size(), 3);
    for (int failed : {2, 3, 4})
        QVERIFY(installer.failed().contains(libraries[failed]));
    QCOMPARE(installer.finishedSteps(), 12);
    QCOMPARE(installer.totalSteps(), 12);
    // The start, six downloads and the four installations of those that arrived.
    QCOMPARE(progress.count(), 1 + 6 + 4);

    for (const char *expected :
         {"0 Download finished for target path '%1'", "1 Successfully installed: minerals"}) {
        QVERIFY2(messages.contains(QString::fromLatin1(expected).arg(libraries[0].path)), expected);
    }
    const QString missing
        = QStringLiteral("2 download failed for path '%1': ").arg(libraries[2].path);
    QVERIFY(std::any_of(messages.cbegin(), messages.cend(),
                        [&missing](const QString &m) { return m.startsWith(missing); }));
    QVERIFY(messages.contains(QStringLiteral("2 Installation failed: slip")));
    QVERIFY(messages.contains(QStringLiteral("2 Refused archive entry '../../escape.txt': its name "
                                             "would leave the library folder or replace the "
                                             "installer's own files")));
    const QString truncated
        = QStringLiteral("2 download failed for path '%1'").arg(libraries[3].path);
    QVERIFY2(std::any_of(messages.cbegin(), messages.cend(),
                         [&truncated](const QString &m) { return m.startsWith(truncated); }),
             qPrintable(messages.join(u'\n')));

    // Installed folders hold sources and cache, failed ones are gone, nothing else was written.
    const QDir data(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QCOMPARE(data.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{QStringLiteral("minerals"), QStringLiteral("pigments"),
                          QStringLiteral("redirected")}));
    QVERIFY(!QFileInfo::exists(data.filePath(QStringLiteral("../escape.txt"))));
    RLibrary loaded;
    loaded.setLibraryFolders(installer.installed());
    loaded.readLibraryFromDisk();
    QCOMPARE(loaded.count(), 3 + 2 + 1);
    QCOMPARE(loaded.info(5).number, QStringLiteral("pigment_K12"));
    for (const LibraryPath &installed : installer.installed()) {
        QVERIFY(QFileInfo::exists(LibraryCache::cachePath(installed.path)));
        QVERIFY(!QFileInfo::exists(LibraryArchive::downloadPath(installed.path)));
    }

    // The redirect was followed; every request named the browser the vendors expect.
    const QVector<QByteArray> requests = m_server.requests();
    // Qt may ask again for a body that broke off; each archive was asked for, the redirect
    // followed.
    QSet<QByteArray> paths;
    for (const QByteArray &request : requests)
        paths.insert(request.split(' ').value(1));
    QCOMPARE(paths, (QSet<QByteArray>{"/minerals.zip", "/moved", "/folder.zip", "/missing.zip",
                                      "/truncated.zip", "/slip.zip", "/pigments.zip"}));
    for (const QByteArray &request : requests)
        QVERIFY(request.contains("\r\nUser-Agent: " + LibraryInstaller::userAgent() + "\r\n"));
}

void TestLibraryInstaller::folderThatCannotBeCreated()
{
    const LibraryPath blocked = library(QStringLiteral("blocked"), QStringLiteral("/minerals.zip"));
    // A file where the library folder must go.
    QDir().mkpath(QFileInfo(blocked.path).path());
    QFile file(blocked.path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();

    LibraryInstaller installer;
    QStringList messages;
    connect(&installer, &LibraryInstaller::statusMessage, this,
            [&messages](const QString &message) { messages << message; });
    QSignalSpy finished(&installer, &LibraryInstaller::finished);
    installer.start({blocked});
    QVERIFY(finished.wait(5000));
    QCOMPARE(installer.failed(), QVector<LibraryPath>{blocked});
    QCOMPARE(messages, QStringList{QStringLiteral("Konnte Datei '%1' nicht öffnen.")
                                       .arg(QDir::toNativeSeparators(
                                           LibraryArchive::downloadPath(blocked.path)))});
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("keep me"));
}

void TestLibraryInstaller::stoppingRemovesIncompleteFolders()
{
    const LibraryPath stalled = library(QStringLiteral("stalled"), QStringLiteral("/stall.zip"));
    {
        LibraryInstaller installer;
        installer.start({stalled});
        QTRY_VERIFY(QFileInfo(LibraryArchive::downloadPath(stalled.path)).size() > 0);
    }
    QVERIFY(!QFileInfo::exists(stalled.path));
}

QTEST_GUILESS_MAIN(TestLibraryInstaller)
#include "tst_libraryinstaller.moc"
