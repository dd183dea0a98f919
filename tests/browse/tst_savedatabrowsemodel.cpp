#include "browse/savedatabrowsemodel.h"
#include "measurementfolders.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using Progress = QPair<int, int>;

class TestSaveDataBrowseModel : public QObject
{
    Q_OBJECT

private:
    static QStringList foundPaths(const SaveDataBrowseModel &model, const QString &base)
    {
        QStringList paths;
        for (int row = 0; row < model.rowCount(); ++row) {
            const QString path
                = model.index(row, 0).data(SaveDataBrowseModel::FolderPathRole).toString();
            paths << QDir(base).relativeFilePath(path);
        }
        return paths;
    }

    static bool scanToEnd(SaveDataBrowseModel &model, const QString &directory)
    {
        QSignalSpy finished(&model, &SaveDataBrowseModel::loadingFinished);
        model.setDirectory(directory);
        return finished.wait(10000);
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void progressPerChunk_data()
    {
        QTest::addColumn<int>("folders");
        QTest::addColumn<QVector<Progress>>("expected");
        QTest::newRow("empty base") << 0 << QVector<Progress>{{0, 0}};
        QTest::newRow("one chunk") << 10 << QVector<Progress>{{0, 10}, {10, 10}};
        QTest::newRow("three chunks")
            << 25 << QVector<Progress>{{0, 25}, {10, 25}, {20, 25}, {25, 25}};
    }

    // Each event-loop turn examines one chunk; the turn after the last chunk reports the end.
    void progressPerChunk()
    {
        QFETCH(int, folders);
        QFETCH(QVector<Progress>, expected);
        QTemporaryDir base;
        for (int i = 0; i < folders; ++i)
            QVERIFY(writeTestMeasurement(base.filePath(QString::number(i)), {}));

        SaveDataBrowseModel model;
        QSignalSpy progress(&model, &SaveDataBrowseModel::progress);
        QSignalSpy finished(&model, &SaveDataBrowseModel::loadingFinished);
        model.setDirectory(base.path());
        QCOMPARE(progress.count(), 0);
        for (int turn = 0; turn < expected.size(); ++turn) {
            QCoreApplication::processEvents();
            QCOMPARE(progress.count(), turn + 1);
            const Progress got(progress.last().at(0).toInt(), progress.last().at(1).toInt());
            QCOMPARE(got, expected.at(turn));
            QCOMPARE(model.rowCount(), got.first);
            QCOMPARE(finished.count(), 0);
        }
        QCoreApplication::processEvents();
        QCOMPARE(finished.count(), 1);
        QCoreApplication::processEvents();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(progress.count(), expected.size());
    }

    void searchesOnlyOutsideMeasurements_data()
    {
        QTest::addColumn<QStringList>("measurements");
        QTest::addColumn<QString>("scanned");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("base is a measurement")
            << QStringList{QStringLiteral("m"), QStringLiteral("m/Location1/inner"),
                           QStringLiteral("m/other/inner")}
            << QStringLiteral("m") << QStringList{QStringLiteral(".")};
        QTest::newRow("nested below plain folders")
            << QStringList{QStringLiteral("2019/trip/a"), QStringLiteral("2020/b"),
                           QStringLiteral("2020/b/Location1/hidden")}
            << QString() << QStringList{QStringLiteral("2020/b"), QStringLiteral("2019/trip/a")};
        QTest::newRow("missing base")
            << QStringList{} << QStringLiteral("nowhere") << QStringList{};
    }

    void searchesOnlyOutsideMeasurements()
    {
        QFETCH(QStringList, measurements);
        QFETCH(QString, scanned);
        QFETCH(QStringList, expected);
        QTemporaryDir root;
        for (const QString &m : measurements) {
            TestMeasurement record;
            record.identifications = QStringList{QStringLiteral("Quarz")};
            QVERIFY(writeTestMeasurement(root.filePath(m), record));
        }
        const QString base = root.filePath(scanned);
        SaveDataBrowseModel model;
        QVERIFY(scanToEnd(model, base));
        QCOMPARE(foundPaths(model, base), expected);
    }

    // Breadth-first, and within one level the most recently changed folder first.
    void newestFolderFirstWithinLevel()
    {
        QTemporaryDir base;
        const QStringList names{QStringLiteral("old"), QStringLiteral("new"),
                                QStringLiteral("mid")};
        const QVector<int> years{2001, 2021, 2011};
        for (int i = 0; i < names.size(); ++i) {
            QVERIFY(writeTestMeasurement(base.filePath(names.at(i)), {}));
            QVERIFY(setModificationTime(base.filePath(names.at(i)),
                                        QDateTime(QDate(years.at(i), 1, 1), QTime(0, 0))));
        }
        QVERIFY(writeTestMeasurement(base.filePath(QStringLiteral("deep/x")), {}));
        QVERIFY(setModificationTime(base.filePath(QStringLiteral("deep")),
                                    QDateTime(QDate(2030, 1, 1), QTime(0, 0))));
        SaveDataBrowseModel model;
        QVERIFY(scanToEnd(model, base.path()));
        QCOMPARE(foundPaths(model, base.path()),
                 (QStringList{QStringLiteral("new"), QStringLiteral("mid"), QStringLiteral("old"),
                              QStringLiteral("deep/x")}));
    }

    void restartDuringScanKeepsOneScheduledCall()
    {
        QTemporaryDir first;
        QTemporaryDir second;
        for (int i = 0; i < 40; ++i)
            QVERIFY(writeTestMeasurement(first.filePath(QStringLiteral("a%1").arg(i)), {}));
        for (int i = 0; i < 3; ++i)
            QVERIFY(writeTestMeasurement(second.filePath(QStringLiteral("b%1").arg(i)), {}));

        SaveDataBrowseModel model;
        QSignalSpy finished(&model, &SaveDataBrowseModel::loadingFinished);
        QSignalSpy progress(&model, &SaveDataBrowseModel::progress);
        model.setDirectory(first.path());
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(model.rowCount(), 10);
        model.setDirectory(second.path());
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.directory(), second.path());
        QVERIFY(finished.wait(5000));
        QTest::qWait(50);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(foundPaths(model, second.path()).size(), 3);
        // One chunk per turn: "." of the new base, then its three folders.
        QCOMPARE(progress.count(), 2 + 2);
    }

