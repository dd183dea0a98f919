#include "browse/savedatabrowsemodel.h"
#include "browse/savedatabrowsewidget.h"
#include "listcommand.h"
#include "measurementfolders.h"
#include "savedata_view/ratinglabel.h"

#include <QtTest>
#include <QtWidgets>

class TestListCommand : public QObject
{
    Q_OBJECT

    QTemporaryDir m_demo;

    static int run(const QStringList &arguments, QString &out, QString &err)
    {
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        return runListCommand(arguments, outStream, errStream);
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QProcess::execute(QStringLiteral(RAMAN_BINARY_DIR "/bin/raman-demo-data"),
                                   {QStringLiteral("--measurements"), m_demo.path()}),
                 0);
    }

    void printsWhatTheWidgetShows_data()
    {
        QTest::addColumn<QStringList>("form"); // owner, result, minimum rating, hide unrated
        QTest::addColumn<int>("sortColumn");   // negative: descending
        QTest::addColumn<QString>("arguments");
        QTest::newRow("form defaults") << words("- - 1 -") << 1 << "--min-rating=1 --hide-empty";
        QTest::newRow("filters, newest first")
            << words("E QUARZ 0 x") << -5
            << "--owner=E --result=QUARZ --hide-empty --hide-unrated --sort=Erstellt:desc";
        QTest::newRow("by header text")
            << words("- - 3 -") << 3 << "--min-rating=3 --hide-empty --sort=bezeichnung";
    }

    void printsWhatTheWidgetShows()
    {
        QFETCH(QStringList, form);
        QFETCH(int, sortColumn);
        QFETCH(QString, arguments);
        form.replaceInStrings(QRegularExpression(QStringLiteral("^-$")), QString());
        SaveDataBrowseWidget widget;
        childNamed<QLineEdit>(&widget, "lineEditOwner")->setText(form.at(0));
        childNamed<QLineEdit>(&widget, "lineEditResult")->setText(form.at(1));
        childNamed<RatingLabel>(&widget, "ratingMin")->setRating(form.at(2).toInt());
        childNamed<QCheckBox>(&widget, "cBoxHideUnrated")->setChecked(!form.at(3).isEmpty());
        auto *table = childNamed<QTableView>(&widget, "tableView");
        table->sortByColumn(qAbs(sortColumn),
                            sortColumn < 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
        QSignalSpy finished(widget.model(), &SaveDataBrowseModel::loadingFinished);
        widget.selectSourceDirectory(m_demo.path());
        QVERIFY(finished.wait(10000));
        QString expected;
        for (int row = 0; row < table->model()->rowCount(); ++row) {
            for (int column = 0; column < 8; ++column)
                expected
                    += table->model()->index(row, column).data().toString() + QLatin1Char('\t');
            expected += table->model()
                            ->index(row, 0)
                            .data(SaveDataBrowseModel::FolderPathRole)
                            .toString()
                        + QLatin1Char('\n');
        }
        QVERIFY(!expected.isEmpty());
        QString out;
        QString err;
        QCOMPARE(run(QStringList{m_demo.path()} + arguments.split(QLatin1Char(' ')), out, err), 0);
        QCOMPARE(out, expected);
    }

    void rejectsBadArguments()
    {
        QString out;
        QString err;
        QCOMPARE(run({QStringLiteral("/no/such/folder")}, out, err), 1);
        QCOMPARE(run({m_demo.path(), QStringLiteral("--sort=9")}, out, err), 2);
        QCOMPARE(out, QString());
    }
};

QTEST_MAIN(TestListCommand)
#include "tst_listcommand.moc"
