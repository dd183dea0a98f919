#include "browse/savedatabrowsemodel.h"
#include "browse/ui/savedatabrowsewidget.h"
#include "core/pathmanager.h"
#include "measurementfolders.h"
#include "ui/browsermainwindow.h"

#include <QtTest>
#include <QtWidgets>

class TestBrowserMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void firstStartListsTheSavePath()
    {
        QSettings().clear();
        const QString savePath
            = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
              + QStringLiteral("/Raman/");
        QCOMPARE(PathManager::instance().savePath(), savePath);
        QVERIFY(writeTestMeasurement(savePath + QStringLiteral("2020/probe"),
                                     {{}, {}, 2, {QStringLiteral("Quarz")}, {}}));
        BrowserMainWindow window;
        auto *browse = childNamed<SaveDataBrowseWidget>(&window, "browseWidget");
        QVERIFY(QSignalSpy(browse->model(), &SaveDataBrowseModel::loadingFinished).wait(5000));
        QCOMPARE(browse->model()->rowCount(), 1);

        emit browse->model()->progress(7, 30);
        QCOMPARE(window.statusBar()->currentMessage(),
                 QStringLiteral("Lade Speicherdaten: 7 von etwa 30 (23%) ..."));
    }
};

QTEST_MAIN(TestBrowserMainWindow)
#include "tst_browsermainwindow.moc"
