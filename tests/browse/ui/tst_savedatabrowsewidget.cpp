#include "browse/savedatabrowsemodel.h"
#include "browse/ui/savedatabrowsewidget.h"
#include "browse/ui/selecttablecolumnsdialog.h"
#include "measurementfolders.h"
#include "modaldialogs.h"

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

    static QString shownColumns(SaveDataBrowseWidget &widget)
    {
        QString columns;
        for (int column = 0; column < SaveDataBrowseModel::ColumnCount; ++column)
            if (!childNamed<QTableView>(&widget, "tableView")->isColumnHidden(column))
                columns += QString::number(column);
        return columns;
    }

    // Clicks the given list rows in the running column dialog, then the given button.
    static void chooseColumns(SaveDataBrowseWidget &widget, QVector<int> rows,
                              QDialogButtonBox::StandardButton button)
    {
        answerNextModal([&widget, rows, button](QWidget *) {
            auto *dialog = childNamed<QDialog>(&widget, "DialogSelectTableColumns");
            auto *list = childNamed<QListWidget>(dialog, "listWidget");
            for (int row : rows)
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->item(row)).center());
            childNamed<QDialogButtonBox>(dialog, "buttonBox")->button(button)->click();
        });
        QTest::mouseClick(childNamed<QPushButton>(&widget, "buttonSelectColumns"), Qt::LeftButton);
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

    void columnChoiceIsStoredAsHeaderTexts()
    {
        SaveDataBrowseWidget widget;
        widget.show();
        QCOMPARE(shownColumns(widget), QStringLiteral("01234567"));
        chooseColumns(widget, {2, 7}, QDialogButtonBox::Ok);
        QCOMPARE(shownColumns(widget), QStringLiteral("013456"));
        QCOMPARE(QSettings().value(SelectTableColumnsDialog::settingsKey).toStringList(),
                 QString::fromUtf8("#,Bewertung,Bezeichnung,Inhalte,Erstellt,Geändert")
                     .split(QLatin1Char(',')));
        chooseColumns(widget, {}, QDialogButtonBox::Ok);
        QCOMPARE(shownColumns(widget), QStringLiteral("013456"));

        // Texts stored in German match only "#" in an English run.
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/translations/en_GB.qm")));
        QCoreApplication::installTranslator(&english);
        SaveDataBrowseWidget translated;
        QCoreApplication::removeTranslator(&english);
        QCOMPARE(shownColumns(translated), QStringLiteral("0"));
    }
};

QTEST_MAIN(TestSaveDataBrowseWidget)
#include "tst_savedatabrowsewidget.moc"
