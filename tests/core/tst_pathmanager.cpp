#include "core/pathmanager.h"

#include <QtCore>
#include <QtTest>

class TestPathManager : public QObject
{
    Q_OBJECT

private slots:
    void libraryFolderListAndPaths()
    {
        QTemporaryDir root;
        const QString app = root.filePath(QStringLiteral("app/bin"));
        const QString libs = root.filePath(QStringLiteral("app/raman-libs/"));
        QVERIFY(QDir().mkpath(app));
        for (const char *name : {"lib2", "lib1"})
            QVERIFY(QDir().mkpath(libs + QLatin1String(name)));
        QFile(libs + QStringLiteral("notes.txt")).open(QIODevice::WriteOnly);
        QSettings settings;
        settings.clear();
        settings.beginWriteArray(QStringLiteral("Paths/LibraryPaths"), 2);
        for (int i = 0; i < 2; ++i) {
            settings.setArrayIndex(i);
            settings.setValue(QStringLiteral("Path"),
                              i ? QStringLiteral("/data/own")
                                : QString(app + QStringLiteral("/../raman-libs//lib2/")));
            settings.setValue(QStringLiteral("Enabled"), i == 1);
        }
        settings.endArray();
        settings.sync();

        const PathManager manager(app);
        const QVector<LibraryPath> paths = manager.libraryPaths();
        QCOMPARE(paths.size(), 3);
        QCOMPARE(paths.at(0),
                 (LibraryPath{app + QStringLiteral("/../raman-libs//lib2/"), false, true, {}}));
        QCOMPARE(paths.at(1), (LibraryPath{QStringLiteral("/data/own"), true, false, {}}));
        QCOMPARE(paths.at(2),
                 (LibraryPath{QDir::cleanPath(libs + QStringLiteral("lib1")), true, true, {}}));

        const QString savePath
            = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
              + QStringLiteral("/Raman/");
        QCOMPARE(manager.savePath(), savePath);
        QVERIFY(QFileInfo(savePath).isDir());
        QCOMPARE(manager.nicePicPath(), app + QStringLiteral("/../nice-pics/"));
    }
};

QTEST_GUILESS_MAIN(TestPathManager)
#include "tst_pathmanager.moc"
