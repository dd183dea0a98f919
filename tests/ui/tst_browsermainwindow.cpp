#include "browse/savedatabrowsemodel.h"
#include "browse/savedatabrowsewidget.h"
#include "library/pathmanager.h"
#include "measurementfolders.h"
#include "ui/browsermainwindow.h"

#include <QSettings>
#include <QSignalSpy>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

class TestBrowserMainWindow : public QObject
{
    Q_OBJECT

private:
    static SaveDataBrowseWidget *browseWidget(BrowserMainWindow &window)
    {
        return window.findChild<SaveDataBrowseWidget *>(QStringLiteral("browseWidget"));
    }

    static bool waitForScan(BrowserMainWindow &window)
    {
        SaveDataBrowseModel *model = browseWidget(window)->model();
        QSignalSpy finished(model, &SaveDataBrowseModel::loadingFinished);
        return !model->isLoading() || finished.wait(5000);
    }

private slots:
    void firstStartScansTheSavePath()
    {
        QSettings().clear();
        const QString savePath
            = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
              + QStringLiteral("/Raman/");
        QCOMPARE(PathManager::instance().savePath(), savePath);
        QVERIFY(QFileInfo(savePath).isDir());
        TestMeasurement m;
        m.rating = 2;
        m.identifications = QStringList{QStringLiteral("Quarz")};
        QVERIFY(writeTestMeasurement(savePath + QStringLiteral("2020/probe"), m));

        BrowserMainWindow window;
        SaveDataBrowseWidget *browse = browseWidget(window);
        QVERIFY(browse);
        auto *splitter = window.findChild<QSplitter *>(QStringLiteral("splitter"));
        QVERIFY(splitter);
        QCOMPARE(splitter->widget(0), browse);
        QCOMPARE(browse->directory(), savePath);
        QCOMPARE(window.windowTitle(), QStringLiteral("[%1] Raman-Speicherdatenbetrachter")
                                           .arg(QDir::toNativeSeparators(savePath)));
        QVERIFY(waitForScan(window));
        QCOMPARE(browse->model()->rowCount(), 1);
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Fertig."));
    }

    void storedSourceDirectoryIsScanned()
    {
        QTemporaryDir source;
        QVERIFY(writeTestMeasurement(source.filePath(QStringLiteral("a")), {}));
        QVERIFY(writeTestMeasurement(source.filePath(QStringLiteral("b")), {}));
        QSettings().setValue(BrowserMainWindow::activeDirectoryKey, source.path());
        BrowserMainWindow window;
        QCOMPARE(browseWidget(window)->directory(), source.path());
        QVERIFY(waitForScan(window));
        QCOMPARE(browseWidget(window)->model()->rowCount(), 2);
    }

    void progressInTheStatusBar_data()
    {
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("total");
        QTest::addColumn<QString>("message");
        QTest::newRow("integer percent")
            << 7 << 30 << QStringLiteral("Lade Speicherdaten: 7 von etwa 30 (23%) ...");
        QTest::newRow("nothing yet")
            << 0 << 25 << QStringLiteral("Lade Speicherdaten: 0 von etwa 25 (0%) ...");
        QTest::newRow("complete") << 25 << 25 << QStringLiteral("Fertig.");
        QTest::newRow("empty folder") << 0 << 0 << QStringLiteral("Fertig.");
    }

    void progressInTheStatusBar()
    {
        QFETCH(int, done);
        QFETCH(int, total);
        QFETCH(QString, message);
        QTemporaryDir empty;
        QSettings().setValue(BrowserMainWindow::activeDirectoryKey, empty.path());
        BrowserMainWindow window;
        QVERIFY(waitForScan(window));
        window.statusBar()->clearMessage();
        emit browseWidget(window)->model()->progress(done, total);
        QCOMPARE(window.statusBar()->currentMessage(), message);
    }

    void geometrySurvivesARestart()
    {
        QTemporaryDir empty;
        QSettings().setValue(BrowserMainWindow::activeDirectoryKey, empty.path());
        {
            BrowserMainWindow window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.resize(640, 480);
            QTRY_VERIFY(
                QSettings().contains(QStringLiteral("SaveDataBrowserApplication/Geometry")));
        }
        BrowserMainWindow window;
        QCOMPARE(window.size(), QSize(800, 600));
        window.show();
        QCOMPARE(window.size(), QSize(640, 480));
    }
};

QTEST_MAIN(TestBrowserMainWindow)
#include "tst_browsermainwindow.moc"
