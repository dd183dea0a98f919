#pragma once

#include "browse/browserow.h"
#include "browse/browsescan.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QTimer>
#include <QVector>

#include <memory>

// All measurement folders below a base directory as a flat table. The folders are searched on a
// worker thread, breadth-first, and the table fills in batches while the user watches; what an
// index of earlier scans remembers shows at once and is brought up to date in the background.
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
    explicit SaveDataBrowseModel(QObject *parent = nullptr);
    ~SaveDataBrowseModel() override;

    // Empties the table and starts scanning `directory`; a scan still running for another one is
    // given up. `indexPath` is the index of earlier scans (empty: none); by default the user's.
    void setDirectory(const QString &directory);
    void setIndexPath(const QString &indexPath) { m_indexPath = indexPath; }
    QString directory() const { return m_baseDirectory; }
    bool isLoading() const { return m_loading; }
    // Re-reads one row from disk; a folder without metadata.json leaves an empty record.
    void reloadRow(int row);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    void loadingFinished();
    void progress(int done, int totalApprox);

private:
    void takeFindings();
    void removeRows(const QStringList &folders);
    QVariant displayValue(const BrowseRow &entry, int column) const;

    QString m_baseDirectory;
    QString m_indexPath;
    QVector<BrowseRow> m_entries;
    QHash<QString, int> m_rowOf; // by folder
    std::shared_ptr<BrowseScanMailbox> m_scan;
    BrowseScanBatch m_backlog; // taken from the scan, not yet in the table
    QTimer m_poll;
    bool m_loading = false;
    bool m_finishing = false;
};
