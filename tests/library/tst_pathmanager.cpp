#include "library/pathmanager.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList g_systemLog;
QtMessageHandler g_previousHandler = nullptr;

void collectSystemLog(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (qstrcmp(context.category, "system") == 0)
        g_systemLog << message;
    g_previousHandler(type, context, message);
}

} // namespace

using Entries = QVector<LibraryPath>;
Q_DECLARE_METATYPE(Entries)

class TestPathManager : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;

    QString applicationDir() const { return m_root.filePath(QStringLiteral("app/bin")); }
    QString libraryFolder(const QString &name) const
    {
        return m_root.filePath(QStringLiteral("app/raman-libs/") + name);
    }

    static LibraryPath entry(const QString &path, bool enabled, bool system)
    {
        LibraryPath p;
        p.path = path;
        p.enabled = enabled;
        p.system = system;
        return p;
    }

private slots:
    void initTestCase() { g_previousHandler = qInstallMessageHandler(collectSystemLog); }
    void cleanupTestCase() { qInstallMessageHandler(g_previousHandler); }

    void init()
    {
        QSettings().clear();
        g_systemLog.clear();
        QDir(m_root.filePath(QStringLiteral("app"))).removeRecursively();
        QVERIFY(QDir().mkpath(applicationDir()));
    }

    void libraryFolderList_data()
    {
        QTest::addColumn<Entries>("configured");
        QTest::addColumn<QStringList>("systemFolders");
        QTest::addColumn<Entries>("expected");
        const QString lib1 = libraryFolder(QStringLiteral("lib1"));
        const QString lib2 = libraryFolder(QStringLiteral("lib2"));

        QTest::newRow("nothing configured, no default folder")
            << Entries{} << QStringList{} << Entries{};
        QTest::newRow("sub-folders of the default folder follow the settings")
            << Entries{entry(QStringLiteral("/data/own"), true, false)}
            << QStringList{QStringLiteral("lib2"), QStringLiteral("lib1")}
            << Entries{entry(QStringLiteral("/data/own"), true, false), entry(lib1, true, true),
                       entry(lib2, true, true)};
        QTest::newRow("configured default sub-folder is marked, not repeated")
            << Entries{entry(applicationDir() + QStringLiteral("/../raman-libs//lib1/"), false,
                             false),
                       entry(QStringLiteral("/data/off"), false, false)}
            << QStringList{QStringLiteral("lib1")}
            << Entries{
                   entry(applicationDir() + QStringLiteral("/../raman-libs//lib1/"), false, true),
                   entry(QStringLiteral("/data/off"), false, false)};
    }

    void libraryFolderList()
    {
        QFETCH(Entries, configured);
        QFETCH(QStringList, systemFolders);
        QFETCH(Entries, expected);
        QSettings settings;
        settings.beginGroup(QStringLiteral("Paths"));
        settings.beginWriteArray(QStringLiteral("LibraryPaths"), configured.size());
        for (int i = 0; i < configured.size(); ++i) {
            settings.setArrayIndex(i);
            settings.setValue(QStringLiteral("Path"), configured.at(i).path);
            settings.setValue(QStringLiteral("Enabled"), configured.at(i).enabled);
        }
        settings.endArray();
        settings.endGroup();
        settings.sync();
        for (const QString &name : systemFolders)
            QVERIFY(QDir().mkpath(libraryFolder(name)));
        if (!systemFolders.isEmpty()) {
            QFile file(libraryFolder(QStringLiteral("notes.txt")));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }

        const PathManager manager(applicationDir());
        QCOMPARE(manager.libraryPaths(), expected);

        const int start
            = g_systemLog.indexOf(QStringLiteral("Path manager: using Raman library paths"));
        QVERIFY(start >= 0);
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(g_systemLog.value(start + 1 + i),
                     QStringLiteral("\t%1 %2").arg(expected.at(i).enabled ? QStringLiteral("[x]")
                                                                          : QStringLiteral("[ ]"),
                                                   expected.at(i).path));
        }
        QCOMPARE(g_systemLog.value(start + 1 + expected.size()),
                 QStringLiteral("Path manager: --- end of library path list"));
    }

    void savePathDefaultsAndIsCreated()
    {
        const PathManager manager(applicationDir());
        const QString expected
            = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
              + QStringLiteral("/Raman/");
        QCOMPARE(manager.savePath(), expected);
        QVERIFY(QFileInfo(expected).isDir());
        QCOMPARE(manager.nicePicPath(), applicationDir() + QStringLiteral("/../nice-pics/"));
        QCOMPARE(manager.defaultLibraryFolder(),
                 applicationDir() + QStringLiteral("/../raman-libs/"));
    }

    void configuredPathsAreUsed()
    {
        const QString save = m_root.filePath(QStringLiteral("deep/er/save"));
        QSettings().setValue(QStringLiteral("Paths/SavePath"), save);
        QSettings().setValue(QStringLiteral("Paths/NicePicPath"), QStringLiteral("/pics"));
        const PathManager manager(applicationDir());
        QCOMPARE(manager.savePath(), save);
        QVERIFY(QFileInfo(save).isDir());
        QCOMPARE(manager.nicePicPath(), QStringLiteral("/pics"));
    }

    // A file where the save folder should go: a warning, the configured path is still reported.
    void blockedSavePathOnlyWarns()
    {
        const QString blocked = m_root.filePath(QStringLiteral("blocked"));
        QFile file(blocked);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QSettings().setValue(QStringLiteral("Paths/SavePath"),
                             QString(blocked + QStringLiteral("/save")));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("could not create the save data")));
        const PathManager manager(applicationDir());
        QCOMPARE(manager.savePath(), blocked + QStringLiteral("/save"));
    }
};

QTEST_GUILESS_MAIN(TestPathManager)
#include "tst_pathmanager.moc"
