// Saving under injected I/O faults, by raman-cli upgrade (every file made anew) and by the
// window's measurement model (only the metadata changed: the rest linked or copied). Every open,
// write, fsync, close, rename, mkdir and link a save makes is failed in turn, once per errno;
// afterwards the folder in place must be the old version or the new one, whole, success only with
// the new one, and a failure must name the system's reason. The POSIX calls are failed by
// libfiu's preload library; mkdir, renameat2 and link, which it does not wrap, are wrapped here.
#define FIU_ENABLE 1

#include "clirun.h"
#include "report/summarypage.h"
#include "savedata_view/savedatamodel.h"
#include "savedatafixture.h"
#include "storage/backup.h"
#include "storage/checkedfiles.h"
#include "testfiles.h"

#include <QtTest>

#include <dlfcn.h>
#include <fiu-control.h>
#include <fiu.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace {

std::atomic<int> callCount{0};
std::atomic<int> failingCall{0}; // 0: only count

int countOrFail(const char *, int *, void **, unsigned int *)
{
    return ++callCount == failingCall.load() ? 1 : 0;
}

template<typename Function>
Function real(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool injected(const char *point)
{
    if (!fiu_fail(point))
        return false;
    errno = int(reinterpret_cast<intptr_t>(fiu_failinfo()));
    return true;
}

} // namespace

extern "C" int mkdir(const char *path, mode_t mode)
{
    static const auto next = real<int (*)(const char *, mode_t)>("mkdir");
    return injected("posix/io/dir/mkdir") ? -1 : next(path, mode);
}

extern "C" int renameat2(int fromDir, const char *from, int toDir, const char *to,
                         unsigned int flags)
{
    static const auto next
        = real<int (*)(int, const char *, int, const char *, unsigned int)>("renameat2");
    return injected("posix/io/dir/rename") ? -1 : next(fromDir, from, toDir, to, flags);
}

extern "C" int link(const char *from, const char *to)
{
    static const auto next = real<int (*)(const char *, const char *)>("link");
    return injected("posix/io/dir/link") ? -1 : next(from, to);
}

namespace {

using Snapshot = QMap<QString, QByteArray>;

// The saved date and the PDF's creation date differ between two saves of the same content.
Snapshot comparable(Snapshot files)
{
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (it.key().endsWith(QLatin1String("metadata.json"))) {
            QJsonObject json = QJsonDocument::fromJson(it.value()).object();
            json.remove(S("saved_date"));
            it.value() = QJsonDocument(json).toJson();
        } else if (it.key().endsWith(QLatin1String(".pdf"))) {
            const bool whole
                = it.value().startsWith("%PDF") && it.value().trimmed().endsWith("%%EOF");
            it.value() = whole ? "whole PDF" : "broken PDF";
        }
    }
    return files;
}

} // namespace

class TestUpgradeFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Messages would add write calls of their own.
        QLoggingCategory::setFilterRules(S("*=false"));
        QVERIFY(fiu_init(0) == 0);
        Fixture::writeVersion5Folder(pristine(false));

        // Runs without faults give the new versions (the upgraded folder is the window's old one)
        // and load every plugin and font, so that the runs below make the same calls.
        for (const bool window : {false, true}) {
            m_old[window] = Fixture::snapshot(pristine(window));
            for (int round = 0; round < 2; ++round) {
                QCOMPARE(save(window, 0, {}, 0).code, 0);
                m_new[window] = comparable(Fixture::snapshot(target()));
            }
            QVERIFY(m_new[window] != comparable(m_old[window]));
            if (!window) {
                CheckedFiles files;
                QVERIFY(copyTree(files, target(), pristine(true)));
            }
        }

        // Without the preload library the POSIX calls would pass unseen.
        save(false, 0, {S("posix/io/rw/write")}, 0);
        QVERIFY2(callCount > 0, "fiu_posix_preload.so is not preloaded");
    }

    void eachCallFailsOnce_data()
    {
        QTest::addColumn<bool>("window");
        QTest::addColumn<QStringList>("points");
        QTest::addColumn<int>("error");
        const QList<QPair<const char *, QStringList>> calls{
            {"open", {S("posix/io/oc/open")}},
            {"write", {S("posix/io/rw/write"), S("posix/io/rw/pwrite"), S("posix/io/rw/writev")}},
            {"fsync", {S("posix/io/sync/fsync"), S("posix/io/sync/fdatasync")}},
            {"close", {S("posix/io/oc/close")}},
            {"rename", {S("posix/io/dir/rename")}},
            {"mkdir", {S("posix/io/dir/mkdir")}},
            {"link", {S("posix/io/dir/link")}},
        };
        for (const bool window : {false, true}) {
            for (const auto &call : calls) {
                for (const int error : {ENOSPC, EIO, EACCES}) {
                    QTest::addRow("%s: %s %s", window ? "window" : "upgrade", call.first,
                                  strerror(error))
                        << window << call.second << error;
                }
            }
        }
    }

    void eachCallFailsOnce()
    {
        QFETCH(bool, window);
        QFETCH(QStringList, points);
        QFETCH(int, error);
        save(window, 0, points, error);
        const int calls = callCount;
        int failed = 0;
        for (int k = 1; k <= calls; ++k) {
            const CliRun outcome = save(window, k, points, error);
            const QByteArray where = QByteArray::number(k) + " of " + QByteArray::number(calls);
            const Snapshot inPlace = Fixture::snapshot(target());
            QVERIFY2(outcome.code == 0 || outcome.code == 1, where.constData());
            if (outcome.code == 0) {
                QVERIFY2(comparable(inPlace) == m_new[window],
                         QByteArray("exit 0 without the new version: " + where).constData());
                const QStringList backups = backupFolders();
                QVERIFY2(
                    backups.size() == 1 && Fixture::snapshot(backups.first()) == m_old[window],
                    QByteArray("old version not whole in the backup area: " + where).constData());
            } else {
                ++failed;
                QVERIFY2(inPlace == m_old[window],
                         QByteArray("failed, and the old version is gone: " + where).constData());
                QVERIFY2(outcome.err.contains(QString::fromLocal8Bit(strerror(error))),
                         qPrintable(outcome.err + S(" (") + QString::fromLatin1(where)
                                    + S(") names no reason")));
            }
            QVERIFY2(QDir(m_work.path())
                             .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                         == QStringList{S("m")},
                     QByteArray("left-overs beside the folder: " + where).constData());
        }
        std::printf("%s: %d cases, %d ended with exit status 1\n", QTest::currentDataTag(), calls,
                    failed);
        QVERIFY(calls > 0);
    }

private:
    QString pristine(bool window) const { return m_source.filePath(window ? S("w") : S("m")); }
    QString target() const { return m_work.filePath(S("m")); }

    QStringList backupFolders() const
    {
        QStringList folders;
        for (QDirIterator it(backupRoot() + S("overwritten"), {S("*-backup*")}, QDir::Dirs,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            folders << it.next();
        return folders;
    }

    // Saves a fresh copy of the old folder with call `failing` of `points` failing with `error`
    // (0: none fails, the calls are counted). Exit status 1 stands for a save the window reports
    // as failed.
    CliRun save(bool window, int failing, const QStringList &points, int error)
    {
        QDir(target()).removeRecursively();
        QDir(backupRoot()).removeRecursively();
        CheckedFiles files;
        copyTree(files, pristine(window), target());
        SaveDataModel model;
        if (window) {
            SaveData loaded; // as the window loads it
            loaded.load(target(), AllSaveDataParts);
            model.setSaveData(loaded);
            SaveDataMetadata metadata = model.saveData().metadata();
            metadata.mineral_comment = S("edited in the window");
            model.setMetadata(metadata);
        }

        callCount = 0;
        failingCall = failing;
        for (const QString &point : points) {
            fiu_enable_external(point.toLatin1().constData(), 1,
                                reinterpret_cast<void *>(intptr_t(error)), 0, countOrFail);
        }
        CliRun run;
        if (window) {
            run.code = model.save(summaryPagesPdf) == SaveDataModel::SaveOutcome::Saved ? 0 : 1;
            run.err = model.saveData().lastSaveError();
        } else {
            run = runCliHere({S("upgrade"), m_work.path()});
        }
        for (const QString &point : points)
            fiu_disable(point.toLatin1().constData());
        return run;
    }

    QTemporaryDir m_source;
    QTemporaryDir m_work;
    Snapshot m_old[2]; // of the upgrade and of the window's save
    Snapshot m_new[2];
};

QTEST_MAIN(TestUpgradeFaults)
#include "tst_upgradefaults.moc"
