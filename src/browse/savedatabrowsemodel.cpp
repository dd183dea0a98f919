#include "browse/savedatabrowsemodel.h"

#include "core/logging.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <limits>

namespace {

QString stars(int rating)
{
    return rating > 0 ? QString(rating, QChar(0x2605)) : QString();
}

qint64 sortableTime(const QDateTime &dateTime)
{
    return dateTime.isValid() ? dateTime.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
}

} // namespace

SaveDataBrowseModel::SaveDataBrowseModel(QObject *parent)
    : QAbstractTableModel(parent)
{}

SaveDataBrowseModel::~SaveDataBrowseModel() = default;

void SaveDataBrowseModel::setDirectory(const QString &directory)
{
    beginResetModel();
    m_entries.clear();
    m_baseDirectory = directory;
    m_pending.clear();
    m_pending.enqueue(QStringLiteral("."));
    endResetModel();
    scheduleNextChunk();
}

void SaveDataBrowseModel::scheduleNextChunk()
{
    // A scan that is already under way picks up the new pending list with its own next call.
    if (m_chunkScheduled)
        return;
    m_chunkScheduled = true;
    QMetaObject::invokeMethod(this, &SaveDataBrowseModel::runScheduledChunk, Qt::QueuedConnection);
}

void SaveDataBrowseModel::runScheduledChunk()
{
    m_chunkScheduled = false;
    loadNextChunk();
}

void SaveDataBrowseModel::loadNextChunk()
{
    if (m_pending.isEmpty()) {
        emit loadingFinished();
        return;
    }
    // Folders queued by this chunk wait for the next one. A slot reacting to an inserted row may
    // restart the scan, so the queue is checked each time.
    const int count = qMin(ChunkSize, m_pending.size());
    for (int i = 0; i < count && !m_pending.isEmpty(); ++i) {
        const QString relativePath = m_pending.dequeue();
        SaveData entry;
        if (entry.load(m_baseDirectory + QLatin1Char('/') + relativePath, Metadata)) {
            const int row = m_entries.size();
            beginInsertRows(QModelIndex(), row, row);
            m_entries.append(entry);
            endInsertRows();
        } else {
            queueSubdirectories(relativePath);
        }
    }
    scheduleNextChunk();
    emit progress(m_entries.size(), m_entries.size() + m_pending.size());
}

void SaveDataBrowseModel::queueSubdirectories(const QString &relativePath)
{
    const QDir dir(m_baseDirectory + QLatin1Char('/') + relativePath);
    // Newest first, so that recent measurements appear early in a large archive.
    const QFileInfoList subdirectories
        = dir.entryInfoList(QDir::Dirs | QDir::Readable | QDir::NoDotAndDotDot, QDir::Time);
    for (const QFileInfo &info : subdirectories) {
        const QString path = relativePath + QLatin1Char('/') + info.fileName();
        if (info.isSymLink() && leadsIntoAncestor(relativePath, info.canonicalFilePath())) {
            qCDebug(logDataIo) << "not following link into its own parent folders:"
                               << info.filePath();
            continue;
        }
        m_pending.enqueue(path);
    }
}

// A link back to a folder the search came through would make the search endless.
bool SaveDataBrowseModel::leadsIntoAncestor(const QString &relativePath,
                                            const QString &target) const
{
    if (target.isEmpty())
        return true;
    QString ancestor = relativePath;
    while (true) {
        const QString canonical
            = QFileInfo(m_baseDirectory + QLatin1Char('/') + ancestor).canonicalFilePath();
        if (canonical == target)
            return true;
        const int cut = ancestor.lastIndexOf(QLatin1Char('/'));
        if (cut < 0)
            return false;
        ancestor.truncate(cut);
    }
}

void SaveDataBrowseModel::reloadRow(int row)
{
    if (row < 0 || row >= m_entries.size())
        return;
    const QString path = m_entries.at(row).folderPath();
    SaveData entry;
    entry.load(path, Metadata);
    m_entries[row] = entry;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int SaveDataBrowseModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_entries.size();
}

int SaveDataBrowseModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SaveDataBrowseModel::displayValue(const SaveData &entry, int column) const
{
    const SaveDataMetadata &m = entry.metadata();
    switch (column) {
    case SectorCountColumn:
        return entry.nonEmptySectorCount();
    case RatingColumn:
        return stars(m.rating);
    case CollectionColumn:
        return m.collection_name;
    case CollectionIdColumn:
        return m.collection_id;
    case ContentsColumn:
        return entry.finalIdentifications().mid(0, 3).join(QStringLiteral(", "));
    case CreatedColumn:
        return QLocale().toString(m.created_date, QLocale::ShortFormat);
    case SavedColumn:
        return QLocale().toString(m.saved_date, QLocale::ShortFormat);
    case UniqueIdColumn:
        return m.unique_ident;
    default:
        return QVariant();
    }
}

QVariant SaveDataBrowseModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size() || index.column() < 0
        || index.column() >= ColumnCount)
        return QVariant();
    const SaveData &entry = m_entries.at(index.row());
    const SaveDataMetadata &m = entry.metadata();
    switch (role) {
    case Qt::DisplayRole:
        return displayValue(entry, index.column());
    case FolderPathRole:
        return entry.folderPath();
    case OwnerRole:
        return m.owner;
    case IdentificationsRole:
        return entry.finalIdentifications().join(QStringLiteral(", "));
    case RatingRole:
        return m.rating;
    case CollectionIdRole:
        return m.collection_id;
    case SortKeyRole:
        switch (index.column()) {
        case RatingColumn:
            return m.rating;
        case CreatedColumn:
            return sortableTime(m.created_date);
        case SavedColumn:
            return sortableTime(m.saved_date);
        default:
            return displayValue(entry, index.column());
        }
    default:
        return QVariant();
    }
}

QVariant SaveDataBrowseModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case SectorCountColumn:
        return tr("#");
    case RatingColumn:
        return tr("Bewertung");
    case CollectionColumn:
        return tr("Sammlung");
    case CollectionIdColumn:
        return tr("Bezeichnung");
    case ContentsColumn:
        return tr("Inhalte");
    case CreatedColumn:
        return tr("Erstellt");
    case SavedColumn:
        return tr("Geändert");
    case UniqueIdColumn:
        return tr("Eindeutige ID");
    default:
        return QVariant();
    }
}
