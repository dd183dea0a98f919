#pragma once

#include "storage/savedata.h"

#include <QAbstractTableModel>
#include <QQueue>
#include <QVector>

// All measurement folders below a base directory as a flat table. The directory tree is searched
// breadth-first in chunks, one chunk per event-loop turn, so the table fills while the user
// watches; a measurement folder itself is never searched further.
class SaveDataBrowseModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role {
        FolderPathRole = Qt::UserRole + 1,
        OwnerRole,
        IdentificationsRole,
        RatingRole,
        CollectionIdRole,
        SortKeyRole,
    };
    enum Column {
        SectorCountColumn,
        RatingColumn,
        CollectionColumn,
        CollectionIdColumn,
        ContentsColumn,
        CreatedColumn,
        SavedColumn,
        UniqueIdColumn,
        ColumnCount
    };
    static constexpr int ChunkSize = 10;

    explicit SaveDataBrowseModel(QObject *parent = nullptr);
    ~SaveDataBrowseModel() override;

    // Empties the table and starts scanning `directory`; a scan already running continues with
    // the new directory instead.
    void setDirectory(const QString &directory);
    QString directory() const { return m_baseDirectory; }
    bool isLoading() const { return !m_pending.isEmpty(); }
    // Re-reads one row from disk; a folder without metadata.json leaves an empty record.
    void reloadRow(int row);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

public slots:
    // Examines up to ChunkSize pending folders and schedules the next call.
    void loadNextChunk();

signals:
    void loadingFinished();
    void progress(int done, int totalApprox);

private slots:
    void runScheduledChunk();

private:
    void scheduleNextChunk();
    void queueSubdirectories(const QString &relativePath);
    bool leadsIntoAncestor(const QString &relativePath, const QString &target) const;
    QVariant displayValue(const SaveData &entry, int column) const;

    QString m_baseDirectory;
    QVector<SaveData> m_entries;
    QQueue<QString> m_pending;
    bool m_chunkScheduled = false;
};
