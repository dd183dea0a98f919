#include "library/mineralsortfilterproxymodel.h"
#include "library/ramanlibrarymodel.h"

#include "../savedata_view/nicepicstore.h"
#include "measurementfolders.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

namespace {

rruff_infos info(const char *name, const char *formula, const char *number = "1")
{
    rruff_infos row;
    row.name = QString::fromUtf8(name);
    row.rruffId = QStringLiteral("R0%1").arg(QLatin1String(number));
    row.number = QString::fromUtf8(number);
    row.library = QStringLiteral("rruff");
    row.chemistry = Chemistry::fromFormula(QString::fromUtf8(formula));
    return row;
}

QVector<rruff_infos> minerals()
{
    return {
        info("Quartz", "SiO<sub>2</sub>", "10"),
        info("Pyrite", "FeS<sub>2</sub>", "11"),
        info("Melanterite", "Fe<sup>2+</sup>(SO<sub>4</sub>)·7H<sub>2</sub>O", "12"),
        info("Coquimbite",
             "Fe<sup>3+</sup><sub>2</sub>(SO<sub>4</sub>)<sub>3</sub>·9H<sub>2</sub>O", "13"),
        info("Anhydrite", "CaSO<sub>4</sub>", "14"),
        info("Siderite", "FeCO<sub>3</sub>", "15"),
    };
}

QStringList names(const QAbstractItemModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result << model.index(row, RamanLibraryModel::NameColumn).data().toString();
    return result;
}

} // namespace

