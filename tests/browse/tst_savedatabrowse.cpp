#include "browse/savedatabrowsefiltermodel.h"
#include "browse/savedatabrowsemodel.h"
#include "browse/ui/savedatabrowsewidget.h"
#include "measurementfolders.h"
#include "testfiles.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <QtWidgets>

#include <utime.h>

using Filter = SaveDataBrowseFilterModel::Filter;

class TestSaveDataBrowse : public QObject
{
    Q_OBJECT

    QTemporaryDir m_base;
    SaveDataBrowseModel m_model;

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
    void init() { QSettings().clear(); }
    void initTestCase()
    {
        // Created dates whose German short text ("dd.MM.yy") sorts unlike the time.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto add = [this](const char *id, const char *owner, int rating,
                                const char *identifications, const QDate &created) {
            const TestMeasurement m{
                QString::fromUtf8(owner), QString::fromUtf8(id), rating,
                QString::fromUtf8(identifications).split(QLatin1Char(' '), Qt::SkipEmptyParts),
                QDateTime(created, QTime(12, 0))};
            return writeTestMeasurement(m_base.filePath(m.collectionId), m);
        };
        QVERIFY(add("leer", "Huber", 3, "", QDate(2021, 1, 2)));
        QVERIFY(add("ohne", "Huber", -1, "Quarz", QDate(2020, 6, 15)));
        QVERIFY(add("null", "Museum", 0, "Calcit", QDate(2019, 3, 1)));
        QVERIFY(add("eins", "Museum", 1, "Gips", QDate(2022, 12, 24)));
        QVERIFY(add("vier", "Institut", 4, "Hämatit QUARZ", QDate(2018, 11, 30)));
        QSignalSpy finished(&m_model, &SaveDataBrowseModel::loadingFinished);
        m_model.setDirectory(m_base.path());
        QVERIFY(finished.wait(5000));
    }

    void filterAndSort_data()
    {
        QTest::addColumn<Filter>("filter");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("expected");
        const int rating = SaveDataBrowseModel::RatingColumn;
        QTest::newRow("form defaults: rating 0 and empty hidden, unrated shown")
            << Filter{{}, {}, {}, 1, true, false} << rating << "ohne eins vier";
        QTest::newRow("minimum 0: -1 sorts before 0, numbers not stars")
            << Filter{{}, {}, {}, 0, false, false} << rating << "ohne null eins leer vier";
        QTest::newRow("created sorts by time")
            << Filter{{}, {}, {}, 0, false, false} << int(SaveDataBrowseModel::CreatedColumn)
            << "vier null ohne leer eins";
        QTest::newRow("result ignores case")
            << Filter{{}, S("quarz"), {}, 0, false, false} << rating << "ohne vier";
        QTest::newRow("result with umlaut")
            << Filter{{}, QString::fromUtf8("HÄMAT"), {}, 0, false, false} << rating << "vier";
        QTest::newRow("owner, id and rating together")
            << Filter{S("huber"), {}, S("E"), 1, false, false} << rating << "ohne leer";
    }

    void filterAndSort()
    {
        QFETCH(Filter, filter);
        QFETCH(int, column);
        SaveDataBrowseFilterModel proxy;
        proxy.setSourceModel(&m_model);
        proxy.setFilter(filter);
        proxy.sort(column);
        QStringList ids; // collection numbers in proxy order
        for (int row = 0; row < proxy.rowCount(); ++row)
            ids << proxy.index(row, SaveDataBrowseModel::CollectionIdColumn).data().toString();
        QTEST(ids.join(QLatin1Char(' ')), "expected");
    }
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
        QTemporaryDir root;
        for (const QString &m : measurements)
            QVERIFY(writeTestMeasurement(root.filePath(m), {{}, {}, -1, words("Q"), {}}));
        utimbuf longAgo{1000000000, 1000000000};
        utime(QFile::encodeName(root.filePath(S("old"))).constData(), &longAgo);
        // A link back up the tree would make the search endless.
        QFile::link(root.path(), root.filePath(S("old/trip/up")));
        SaveDataBrowseModel model;
        QVERIFY(scan(model, root.filePath(base)));
        QTEST(found(model), "expected");
    }

    void restartGivesUpTheRunningScan()
    {
        QTemporaryDir first;
        QTemporaryDir second;
        for (int i = 0; i < 40; ++i)
            QVERIFY(writeTestMeasurement(first.filePath(QString::number(i)), {}));
        QVERIFY(writeTestMeasurement(second.filePath(S("b")), {}));
        SaveDataBrowseModel model;
        QSignalSpy finished(&model, &SaveDataBrowseModel::loadingFinished);
        model.setDirectory(first.path());
        model.setDirectory(second.path());
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(finished.wait(5000));
        QTest::qWait(50);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(found(model), QStringList{S("b")});
    }

    // A second scan shows what the index remembers at once, then what changed on disk; an index
    // that is damaged, foreign or tampered with is not believed.
    void indexOfEarlierScans_data()
    {
        QTest::addColumn<QByteArray>("damage"); // SQL run on the index, or bytes replacing it
        QTest::addColumn<bool>("remembered");   // the removed folder shows until the disk is read
        QTest::newRow("intact") << QByteArray() << true;
        QTest::newRow("not a database") << QByteArray("no SQLite file") << false;
        QTest::newRow("foreign database") << QByteArray("sql:DROP TABLE info") << false;
        QTest::newRow("tampered row")
            << QByteArray("sql:UPDATE folders SET row = x'00' WHERE path LIKE '%/a'") << true;
    }

    void indexOfEarlierScans()
    {
        QFETCH(QByteArray, damage);
        QFETCH(bool, remembered);
        QTemporaryDir base;
        const QString index = base.filePath(S("index.sqlite"));
        for (const char *id : {"a", "b", "c"})
            QVERIFY(writeTestMeasurement(base.filePath(S("m/") + QLatin1String(id)),
                                         {S("Alt"), QLatin1String(id), 1, words("Quarz"), {}}));
        SaveDataBrowseModel model;
        model.setIndexPath(index);
        QVERIFY(scan(model, base.filePath(S("m"))));
        if (damage.startsWith("sql:")) {
            QSqlDatabase db = QSqlDatabase::addDatabase(S("QSQLITE"), S("damage"));
            db.setDatabaseName(index);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QString::fromUtf8(damage.mid(4))));
            db.close();
        } else if (!damage.isEmpty()) {
            QVERIFY(TestFiles::write(index, damage));
        }
        QSqlDatabase::removeDatabase(S("damage"));
        // Changed, removed and added while the program was closed.
        QVERIFY(writeTestMeasurement(base.filePath(S("m/b")),
                                     {S("Neu"), S("b"), 2, words("Gips Calcit"), {}}));
        QVERIFY(QDir(base.filePath(S("m/c"))).removeRecursively());
        QVERIFY(writeTestMeasurement(base.filePath(S("m/d")), {S("Neu"), S("d"), 1, {}, {}}));

        SaveDataBrowseModel again;
        again.setIndexPath(index);
        QSignalSpy removed(&again, &QAbstractItemModel::rowsRemoved);
        QVERIFY(scan(again, base.filePath(S("m"))));
        QCOMPARE(removed.size(), int(remembered));
        QStringList rows;
        for (int row = 0; row < again.rowCount(); ++row) {
            rows << again.index(row, SaveDataBrowseModel::CollectionIdColumn).data().toString()
                        + again.index(row, 0, {}).data(SaveDataBrowseModel::OwnerRole).toString()
                        + again.index(row, 0).data().toString();
        }
        rows.sort();
        QCOMPARE(rows, words("aAlt1 bNeu2 dNeu0"));

        SaveDataBrowseModel third; // the index was made anew and is believed again
        third.setIndexPath(index);
        QSignalSpy insertedThird(&third, &QAbstractItemModel::rowsInserted);
        QVERIFY(scan(third, base.filePath(S("m"))));
        QCOMPARE(insertedThird.size(), 1);
        QCOMPARE(third.rowCount(), 3);
    }

    void columnsRolesAndReload()
    {
        QTemporaryDir base;
        const TestMeasurement m{S("Huber"), S("HU-8"), 3, words("Quarz Calcit Quarz Pyrit Gips"),
                                QDateTime(QDate(2021, 1, 2), QTime(3, 4), Qt::UTC)};
        QVERIFY(writeTestMeasurement(base.path(), m));
        SaveDataBrowseModel model;
        QVERIFY(scan(model, base.path()));
        const auto cell
            = [&model](int column, int role) { return model.index(0, column).data(role); };
        QCOMPARE(cell(0, Qt::DisplayRole), QVariant(5)); // the points, read from metadata.json
        QCOMPARE(cell(2, SaveDataBrowseModel::IdentificationsRole).toString(),
                 S("Quarz, Calcit, Pyrit, Gips"));

        QVERIFY(QFile::remove(base.filePath(S("metadata.json"))));
        model.reloadRow(0);
        QCOMPARE(cell(2, SaveDataBrowseModel::OwnerRole).toString(), QString());
        QCOMPARE(cell(2, SaveDataBrowseModel::FolderPathRole).toString(),
                 QDir::cleanPath(base.path()));
    }

    // What the form's filters show: tst_cli_list, which compares the widget with raman-cli list.
    void selectionWhileLoading()
    {
        QTemporaryDir base;
        for (int i = 0; i < 33; ++i)
            QVERIFY(
                writeTestMeasurement(base.filePath(S("x/%1").arg(i)), {{}, {}, 3, {S("Q")}, {}}));
        SaveDataBrowseWidget widget;
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QSignalSpy selected(&widget, &SaveDataBrowseWidget::directorySelected);
        QSignalSpy finished(widget.model(), &SaveDataBrowseModel::loadingFinished);
        widget.selectSourceDirectory(base.path());
        auto *table = childNamed<QTableView>(&widget, "tableView");
        while (table->model()->rowCount() == 0)
            QCoreApplication::processEvents();
        QVERIFY(widget.model()->isLoading());
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(table->model()->index(0, 2)).center());
        QVERIFY(finished.wait(5000));
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.at(0).at(0).toString(), widget.model()
                                                      ->index(widget.selectedRow(), 0)
                                                      .data(SaveDataBrowseModel::FolderPathRole)
                                                      .toString());
    }
};

QTEST_MAIN(TestSaveDataBrowse)
#include "tst_savedatabrowse.moc"
