#include "savedata_view/savedatamodel.h"

#include "savedatafixture.h"

#include <QAbstractItemModelTester>
#include <QFont>
#include <QGuiApplication>
#include <QLocale>
#include <QPixmap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(SaveDataMetadata)

namespace {

QImage icon(const char *name)
{
    return QPixmap(QStringLiteral(":/icons/%1.png").arg(QLatin1String(name)))
        .scaledToWidth(16, Qt::SmoothTransformation)
        .toImage();
}

// A model holding `data`, watched by the model tester for its whole life.
struct TestedModel
{
    explicit TestedModel(const SaveData &data)
    {
        model.saveData() = data;
        tester = std::make_unique<QAbstractItemModelTester>(
            &model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    QModelIndex item(int point, int row, int column = 0) const
    {
        return model.index(row, column, model.index(point, 0));
    }

    SaveDataModel model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

QString htmlRow(const QString &caption, const QString &value)
{
    return QStringLiteral("<tr><td width=300><b>%1</b></td><td>%2</td></tr>").arg(caption, value);
}

QString htmlTable(const QStringList &rows)
{
    return QStringLiteral("<html><body><table>") + rows.join(QLatin1Char('\n'))
           + QStringLiteral("</table></body></html>");
}

} // namespace

class TestSaveDataModel : public QObject
{
    Q_OBJECT

private slots:
    void indexScheme()
    {
        TestedModel t(Fixture::measurement(3));
        const SaveDataModel &model = t.model;
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 2);
        const QModelIndex point = model.index(2, 0);
        QCOMPARE(point.internalId(), quintptr(0));
        QCOMPARE(model.rowCount(point), 9);
        QCOMPARE(model.rowCount(model.index(2, 1)), 0);
        const QModelIndex item = t.item(2, 8, 1);
        QCOMPARE(item.internalId(), quintptr(3));
        QCOMPARE(model.parent(item), point);
        QCOMPARE(model.rowCount(item), 0);
        QVERIFY(!model.index(9, 0, point).isValid());
        QVERIFY(!model.index(3, 0).isValid());
        QVERIFY(!model.parent(point).isValid());
        QCOMPARE(model.flags(item), Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }

    void items_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QVariant>("full");
        QTest::addColumn<bool>("emptyIsComplete");
        QTest::newRow("photo") << 0 << "Foto der Probe (mit Laser)"
                               << QVariant(QStringLiteral("64x48")) << false;
        QTest::newRow("graph") << 1 << "Spektrum (Graph)" << QVariant(QStringLiteral("60x30"))
                               << false;
        QTest::newRow("raw") << 2 << "Spektrum (Rohdaten)" << QVariant(300) << false;
        QTest::newRow("processed")
            << 3 << "Spektrum (Prozessierte Daten)" << QVariant(200) << false;
        QTest::newRow("raw graph")
            << 4 << "Spektrum (Graph Rohdaten)" << QVariant(QStringLiteral("80x40")) << false;
        QTest::newRow("ccd") << 5 << "Spektrum (CCD-Rohbild)" << QVariant(QStringLiteral("134x40"))
                             << false;
        QTest::newRow("search result") << 6 << "Bibliotheks-Suchergebnis" << QVariant() << true;
        QTest::newRow("table") << 7 << "Bibliotheks-Suchergebnis (Tabelle)"
                               << QVariant(QStringLiteral("20x40")) << false;
        QTest::newRow("exposure") << 8 << "Spektrum Aufnahmedaten" << QVariant() << true;
    }

    // The first point is filled, the second is a fresh empty one.
    void items()
    {
        QFETCH(int, row);
        QFETCH(QString, label);
        QFETCH(QVariant, full);
        QFETCH(bool, emptyIsComplete);
        SaveData data = Fixture::measurement(1);
        data.addSector();
        TestedModel t(data);

        const QModelIndex filled = t.item(0, row);
        QCOMPARE(filled.data().toString(), label);
        QCOMPARE(t.item(0, row, 1).data(), full);
        QCOMPARE(filled.data(Qt::DecorationRole).value<QPixmap>().toImage(), icon("task-complete"));
        QVERIFY(!t.item(0, row, 1).data(Qt::DecorationRole).isValid());
        const QVariant preview = filled.data(SaveDataModel::PreviewRole);
        QVERIFY(preview.isValid());
        QCOMPARE(t.item(0, row, 1).data(SaveDataModel::PreviewRole), preview);

        const QModelIndex empty = t.item(1, row);
        QCOMPARE(empty.data().toString(), label);
        const QVariant emptySize = t.item(1, row, 1).data();
        if (full.userType() == QMetaType::Int)
            QCOMPARE(emptySize, QVariant(0));
        else
            QCOMPARE(emptySize.toString(), QString());
        QCOMPARE(empty.data(Qt::DecorationRole).value<QPixmap>().toImage(),
                 icon(emptyIsComplete ? "task-complete" : "task-attention"));
    }

    void spectrumLengthsDiffer()
    {
        SaveDataSector sector = Fixture::sector(1);
        sector.rawSpectrum.y.removeLast();
        SaveData data;
        data.addSector();
        data.replaceActiveSector(sector);
        TestedModel t(data);
        QCOMPARE(t.item(0, 2, 1).data(), QVariant(-1));
        QCOMPARE(t.item(0, 2).data(SaveDataModel::PreviewRole).toString(), QString());
        QCOMPARE(t.item(0, 2).data(Qt::DecorationRole).value<QPixmap>().toImage(),
                 icon("task-attention"));
    }

    void spectrumText()
    {
        const RamanData<Wavenumbers> spectrum{{1234.5678, 0.5, -3}, {12345.6, 1e-5, 100}};
        QCOMPARE(SaveDataModel::spectrumText(spectrum),
                 QStringLiteral("1235\t1.235e+04\n0.5\t1e-05\n-3\t100\n"));
    }

    void pointTexts()
    {
        SaveData data = Fixture::measurement(2);
        SaveDataSector unnamed = Fixture::sector(3);
        unnamed.identificationData.mineral_final_identification.clear();
        data.setActiveSector(0);
        data.replaceActiveSector(unnamed);
        TestedModel t(data);
        QCOMPARE(t.model.index(0, 0).data().toString(),
                 QStringLiteral("Messpunkt Nr. 1 (nicht identifiziert)"));
        QCOMPARE(t.model.index(1, 0).data().toString(),
                 QStringLiteral("Messpunkt Nr. 2 (Quarz 2)"));
        QVERIFY(!t.model.index(1, 1).data().isValid());
        QCOMPARE(t.model.index(1, 1).data(SaveDataModel::PreviewRole).value<QImage>(),
                 Fixture::sector(2).identificationData.searchResultImage);
    }

    void activePointIsBold()
    {
        TestedModel t(Fixture::measurement(3));
        QSignalSpy changed(&t.model, &QAbstractItemModel::dataChanged);
        t.model.setActiveSector(0);
        QCOMPARE(t.model.index(0, 1).data(Qt::FontRole).value<QFont>().weight(), 75);
        QVERIFY(!t.model.index(2, 0).data(Qt::FontRole).isValid());
        QVERIFY(!t.item(0, 0).data(Qt::FontRole).isValid());
        // Both the new and the old active row repaint, over both columns.
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), t.model.index(0, 0));
        QCOMPARE(changed.at(0).at(1).toModelIndex(), t.model.index(0, 1));
        QCOMPARE(changed.at(1).at(0).toModelIndex(), t.model.index(2, 0));

