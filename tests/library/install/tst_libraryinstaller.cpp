#include "libraryserver.h"
#include "testfiles.h"

#include "library/install/libraryarchive.h"
#include "library/install/libraryinstaller.h"
#include "library/install/librarysources.h"
#include "library/librarycache.h"
#include "library/rlibrary.h"

#include <QSignalSpy>
#include <QtTest>

class TestLibraryInstaller : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
        QVERIFY(m_server.listen());
        const QByteArray minerals = TestZip::build(TestZip::rruffSpectra(3));
        Entries folder{{QStringLiteral("top/"), {}}};
        for (const auto &entry : TestZip::rruffSpectra(3))
            folder.append({QStringLiteral("top/") + entry.first, entry.second});
        folder.last().first.replace(QStringLiteral("top/"), QStringLiteral("top/sub/"));
        const QByteArray spectrum = TestZip::rruffSpectra(1)[0].second;
        m_server.addRoute("/minerals.zip", {200, minerals});
        m_server.addRoute("/moved",
                          {302, {}, m_server.url(QStringLiteral("/folder.zip")).toUtf8()});
        m_server.addRoute("/folder.zip", {200, TestZip::build(folder)});
        m_server.addRoute("/truncated.zip", {200, minerals, {}, minerals.size() / 2});
        m_server.addRoute("/slip.zip",
                          {200, TestZip::build({{QStringLiteral("../../x.txt"), spectrum}})});
        m_server.addRoute(
            "/pigments.zip",
            {200, TestZip::build({{QStringLiteral("Azurite K12_785_2_a.txt"), spectrum}})});
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
        QSignalSpy progress(&installer, &LibraryInstaller::progressChanged);
        QStringList messages;
        connect(&installer, &LibraryInstaller::statusMessage, this,
                [&messages](const QString &text, int type) {
                    messages << QString::number(type) + QLatin1Char(' ') + text;
                });
        installer.start(libraries);
        QVERIFY(finished.wait(30000));
        QTRY_VERIFY(messages.contains(QStringLiteral("1 Successfully installed: pigments")));

        QCOMPARE(installer.installed(),
                 (QVector<LibraryPath>{libraries[0], libraries[1], libraries[6]}));
        QCOMPARE(installer.failed().size(), 4);
        QCOMPARE(installer.finishedSteps(), installer.totalSteps());
        QCOMPARE(progress.count(), 1 + 7 + 4); // start, downloads, installations of those that came
        for (const QString &expected :
             {QStringLiteral("0 Download finished for target path '%1'").arg(libraries[0].path),
              QStringLiteral("2 download failed for path '%1': ").arg(libraries[2].path),
              QStringLiteral("2 download failed for path '%1': ").arg(libraries[3].path),
              QStringLiteral("2 Refused archive entry '../../x.txt'"),
              QStringLiteral("2 Installation failed: slip"),
              QStringLiteral("2 Konnte Datei '%1/data.zip' nicht öffnen.")
                  .arg(libraries[5].path)}) {
            QVERIFY2(std::any_of(messages.cbegin(), messages.cend(),
                                 [&](const QString &m) { return m.startsWith(expected); }),
                     qPrintable(expected));
        }

        // Failed folders are gone, the file in the way is kept, nothing else was written.
        const QDir data(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        QCOMPARE(data.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
                 (QStringList{QStringLiteral("blocked"), QStringLiteral("minerals"),
                              QStringLiteral("pigments"), QStringLiteral("redirected")}));
        QVERIFY(QFileInfo(libraries[5].path).isFile());
        for (const LibraryPath &installed : installer.installed()) {
            QVERIFY(QFileInfo::exists(LibraryCache::cachePath(installed.path)));
            QVERIFY(!QFileInfo::exists(LibraryArchive::downloadPath(installed.path)));
        }
        RLibrary loaded;
        loaded.setLibraryFolders(installer.installed());
        loaded.readLibraryFromDisk();
        QCOMPARE(loaded.count(), 3 + 2 + 1); // the sub-folder of the redirected archive is not read
        QCOMPARE(loaded.info(5).number, QStringLiteral("pigment_K12"));
        QCOMPARE(loaded.info(5).library, QStringLiteral("pigments"));

        // Qt may ask again for a body that broke off; each archive was asked for, the redirect
        // followed, and every request named the browser the vendors expect.
        QSet<QByteArray> paths;
        for (const QByteArray &request : m_server.requests()) {
            paths.insert(request.split(' ').value(1));
            QVERIFY(request.contains("\r\nUser-Agent: " + LibraryInstaller::userAgent() + "\r\n"));
        }
        QCOMPARE(paths, (QSet<QByteArray>{"/minerals.zip", "/moved", "/folder.zip", "/missing.zip",
                                          "/truncated.zip", "/slip.zip", "/pigments.zip"}));
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
                {{QStringLiteral("url"), m_server.url(QLatin1String(path))},
                 {QStringLiteral("install-handler"), QLatin1String(handler)}}};
    }

    LibraryServer m_server;
};

QTEST_GUILESS_MAIN(TestLibraryInstaller)
#include "tst_libraryinstaller.moc"
