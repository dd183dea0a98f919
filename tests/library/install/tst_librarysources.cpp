#include "testfiles.h"

#include "library/install/librarysources.h"
#include "library/spectrumname.h"

#include <QtTest>

class TestLibrarySources : public QObject
{
    Q_OBJECT

private slots:
    void builtInList()
    {
        QStringList identifiers;
        for (const LibraryPath &library : LibrarySources::installableLibraries()) {
            const QString id = LibrarySources::identifier(library);
            identifiers << id;
            QVERIFY(LibrarySources::isInstallFolder(library.path));
            const bool pigments = id == QLatin1String("chsopensource-pigments");
            const QString handler
                = library.info.value(QStringLiteral("install-handler")).toString();
            QCOMPARE(bool(nameMapperForInstallHandler(handler)), pigments);
            QCOMPARE(library.info.value(QStringLiteral("preselect")).toBool(),
                     id.startsWith(QLatin1String("rruff-excellent")));
        }
        QCOMPARE(identifiers.size(), 10);
        QVERIFY(identifiers.contains(QStringLiteral("rruff-lr-raman")));
        QVERIFY(
            !LibrarySources::isInstallFolder(LibrarySources::installFolder(QStringLiteral(".."))));
        QVERIFY(!LibrarySources::isInstallFolder(QStringLiteral("/tmp/rruff-lr-raman")));
    }
    void readingProblems_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("broken") << QByteArray("{\"libraries\": {")
                                << QStringList{QStringLiteral(
                                       "^Failed to parse downloadable library list: .* at 15$")}
                                << QStringList();
        QTest::newRow("identifiers that are no folder names") << QByteArray(
            R"({"libraries": {"a/b": {}, "a\\b": {}, "..": {}, ".": {}, "": {}, "fine": {}}})")
                                                              << QStringList{QStringLiteral(
                                                                     "^Invalid library name: "
                                                                     "\"(|\\.|\\.\\.|a/"
                                                                     "b|a\\\\\\\\b)\"$")}
                                                              << QStringList{
                                                                     QStringLiteral("fine")};
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
        const QString path = m_dir.filePath(QStringLiteral("vendors.json"));
        QVERIFY(TestFiles::write(
            path, "{\"vendor-info\": {"
                  "\"v1\": {\"website\": \"https://v1/\", \"license-terms\": \"T1\"},"
                  "\"v2\": {\"website\": \"https://v2/\", \"license-terms\": \"T2\"}}}"));
        QCOMPARE(
            LibrarySources::licenceText({QStringLiteral("v1"), QStringLiteral("v3"),
                                         QStringLiteral("v2"), QStringLiteral("v1")},
                                        QStringLiteral("[${VENDOR_WEBSITE}: ${VENDOR_LICENSE}]"),
                                        path),
            QStringLiteral(
                "[https://v1/: T1]No license details available for vendor v3\n[https://v2/: T2]"));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestLibrarySources)
#include "tst_librarysources.moc"
