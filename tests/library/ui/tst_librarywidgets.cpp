#include "library/model/ramanlibrarymodel.h"
#include "library/ui/correlationparametersdialog.h"
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

class TestLibraryWidgets : public QObject
{
    Q_OBJECT

private slots:
    void widthScale_data()
    {
        QTest::addColumn<int>("slider");
        QTest::addColumn<double>("scale");
        QTest::newRow("unset") << -1 << 1.0;
        QTest::newRow("four times") << 49 << 4.0;
        QTest::newRow("beyond five falls back") << 100 << 1.0;
        QTest::newRow("zero falls back") << -51 << 1.0;
        QTest::newRow("narrow") << -26 << 0.25;
    }

    void widthScale()
    {
        QFETCH(int, slider);
        QFETCH(double, scale);
        QCOMPARE(CorrelationParametersDialog::widthScale(slider), scale);
        const FingerprintParameters p = CorrelationParametersDialog().parameters(slider);
        QCOMPARE(p.checkWidth, 16 * scale);
        QCOMPARE(p.halfFitSize, 4 * scale);
        QCOMPARE(p.maxWidth, 70 * scale);
        QCOMPARE(p.peakNoiseFactor, 25 / scale);
    }

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

QTEST_MAIN(TestLibraryWidgets)
#include "tst_librarywidgets.moc"
