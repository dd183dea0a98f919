#include "browse/savedatabrowsemodel.h"
#include "browse/ui/savedatabrowsewidget.h"
#include "clirun.h"
#include "measurementfolders.h"
#include "storage/savedata.h"
#include "testfiles.h"
#include "toolprocess.h"

#include <QtTest>
#include <QtWidgets>

// raman-cli list on the demo tree, which is also what a first-time user sees.
class TestCliList : public QObject
{
    Q_OBJECT

    QTemporaryDir m_demo;

private slots:
    void initTestCase()
    {
        QCOMPARE(QProcess::execute(
                     S(RAMAN_BINARY_DIR "/bin/raman-demo-data"),
                     {S("--measurements"), m_demo.path(), S("--data"), TestFiles::rruffDir()}),
                 0);
    }

    // The demo tree has to be readable and varied.
    void demoTreeIsReadableAndVaried()
    {
        QSet<int> versions;
        int folders = 0, deepest = 0, withCcd = 0, withCalibration = 0, rated = 0;
        for (QDirIterator it(m_demo.path(), {S("metadata.json")}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString folder = QFileInfo(it.next()).path();
            SaveData data;
            QVERIFY(data.load(folder, AllSaveDataParts));
            ++folders;
            versions.insert(data.metadata().save_data_version);
            deepest = std::max(
                deepest, int(QDir(m_demo.path()).relativeFilePath(folder).count(QLatin1Char('/'))));
            QVERIFY(data.hasContent() && !data.metadata().overviewImage.isNull());
            rated += data.metadata().rating >= 0;
            for (const SaveDataSector &s : data.sectors()) {
                if (s.processedSpectrum.isEmpty())
                    continue; // the folder of a measuring point that is missing on disk
                QVERIFY(!s.withLaserImage.isNull() && s.processedSpectrum.size() > 100);
                withCcd += !s.ccdRaw.isEmpty();
                withCalibration += s.calibrationLines.size() > 0;
            }
        }
        QVERIFY(folders >= 12 && rated > 0 && rated < folders);
        for (int v : {2, 5, 7, 9, 11})
            QVERIFY2(versions.contains(v), qPrintable(QString::number(v)));
        QVERIFY(deepest >= 2 && withCcd > 0 && withCalibration > 0);
        QCOMPARE(runTool(S("raman-demo-data"), {S("--measurements"), m_demo.path(), S("--data"),
                                                m_demo.filePath(S("missing"))})
                     .exitCode,
                 2);
    }

    // Plain folders between the measurements are normal; the demo's one damaged measurement is
    // a real problem.
    void warnsOnlyAboutRealProblems()
    {
        const ToolRun quiet = runTool(S("raman-cli"), {S("list"), m_demo.path()});
        QCOMPARE(quiet.exitCode, 0);
        const QList<QByteArray> lines = quiet.err.trimmed().split('\n');
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].contains("Could not descend into location directory"), quiet.err);
    }

    void printsWhatTheWidgetShows()
    {
        SaveDataBrowseWidget widget;
        childNamed<QLineEdit>(&widget, "lineEditOwner")->setText(S("E"));
        childNamed<QLineEdit>(&widget, "lineEditResult")->setText(S("LABRADORIT"));
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
        const CliRun run
            = runCliHere({S("list"), m_demo.path(), S("--owner=E"), S("--result=LABRADORIT"),
                          S("--hide-empty"), S("--hide-unrated"), S("--sort=Erstellt:desc")});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, expected);
    }
};

QTEST_MAIN(TestCliList)
#include "tst_cli_list.moc"
