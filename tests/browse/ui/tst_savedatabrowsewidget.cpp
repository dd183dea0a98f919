#include "browse/savedatabrowsemodel.h"
#include "browse/ui/savedatabrowsewidget.h"
#include "measurementfolders.h"

#include <QtTest>
#include <QtWidgets>

class TestSaveDataBrowseWidget : public QObject
{
    Q_OBJECT

    static QString shown(SaveDataBrowseWidget &widget)
    {
        const QAbstractItemModel *model = childNamed<QTableView>(&widget, "tableView")->model();
        QStringList ids;
        for (int row = 0; row < model->rowCount(); ++row)
            ids << model->index(row, SaveDataBrowseModel::CollectionIdColumn).data().toString();
        ids.sort();
        return ids.join(QLatin1Char(' '));
    }

private slots:
    void init() { QSettings().clear(); }

    void formFiltersAndSelectionWhileLoading()
    {
        QTemporaryDir base;
        QVERIFY(writeTestMeasurement(base.filePath(QStringLiteral("a")),
                                     {{}, QStringLiteral("leer"), 3, {}, {}}));
        QVERIFY(writeTestMeasurement(
            base.filePath(QStringLiteral("b")),
            {QStringLiteral("Huber"), QStringLiteral("ohne"), -1, words("Quarz"), {}}));
        QVERIFY(writeTestMeasurement(base.filePath(QStringLiteral("c")),
                                     {{}, QStringLiteral("vier"), 4, words("Gips"), {}}));
        for (int i = 0; i < 30; ++i)
            QVERIFY(writeTestMeasurement(base.filePath(QStringLiteral("x/%1").arg(i)), {}));
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

        QCOMPARE(shown(widget), QStringLiteral("ohne vier"));
        childNamed<QCheckBox>(&widget, "cBoxHideUnrated")->click();
        QCOMPARE(shown(widget), QStringLiteral("vier"));
        QTest::keyClicks(childNamed<QLineEdit>(&widget, "lineEditResult"), QStringLiteral("quarz"));
        QCOMPARE(shown(widget), QString());
    }
};

QTEST_MAIN(TestSaveDataBrowseWidget)
#include "tst_savedatabrowsewidget.moc"
