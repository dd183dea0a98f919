#include "testfiles.h"

#include "library/librarysources.h"
#include "library/spectrumname.h"

#include <QtTest>

class TestLibrarySources : public QObject
{
    Q_OBJECT

private slots:
    void builtInList();
    void readingProblems_data();
    void readingProblems();
    void installFolders_data();
    void installFolders();
    void licenceText_data();
    void licenceText();

private:
    QTemporaryDir m_dir;
};

void TestLibrarySources::builtInList()
{
    const QVector<LibraryPath> libraries = LibrarySources::installableLibraries();
    QStringList identifiers;
    for (const LibraryPath &library : libraries) {
        const QString id = LibrarySources::identifier(library);
        identifiers << id;
        QCOMPARE(library.path, LibrarySources::installFolder(id));
        const QVariantMap &info = library.info;
        const bool pigments = id.startsWith(QLatin1String("chsopensource"));
        QCOMPARE(info.value(QStringLiteral("category")).toString(),
                 pigments ? QStringLiteral("pigments") : QStringLiteral("minerals"));
        const QString handler = info.value(QStringLiteral("install-handler")).toString();
        QCOMPARE(handler,
                 pigments ? QStringLiteral("chsopensource-zip") : QStringLiteral("rruff-zip"));
        // The pigment collection needs its names mapped, the RRUFF ones are read as they are.
        QCOMPARE(bool(nameMapperForInstallHandler(handler)), pigments);
        const QUrl url(info.value(QStringLiteral("url")).toString());
        QCOMPARE(url.scheme(), QStringLiteral("https"));
        QVERIFY(url.path().endsWith(QLatin1String(".zip")));
        if (!pigments)
            QVERIFY(url.toString().startsWith(
                QLatin1String("https://rruff.info/zipped_data_files/raman/")));
        const QVariantMap names = info.value(QStringLiteral("readable-name")).toMap();
        QVERIFY(!names.value(QStringLiteral("de_DE")).toString().isEmpty());
        QVERIFY(!names.value(QStringLiteral("en_GB")).toString().isEmpty());
        QCOMPARE(info.value(QStringLiteral("preselect")).toBool(),
                 id.startsWith(QLatin1String("rruff-excellent")));
        const QString licence
            = LibrarySources::licenceText({info.value(QStringLiteral("vendor-id")).toString()},
                                          QStringLiteral("${VENDOR_WEBSITE}|${VENDOR_LICENSE}"));
        QVERIFY2(licence.startsWith(QLatin1String("https://")) && licence.size() > 60,
                 qPrintable(licence));
    }
    identifiers.sort();
    QCOMPARE(
        identifiers,
        (QStringList{
            QStringLiteral("chsopensource-pigments"), QStringLiteral("rruff-excellent-oriented"),
            QStringLiteral("rruff-excellent-unoriented"), QStringLiteral("rruff-fair-oriented"),
            QStringLiteral("rruff-fair-unoriented"), QStringLiteral("rruff-lr-raman"),
            QStringLiteral("rruff-poor-oriented"), QStringLiteral("rruff-poor-unoriented"),
            QStringLiteral("rruff-unrated-oriented"), QStringLiteral("rruff-unrated-unoriented")}));
    const QJsonObject list = LibrarySources::readList();
    QCOMPARE(list.value(QLatin1String("version")).toInt(), 1);
    QCOMPARE(list.value(QLatin1String("format-version")).toInt(), 1);
}

void TestLibrarySources::readingProblems_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("missing") << QByteArray()
                             << QStringList{QStringLiteral(
                                    "^Failed to read downloadable library list")}
                             << QStringList();
    QTest::newRow("broken") << QByteArray("{\"libraries\": {")
                            << QStringList{QStringLiteral(
                                   "^Failed to parse downloadable library list: .* at 15$")}
                            << QStringList();
    QTest::newRow("identifiers that are no folder names") << QByteArray(
        R"({"libraries": {"a/b": {}, "a\\b": {}, "..": {}, ".": {}, "": {}, "fine": {"url": "u"}}})")
                                                          << QStringList{QStringLiteral(
                                                                             "^Invalid library "
                                                                             "name: \"\"$"),
                                                                         QStringLiteral(
                                                                             "^Invalid library "
                                                                             "name: \".\"$"),
                                                                         QStringLiteral(
                                                                             "^Invalid library "
                                                                             "name: \"..\"$"),
                                                                         QStringLiteral(
                                                                             "^Invalid library "
                                                                             "name: \"a/b\"$"),
                                                                         QStringLiteral(
                                                                             "^Invalid library "
                                                                             "name: "
                                                                             "\"a\\\\\\\\b\"$")}
                                                          << QStringList{QStringLiteral("fine")};
}

void TestLibrarySources::readingProblems()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, warnings);
    QFETCH(QStringList, listed);
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    if (!content.isEmpty())
        QVERIFY(TestFiles::write(path, content));
    for (const QString &warning : warnings)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
    QStringList identifiers;
    for (const LibraryPath &library : LibrarySources::installableLibraries(path))
        identifiers << LibrarySources::identifier(library);
    QCOMPARE(identifiers, listed);
}

void TestLibrarySources::installFolders_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("isInstallFolder");
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QTest::newRow("library") << data + QStringLiteral("/rruff-lr-raman") << true;
    QTest::newRow("uncleaned") << data + QStringLiteral("//rruff-lr-raman/") << true;
    QTest::newRow("the data location itself") << data << false;
    QTest::newRow("its parent") << data + QStringLiteral("/x/../..") << false;
    QTest::newRow("deeper") << data + QStringLiteral("/a/b") << false;
    QTest::newRow("elsewhere") << QStringLiteral("/tmp/rruff-lr-raman") << false;
}

void TestLibrarySources::installFolders()
{
    QFETCH(QString, path);
    QFETCH(bool, isInstallFolder);
    QCOMPARE(LibrarySources::isInstallFolder(path), isInstallFolder);
}

void TestLibrarySources::licenceText_data()
{
    QTest::addColumn<QStringList>("vendors");
    QTest::addColumn<QString>("text");
    QTest::newRow("known") << QStringList{QStringLiteral("v1")}
                           << QStringLiteral("[https://v1/: Terms 1]");
    QTest::newRow("each vendor once")
        << QStringList{QStringLiteral("v1"), QStringLiteral("v2"), QStringLiteral("v1")}
        << QStringLiteral("[https://v1/: Terms 1][https://v2/: Terms 2]");
    QTest::newRow("unknown")
        << QStringList{QStringLiteral("v3"), QStringLiteral("v2")}
        << QStringLiteral("No license details available for vendor v3\n[https://v2/: Terms 2]");
}

void TestLibrarySources::licenceText()
{
    QFETCH(QStringList, vendors);
    QFETCH(QString, text);
    const QString path = m_dir.filePath(QStringLiteral("vendors.json"));
    const QByteArray vendorInfo
        = "{\"vendor-info\": {"
          "\"v1\": {\"website\": \"https://v1/\", \"license-terms\": \"Terms 1\"},"
          "\"v2\": {\"website\": \"https://v2/\", \"license-terms\": \"Terms 2\"}}}";
    QVERIFY(TestFiles::write(path, vendorInfo));
    QCOMPARE(LibrarySources::licenceText(
                 vendors, QStringLiteral("[${VENDOR_WEBSITE}: ${VENDOR_LICENSE}]"), path),
             text);
}

QTEST_GUILESS_MAIN(TestLibrarySources)
#include "tst_librarysources.moc"
