#include "storage/savedata.h"
#include "testfiles.h"
#include "toolprocess.h"

#include <QDirIterator>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

// The demo tree is what a first-time user sees; it has to be readable and varied.
class TestDemoData : public QObject
{
    Q_OBJECT

private slots:
    void demoTreeIsReadableAndVaried()
    {
        QTemporaryDir dir;
        const QString root = dir.filePath(QStringLiteral("Raman"));
        const ToolRun run = runTool(QStringLiteral("raman-demo-data"),
                                    {QStringLiteral("--measurements"), root,
                                     QStringLiteral("--data"), TestFiles::rruffDir()});
        QVERIFY2(run.exitCode == 0, run.err.constData());

        QSet<int> versions;
        int folders = 0, deepest = 0, withCcd = 0, withCalibration = 0, rated = 0;
        for (QDirIterator it(root, {QStringLiteral("metadata.json")}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString folder = QFileInfo(it.next()).path();
            SaveData data;
            QVERIFY(data.load(folder, AllSaveDataParts));
            ++folders;
            versions.insert(data.metadata().save_data_version);
            deepest = std::max(deepest,
                               int(QDir(root).relativeFilePath(folder).count(QLatin1Char('/'))));
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
        QCOMPARE(runTool(QStringLiteral("raman-demo-data"),
                         {QStringLiteral("--measurements"), root, QStringLiteral("--data"),
                          dir.filePath(QStringLiteral("missing"))})
                     .exitCode,
                 2);
    }
};

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_demo_data.moc"
