#include "browse/browsescan.h"

#include "browse/browseindex.h"
#include "core/logging.h"
#include "core/parallel.h"
#include "storage/savedata.h"
#include "storage/savedatafiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>
#include <QtConcurrent>

namespace {

// The first rows come quickly; later ones in larger batches, which the view takes in fewer steps.
constexpr int firstBatchMs = 20;
constexpr int batchMs = 100;
constexpr int firstSlice = 32;
constexpr int laterSlice = 512;

// A link back to a folder the search came through would make the search endless.
bool leadsIntoAncestor(const QString &base, QString folder, const QString &target)
{
    if (target.isEmpty())
        return true;
    while (true) {
        if (QFileInfo(folder).canonicalFilePath() == target)
            return true;
        if (folder.size() <= base.size())
            return false;
        folder = QFileInfo(folder).path();
    }
}

} // namespace

void BrowseScanMailbox::post(BrowseScanBatch &batch)
{
    QMutexLocker lock(&m_mutex);
    m_batch.added += batch.added;
    m_batch.changed += batch.changed;
    m_batch.removed += batch.removed;
    m_batch.pending = batch.pending;
    m_batch.done = batch.done;
    batch = BrowseScanBatch();
}

BrowseScanBatch BrowseScanMailbox::take()
{
    QMutexLocker lock(&m_mutex);
    BrowseScanBatch batch = m_batch;
    m_batch = BrowseScanBatch();
    return batch;
}

namespace {

// What one folder turned out to be.
struct Visit
{
    QString folder;
    bool measurement = false;
    bool read = false; // new or changed: `entry` holds what it says now
    BrowseIndex::Entry entry;
    QStringList subfolders; // of a folder that is no measurement, newest first
};

// Fills `result`, whose folder is set.
void visit(const QString &directory, const QHash<QString, BrowseIndex::Entry> &known, Visit &result)
{
    const QString &folder = result.folder;
    const QFileInfo metadata(folder + QLatin1Char('/') + SaveDataFiles::metadataFileName());
    if (metadata.isFile()) {
        result.entry.modified = metadata.lastModified().toMSecsSinceEpoch();
        result.entry.size = metadata.size();
        const auto it = known.constFind(folder);
        if (it != known.constEnd() && it->modified == result.entry.modified
            && it->size == result.entry.size) {
            result.measurement = true;
            return;
        }
        SaveData data;
        result.measurement = result.read = data.load(folder, ListMetadata);
        if (result.measurement) {
            result.entry.row = BrowseRow::fromSaveData(data);
            return;
        }
    }
    // Newest first, so that recent measurements appear early in a large archive.
    const QFileInfoList subfolders = QDir(folder).entryInfoList(
        QDir::Dirs | QDir::Readable | QDir::NoDotAndDotDot, QDir::Time);
    for (const QFileInfo &info : subfolders) {
        if (info.isSymLink() && leadsIntoAncestor(directory, folder, info.canonicalFilePath())) {
            qCDebug(logDataIo) << "not following link into its own parent folders:"
                               << info.filePath();
            continue;
        }
        result.subfolders << QDir::cleanPath(info.filePath());
    }
}

} // namespace

void scanMeasurements(const QString &directory, const QString &indexPath,
                      const std::shared_ptr<BrowseScanMailbox> &mailbox)
{
    BrowseIndex index(indexPath);
    BrowseScanBatch batch;
    QSet<QString> posted; // while the index was read
    const QHash<QString, BrowseIndex::Entry> known
        = index.entriesBelow(directory, [&](const QVector<BrowseRow> &rows) {
              batch.added = rows;
              mailbox->post(batch);
              for (const BrowseRow &row : rows)
                  posted.insert(row.folder);
          });
    for (const BrowseIndex::Entry &entry : known) {
        if (!posted.contains(entry.row.folder))
            batch.added << entry.row;
    }
    mailbox->post(batch);

    QVector<BrowseIndex::Entry> read;
    QSet<QString> seen;
    const auto take = [&](const Visit &v) {
        seen.insert(v.folder);
        if (v.read) {
            read.append(v.entry);
            (known.contains(v.folder) ? batch.changed : batch.added) << v.entry.row;
        }
    };
    const auto visitAll = [&](QVector<Visit> &visits) {
        waitingOnPool([&] {
            QtConcurrent::blockingMap(visits, [&](Visit &v) { visit(directory, known, v); });
        });
    };

    // Nothing known here yet: the newest folders first, straight down to the first measurements,
    // so that rows show at once however deep the archive is.
    for (QString folder = directory; known.isEmpty() && !mailbox->cancelled;) {
        QVector<Visit> top{{folder, false, false, {}, {}}};
        visitAll(top);
        QVector<Visit> visits;
        for (const QString &subfolder : top.first().subfolders.mid(0, firstSlice))
            visits.append({subfolder, false, false, {}, {}});
        visitAll(visits);
        for (const Visit &v : qAsConst(visits)) {
            if (v.measurement)
                take(v);
        }
        if (!seen.isEmpty() || visits.isEmpty()) {
            mailbox->post(batch);
            break;
        }
        folder = visits.first().folder;
    }

    QElapsedTimer sincePost;
    sincePost.start();
    int wait = firstBatchMs;
    // Breadth first, one level at a time, each level's folders looked at on all cores in slices
    // that grow once the first rows are out.
    int slice = firstSlice;
    QStringList level{directory};
    while (!level.isEmpty()) {
        QStringList next;
        for (int start = 0; start < level.size();) {
            if (mailbox->cancelled)
                return;
            QVector<Visit> visits;
            const QStringList folders = level.mid(start, slice);
            start += folders.size();
            for (const QString &folder : folders) {
                if (!seen.contains(folder)) // listed already on the way down
                    visits.append({folder, false, false, {}, {}});
            }
            visitAll(visits);
            for (const Visit &v : qAsConst(visits)) {
                next += v.subfolders;
                if (v.measurement)
                    take(v);
            }
            if (sincePost.elapsed() >= wait) {
                batch.pending = int(level.size() - start + next.size());
                mailbox->post(batch);
                sincePost.restart();
                wait = batchMs;
                slice = laterSlice;
            }
        }
        level = next;
    }
    for (auto it = known.constBegin(); it != known.constEnd(); ++it) {
        if (!seen.contains(it.key()))
            batch.removed << it.key();
    }
    index.store(read);
    index.remove(batch.removed);
    batch.done = true;
    mailbox->post(batch);
}