        t.model.setActiveSector(3);
        QCOMPARE(t.model.saveData().activeSectorIndex(), 0);
    }

    void tables()
    {
        TestedModel t(Fixture::measurement(1));
        QCOMPARE(
            t.item(0, 8).data(SaveDataModel::PreviewRole).toString(),
            htmlTable({htmlRow(QStringLiteral("Belichtungszeit"), QStringLiteral("3 s")),
                       htmlRow(QStringLiteral("Neutralfilter"), QStringLiteral("ND 0.1")),
                       htmlRow(QStringLiteral("Objektiv"), QStringLiteral("20x #1")),
                       htmlRow(QStringLiteral("Gain"), QStringLiteral("3 e-/count")),
                       htmlRow(QStringLiteral("Temperatur Kamera"), QStringLiteral("-60.25 °C"))}));
        QCOMPARE(
            t.item(0, 6).data(SaveDataModel::PreviewRole).toString(),
            htmlTable(
                {htmlRow(QStringLiteral("Automatisch identifiziert"), QStringLiteral("Quartz")),
                 htmlRow(QStringLiteral("Match-Qualität"), QStringLiteral("8.25")),
                 htmlRow(QStringLiteral("Manuell ausgewählt"), QStringLiteral("Calcite"))}));
    }

    void metadataTable_data()
    {
        QTest::addColumn<bool>("yearOnly");
        QTest::addColumn<bool>("noDate");
        QTest::addColumn<int>("createdAs");
        QTest::addColumn<QString>("dateRow");
        QTest::addColumn<QString>("versionText");
        const QString shortDate
            = QLocale::system().toString(QDate(1987, 6, 1), QLocale::ShortFormat);
        QTest::newRow("full date")
            << false << false << 9 << htmlRow(QStringLiteral("Funddatum"), shortDate)
            << QStringLiteral("11 (erstellt: 9)");
        QTest::newRow("year only")
            << true << false << 9 << htmlRow(QStringLiteral("Fundjahr"), QStringLiteral("1987"))
            << QStringLiteral("11 (erstellt: 9)");
        QTest::newRow("no date, old")
            << true << true << 0 << QString() << QStringLiteral("11 (erstellt: 8 oder früher)");
    }

