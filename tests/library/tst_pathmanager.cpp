#include "library/pathmanager.h"

#include <QtCore>
#include <QtTest>

namespace {

QStringList g_log;
QtMessageHandler g_previous = nullptr;

void collectLog(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    g_log << message;
    g_previous(type, context, message);
}

} // namespace

class TestPathManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { g_previous = qInstallMessageHandler(collectLog); }

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
        settings.setArrayIndex(0);
        settings.setValue(QStringLiteral("Path"),
                          QString(app + QStringLiteral("/../raman-libs//lib2/")));
        settings.setValue(QStringLiteral("Enabled"), false);
        settings.setArrayIndex(1);
        settings.setValue(QStringLiteral("Path"), QStringLiteral("/data/own"));
        settings.setValue(QStringLiteral("Enabled"), true);
        settings.endArray();
        settings.sync();

        g_log.clear();
        const PathManager manager(app);
        const QVector<LibraryPath> paths = manager.libraryPaths();
        QCOMPARE(paths.size(), 3);
        QCOMPARE(paths.at(0),
                 (LibraryPath{app + QStringLiteral("/../raman-libs//lib2/"), false, true, {}}));
        QCOMPARE(paths.at(1), (LibraryPath{QStringLiteral("/data/own"), true, false, {}}));
        QCOMPARE(paths.at(2),
                 (LibraryPath{QDir::cleanPath(libs + QStringLiteral("lib1")), true, true, {}}));
        const int start = g_log.indexOf(QStringLiteral("Path manager: using Raman library paths"));
        QVERIFY(start >= 0);
        QCOMPARE(g_log.mid(start + 1, 3),
                 (QStringList{QStringLiteral("\t[ ] ") + paths.at(0).path,
                              QStringLiteral("\t[x] /data/own"),
                              QStringLiteral("\t[x] ") + paths.at(2).path}));

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
