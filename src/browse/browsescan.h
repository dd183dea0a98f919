#pragma once

#include "browse/browserow.h"

#include <QMutex>
#include <QVector>

#include <atomic>
#include <memory>

// What a scan found since the model last looked.
struct BrowseScanBatch
{
    QVector<BrowseRow> added;
    QVector<BrowseRow> changed; // folders already listed, read anew
    QStringList removed;        // listed from the index, gone from disk
    int pending = 0;            // folders still to look at, roughly
    bool done = false;
};

// Where a scan on a worker thread leaves its findings for the model, which fetches them on its
// own thread; the scan stops soon after it is cancelled.
class BrowseScanMailbox
{
public:
    std::atomic_bool cancelled{false};

    void post(BrowseScanBatch &batch);
    BrowseScanBatch take();

private:
    QMutex m_mutex;
    BrowseScanBatch m_batch;
};

// Lists every measurement folder at or below `directory`: first what the index at `indexPath`
// remembers, then, breadth first and newer folders first, what is on disk, reading only folders
// that are new or whose metadata.json changed; a measurement folder is not searched further.
// The index is brought up to date before the scan reports that it is done.
void scanMeasurements(const QString &directory, const QString &indexPath,
                      const std::shared_ptr<BrowseScanMailbox> &mailbox);
