#include "browse/savedatabrowsefiltermodel.h"
#include "browse/savedatabrowsemodel.h"
#include "measurementfolders.h"

#include <QtCore>
#include <QtTest>

using Filter = SaveDataBrowseFilterModel::Filter;

class TestSaveDataBrowseFilterModel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_base;
    SaveDataBrowseModel m_model;

    // Collection numbers in proxy order.
    static QString ids(const QAbstractItemModel &proxy)
    {
        QStringList result;
        for (int row = 0; row < proxy.rowCount(); ++row)
            result << proxy.index(row, SaveDataBrowseModel::CollectionIdColumn).data().toString();
        return result.join(QLatin1Char(' '));
    }

private slots:
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
            << Filter{{}, QStringLiteral("quarz"), {}, 0, false, false} << rating << "ohne vier";
        QTest::newRow("result with umlaut")
            << Filter{{}, QString::fromUtf8("HÄMAT"), {}, 0, false, false} << rating << "vier";
        QTest::newRow("owner, id and rating together")
            << Filter{QStringLiteral("huber"), {}, QStringLiteral("E"), 1, false, false} << rating
            << "ohne leer";
    }

    void filterAndSort()
    {
        QFETCH(Filter, filter);
        QFETCH(int, column);
        QFETCH(QString, expected);
        SaveDataBrowseFilterModel proxy;
        proxy.setSourceModel(&m_model);
        proxy.setFilter(filter);
        proxy.sort(column);
        QCOMPARE(ids(proxy), expected);
    }
};

QTEST_GUILESS_MAIN(TestSaveDataBrowseFilterModel)
#include "tst_savedatabrowsefiltermodel.moc"
