#include "core/pathmanager.h"
#include "testfiles.h"

#include <QtTest>

class TestPathManager : public QObject
{
    Q_OBJECT

private slots:
    void libraryFolderListAndPaths()
    {
        QTemporaryDir root;
        const QString app = root.filePath(S("app/bin"));
        const QString libs = root.filePath(S("app/raman-libs/"));
        QVERIFY(QDir().mkpath(app));
        for (const char *name : {"lib2", "lib1"})
            QVERIFY(QDir().mkpath(libs + QLatin1String(name)));
        QFile(libs + S("notes.txt")).open(QIODevice::WriteOnly);
        QSettings settings;
        settings.clear();
        settings.beginWriteArray(S("Paths/LibraryPaths"), 2);
        for (int i = 0; i < 2; ++i) {
            settings.setArrayIndex(i);
            settings.setValue(S("Path"),
                              i ? S("/data/own") : QString(app + S("/../raman-libs//lib2/")));
            settings.setValue(S("Enabled"), i == 1);
        }
        settings.endArray();
        settings.sync();

        const PathManager manager(app);
        const QVector<LibraryPath> paths = manager.libraryPaths();
        QCOMPARE(paths.size(), 3);
        QCOMPARE(paths.at(0), (LibraryPath{app + S("/../raman-libs//lib2/"), false, true, {}}));
        QCOMPARE(paths.at(1), (LibraryPath{S("/data/own"), true, false, {}}));
        QCOMPARE(paths.at(2), (LibraryPath{QDir::cleanPath(libs + S("lib1")), true, true, {}}));

        const QString savePath
            = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + S("/Raman/");
        QCOMPARE(manager.savePath(), savePath);
        QVERIFY(QFileInfo(savePath).isDir());
        QCOMPARE(manager.nicePicPath(), app + S("/../nice-pics/"));
    }
};

QTEST_GUILESS_MAIN(TestPathManager)
#include "tst_pathmanager.moc"