    // A link back up the tree must not make the search endless.
    void linkIntoOwnParentIsNotFollowed()
    {
        QTemporaryDir base;
        QVERIFY(writeTestMeasurement(base.filePath(QStringLiteral("a/m")), {}));
        QVERIFY(QDir().mkpath(base.filePath(QStringLiteral("a/b"))));
        QVERIFY(QFile::link(base.filePath(QStringLiteral("a")),
                            base.filePath(QStringLiteral("a/b/up"))));
        QVERIFY(QFile::link(base.filePath(QStringLiteral("a/m")),
                            base.filePath(QStringLiteral("a/b/alias"))));
        SaveDataBrowseModel model;
        QVERIFY(scanToEnd(model, base.path()));
        QStringList found = foundPaths(model, base.path());
        found.sort();
        QCOMPARE(found, (QStringList{QStringLiteral("a/b/alias"), QStringLiteral("a/m")}));
    }

    void columnsAndRoles()
    {
        QTemporaryDir base;
        TestMeasurement m;
        m.owner = QStringLiteral("Huber, Anna");
        m.collectionName = QStringLiteral("Sammlung Huber");
        m.collectionId = QStringLiteral("HU-8");
        m.rating = 3;
        m.identifications = QStringList{QStringLiteral("Quarz"), QStringLiteral("Calcit"),
                                        QStringLiteral("Quarz"), QStringLiteral("Hämatit"),
                                        QStringLiteral("Gips")};
        m.created = QDateTime(QDate(2021, 1, 2), QTime(3, 4), Qt::UTC);
        m.saved = QDateTime(QDate(2022, 5, 6), QTime(7, 8), Qt::UTC);
        QVERIFY(writeTestMeasurement(base.path(), m));
        SaveDataBrowseModel model;
        QVERIFY(scanToEnd(model, base.path()));
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.columnCount(), 8);
        QCOMPARE(model.rowCount(model.index(0, 0)), 0);

