#include "libraryserver.h"
#include "testfiles.h"

#include "library/install/libraryarchive.h"
#include "library/librarycache.h"

#include <QtTest>

// Untrusted archives: nothing may be written outside the library folder, and a broken archive
// leaves no cache behind. Good archives are installed end to end in tst_libraryinstaller.
class TestLibraryArchive : public QObject
{
    Q_OBJECT

private slots:
    void refuses_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("blockedName"); // a folder where this file must go
        QTest::addColumn<QString>("message");

        const Entries good = TestZip::rruffSpectra(2);
        auto with = [&good](const char *name) {
            return TestZip::build(Entries(good)
                                  << qMakePair(QString::fromLatin1(name), good[0].second));
        };
        const QString refused = QStringLiteral("Refused archive entry '%1'");
        for (const char *name :
             {"../escape.txt", "/tmp/abs.txt", "sub/../../deep.txt", "..\\evil.txt", "data.zip"})
            QTest::newRow(name) << with(name) << QString() << refused.arg(QLatin1String(name));
        QTest::newRow("only a parent folder at the top")
            << TestZip::build({{QStringLiteral("../"), {}}, {QStringLiteral("../x.txt"), "1, 2"}})
            << QString() << refused.arg(QStringLiteral("../x.txt"));
        const QByteArray whole = TestZip::build(good);
        QTest::newRow("truncated") << whole.left(whole.size() / 2) << QString()
                                   << QStringLiteral("Failed to open zip file");
        QTest::newRow("file cannot be written")
            << whole << good[1].first << QStringLiteral("Failed to open '%1' for writing: ");
    }
    void refuses()
    {
        QFETCH(QByteArray, archive);
        QFETCH(QString, blockedName);
        QFETCH(QString, message);
        const QString folder = m_root.filePath(QStringLiteral("lib"));
        QDir(folder).removeRecursively();
        QVERIFY(TestFiles::write(LibraryArchive::downloadPath(folder), archive));
        if (!blockedName.isEmpty()) {
            QVERIFY(QDir(folder).mkpath(blockedName));
            message = message.arg(folder + QLatin1Char('/') + blockedName);
        }

        QStringList errors;
        QVERIFY(!LibraryArchive::installLibraryArchive(folder, QStringLiteral("rruff-zip"),
                                                       [&errors](const QString &text, int type) {
                                                           if (type == LibraryArchive::Error)
                                                               errors << text;
                                                       }));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().startsWith(message), qPrintable(errors.first()));
        // Nothing beside the library folder, nothing where "/" leads, no cache.
        QCOMPARE(QDir(m_root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("lib")});
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/abs.txt")));
        QVERIFY(!QFileInfo::exists(LibraryCache::cachePath(folder)));
        if (blockedName.isEmpty())
            QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList{QStringLiteral("data.zip")});
    }

private:
    QTemporaryDir m_root;
};

QTEST_GUILESS_MAIN(TestLibraryArchive)
#include "tst_libraryarchive.moc"
