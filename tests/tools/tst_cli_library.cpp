#include "libraryserver.h"
#include "testfiles.h"
#include "toolprocess.h"

#include "core/appidentity.h"
#include "core/librarysettings.h"
#include "library/install/librarysources.h"
#include "library/librarycache.h"

#include <QtTest>

const char libraryJson[] = R"({"category": "minerals", "url": "%1/%2.zip", )"
                           R"("readable-name": {"en_GB": "Test"}, "vendor-id": "example.org"})";
const char sourcesJson[] = R"({"libraries": {"minerals": %1, "gone": %2}, "vendor-info": )"
                           R"({"example.org": {"website": "https://example.org/", )"
                           R"("license-terms": "Cite us."}}})";

class TestCliLibrary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AppIdentity::apply(); // the settings and data folders of raman-cli
        qRegisterMetaType<QProcess::ExitStatus>();
        QVERIFY(m_server.listen());
        m_server.addRoute("/minerals.zip", {200, TestZip::build(TestZip::rruffSpectra(3))});
        const QString library = QString::fromUtf8(libraryJson);
        const QString url = m_server.url(QString());
        m_sources = m_dir.filePath(S("mirror.json"));
        const QString sources
            = QString::fromUtf8(sourcesJson)
                  .arg(library.arg(url, S("minerals")), library.arg(url, S("gone")));
        QVERIFY(TestFiles::write(m_sources, sources.toUtf8()));
    }
    void list()
    {
        LibrarySettings::storeLibraryPaths(
            {{m_dir.path(), true, false, {}}, {S("/nowhere"), false, false, {}}});
        const ToolRun result = run({S("list")});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(
            QString::fromUtf8(result.out),
            S("configured\t%1\tenabled\tuser\tno-cache\n"
              "configured\t/nowhere\tdisabled\tuser\tmissing\n"
              "installable\tgone\tminerals\tavailable\tTest\t%2\n"
              "installable\tminerals\tminerals\tavailable\tTest\t%3\n")
                .arg(m_dir.path(), m_server.url(S("/gone.zip")), m_server.url(S("/minerals.zip"))));
    }
    void install_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out"); // %1: the folder of "minerals"
        QTest::addColumn<QString>("err");
        const QString minerals = S("minerals"), yes = S("--yes");
        const QString installed = S("minerals\tinstalled\t%1\n");
        QTest::newRow("accepted by option")
            << QStringList{minerals, yes} << QByteArray() << 0 << installed
            << S("[success] Successfully installed: Test");
        QTest::newRow("accepted on stdin")
            << QStringList{minerals} << QByteArray("y\n") << 0 << installed
            << S("From: https://example.org/\nTerms: Cite us.");
        QTest::newRow("refused on stdin")
            << QStringList{minerals} << QByteArray("\n") << 1 << QString()
            << S("terms not accepted, nothing installed");
        QTest::newRow("unknown") << QStringList{S("nothing"), yes} << QByteArray() << 2 << QString()
                                 << S("unknown library 'nothing'");
    }
    void install()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QSettings().clear();
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
        const QString minerals = LibrarySources::installFolder(S("minerals"));
        out.replace(QLatin1String("%1"), minerals);

        const ToolRun result = run(QStringList{S("install")} + arguments, input);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(QString::fromUtf8(result.out), out);
        QVERIFY2(QString::fromUtf8(result.err).contains(err), result.err.constData());
        // An installed library is cached and configured for the program.
        const bool installed = out.contains(QLatin1String("installed"));
        QCOMPARE(QFileInfo::exists(LibraryCache::cachePath(minerals)), installed);
        QSettings settings;
        QCOMPARE(settings.beginReadArray(S("Paths/LibraryPaths")), installed ? 1 : 0);
        settings.setArrayIndex(0);
        QCOMPARE(settings.value(S("Path")).toString(), installed ? minerals : QString());
    }

private:
    // Runs raman-cli while this process goes on serving.
    ToolRun run(const QStringList &arguments, const QByteArray &input = {})
    {
        QProcess process;
        QSignalSpy finished(&process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
        process.start(S(RAMAN_BINARY_DIR "/bin/raman-cli"),
                      QStringList{S("library")} + arguments
                          + QStringList{S("--sources"), m_sources});
        process.write(input);
        process.closeWriteChannel();
        if (!finished.wait(60000) || process.exitStatus() != QProcess::NormalExit)
            return {};
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

    QTemporaryDir m_dir;
    LibraryServer m_server;
    QString m_sources;
};

QTEST_GUILESS_MAIN(TestCliLibrary)
#include "tst_cli_library.moc"
