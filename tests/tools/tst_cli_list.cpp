#include "browse/savedatabrowsemodel.h"
#include "browse/ui/savedatabrowsewidget.h"
#include "clirun.h"
#include "measurementfolders.h"

#include <QtTest>
#include <QtWidgets>

class TestCliList : public QObject
{
    Q_OBJECT

    QTemporaryDir m_demo;

private slots:
    void initTestCase()
    {
        QCOMPARE(QProcess::execute(QStringLiteral(RAMAN_BINARY_DIR "/bin/raman-demo-data"),
                                   {QStringLiteral("--measurements"), m_demo.path()}),
                 0);
    }

    void printsWhatTheWidgetShows()
    {
        SaveDataBrowseWidget widget;
        childNamed<QLineEdit>(&widget, "lineEditOwner")->setText(QStringLiteral("E"));
        childNamed<QLineEdit>(&widget, "lineEditResult")->setText(QStringLiteral("QUARZ"));
        childNamed<QCheckBox>(&widget, "cBoxHideUnrated")->setChecked(true);
        auto *table = childNamed<QTableView>(&widget, "tableView");
        table->sortByColumn(5, Qt::DescendingOrder);
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
        const CliRun run = runCliHere(
            {QStringLiteral("list"), m_demo.path(), QStringLiteral("--owner=E"),
             QStringLiteral("--result=QUARZ"), QStringLiteral("--hide-empty"),
             QStringLiteral("--hide-unrated"), QStringLiteral("--sort=Erstellt:desc")});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, expected);
    }

    void rejectsBadArguments()
    {
        const CliRun missing = runCliHere({QStringLiteral("list"), QStringLiteral("/no/such")});
        const CliRun badSort
            = runCliHere({QStringLiteral("list"), m_demo.path(), QStringLiteral("--sort=9")});
        QCOMPARE(missing.code, 1);
        QCOMPARE(badSort.code, 2);
        QVERIFY(missing.out.isEmpty() && badSort.out.isEmpty());
    }
};

QTEST_MAIN(TestCliList)
#include "tst_cli_list.moc"
