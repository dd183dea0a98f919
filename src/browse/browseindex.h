#pragma once

#include "browse/browserow.h"

#include <QHash>
#include <QVector>

#include <functional>

// The rows of earlier scans in a small SQLite file in the user's cache folder, keyed by folder
// path and the modification time and size of its metadata.json, so that a list of thousands of
// measurements shows at once and only changed folders are read again. A file that is damaged,
// foreign or of another format is replaced, never trusted; without any, nothing is remembered.
// One object belongs to one thread.
class BrowseIndex
{
public:
    struct Entry
    {
        qint64 modified = 0; // ms since the epoch
        qint64 size = 0;
        BrowseRow row;
    };

    explicit BrowseIndex(const QString &path);
    ~BrowseIndex();
    BrowseIndex(const BrowseIndex &) = delete;
    BrowseIndex &operator=(const BrowseIndex &) = delete;

    // <cache folder>/browse-index.sqlite
    static QString defaultPath();
    bool isOpen() const { return m_open; }

    // Every entry for `directory` and the folders below it, by folder; `firstRows`, when given,
    // receives the first few rows as soon as they are read, for a list that shows them at once.
    QHash<QString, Entry>
    entriesBelow(const QString &directory,
                 const std::function<void(const QVector<BrowseRow> &)> &firstRows = {});
    void store(const QVector<Entry> &entries);
    void remove(const QStringList &folders);

private:
    bool open();
    bool createTables();

    QString m_path;
    QString m_connection;
    bool m_open = false;
};
