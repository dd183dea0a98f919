// A failed save keeps the old folder in place or whole in the backup area. Failures come from
// files in the way and over-long paths (tests may run as root).
#include "core/appidentity.h"
#include "savedatafixture.h"
#include "storage/backup.h"
#include "testfiles.h"

#include <QStorageInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList dataIoWarnings;

void collectWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && qstrcmp(context.category, "data.io") == 0)
        dataIoWarnings << message;
}

// `path` extended by folders to exactly `length` characters.
QString paddedPath(QString path, int length)
{
    while (path.size() < length) {
        const int left = length - path.size();
        int segment = qMin(200, left - 1);
        if (left - 1 - segment == 1)
            --segment; // a lone separator cannot follow
        path += QLatin1Char('/') + QString(segment, QLatin1Char('d'));
    }
    return path;
}

QString overwrittenToday()
{
    return backupRoot() + QStringLiteral("overwritten/")
           + QDate::currentDate().toString(Qt::ISODate) + QLatin1Char('/');
}

} // namespace

class tst_SaveDataSafety : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AppIdentity::apply();
        qInstallMessageHandler(collectWarnings);
    }

    void init()
    {
        dataIoWarnings.clear();
        QDir(backupRoot()).removeRecursively();
    }

    void previousContentSurvives_data()
    {
        QTest::addColumn<QString>("blockedBackupPath");
        QTest::addColumn<int>("folderPathLength"); // 0: short
        QTest::addColumn<bool>("otherDevice");
        QTest::addColumn<QStringList>("failedComponents");

        QTest::newRow("backup area blocked")
            << QStringLiteral("overwritten") << 0 << false
            << QStringList{QStringLiteral("backup of the previous")};
        QTest::newRow("backup on another device") << QString() << 0 << true << QStringList();
        // Paths of 4096 characters fail; a sector's files are 11 plus their name longer.
        QTest::newRow("table picture")
            << QString() << 4063 << false << QStringList{QStringLiteral("searchresult table.png")};
        QTest::newRow("sector folder")
            << QString() << 4086 << false
            << QStringList{QStringLiteral("Location1 for sector 1"),
                           QStringLiteral("main metadata"), QStringLiteral("overview image")};
    }

    void previousContentSurvives()
    {
        QFETCH(QString, blockedBackupPath);
        QFETCH(int, folderPathLength);
        QFETCH(bool, otherDevice);
        QFETCH(QStringList, failedComponents);
#ifndef Q_OS_LINUX
        if (folderPathLength > 0)
            QSKIP("relies on the path length limit of Linux");
#endif
        QTemporaryDir base(otherDevice ? QStringLiteral("/dev/shm/tst_savedatasafety-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/tst-XXXXXX"));
        QDir().mkpath(backupRoot());
        if (!base.isValid()
            || (otherDevice
                && QStorageInfo(base.path()).device() == QStorageInfo(backupRoot()).device()))
            QSKIP("no temporary folder on another device");

        const QString folder = folderPathLength > 0 ? paddedPath(base.path(), folderPathLength)
                                                    : base.filePath(QStringLiteral("m"));
        QVERIFY(TestFiles::write(folder + QStringLiteral("/x"), "{\"save_data_version\": 5}"));
        QVERIFY(TestFiles::write(folder + QStringLiteral("/L/b"), "old"));
        const auto old = Fixture::snapshot(folder);
        if (!blockedBackupPath.isEmpty())
            QVERIFY(TestFiles::write(backupRoot() + blockedBackupPath, "in the way"));

        SaveData data = Fixture::measurement(1);
        const bool saved = data.save(QFileInfo(folder).path(), QFileInfo(folder).fileName(), {});

        QCOMPARE(saved, failedComponents.isEmpty());
        QCOMPARE(data.isModified(), !saved);
        QCOMPARE(data.folderPath(), folder);
        const QStringList failures = dataIoWarnings.filter(QStringLiteral("Save unsuccessful"));
        QCOMPARE(failures.size(), failedComponents.size());
        for (const QString &component : qAsConst(failedComponents))
            QVERIFY2(!failures.filter(component).isEmpty(), qPrintable(component));

        const QStringList backups
            = QDir(overwrittenToday()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        if (backups.isEmpty()) {
            QVERIFY(!saved);
            QVERIFY(Fixture::snapshot(folder) == old);
        } else {
            QCOMPARE(backups.size(), 1);
            QVERIFY(Fixture::snapshot(overwrittenToday() + backups.first()) == old);
        }
    }

    void unusableTargetChangesNothing_data()
    {
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("blockingFile");
        QTest::newRow("file at target") << QString() << QStringLiteral("m") << QStringLiteral("m");
        QTest::newRow("empty name") << QString() << QString() << QString();
        QTest::newRow("dot dot") << QStringLiteral("keep") << QStringLiteral("..") << QString();
    }

    void unusableTargetChangesNothing()
    {
        QFETCH(QString, parent);
        QFETCH(QString, name);
        QFETCH(QString, blockingFile);
        QTemporaryDir base;
        QVERIFY(TestFiles::write(base.filePath(QStringLiteral("keep/x")), "keep"));
        if (!blockingFile.isEmpty())
            QVERIFY(TestFiles::write(base.filePath(blockingFile), "in the way"));
        const auto before = Fixture::snapshot(base.path());

        SaveData data = Fixture::measurement(1);
        QVERIFY(!data.save(QDir(base.path()).filePath(parent), name, {}));
        QVERIFY(data.isModified());
        QVERIFY(Fixture::snapshot(base.path()) == before);
        QVERIFY(!QFileInfo::exists(backupRoot() + QStringLiteral("overwritten")));
    }
};

QTEST_MAIN(tst_SaveDataSafety)
#include "tst_savedatasafety.moc"
