#include "libraryserver.h"
#include "testfiles.h"
#include "toolprocess.h"

#include "core/appidentity.h"
#include "library/librarycache.h"
#include "library/librarysettings.h"
#include "library/librarysources.h"

#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

class TestCliLibrary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void list();
    void install_data();
    void install();

private:
    // Runs raman-cli while this process keeps serving.
    ToolRun run(const QStringList &arguments, const QByteArray &input = {});

    QTemporaryDir m_dir;
    LibraryServer m_server;
    QString m_sources;
};

void TestCliLibrary::initTestCase()
{
    AppIdentity::apply();
    qRegisterMetaType<QProcess::ExitStatus>();
    QVERIFY(m_server.listen());
    m_server.addRoute("/minerals.zip",
                      {200, TestZip::build(TestZip::rruffSpectra(3)), {}, -1, false});
    auto library = [this](const char *path) {
        return QJsonObject{
            {QStringLiteral("category"), QStringLiteral("minerals")},
            {QStringLiteral("url"), m_server.url(QLatin1String(path))},
            {QStringLiteral("readable-name"),
             QJsonObject{{QStringLiteral("en_GB"), QStringLiteral("Test minerals")}}},
            {QStringLiteral("install-handler"), QStringLiteral("rruff-zip")},
            {QStringLiteral("vendor-id"), QStringLiteral("example.org")}};
    };
    m_sources = m_dir.filePath(QStringLiteral("mirror.json"));
    QVERIFY(TestFiles::writeJson(
        m_sources,
        {{QStringLiteral("libraries"),
          QJsonObject{{QStringLiteral("minerals"), library("/minerals.zip")},
                      {QStringLiteral("gone"), library("/gone.zip")}}},
         {QStringLiteral("vendor-info"),
          QJsonObject{
              {QStringLiteral("example.org"),
               QJsonObject{{QStringLiteral("website"), QStringLiteral("https://example.org/")},
                           {QStringLiteral("license-terms"), QStringLiteral("Cite us.")}}}}}}));
}

void TestCliLibrary::init()
{
    QSettings().clear();
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
}

ToolRun TestCliLibrary::run(const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    QSignalSpy finished(&process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
    process.start(QStringLiteral(RAMAN_BINARY_DIR "/bin/raman-cli"),
                  QStringList{QStringLiteral("library")} + arguments);
    process.write(input);
    process.closeWriteChannel();
    ToolRun result;
    if (!finished.wait(60000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

void TestCliLibrary::list()
{
    const QString own = m_dir.filePath(QStringLiteral("own"));
    QVERIFY(QDir().mkpath(own));
    LibrarySettings::storeLibraryPaths({LibraryPath{own, true, false, {}},
                                        LibraryPath{QStringLiteral("/nowhere"), false, false, {}}});
    const ToolRun result = run({QStringLiteral("list"), QStringLiteral("--sources"), m_sources});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(
        QString::fromUtf8(result.out).split(QLatin1Char('\n')),
        (QStringList{QStringLiteral("configured\t%1\tenabled\tuser\tno-cache").arg(own),
                     QStringLiteral("configured\t/nowhere\tdisabled\tuser\tmissing"),
                     QStringLiteral("installable\tgone\tminerals\tavailable\tTest minerals\t")
                         + m_server.url(QStringLiteral("/gone.zip")),
                     QStringLiteral("installable\tminerals\tminerals\tavailable\tTest minerals\t")
                         + m_server.url(QStringLiteral("/minerals.zip")),
                     QString()}));
}

void TestCliLibrary::install_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // %1: the folder of "minerals", %2: of "gone"
    QTest::addColumn<QString>("err");
    const QString minerals = QStringLiteral("minerals");
    QTest::newRow("accepted by option")
        << QStringList{minerals, QStringLiteral("--yes")} << QByteArray() << 0
        << QStringLiteral("minerals\tinstalled\t%1\n")
        << QStringLiteral("[success] Successfully installed: Test minerals");
    QTest::newRow("accepted on stdin")
        << QStringList{minerals} << QByteArray("y\n") << 0
        << QStringLiteral("minerals\tinstalled\t%1\n") << QStringLiteral("Terms: Cite us.");
    QTest::newRow("refused on stdin")
        << QStringList{minerals} << QByteArray("n\n") << 1 << QString()
        << QStringLiteral("terms not accepted, nothing installed");
    QTest::newRow("one fails") << QStringList{QStringLiteral("gone"), minerals,
                                              QStringLiteral("--yes")}
                               << QByteArray() << 1
                               << QStringLiteral("minerals\tinstalled\t%1\ngone\tfailed\t%2\n")
                               << QStringLiteral("[error] download failed for path '%2'");
    QTest::newRow("unknown library")
        << QStringList{QStringLiteral("nothing"), QStringLiteral("--yes")} << QByteArray() << 2
        << QString() << QStringLiteral("unknown library 'nothing'");
}

void TestCliLibrary::install()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const QString minerals = LibrarySources::installFolder(QStringLiteral("minerals"));
    const QString gone = LibrarySources::installFolder(QStringLiteral("gone"));

    const ToolRun result = run(QStringList{QStringLiteral("install")} + arguments
                                   + QStringList{QStringLiteral("--sources"), m_sources},
                               input);
    QCOMPARE(result.exitCode, exitCode);
    for (QString *text : {&out, &err})
        text->replace(QLatin1String("%1"), minerals).replace(QLatin1String("%2"), gone);
    QCOMPARE(QString::fromUtf8(result.out), out);
    QVERIFY2(QString::fromUtf8(result.err).contains(err), result.err.constData());
    const bool installed = out.contains(QStringLiteral("installed"));
    QCOMPARE(QFileInfo::exists(LibraryCache::cachePath(minerals)), installed);
    QVERIFY(!QFileInfo::exists(gone));
    // An installed library is configured for the program.
    QSettings settings;
    QCOMPARE(settings.beginReadArray(QStringLiteral("Paths/LibraryPaths")), installed ? 1 : 0);
    settings.setArrayIndex(0);
    QCOMPARE(settings.value(QStringLiteral("Path")).toString(), installed ? minerals : QString());
}

QTEST_GUILESS_MAIN(TestCliLibrary)
#include "tst_cli_library.moc"
