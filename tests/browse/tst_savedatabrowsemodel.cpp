#include "browse/savedatabrowsemodel.h"
#include "measurementfolders.h"

#include <QtCore>
#include <QtTest>

#include <utime.h>

class TestSaveDataBrowseModel : public QObject
{
    Q_OBJECT

    static QStringList found(const SaveDataBrowseModel &model)
    {
        QStringList paths;
        for (int row = 0; row < model.rowCount(); ++row)
            paths << QDir(model.directory())
                         .relativeFilePath(model.index(row, 0)
                                               .data(SaveDataBrowseModel::FolderPathRole)
                                               .toString());
        return paths;
    }

    static bool scan(SaveDataBrowseModel &model, const QString &directory)
    {
        QSignalSpy finished(&model, &SaveDataBrowseModel::loadingFinished);
        model.setDirectory(directory);
        return finished.wait(5000);
    }

private slots:
    void searchesOnlyOutsideMeasurements_data()
    {
        QTest::addColumn<QStringList>("measurements");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("base is a measurement") << words("m m/Location1/x") << "m" << words(".");
        // Breadth first; of two folders on one level the newer first.
        QTest::newRow("nested") << words("old/trip/a old/b new/c new/c/Location1/x") << ""
                                << words("new/c old/b old/trip/a");
        QTest::newRow("missing base") << QStringList{} << "none" << QStringList{};
    }

    void searchesOnlyOutsideMeasurements()
    {
        QFETCH(QStringList, measurements);
        QFETCH(QString, base);
        QFETCH(QStringList, expected);
        QTemporaryDir root;
        for (const QString &m : measurements)
            QVERIFY(writeTestMeasurement(root.filePath(m), {{}, {}, -1, words("Q"), {}}));
        utimbuf longAgo{1000000000, 1000000000};
        utime(QFile::encodeName(root.filePath(QStringLiteral("old"))).constData(), &longAgo);
        // A link back up the tree would make the search endless.
        QFile::link(root.path(), root.filePath(QStringLiteral("old/trip/up")));
        SaveDataBrowseModel model;
        QVERIFY(scan(model, root.filePath(base)));
        QCOMPARE(found(model), expected);
    }

    void restartDuringScanKeepsOneScheduledCall()
    {
        QTemporaryDir first;
        QTemporaryDir second;
        for (int i = 0; i < 40; ++i)
            QVERIFY(writeTestMeasurement(first.filePath(QString::number(i)), {}));
        QVERIFY(writeTestMeasurement(second.filePath(QStringLiteral("b")), {}));
        SaveDataBrowseModel model;
        QSignalSpy finished(&model, &SaveDataBrowseModel::loadingFinished);
        model.setDirectory(first.path());
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(model.rowCount(), 10);
        model.setDirectory(second.path());
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(finished.wait(5000));
        QTest::qWait(50);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(found(model), QStringList{QStringLiteral("b")});
    }

    void columnsRolesAndReload()
    {
        QTemporaryDir base;
        const TestMeasurement m{QStringLiteral("Huber"), QStringLiteral("HU-8"), 3,
                                words("Quarz Calcit Quarz Pyrit Gips"),
                                QDateTime(QDate(2021, 1, 2), QTime(3, 4), Qt::UTC)};
        QVERIFY(writeTestMeasurement(base.path(), m));
        SaveDataBrowseModel model;
        QVERIFY(scan(model, base.path()));
        const auto cell
            = [&model](int column, int role) { return model.index(0, column).data(role); };
        QCOMPARE(cell(0, Qt::DisplayRole), QVariant(5));
        QCOMPARE(cell(1, Qt::DisplayRole).toString(), QStringLiteral("★★★"));
        QCOMPARE(cell(4, Qt::DisplayRole).toString(), QStringLiteral("Quarz, Calcit, Pyrit"));
        QCOMPARE(cell(2, SaveDataBrowseModel::IdentificationsRole).toString(),
                 QStringLiteral("Quarz, Calcit, Pyrit, Gips"));
        QCOMPARE(cell(2, SaveDataBrowseModel::OwnerRole).toString(), m.owner);

        QSignalSpy changed(&model, &SaveDataBrowseModel::dataChanged);
        model.reloadRow(1);
        QVERIFY(QFile::remove(base.filePath(QStringLiteral("metadata.json"))));
        model.reloadRow(0);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(1).toModelIndex(), model.index(0, 7));
        QCOMPARE(cell(2, SaveDataBrowseModel::OwnerRole).toString(), QString());
        QCOMPARE(cell(2, SaveDataBrowseModel::FolderPathRole).toString(),
                 QDir::cleanPath(base.path()));
    }
};

QTEST_GUILESS_MAIN(TestSaveDataBrowseModel)
#include "tst_savedatabrowsemodel.moc"