class TestRamanLibraryModel : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_store.clear(); }

    void placeholders()
    {
        RamanLibraryModel model;
        MineralSortFilterProxyModel proxy;
        proxy.setSourceModel(&model);
        QAbstractItemModelTester tester(&proxy,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 100);
        QCOMPARE(model.columnCount(), 7);
        QCOMPARE(model.index(99, 1).data().toString(), QStringLiteral("Wird geladen ..."));
        QVERIFY(!model.index(5, 0).data().isValid());
        QVERIFY(!model.index(5, 2).data(RamanLibraryModel::ChemistryRole).isValid());

        proxy.setFilter(QStringLiteral("Wird"), QString());
        QCOMPARE(proxy.rowCount(), 100);
        proxy.sort(0, Qt::DescendingOrder);
        QCOMPARE(proxy.rowCount(), 100);
        proxy.setFilter(QStringLiteral("Quartz"), QString());
        QCOMPARE(proxy.rowCount(), 0);
        model.setLibraryData({});
        QCOMPARE(proxy.rowCount(), 0);
    }

    void columns()
    {
        RamanLibraryModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setLibraryData(minerals());
        QStringList headers;
        QStringList melanterite;
        for (int column = 0; column < 7; ++column) {
            headers << model.headerData(column, Qt::Horizontal).toString();
            melanterite << model.index(2, column).data().toString();
            QCOMPARE(model.headerData(column, Qt::Vertical, Qt::TextAlignmentRole).toInt()
                         & Qt::AlignHorizontal_Mask,
                     int(Qt::AlignLeft));
        }
        QCOMPARE(headers.join(QLatin1Char('|')),
                 QStringLiteral("Erg|Mineral|Formel|Ident Nr.|RRUFFID|Bilder|Datenbank"));
        QCOMPARE(melanterite.join(QLatin1Char('|')),
                 QStringLiteral("--|Melanterite|Fe<sup>2+</sup>(SO<sub>4</sub>)·7H<sub>2</sub>O|12|"
                                "R012|0|rruff"));
        QVERIFY(!model.headerData(0, Qt::Vertical).isValid());
        const QVariant chemistry = model.index(2, 4).data(RamanLibraryModel::ChemistryRole);
        QCOMPARE(chemistry.value<Chemistry>().formulaPlain, QStringLiteral("Fe2+(SO4)·7H2O"));
    }

    void scores_data()
    {
        QTest::addColumn<double>("score");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<bool>("strange");
        QTest::newRow("perfect") << 10.0 << "10.00" << QColor(98, 239, 96) << false;
        QTest::newRow("exactly 9") << 9.0 << "9.00" << QColor(98, 239, 96) << false;
        QTest::newRow("just below 9") << 8.999 << "9.00" << QColor(139, 244, 139) << false;
        QTest::newRow("5") << 5.0 << "5.00" << QColor(240, 215, 184) << false;
        QTest::newRow("4.99") << 4.99 << "4.99" << QColor() << false;
        QTest::newRow("above 10") << 10.5 << "10.50" << QColor(98, 239, 96) << true;
        QTest::newRow("negative") << -0.5 << "-0.50" << QColor() << true;
        QTest::newRow("not a number") << qQNaN() << "nan" << QColor() << true;
    }

    void scores()
    {
        QFETCH(double, score);
        QFETCH(QString, shown);
        QFETCH(QColor, color);
        QFETCH(bool, strange);
        RamanLibraryModel model;
        model.setLibraryData(minerals());
        QVector<double> scores(6, 1.0);
        scores[3] = score;
        scores[4] = -1;
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.setResultScores(scores);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), model.index(0, 0));
        QCOMPARE(changed.at(0).at(1).toModelIndex(), model.index(5, 0));

        if (strange)
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(QStringLiteral("^strange result value:")));
        QCOMPARE(model.index(3, 0).data().toString(), shown);
        QCOMPARE(model.index(3, 0).data(Qt::BackgroundRole).value<QColor>(), color);
        QCOMPARE(model.index(3, 0).data(RamanLibraryModel::SortRole).toDouble(), score);

        QCOMPARE(model.index(4, 0).data().toString(), QStringLiteral("--"));
        QVERIFY(!model.index(4, 0).data(RamanLibraryModel::SortRole).isValid());
        QVERIFY(!model.index(4, 0).data(Qt::BackgroundRole).isValid());
    }

    void partialScoresColourNothing()
    {
        RamanLibraryModel model;
        model.setLibraryData(minerals());
        model.setResultScores({9.5, 9.5, 9.5});
        QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("9.50"));
        QVERIFY(!model.index(1, 0).data(Qt::BackgroundRole).isValid());
        QCOMPARE(model.index(5, 0).data().toString(), QStringLiteral("--"));
        // A reload forgets the scores.
        model.setLibraryData(minerals());
        QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("--"));
    }

    void filter_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("elements");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("nothing") << QString() << QString()
                                 << words(
                                        "Quartz Pyrite Melanterite Coquimbite Anhydrite Siderite");
        QTest::newRow("capital: prefix") << "Qu" << QString() << words("Quartz");
        QTest::newRow("lower case: anywhere") << "qu" << QString() << words("Quartz Coquimbite");
        QTest::newRow("capital inside") << "Im" << QString() << words("");
        QTest::newRow("S is not Si")
            << QString() << "S" << words("Pyrite Melanterite Coquimbite Anhydrite");
        QTest::newRow("elements and fragment")
            << QString() << "Fe, S :O4" << words("Melanterite Coquimbite");
        QTest::newRow("commas, repeats") << QString() << "Fe,,Fe,C" << words("Siderite");
        QTest::newRow("fragment with charge") << QString() << ":3+" << words("Coquimbite");
        QTest::newRow("lower case element") << QString() << "fe" << words("");
        QTest::newRow("too long for a symbol") << QString() << "Fex" << words("");
        QTest::newRow("name and elements") << "M"
                                           << "Fe" << words("Melanterite");
    }

    void filter()
    {
        QFETCH(QString, name);
        QFETCH(QString, elements);
        QFETCH(QStringList, kept);
        RamanLibraryModel model;
        model.setLibraryData(minerals());
        MineralSortFilterProxyModel proxy;
        proxy.setSourceModel(&model);
        QAbstractItemModelTester tester(&proxy,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        proxy.setFilter(QStringLiteral("Py"), QStringLiteral("Ca"));
        proxy.setFilter(name, elements);
        QCOMPARE(names(proxy), kept);
    }

    void sorting()
    {
        RamanLibraryModel model;
        model.setLibraryData(minerals());
        model.setResultScores({2.5, -1, 9.25, 10, -1, 0});
        MineralSortFilterProxyModel proxy;
        proxy.setSourceModel(&model);
        QAbstractItemModelTester tester(&proxy,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        proxy.sort(0, Qt::DescendingOrder);
        // Numerically, not as text ("10.00" < "9.25"); rows without a score last.
        QCOMPARE(names(proxy).mid(0, 4),
                 (QStringList{QStringLiteral("Coquimbite"), QStringLiteral("Melanterite"),
                              QStringLiteral("Quartz"), QStringLiteral("Siderite")}));
        QCOMPARE(names(proxy).mid(4).size(), 2);
        proxy.sort(1, Qt::AscendingOrder);
        QCOMPARE(names(proxy).first(), QStringLiteral("Anhydrite"));
    }

    void pictureCounts()
    {
        for (int n : {0, 1})
            m_store.add(QStringLiteral("Pyrite"), n, Qt::yellow);
        RamanLibraryModel model;
        model.setLibraryData(minerals());
        QCOMPARE(model.index(1, RamanLibraryModel::PicturesColumn).data(), QVariant(2));
        QCOMPARE(model.index(0, RamanLibraryModel::PicturesColumn).data(), QVariant(0));

        m_store.add(QStringLiteral("Pyrite"), 2, Qt::yellow);
        model.picturesChanged();
        QCOMPARE(model.index(1, RamanLibraryModel::PicturesColumn).data(), QVariant(3));
    }

private:
    TestPictureStore m_store;
};

QTEST_MAIN(TestRamanLibraryModel)
#include "tst_ramanlibrarymodel.moc"