    void metadataTable()
    {
        QFETCH(bool, yearOnly);
        QFETCH(bool, noDate);
        QFETCH(int, createdAs);
        QFETCH(QString, dateRow);
        QFETCH(QString, versionText);
        SaveData data = Fixture::measurement(1);
        SaveDataMetadata m = data.metadata();
        m.found_date_year_only = yearOnly;
        m.nodate = noDate;
        m.created_as_version = createdAs;
        m.owner = QStringLiteral("<b>Huber</b> & Söhne");
        m.saved_date = QDateTime(QDate(2021, 2, 3), QTime(4, 5, 6));
        TestedModel t(data);
        QSignalSpy announced(&t.model, &SaveDataModel::metadataChanged);
        t.model.setMetadata(m);
        QCOMPARE(announced.size(), 1);
        QVERIFY(t.model.saveData().isModified());

        const QLocale locale = QLocale::system();
        QStringList rows{htmlRow(QStringLiteral("Sammlung"), QStringLiteral("Alpen")),
                         htmlRow(QStringLiteral("Sammlungs-Nummer"), QStringLiteral("17")),
                         htmlRow(QStringLiteral("Besitzer"), m.owner),
                         htmlRow(QStringLiteral("Fundort"), QStringLiteral("Gotthard, Schweiz"))};
        if (!dateRow.isEmpty())
            rows << dateRow;
        rows << htmlRow(QStringLiteral("ID-Nummer"), m.unique_ident)
             << htmlRow(QStringLiteral("Daten aufgenommen"),
                        locale.toString(m.created_date, QLocale::ShortFormat))
             << htmlRow(QStringLiteral("Daten bearbeitet"),
                        locale.toString(m.saved_date, QLocale::ShortFormat))
             << htmlRow(QStringLiteral("Daten-Version"), versionText);
        QCOMPARE(t.model.data(QModelIndex(), SaveDataModel::MetadataHtmlRole).toString(),
                 htmlTable(rows));
    }

