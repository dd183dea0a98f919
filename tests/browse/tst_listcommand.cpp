#include "browse/savedatabrowsemodel.h"
#include "browse/savedatabrowsewidget.h"
#include "listcommand.h"
#include "savedata_view/ratinglabel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

struct FormFilter
{
    QString owner;
    QString result;
    QString id;
    int minRating = 1;
    bool hideEmpty = true;
    bool hideUnrated = false;
    int sortColumn = SaveDataBrowseModel::RatingColumn;
    Qt::SortOrder order = Qt::AscendingOrder;
};
Q_DECLARE_METATYPE(FormFilter)

class TestListCommand : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_demo;

    static int run(const QStringList &arguments, QString &out, QString &err)
    {
        out.clear();
        err.clear();
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const int code = runListCommand(arguments, outStream, errStream);
        outStream.flush();
        errStream.flush();
        return code;
    }

    // The table rows as the list command prints them.
    static QStringList tableLines(SaveDataBrowseWidget &widget)
    {
        const QAbstractItemModel *model
            = widget.findChild<QTableView *>(QStringLiteral("tableView"))->model();
        QStringList lines;
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column)
                cells << model->index(row, column).data().toString();
            cells << model->index(row, 0).data(SaveDataBrowseModel::FolderPathRole).toString();
            lines << cells.join(QLatin1Char('\t'));
        }
        return lines;
    }

private slots:
    void initTestCase()
    {
        QProcess generator;
        generator.start(QStringLiteral(RAMAN_BINARY_DIR "/bin/raman-demo-data"),
                        {QStringLiteral("--measurements"), m_demo.path()});
        QVERIFY(generator.waitForFinished(60000));
        QCOMPARE(generator.exitCode(), 0);
    }

    void printsWhatTheWidgetShows_data()
    {
        QTest::addColumn<FormFilter>("form");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("form defaults")
            << FormFilter{}
            << QStringList{QStringLiteral("--min-rating=1"), QStringLiteral("--hide-empty")};
        FormFilter all;
        all.minRating = 0;
        all.hideEmpty = false;
        QTest::newRow("everything") << all << QStringList{};
        FormFilter quartz;
        quartz.result = QStringLiteral("quarz");
        quartz.hideUnrated = true;
        QTest::newRow("result, rated only")
            << quartz
            << QStringList{QStringLiteral("--result"), QStringLiteral("quarz"),
                           QStringLiteral("--hide-unrated"), QStringLiteral("--min-rating=1"),
                           QStringLiteral("--hide-empty")};
        FormFilter owner;
        owner.owner = QStringLiteral("EXKURSION");
        owner.id = QStringLiteral("1");
        owner.minRating = 0;
        owner.sortColumn = SaveDataBrowseModel::CreatedColumn;
        owner.order = Qt::DescendingOrder;
        QTest::newRow("owner and id, newest first")
            << owner
            << QStringList{QStringLiteral("--owner=EXKURSION"), QStringLiteral("--id=1"),
                           QStringLiteral("--hide-empty"), QStringLiteral("--sort=created:desc")};
        FormFilter byName = all;
        byName.sortColumn = SaveDataBrowseModel::CollectionIdColumn;
        QTest::newRow("sorted by header text")
            << byName << QStringList{QStringLiteral("--sort"), QStringLiteral("bezeichnung")};
    }

    void printsWhatTheWidgetShows()
    {
        QFETCH(FormFilter, form);
        QFETCH(QStringList, arguments);

        SaveDataBrowseWidget widget;
        widget.findChild<QLineEdit *>(QStringLiteral("lineEditOwner"))->setText(form.owner);
        widget.findChild<QLineEdit *>(QStringLiteral("lineEditResult"))->setText(form.result);
        widget.findChild<QLineEdit *>(QStringLiteral("lineEditId"))->setText(form.id);
        widget.findChild<RatingLabel *>(QStringLiteral("ratingMin"))->setRating(form.minRating);
        widget.findChild<QCheckBox *>(QStringLiteral("cBoxHideEmpty"))->setChecked(form.hideEmpty);
        widget.findChild<QCheckBox *>(QStringLiteral("cBoxHideUnrated"))
            ->setChecked(form.hideUnrated);
        widget.findChild<QTableView *>(QStringLiteral("tableView"))
            ->sortByColumn(form.sortColumn, form.order);
        QSignalSpy finished(widget.model(), &SaveDataBrowseModel::loadingFinished);
        widget.selectSourceDirectory(m_demo.path());
        QVERIFY(finished.wait(10000));
        const QStringList expected = tableLines(widget);
        QVERIFY(!expected.isEmpty());

        QString out;
        QString err;
        QCOMPARE(run(QStringList{m_demo.path()} + arguments, out, err), 0);
        QCOMPARE(out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
    }

    void rejectsBadArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("no folder") << QStringList{} << 2 << QStringLiteral("exactly one DIR");
        QTest::newRow("missing folder") << QStringList{QStringLiteral("/no/such/folder")} << 1
                                        << QStringLiteral("is not a directory");
        QTest::newRow("unknown column")
            << QStringList{QStringLiteral("{demo}"), QStringLiteral("--sort=9")} << 2
            << QStringLiteral("unknown --sort column '9'");
        QTest::newRow("rating not a number")
            << QStringList{QStringLiteral("{demo}"), QStringLiteral("--min-rating=viele")} << 2
            << QStringLiteral("--min-rating needs a whole number");
    }

    void rejectsBadArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, message);
        arguments.replaceInStrings(QStringLiteral("{demo}"), m_demo.path());
        QString out;
        QString err;
        QCOMPARE(run(arguments, out, err), code);
        QVERIFY2(err.contains(message), qPrintable(err));
        QCOMPARE(out, QString());
    }

    void headerLineNamesTheColumns()
    {
        QString out;
        QString err;
        QCOMPARE(run({m_demo.path(), QStringLiteral("--header")}, out, err), 0);
        QCOMPARE(out.section(QLatin1Char('\n'), 0, 0),
                 QString::fromUtf8("#\tBewertung\tSammlung\tBezeichnung\tInhalte\tErstellt\t"
                                   "Geändert\tEindeutige ID\tfolder"));
    }
};

QTEST_MAIN(TestListCommand)
#include "tst_listcommand.moc"