        const auto display = [&model](int column) { return model.index(0, column).data(); };
        QCOMPARE(display(0).toInt(), 5);
        QCOMPARE(display(1).toString(), QStringLiteral("★★★"));
        QCOMPARE(display(2).toString(), m.collectionName);
        QCOMPARE(display(3).toString(), m.collectionId);
        QCOMPARE(display(4).toString(), QStringLiteral("Quarz, Calcit, Hämatit"));
        QCOMPARE(display(5).toString(), QLocale().toString(m.created, QLocale::ShortFormat));
        QCOMPARE(display(6).toString(), QLocale().toString(m.saved, QLocale::ShortFormat));
        QVERIFY(!display(7).toString().isEmpty());
        QVERIFY(!display(8).isValid());

        const QModelIndex cell = model.index(0, 6);
        QCOMPARE(cell.data(SaveDataBrowseModel::FolderPathRole).toString(),
                 QDir::cleanPath(base.path()));
        QCOMPARE(cell.data(SaveDataBrowseModel::OwnerRole).toString(), m.owner);
        QCOMPARE(cell.data(SaveDataBrowseModel::IdentificationsRole).toString(),
                 QStringLiteral("Quarz, Calcit, Hämatit, Gips"));
        QCOMPARE(cell.data(SaveDataBrowseModel::RatingRole).toInt(), 3);
        QCOMPARE(cell.data(SaveDataBrowseModel::CollectionIdRole).toString(), m.collectionId);
        QCOMPARE(cell.data(Qt::ToolTipRole), QVariant());

        const auto sortKey = [&model](int column) {
            return model.index(0, column).data(SaveDataBrowseModel::SortKeyRole);
        };
        QCOMPARE(sortKey(1), QVariant(3));
        QCOMPARE(sortKey(5), QVariant(m.created.toMSecsSinceEpoch()));
        QCOMPARE(sortKey(6), QVariant(m.saved.toMSecsSinceEpoch()));
        QCOMPARE(sortKey(3), display(3));

        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Bewertung"));
        QCOMPARE(model.headerData(7, Qt::Horizontal).toString(), QStringLiteral("Eindeutige ID"));
        QVERIFY(!model.headerData(1, Qt::Vertical).isValid());
        QVERIFY(!model.headerData(1, Qt::Horizontal, Qt::ToolTipRole).isValid());
    }

    void reloadRowRereadsOneRow()
    {
        QTemporaryDir base;
        const QString folder = base.filePath(QStringLiteral("m"));
        TestMeasurement m;
        m.owner = QStringLiteral("vorher");
        QVERIFY(writeTestMeasurement(folder, m));
        SaveDataBrowseModel model;
        QVERIFY(scanToEnd(model, base.path()));
        QSignalSpy changed(&model, &SaveDataBrowseModel::dataChanged);

        model.reloadRow(1);
        model.reloadRow(-1);
        QCOMPARE(changed.count(), 0);

        m.owner = QStringLiteral("nachher");
        QVERIFY(writeTestMeasurement(folder, m));
        model.reloadRow(0);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), model.index(0, 0));
        QCOMPARE(changed.at(0).at(1).toModelIndex(), model.index(0, 7));
        QCOMPARE(model.index(0, 0).data(SaveDataBrowseModel::OwnerRole).toString(), m.owner);

        QVERIFY(QFile::remove(folder + QStringLiteral("/metadata.json")));
        model.reloadRow(0);
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.index(0, 0).data(SaveDataBrowseModel::OwnerRole).toString(), QString());
        QCOMPARE(model.index(0, 0).data(SaveDataBrowseModel::FolderPathRole).toString(), folder);
    }
};

QTEST_GUILESS_MAIN(TestSaveDataBrowseModel)
#include "tst_savedatabrowsemodel.moc"
