#include "browse/savedatabrowsefiltermodel.h"
#include "browse/savedatabrowsemodel.h"
#include "measurementfolders.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using Filter = SaveDataBrowseFilterModel::Filter;

class TestSaveDataBrowseFilterModel : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_base;
    SaveDataBrowseModel m_model;

    // Collection numbers of the proxy rows in proxy order.
    static QStringList ids(const QAbstractItemModel &proxy)
    {
        QStringList result;
        for (int row = 0; row < proxy.rowCount(); ++row)
            result << proxy.index(row, SaveDataBrowseModel::CollectionIdColumn).data().toString();
        return result;
    }

    static Filter filter(int minRating, bool hideEmpty, bool hideUnrated,
                         const QString &owner = QString(), const QString &result = QString(),
                         const QString &identifier = QString())
    {
        Filter f;
        f.owner = owner;
        f.result = result;
        f.identifier = identifier;
        f.minRating = minRating;
        f.hideEmpty = hideEmpty;
        f.hideUnrated = hideUnrated;
        return f;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        struct Row
        {
            const char *id;
            const char *owner;
            int rating;
            QStringList identifications;
            QDate created;
        };
        // Created dates whose short German text ("dd.MM.yy") sorts differently from time.
        const Row rows[] = {
            {"leer", "Huber, Anna", 3, {}, QDate(2021, 1, 2)},
            {"unbewertet", "Huber, Anna", -1, {QStringLiteral("Quarz")}, QDate(2020, 6, 15)},
            {"null", "Museum", 0, {QStringLiteral("Calcit")}, QDate(2019, 3, 1)},
            {"eins", "Museum", 1, {QStringLiteral("Gips")}, QDate(2022, 12, 24)},
            {"vier",
             "Institut",
             4,
             {QStringLiteral("Hämatit"), QStringLiteral("QUARZ")},
             QDate(2018, 11, 30)},
        };
        for (const Row &row : rows) {
            TestMeasurement m;
            m.collectionId = QString::fromUtf8(row.id);
            m.owner = QString::fromUtf8(row.owner);
            m.rating = row.rating;
            m.identifications = row.identifications;
            m.created = QDateTime(row.created, QTime(10, 0));
            QVERIFY(writeTestMeasurement(m_base.filePath(m.collectionId), m));
        }
        QSignalSpy finished(&m_model, &SaveDataBrowseModel::loadingFinished);
        m_model.setDirectory(m_base.path());
        QVERIFY(finished.wait(5000));
        QCOMPARE(m_model.rowCount(), 5);
    }

    void acceptsRows_data()
    {
        QTest::addColumn<Filter>("filter");
        QTest::addColumn<QStringList>("expected");
        const auto list = [](const char *ids) {
            return QString::fromUtf8(ids).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        };
        QTest::newRow("form defaults: rating 0 and empty hidden, unrated shown")
            << filter(1, true, false) << list("unbewertet eins vier");
        QTest::newRow("empty shown")
            << filter(1, false, false) << list("leer unbewertet eins vier");
        QTest::newRow("unrated hidden") << filter(1, true, true) << list("eins vier");
        QTest::newRow("minimum 0 keeps rating 0")
            << filter(0, false, false) << list("leer unbewertet null eins vier");
        QTest::newRow("minimum 0, unrated hidden")
            << filter(0, false, true) << list("leer null eins vier");
        QTest::newRow("minimum 4") << filter(4, false, false) << list("unbewertet vier");
        QTest::newRow("result ignores case")
            << filter(0, false, false, {}, QStringLiteral("quarz")) << list("unbewertet vier");
        QTest::newRow("result substring with umlaut")
            << filter(0, false, false, {}, QStringLiteral("HÄMAT")) << list("vier");
        QTest::newRow("owner substring")
            << filter(0, false, false, QStringLiteral("huber")) << list("leer unbewertet");
        QTest::newRow("identifier substring")
            << filter(0, false, false, {}, {}, QStringLiteral("ER"))
            << list("leer unbewertet vier");
        QTest::newRow("all texts must match")
            << filter(0, false, false, QStringLiteral("museum"), QStringLiteral("gips"),
                      QStringLiteral("null"))
            << list("");
        QTest::newRow("text filters and rating together")
            << filter(1, true, false, QStringLiteral("huber")) << list("unbewertet");
    }

    void acceptsRows()
    {
        QFETCH(Filter, filter);
        QFETCH(QStringList, expected);
        SaveDataBrowseFilterModel proxy;
        proxy.setSourceModel(&m_model);
        proxy.setFilter(filter);
        QCOMPARE(proxy.filter(), filter);
        QStringList got = ids(proxy);
        got.sort();
        expected.sort();
        QCOMPARE(got, expected);
    }

    void sortsBySortKey_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("rating: unrated before 0, numbers not stars")
            << int(SaveDataBrowseModel::RatingColumn)
            << QStringList{QStringLiteral("unbewertet"), QStringLiteral("null"),
                           QStringLiteral("eins"), QStringLiteral("leer"), QStringLiteral("vier")};
        QTest::newRow("created by time, not text")
            << int(SaveDataBrowseModel::CreatedColumn)
            << QStringList{QStringLiteral("vier"), QStringLiteral("null"),
                           QStringLiteral("unbewertet"), QStringLiteral("leer"),
                           QStringLiteral("eins")};
        QTest::newRow("count as number")
            << int(SaveDataBrowseModel::SectorCountColumn)
            << QStringList{QStringLiteral("leer"), QStringLiteral("unbewertet"),
                           QStringLiteral("null"), QStringLiteral("eins"), QStringLiteral("vier")};
    }

    void sortsBySortKey()
    {
        QFETCH(int, column);
        QFETCH(QStringList, expected);
        SaveDataBrowseFilterModel proxy;
        proxy.setSourceModel(&m_model);
        proxy.setFilter(filter(0, false, false));
        proxy.sort(column, Qt::AscendingOrder);
        const QStringList got = ids(proxy);
        if (column == SaveDataBrowseModel::SectorCountColumn) {
            // Equal counts keep no particular order; only the grouping matters.
            QCOMPARE(got.first(), expected.first());
            QCOMPARE(got.last(), expected.last());
        } else {
            QCOMPARE(got, expected);
        }
        proxy.sort(column, Qt::DescendingOrder);
        QCOMPARE(ids(proxy).first(), expected.last());
    }

    // Rows arriving while the scan goes on are filtered as they come.
    void filtersRowsAddedLater()
    {
        QTemporaryDir base;
        SaveDataBrowseModel model;
        SaveDataBrowseFilterModel proxy;
        proxy.setSourceModel(&model);
        proxy.setFilter(filter(2, false, true));
        TestMeasurement m;
        for (int rating : {1, 2, 3, -1}) {
            m.rating = rating;
            QVERIFY(writeTestMeasurement(base.filePath(QString::number(rating)), m));
        }
        QSignalSpy finished(&model, &SaveDataBrowseModel::loadingFinished);
        model.setDirectory(base.path());
        QVERIFY(finished.wait(5000));
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(proxy.rowCount(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSaveDataBrowseFilterModel)
#include "tst_savedatabrowsefiltermodel.moc"
