#include "clirun.h"
#include "core/appidentity.h"
#include "savedatafixture.h"
#include "storage/backup.h"
#include "testfiles.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestCliUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AppIdentity::apply();
        QDir(backupRoot()).removeRecursively();
    }

    void upgradesOldFoldersOnly()
    {
        QTemporaryDir dir;
        const QString root = dir.filePath(QStringLiteral("archive"));
        Fixture::writeVersion5Folder(root + QStringLiteral("/2017/old"));
        SaveData current = Fixture::measurement(1);
        QVERIFY(current.save(root + QStringLiteral("/2020"), QStringLiteral("current"), {}));
        QVERIFY(TestFiles::write(root + QStringLiteral("/broken/metadata.json"), "{ not json"));
        const auto before = Fixture::snapshot(root);
        const QString dataHome
            = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        QVERIFY(QDir().mkpath(backupRoot()));

        const QString brokenLine = root + QStringLiteral("/broken\t?\tunreadable\n");
        QCOMPARE(run({root, QStringLiteral("--dry-run")}),
                 QString(QStringLiteral("1 ") + root + QStringLiteral("/2017/old\t5\tdry-run\n")
                         + brokenLine));
        QVERIFY(Fixture::snapshot(root) == before);

        // The backup area below the second folder holds the old version now; it stays untouched.
        QCOMPARE(run({root, dataHome}),
                 QString(QStringLiteral("1 ") + root + QStringLiteral("/2017/old\t5\tupgraded\n")
                         + brokenLine));
        SaveData upgraded;
        QVERIFY(upgraded.load(root + QStringLiteral("/2017/old"), AllSaveDataParts));
        QCOMPARE(upgraded.metadata().save_data_version, CurrentSaveDataVersion);
        QCOMPARE(upgraded.activeSector().rawSpectrum, Fixture::sector(5).rawSpectrum);
        QCOMPARE(QDir(backupRoot() + QStringLiteral("overwritten/")
                      + QDate::currentDate().toString(Qt::ISODate))
                     .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                     .size(),
                 1);

        QVERIFY(QDir(root + QStringLiteral("/broken")).removeRecursively());
        QCOMPARE(run({root}), QStringLiteral("0 "));
        QCOMPARE(run({dir.filePath(QStringLiteral("missing"))}), QStringLiteral("2 "));
    }

private:
    // Exit code, a blank, then what the command printed on its standard output.
    static QString run(const QStringList &arguments)
    {
        const CliRun run = runCliHere(QStringList{QStringLiteral("upgrade")} + arguments);
        return QString::number(run.code) + QLatin1Char(' ') + run.out;
    }
};

QTEST_MAIN(TestCliUpgrade)
#include "tst_cli_upgrade.moc"
