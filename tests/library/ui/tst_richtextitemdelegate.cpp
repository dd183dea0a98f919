#include "library/model/ramanlibrarymodel.h"
#include "library/ui/richtextitemdelegate.h"

#include <QtTest>
#include <QtWidgets>

namespace {

QVector<rruff_infos> realRows()
{
    const ChemistryTable table = readChemistryFile(QStringLiteral(":/chemistry.csv"));
    QVector<rruff_infos> rows;
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        rruff_infos info;
        info.name = it.key();
        info.chemistry = it.value();
        if (!info.chemistry.formulaHtml.isEmpty())
            rows.append(info);
    }
    return rows;
}

rruff_infos formula(const QString &html)
{
    rruff_infos info;
    info.name = QStringLiteral("Test");
    info.chemistry = Chemistry::fromFormula(html);
    return info;
}

} // namespace

class TestRichTextItemDelegate : public QObject
{
    Q_OBJECT

private slots:
    // Every formula of the real chemistry fits the row height the table uses.
    void realFormulasFitTheRow()
    {
        const QVector<rruff_infos> rows = realRows();
        QVERIFY(rows.size() > 500);
        RichTextItemDelegate delegate;
        RamanLibraryModel model;
        model.setLibraryData(rows);
        QStyleOptionViewItem option;
        const int height = delegate.rowHeight(option.font);
        for (int row = 0; row < rows.size(); ++row) {
            const int needed = delegate.sizeHint(option, model.index(row, 2)).height();
            QVERIFY2(needed <= height, qPrintable(rows.at(row).chemistry.formulaHtml));
        }
    }

    void cutOffMarker_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("marked");
        QTest::newRow("short") << "SiO<sub>2</sub>" << false;
        QTest::newRow("long")
            << "(Na,Ca)<sub>3</sub>Ca<sub>2</sub>(Fe<sup>2+</sup>,Mg)<sub>4</sub>(Si<sub>8</sub>O"
               "<sub>22</sub>)(OH)<sub>2</sub>"
            << true;
    }

    void cutOffMarker()
    {
        QFETCH(QString, html);
        QFETCH(bool, marked);
        RamanLibraryModel model;
        model.setLibraryData({formula(html)});
        RichTextItemDelegate delegate;
        QTableView view;
        view.setModel(&model);
        view.setItemDelegateForColumn(RamanLibraryModel::FormulaColumn, &delegate);
        view.verticalHeader()->setDefaultSectionSize(delegate.rowHeight(view.font()));
        view.setColumnWidth(RamanLibraryModel::FormulaColumn,
                            delegate.formulaColumnWidth(view.font()));
        view.resize(760, 420);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QImage shot = view.viewport()->grab().toImage();
        const QRect cell = view.visualRect(model.index(0, RamanLibraryModel::FormulaColumn));
        const qreal ratio = shot.devicePixelRatio();
        const QColor corner = shot.pixelColor(
            QPointF((cell.right() - 1) * ratio, (cell.bottom() - 1) * ratio).toPoint());
        QCOMPARE(corner == view.palette().color(QPalette::WindowText), marked);
    }
};

QTEST_MAIN(TestRichTextItemDelegate)
#include "tst_richtextitemdelegate.moc"