    void removingPoints()
    {
        TestedModel t(Fixture::measurement(4));
        t.model.setActiveSector(3);
        QSignalSpy removed(&t.model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(&t.model, &QAbstractItemModel::dataChanged);
        t.model.removeSector(3);
        QCOMPARE(removed.size(), 1);
        QCOMPARE(t.model.rowCount(), 3);
        QCOMPARE(t.model.saveData().activeSectorIndex(), 2);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), t.model.index(2, 0));
        QVERIFY(t.model.index(2, 0).data(Qt::FontRole).isValid());
        t.model.removeSector(3);
        t.model.removeSector(-1);
        QCOMPARE(t.model.rowCount(), 3);

        // The labels carry the position, which the tester's check of the row after a removal
        // cannot allow for; the renumbered rows are announced instead.
        t.tester.reset();
        changed.clear();
        t.model.removeSector(0);
        QCOMPARE(t.model.index(0, 0).data().toString(),
                 QStringLiteral("Messpunkt Nr. 1 (Quarz 2)"));
        QCOMPARE(t.model.saveData().activeSectorIndex(), 1);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), t.model.index(1, 0));
        QCOMPARE(changed.at(1).at(0).toModelIndex(), t.model.index(0, 0));
        QCOMPARE(changed.at(1).at(1).toModelIndex(), t.model.index(1, 0));

        t.model.removeSector(1);
        t.model.removeSector(0);
        QCOMPARE(t.model.rowCount(), 0);
        QVERIFY(!t.model.data(QModelIndex(), SaveDataModel::MetadataHtmlRole).isValid());
        t.model.addSectorIfEmpty();
        t.model.addSectorIfEmpty();
        QCOMPARE(t.model.rowCount(), 1);
        QCOMPARE(t.model.saveData().activeSectorIndex(), 0);
        QCOMPARE(t.model.index(0, 0).data().toString(),
                 QStringLiteral("Messpunkt Nr. 1 (nicht identifiziert)"));
        // Only empty points left: the metadata is not shown.
        QVERIFY(!t.model.data(QModelIndex(), SaveDataModel::MetadataHtmlRole).isValid());
    }

    void insertingIntoEmptyMeasurement()
    {
        TestedModel t{SaveData()};
        QSignalSpy inserted(&t.model, &QAbstractItemModel::rowsInserted);
        t.model.addSectorIfEmpty();
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(t.model.rowCount(t.model.index(0, 0)), 9);
    }

    void replacingActivePoint()
    {
        SaveData data = Fixture::measurement(2);
        data.setActiveSector(0);
        TestedModel t(data);
        QSignalSpy changed(&t.model, &QAbstractItemModel::dataChanged);
        t.model.replaceActiveSector(Fixture::sector(7));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), t.item(0, 0, 0));
        QCOMPARE(changed.at(0).at(1).toModelIndex(), t.item(0, 8, 1));
        QCOMPARE(t.model.index(0, 0).data().toString(),
                 QStringLiteral("Messpunkt Nr. 1 (Quarz 7)"));

        TestedModel none{SaveData()};
        QTest::ignoreMessage(QtWarningMsg, "sectors list is empty -- not updating anything");
        QSignalSpy untouched(&none.model, &QAbstractItemModel::dataChanged);
        none.model.replaceActiveSector(Fixture::sector(7));
        QCOMPARE(untouched.size(), 0);
    }

    void load()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("AB-12"));
        Fixture::writeVersion5Folder(folder);
        TestedModel t(Fixture::measurement(3));
        QSignalSpy reset(&t.model, &QAbstractItemModel::modelReset);
        QSignalSpy announced(&t.model, &SaveDataModel::metadataChanged);

        QVERIFY(t.model.load(folder));
        QCOMPARE(reset.size(), 1);
        QCOMPARE(announced.size(), 1);
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(t.model.rowCount(), 1);
        QCOMPARE(t.model.saveData().metadata().collection_id, QStringLiteral("AB_12"));
        QCOMPARE(t.item(0, 3, 1).data(), QVariant(200));

        QVERIFY(!t.model.load(dir.filePath(QStringLiteral("missing"))));
        QCOMPARE(announced.size(), 2);
        QCOMPARE(t.model.rowCount(), 0);
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(TestSaveDataModel)
#include "tst_savedatamodel.moc"
