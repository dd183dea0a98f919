#include "browse/savedatabrowsemodel.h"
#include "browse/savedatabrowsewidget.h"
#include "browse/selecttablecolumnsdialog.h"
#include "measurementfolders.h"
#include "savedata_view/ratinglabel.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <functional>

class TestSaveDataBrowseWidget : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_base;

    template<typename T>
    static T *child(QWidget *parent, const char *name)
    {
        T *widget = parent->findChild<T *>(QString::fromLatin1(name));
        if (!widget)
            qWarning() << "no child" << name;
        return widget;
    }

    static QStringList words(const char *text)
    {
        return QString::fromLatin1(text).split(QLatin1Char(' '));
    }

    static bool scan(SaveDataBrowseWidget &widget, const QString &directory)
    {
        QSignalSpy finished(widget.model(), &SaveDataBrowseModel::loadingFinished);
        widget.selectSourceDirectory(directory);
        return finished.wait(5000);
    }

    static QStringList shownIds(SaveDataBrowseWidget &widget)
    {
        const QAbstractItemModel *model = child<QTableView>(&widget, "tableView")->model();
        QStringList ids;
        for (int row = 0; row < model->rowCount(); ++row)
            ids << model->index(row, SaveDataBrowseModel::CollectionIdColumn).data().toString();
        ids.sort();
        return ids;
    }

    static QVector<int> shownColumns(SaveDataBrowseWidget &widget)
    {
        auto *table = child<QTableView>(&widget, "tableView");
        QVector<int> columns;
        for (int column = 0; column < SaveDataBrowseModel::ColumnCount; ++column) {
            if (!table->isColumnHidden(column))
                columns << column;
        }
        return columns;
    }

    // Opens the column dialog through its button and lets `act` work in it while it runs.
    static void inColumnDialog(SaveDataBrowseWidget &widget,
                               const std::function<void(QDialog *, QListWidget *)> &act)
    {
        bool ran = false;
        QTimer::singleShot(0, &widget, [&] {
            auto *dialog = widget.findChild<QDialog *>(QStringLiteral("DialogSelectTableColumns"));
            QVERIFY(dialog && dialog->isVisible());
            act(dialog, child<QListWidget>(dialog, "listWidget"));
            ran = true;
        });
        QTest::mouseClick(child<QPushButton>(&widget, "buttonSelectColumns"), Qt::LeftButton);
        QVERIFY(ran);
    }

    static void toggle(QListWidget *list, int row)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    static void press(QDialog *dialog, QDialogButtonBox::StandardButton which)
    {
        QTest::mouseClick(child<QDialogButtonBox>(dialog, "buttonBox")->button(which),
                          Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        struct Row
        {
            const char *id;
            const char *owner;
            int rating;
            QStringList identifications;
        };
        const Row rows[] = {
            {"leer", "Huber", 3, {}},
            {"unbewertet", "Huber", -1, {QStringLiteral("Quarz")}},
            {"null", "Museum", 0, {QStringLiteral("Calcit")}},
            {"eins", "Museum", 1, {QStringLiteral("Gips")}},
            {"vier", "Institut", 4, {QStringLiteral("Quarz")}},
        };
        for (const Row &row : rows) {
            TestMeasurement m;
            m.collectionId = QString::fromLatin1(row.id);
            m.owner = QString::fromLatin1(row.owner);
            m.rating = row.rating;
            m.identifications = row.identifications;
            QVERIFY(writeTestMeasurement(m_base.filePath(m.collectionId), m));
        }
    }

    void init() { QSettings().clear(); }

    void formFieldsFilterTheTable()
    {
        SaveDataBrowseWidget widget;
        widget.show();
        QVERIFY(scan(widget, m_base.path()));
        QCOMPARE(widget.directory(), m_base.path());
        QSignalSpy published(&widget, &SaveDataBrowseWidget::filterChanged);

        QCOMPARE(child<RatingLabel>(&widget, "ratingMin")->rating(), 1);
        QCOMPARE(shownIds(widget), words("eins unbewertet vier"));

        QTest::mouseClick(child<QCheckBox>(&widget, "cBoxHideEmpty"), Qt::LeftButton);
        QCOMPARE(shownIds(widget), words("eins leer unbewertet vier"));
        QTest::mouseClick(child<QCheckBox>(&widget, "cBoxHideUnrated"), Qt::LeftButton);
        QCOMPARE(shownIds(widget), words("eins leer vier"));
        QTest::mouseClick(child<QCheckBox>(&widget, "cBoxHideUnrated"), Qt::LeftButton);

        QTest::keyClicks(child<QLineEdit>(&widget, "lineEditResult"), QStringLiteral("quarz"));
        QCOMPARE(shownIds(widget), words("unbewertet vier"));
        QTest::keyClicks(child<QLineEdit>(&widget, "lineEditOwner"), QStringLiteral("INST"));
        QCOMPARE(shownIds(widget), QStringList{QStringLiteral("vier")});
        child<QLineEdit>(&widget, "lineEditResult")->clear();
        child<QLineEdit>(&widget, "lineEditOwner")->clear();

        QTest::keyClicks(child<QLineEdit>(&widget, "lineEditId"), QStringLiteral("n"));
        QCOMPARE(shownIds(widget), words("eins unbewertet"));
        child<QLineEdit>(&widget, "lineEditId")->clear();

        child<RatingLabel>(&widget, "ratingMin")->setRating(4);
        QCOMPARE(shownIds(widget), words("unbewertet vier"));

        const auto last = published.last().at(0).value<SaveDataBrowseFilterModel::Filter>();
        QCOMPARE(last.minRating, 4);
        QCOMPARE(last.hideEmpty, false);
        QCOMPARE(last.hideUnrated, false);
        QCOMPARE(last.result, QString());
        QCOMPARE(widget.filterModel()->filter(), last);
    }

    void selectingARowAnnouncesItsFolderOnce()
    {
        QTemporaryDir base;
        for (int i = 0; i < 25; ++i) {
            TestMeasurement m;
            m.rating = 2;
            m.identifications = QStringList{QStringLiteral("Quarz")};
            QVERIFY(writeTestMeasurement(base.filePath(QStringLiteral("m%1").arg(i)), m));
        }
        SaveDataBrowseWidget widget;
        widget.resize(600, 600);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QCOMPARE(widget.selectedRow(), -1);

        QSignalSpy finished(widget.model(), &SaveDataBrowseModel::loadingFinished);
        QSignalSpy selected(&widget, &SaveDataBrowseWidget::directorySelected);
        widget.selectSourceDirectory(base.path());
        auto *table = child<QTableView>(&widget, "tableView");
        for (int turn = 0; turn < 10 && table->model()->rowCount() == 0; ++turn)
            QCoreApplication::processEvents();
        QVERIFY(table->model()->rowCount() > 0);
        QVERIFY(widget.model()->isLoading());

        const QModelIndex first = table->model()->index(0, 2);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(first).center());
        QCOMPARE(selected.count(), 1);
        const int sourceRow = widget.selectedRow();
        QVERIFY(sourceRow >= 0);
        QCOMPARE(selected.at(0).at(0).toString(), widget.model()
                                                      ->index(sourceRow, 0)
                                                      .data(SaveDataBrowseModel::FolderPathRole)
                                                      .toString());
        QVERIFY(finished.wait(5000));
        QCOMPARE(widget.model()->rowCount(), 25);
        QCOMPARE(selected.count(), 1);
    }

    void columnChoiceIsStoredAsHeaderTexts()
    {
        SaveDataBrowseWidget widget;
        widget.show();
        const QVector<int> all{0, 1, 2, 3, 4, 5, 6, 7};
        QCOMPARE(shownColumns(widget), all);

        inColumnDialog(widget, [](QDialog *dialog, QListWidget *list) {
            QCOMPARE(list->count(), 8);
            QCOMPARE(list->selectedItems().size(), 8);
            toggle(list, 2);
            toggle(list, 7);
            press(dialog, QDialogButtonBox::Ok);
        });
        const QVector<int> chosen{0, 1, 3, 4, 5, 6};
        QCOMPARE(shownColumns(widget), chosen);
        QCOMPARE(QSettings().value(SelectTableColumnsDialog::settingsKey).toStringList(),
                 QString::fromUtf8("#,Bewertung,Bezeichnung,Inhalte,Erstellt,Geändert")
                     .split(QLatin1Char(',')));

        // Cancelling drops the changed selection and keeps the stored one.
        inColumnDialog(widget, [](QDialog *dialog, QListWidget *list) {
            toggle(list, 0);
            toggle(list, 2);
            press(dialog, QDialogButtonBox::Cancel);
        });
        QCOMPARE(shownColumns(widget), chosen);
        inColumnDialog(widget, [&chosen](QDialog *dialog, QListWidget *list) {
            QVector<int> rows;
            for (const QListWidgetItem *item : list->selectedItems())
                rows << list->row(item);
            std::sort(rows.begin(), rows.end());
            QCOMPARE(rows, chosen);
            press(dialog, QDialogButtonBox::Cancel);
        });

        // A new widget, as on the next start, shows the stored choice.
        SaveDataBrowseWidget next;
        QCOMPARE(shownColumns(next), chosen);
    }

    void storedColumnsOfAnotherLanguageOnlyMatchTheHash()
    {
        QStringList german;
        {
            SaveDataBrowseModel model;
            for (int column = 0; column < model.columnCount(); ++column)
                german << model.headerData(column, Qt::Horizontal).toString();
        }
        QSettings().setValue(SelectTableColumnsDialog::settingsKey, german);

        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/translations/en_GB.qm")));
        QCoreApplication::installTranslator(&english);
        SaveDataBrowseWidget widget;
        const QString ratingHeader = widget.model()->headerData(1, Qt::Horizontal).toString();
        QCoreApplication::removeTranslator(&english);
        QCOMPARE(ratingHeader, QStringLiteral("Rating"));
        QCOMPARE(shownColumns(widget), QVector<int>{0});
    }
};

QTEST_MAIN(TestSaveDataBrowseWidget)
#include "tst_savedatabrowsewidget.moc"
